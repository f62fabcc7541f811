// SPDX-License-Identifier: MIT
// The runner's command line: every refusal with its exit status and exact message, the commands
// that need no scenario, and --set, --ticks and --output on a scenario file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "runner/command_line.h"
#include "runner/program_version.h"
#include "scenario/scenario_reader.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

struct Outcome {
  int Status = -1;
  std::string Out;
  std::string Err;
};

Outcome Runner(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunRunner(args, out, err);
  return {status, out.str(), err.str()};
}

struct Refusal {
  std::vector<std::string> Args;
  std::string Message;
};

TEST(RunnerCommandLine, RefusesBadCommandLinesWithStatusTwo) {
  const test::TempWorkingDirectory dir;  // no kelpa.ini: the built-in texts
  const TMessages m;
  const Refusal refusals[] = {
      {{}, m.MsgRunSemComando},
      {{"--ticks", "5"}, m.MsgRunSemComando},
      {{"--bogus"}, m.MsgRunOpcaoDesconhecida + "--bogus"},
      {{"--ticks", "5", "--runn", "a.ini"}, m.MsgRunOpcaoDesconhecida + "--runn"},
      {{"--run"}, m.MsgRunFaltaValor + "--run"},
      {{"--check", "--ticks", "5"}, m.MsgRunFaltaValor + "--check"},
      {{"--run", "a.ini", "--check", "b.ini"}, m.MsgRunDoisComandos + "--run --check"},
      {{"--help", "--version"}, m.MsgRunDoisComandos + "--help --version"},
      {{"--run", "a.ini", "--frobnicate"}, m.MsgRunOpcaoDesconhecida + "--frobnicate"},
      {{"--run", "a.ini", "extra"}, m.MsgRunArgumentoSobrando + "extra"},
      {{"--run", "a.ini", "--ticks"}, m.MsgRunFaltaValor + "--ticks"},
      {{"--run", "a.ini", "--ticks", "-3"}, m.MsgRunValorInvalido + "--ticks: -3"},
      {{"--run", "a.ini", "--ticks", "12x"}, m.MsgRunValorInvalido + "--ticks: 12x"},
      {{"--run", "a.ini", "--ticks", "5", "--ticks", "6"}, m.MsgRunOpcaoRepetida + "--ticks"},
      {{"--run", "a.ini", "--format", "xml"}, m.MsgRunValorInvalido + "--format: xml"},
      {{"--run", "a.ini", "--format", "csv", "--format", "csv"},
       m.MsgRunOpcaoRepetida + "--format"},
      {{"--compare", "a.ini", "--format", "json"}, m.MsgRunValorInvalido + "--format: json"},
      {{"--compare", "a.ini", "--format", "csv"}, m.MsgRunFaltaVary},
      {{"--check", "a.ini", "--format", "csv"}, m.MsgRunOpcaoForaDoComando + "--format"},
      {{"--run", "a.ini", "--vary", "GLOBAL.FATIA=1"}, m.MsgRunOpcaoForaDoComando + "--vary"},
      {{"--version", "--ticks", "3"}, m.MsgRunOpcaoForaDoComando + "--ticks"},
      {{"--run", "a.ini", "--set", "no-dot"}, m.MsgRunValorInvalido + "--set: no-dot"},
      {{"--run", "a.ini", "--output", ""}, m.MsgRunValorInvalido + "--output: "},
      {{"--run", "a.ini", "--output", "x", "--output", "y"}, m.MsgRunOpcaoRepetida + "--output"},
  };
  for (const Refusal& r : refusals) {
    const Outcome o = Runner(r.Args);
    SCOPED_TRACE(testing::PrintToString(r.Args));
    EXPECT_EQ(o.Status, 2);
    EXPECT_EQ(o.Err, "kelpa: " + r.Message + "\n" + m.MsgRunVejaAjuda + "\n");
    EXPECT_EQ(o.Out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
}

TEST(RunnerCommandLine, VersionAndHelpNeedNoScenario) {
  const test::TempWorkingDirectory dir;
  const Outcome version = Runner({"--version"});
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, "Kelpa " + std::string(ProgramVersion()) + "\n");
  EXPECT_EQ(version.Err, "");
  const Outcome help = Runner({"--help"});
  EXPECT_EQ(help.Status, 0);
  for (const char* command : {"--run FILE", "--compare FILE", "--check FILE", "--version"}) {
    EXPECT_NE(help.Out.find(command), std::string::npos) << command;
  }
}

TEST(RunnerCommandLine, AScenarioThatCannotBeReadIsAScenarioError) {
  const test::TempWorkingDirectory dir;
  for (const char* command : {"--run", "--check"}) {
    const Outcome o = Runner({command, "missing.ini", "--ticks", "3"});
    EXPECT_EQ(o.Status, 2) << command;
    EXPECT_TRUE(o.Err.starts_with("missing.ini")) << o.Err;
    EXPECT_EQ(o.Out, "");
  }
}

// The tests below read a real scenario file.
class RunnerOnAFile : public testing::Test {
 protected:
  void SetUp() override {
    std::ofstream("lesson.ini") << "[CENARIO]\nTICKS=30\n[GLOBAL]\nRELOGIO=10\nESPERA_IO=1\n"
                                   "[PROCESSO 1]\nTIPO=CPU\n[PROCESSO 2]\nTIPO=IO_1\nCHEGADA=2\n";
  }
  test::TempWorkingDirectory dir_;
};

TEST_F(RunnerOnAFile, SetAndTicksChangeExactlyWhatTheyName) {
  const Outcome plain = Runner({"--check", "lesson.ini"});
  ASSERT_EQ(plain.Status, 0) << plain.Err;
  const Outcome changed =
      Runner({"--check", "lesson.ini", "--set", "PROCESSO 2.PRIORIDADE=7", "--ticks", "12"});
  ASSERT_EQ(changed.Status, 0) << changed.Err;
  Scenario expected = *ParseScenario(plain.Out, "plain", TMessages()).Value;
  expected.Processes[1].Priority = 7;
  expected.Ticks = 12;
  EXPECT_EQ(*ParseScenario(changed.Out, "changed", TMessages()).Value, expected);
  // A run is the same bytes every time.
  const Outcome first = Runner({"--run", "lesson.ini", "--format", "csv"});
  EXPECT_EQ(first.Status, 0);
  EXPECT_EQ(Runner({"--run", "lesson.ini", "--format", "csv"}).Out, first.Out);
}

TEST_F(RunnerOnAFile, OutputThatCannotBeWrittenIsARunError) {
  std::filesystem::create_directory("taken");
  const Outcome o = Runner({"--run", "lesson.ini", "--output", "taken"});
  EXPECT_EQ(o.Status, 3);
  EXPECT_EQ(o.Err, "kelpa: " + TMessages().MsgRunNaoGravou + "taken\n");
  const Outcome written = Runner({"--run", "lesson.ini", "--output", "trace.txt"});
  EXPECT_EQ(written.Status, 0);
  EXPECT_EQ(written.Out, "");
  EXPECT_GT(std::filesystem::file_size("trace.txt"), 0u);
}

}  // namespace
}  // namespace kelpa
