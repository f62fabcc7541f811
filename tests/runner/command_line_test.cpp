// SPDX-License-Identifier: MIT
// The runner's command line: every refusal with its exit status and exact message, the commands
// that need no scenario, --set, --ticks and --output on a scenario file, and what hostile
// outputs leave on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "exports/program_version.h"
#include "platform/ini_text.h"
#include "runner/command_line.h"
#include "runner/help_text.h"
#include "runner/text_table.h"
#include "scenario/scenario_reader.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

struct Outcome {
  int Status = -1;
  std::string Out;
  std::string Err;
};

Outcome Runner(const std::vector<std::string>& args, TimelinePngPainter png = {}) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunRunner(args, out, err, std::move(png));
  return {status, out.str(), err.str()};
}

// "1,2,...,n": a --vary of n values.
std::string Values(int n) {
  std::string values = "1";
  for (int i = 2; i <= n; ++i) {
    values += ',';
    values += std::to_string(i);
  }
  return values;
}

std::string Bytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Whether a temporary file of a write is left in the working folder.
bool TempFileLeft() {
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    if (entry.path().filename().string().find(".tmp") != std::string::npos) {
      return true;
    }
  }
  return false;
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
      {{"--run", "a.ini", "--bogus\x1b[2J"}, m.MsgRunOpcaoDesconhecida + "--bogus\\x1b[2J"},
      {{"--run", "a.ini", "--format", "\xff"}, m.MsgRunValorInvalido + "--format: \\xff"},
      {{"--run", "a.ini", "--set", std::string(1'000'000, 'K')},
       m.MsgRunValorInvalido + "--set: " + std::string(80, 'K') + "…"},
      {{"--run", "a.ini", "--output", ""}, m.MsgRunValorInvalido + "--output: "},
      {{"--run", "a.ini", "--output", "x", "--output", "y"}, m.MsgRunOpcaoRepetida + "--output"},
      {{"--compare", "a.ini", "--vary", "GLOBAL.FATIA=1,2", "--vary", "global.fatia=3"},
       FillIn(m.MsgRunVaryRepetido, {"global.fatia"})},
      // Counted, never built: 10001, then 101 x 100, then a product that would overflow.
      {{"--compare", "a.ini", "--vary", "GLOBAL.FATIA=" + Values(10001)},
       FillIn(m.MsgRunCombinacoesDemais, {"10000"})},
      {{"--compare", "a.ini", "--vary", "GLOBAL.FATIA=" + Values(101), "--vary",
        "GLOBAL.RELOGIO=" + Values(100)},
       FillIn(m.MsgRunCombinacoesDemais, {"10000"})},
      {{"--compare", "a.ini", "--vary", "GLOBAL.FATIA=" + Values(10000), "--vary",
        "GLOBAL.RELOGIO=" + Values(10000), "--vary", "GLOBAL.ESPERA_IO=" + Values(10000)},
       FillIn(m.MsgRunCombinacoesDemais, {"10000"})},
      // GNU's habits: "=" values, "--", "-" for standard output.
      {{"--run="}, m.MsgRunFaltaValor + "--run"},
      {{"--help=yes"}, FillIn(m.MsgRunOpcaoSemValor, {"--help"})},
      {{"-h", "-V"}, m.MsgRunDoisComandos + "--help --version"},
      {{"--bogus=1"}, m.MsgRunOpcaoDesconhecida + "--bogus=1"},
      {{"--run", "a.ini", "--ticks="}, m.MsgRunValorInvalido + "--ticks: "},
      {{"--run", "a.ini", "--", "--ticks", "5"}, m.MsgRunArgumentoSobrando + "--ticks"},
      {{"--run", "--", "a.ini", "b.ini"}, m.MsgRunArgumentoSobrando + "b.ini"},
      {{"--check", "--ticks", "5", "--"}, m.MsgRunFaltaValor + "--check"},
      {{"--run", "a.ini", "--timeline", "-"}, FillIn(m.MsgRunSaidasIguais, {"-"})},
      {{"--run", "a.ini", "--output=-", "--timeline=-"}, FillIn(m.MsgRunSaidasIguais, {"-"})},
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
  for (const char* command : {"--run FILE", "--compare FILE", "--check FILE", "--corrigir FOLDER",
                              "--tarefa LESSON --alunos LIST --saida FOLDER", "--version"}) {
    EXPECT_NE(help.Out.find(command), std::string::npos) << command;
  }
}

// --help fits 80 columns in the built-in texts and in the English catalogue, and ends saying
// where to read more; a refusal reads in either language too.
TEST(RunnerCommandLine, HelpFitsEightyColumnsInEitherLanguage) {
  const test::TempWorkingDirectory dir;
  for (const bool english : {false, true}) {
    if (english) {
      std::filesystem::copy_file(KELPA_LESSONS_DIR "/../en/kelpa.ini", "kelpa.ini");
    }
    const Outcome help = Runner({"-h"});
    EXPECT_EQ(help.Status, 0);
    std::istringstream lines(help.Out);
    std::string line;
    std::string last;
    while (std::getline(lines, line)) {
      EXPECT_LE(Characters(line), 80u) << line;
      last = line;
    }
    EXPECT_EQ(last, english ? "More: man kelpa, and the guides in /usr/share/doc/kelpa."
                            : "Mais informações: man kelpa e os guias em /usr/share/doc/kelpa.");
    // The blank between a refusal and what it names is the translation's too.
    EXPECT_TRUE(Runner({"--bogus"})
                    .Err.starts_with(english ? "kelpa: unknown option: --bogus\n"
                                             : "kelpa: opção desconhecida: --bogus\n"));
  }
  EXPECT_EQ(Wrapped("one two three", "  ", 9), "  one two\n  three\n");
  EXPECT_EQ(Wrapped("one two three", "  ", 8), "  one\n  two\n  three\n");
  EXPECT_EQ(Wrapped("a verylongword b", "", 5), "a\nverylongword\nb\n");
}

// A failed write to standard output (a full disk, a closed pipe) is a run error, whatever wrote.
TEST(RunnerCommandLine, AFailedWriteToStandardOutputIsARunError) {
  const test::TempWorkingDirectory dir;
  std::ofstream("lesson.ini") << "[CENARIO]\nTICKS=3\n[PROCESSO 1]\nTIPO=CPU\n";
  struct Full : std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
  } full;
  const std::vector<std::string> commands[] = {
      {"--help"},
      {"-V"},
      {"--check", "lesson.ini"},
      {"--run", "lesson.ini", "--output", "-"},
      {"--compare", "lesson.ini", "--vary", "GLOBAL.FATIA=1,2"},
      {"--run", "lesson.ini", "--output", "trace.txt", "--timeline", "-"},
  };
  for (const auto& args : commands) {
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunRunner(args, out, err), 3) << testing::PrintToString(args);
    EXPECT_EQ(err.str(), "kelpa: " + TMessages().MsgRunNaoGravou + "stdout\n");
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

// The GNU spellings of a command line give the same output as the spelling they stand for.
TEST_F(RunnerOnAFile, GnuSpellingsGiveTheSameOutput) {
  std::filesystem::copy_file("lesson.ini", "-lesson.ini");
  const std::string trace = Runner({"--run", "lesson.ini", "--ticks", "5"}).Out;
  const std::string checked = Runner({"--check", "lesson.ini", "--ticks", "5"}).Out;
  const std::string compared =
      Runner({"--compare", "lesson.ini", "--vary", "GLOBAL.FATIA=1,2"}).Out;
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--run=lesson.ini", "--ticks=5"}, trace},
      {{"--ticks=5", "--run", "lesson.ini"}, trace},
      {{"--run", "lesson.ini", "--ticks", "5", "--output", "-"}, trace},
      {{"--run", "--ticks", "5", "--", "lesson.ini"}, trace},
      {{"--check", "--ticks=5", "--", "-lesson.ini"}, checked},
      {{"--compare=lesson.ini", "--vary=GLOBAL.FATIA=1,2", "--output=-"}, compared},
      {{"-V"}, Runner({"--version"}).Out},
      {{"-h"}, Runner({"--help"}).Out},
  };
  for (const auto& [args, out] : cases) {
    const Outcome o = Runner(args);
    SCOPED_TRACE(testing::PrintToString(args));
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(o.Err, "");
    EXPECT_EQ(o.Out, out);
  }
  EXPECT_FALSE(std::filesystem::exists("-"));
  // The picture on standard output, the trace in its file.
  const Outcome svg = Runner({"--run", "lesson.ini", "--output", "trace.txt", "--timeline", "-"});
  EXPECT_EQ(svg.Status, 0) << svg.Err;
  EXPECT_TRUE(svg.Out.starts_with("<?xml")) << svg.Out.substr(0, 40);
  EXPECT_TRUE(svg.Out.ends_with("</svg>\n"));
  EXPECT_EQ(Bytes("trace.txt"), Runner({"--run", "lesson.ini"}).Out);
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

TEST_F(RunnerOnAFile, ErrorsNameTheOptionThatGaveTheValue) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--check", "lesson.ini", "--ticks", "0"},
       "--ticks: CENARIO.TICKS=0: TICKS: 0 fora do intervalo 1..1000000000"},
      {{"--compare", "lesson.ini", "--vary", "GLOBAL.FATIA=1,99"},
       "--vary: GLOBAL.FATIA=99: FATIA: 99 fora do intervalo 1..10"},
      {{"--check", "lesson.ini", "--set", "GLOBAL.\x1b]0;x" + std::string(100, 'K') + "=1"},
       "--set: GLOBAL.\\x1b]0;x" + std::string(68, 'K') + "…: chave desconhecida \\x1b]0;x" +
           std::string(75, 'K') + "… na seção [GLOBAL]"},
  };
  for (const auto& [args, error] : cases) {
    const Outcome o = Runner(args);
    EXPECT_EQ(o.Status, 2);
    EXPECT_EQ(o.Err, error + "\n");
    EXPECT_EQ(o.Out, "");
  }
}

TEST_F(RunnerOnAFile, ARefusedKelpaIniIsNamedInTheHeaderWithItsReason) {
  const TMessages m;
  const std::pair<std::string, std::string> cases[] = {
      {"\xFF\xFE[\0M\0", m.MsgCenArquivoUtf16},
      {std::string(kMaxIniFileSize + 1, ';'), m.MsgCenArquivoGrande},
  };
  for (const auto& [bytes, reason] : cases) {
    test::WriteBytes("kelpa.ini", bytes);
    const Outcome o = Runner({"--run", "lesson.ini"});
    EXPECT_EQ(o.Status, 0);
    const std::string line =
        "# " + m.MsgRunCatalogo + ": " + FillIn(m.MsgRunCatalogoRecusado, {reason}) + "\n";
    EXPECT_NE(o.Out.find(line), std::string::npos) << o.Out.substr(0, 300);
  }
}

TEST_F(RunnerOnAFile, RefusesOutputsThatAreTheScenarioOrEachOther) {
  namespace fs = std::filesystem;
  const TMessages m;
  const std::string scenario = Bytes("lesson.ini");
  std::ofstream("old.svg") << "old";
  fs::create_symlink("lesson.ini", "link.ini");
  fs::create_symlink(fs::absolute("lesson.ini"), "pic.svg");
  const Refusal refusals[] = {
      {{"--run", "lesson.ini", "--output", "lesson.ini"},
       FillIn(m.MsgRunSaidaECenario, {"--output", "lesson.ini"})},
      {{"--run", "./lesson.ini", "--output",
        "../" + dir_.Path().filename().string() + "/lesson.ini"},
       FillIn(m.MsgRunSaidaECenario,
              {"--output", "../" + dir_.Path().filename().string() + "/lesson.ini"})},
      {{"--run", "lesson.ini", "--output", "link.ini"},
       FillIn(m.MsgRunSaidaECenario, {"--output", "link.ini"})},
      {{"--run", "link.ini", "--timeline", "pic.svg"},
       FillIn(m.MsgRunSaidaECenario, {"--timeline", "pic.svg"})},
      {{"--compare", "lesson.ini", "--vary", "GLOBAL.RELOGIO=1,2", "--output", "lesson.ini"},
       FillIn(m.MsgRunSaidaECenario, {"--output", "lesson.ini"})},
      {{"--run", "lesson.ini", "--output", "new.svg", "--timeline", "./new.svg"},
       FillIn(m.MsgRunSaidasIguais, {"./new.svg"})},
      {{"--run", "lesson.ini", "--output", "old.svg", "--timeline", "./old.svg"},
       FillIn(m.MsgRunSaidasIguais, {"./old.svg"})},
  };
  for (const Refusal& r : refusals) {
    const Outcome o = Runner(r.Args);
    SCOPED_TRACE(testing::PrintToString(r.Args));
    EXPECT_EQ(o.Status, 2);
    EXPECT_EQ(o.Err, "kelpa: " + r.Message + "\n" + m.MsgRunVejaAjuda + "\n");
    EXPECT_EQ(Bytes("lesson.ini"), scenario);
    EXPECT_EQ(Bytes("old.svg"), "old");
    EXPECT_TRUE(fs::is_symlink("link.ini"));
    EXPECT_FALSE(fs::exists("new.svg"));
  }
}

TEST_F(RunnerOnAFile, FilesAreReplacedWholeOrNotAtAll) {
  namespace fs = std::filesystem;
  std::ofstream("trace.txt") << "old trace";
  std::ofstream("real.csv") << "old csv";
  std::ofstream("pic.png") << "old picture";
  fs::create_symlink("real.csv", "answers.csv");
  // A painter that fails halfway through its file.
  const TimelinePngPainter failing = [](const TimelineModel&, const TimelineFrame&,
                                        const TimelineTexts&, const std::string& file) {
    std::ofstream(file) << "half";
    return false;
  };
  const Outcome o =
      Runner({"--run", "lesson.ini", "--output", "trace.txt", "--timeline", "pic.png"}, failing);
  EXPECT_EQ(o.Status, 3);
  EXPECT_EQ(o.Err, "kelpa: " + TMessages().MsgRunNaoGravou + "pic.png\n");
  EXPECT_EQ(Bytes("pic.png"), "old picture");
  EXPECT_EQ(Bytes("trace.txt"), Runner({"--run", "lesson.ini"}).Out);
  EXPECT_FALSE(TempFileLeft());
  // Memory running out halfway: the same.
  const TimelinePngPainter exhausted = [](const TimelineModel&, const TimelineFrame&,
                                          const TimelineTexts&, const std::string& file) -> bool {
    std::ofstream(file) << "half";
    throw std::bad_alloc();
  };
  const Outcome oom = Runner({"--run", "lesson.ini", "--timeline", "pic.png"}, exhausted);
  EXPECT_EQ(oom.Status, 3);
  EXPECT_EQ(oom.Err, "kelpa: " + TMessages().MsgRunSemMemoria + "\n");
  EXPECT_EQ(Bytes("pic.png"), "old picture");
  EXPECT_FALSE(TempFileLeft());
  // Written through the link: the link stays, its file gets the whole output.
  const Outcome csv = Runner({"--run", "lesson.ini", "--format", "csv", "--output", "answers.csv"});
  EXPECT_EQ(csv.Status, 0) << csv.Err;
  EXPECT_TRUE(fs::is_symlink("answers.csv"));
  EXPECT_EQ(Bytes("real.csv"), Runner({"--run", "lesson.ini", "--format", "csv"}).Out);
  // A folder that does not exist: nothing is created.
  EXPECT_EQ(Runner({"--run", "lesson.ini", "--output", "none/trace.txt"}).Status, 3);
  EXPECT_FALSE(fs::exists("none"));
  EXPECT_FALSE(TempFileLeft());
}

}  // namespace
}  // namespace kelpa
