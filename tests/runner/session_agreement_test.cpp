// SPDX-License-Identifier: MIT
// The runner and the live program agree: a lesson driven tick by tick through the session the
// windows use (its log file, its catalogue) on a hand-moved clock writes the same lines, times
// aside, as the runner prints for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "runner/command_line.h"
#include "scenario/scenario_reader.h"
#include "scenario/scenario_run.h"
#include "session/session.h"
#include "support/recording_reporter.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  for (std::size_t begin = 0, stop; (stop = text.find(end, begin)) != std::string::npos;
       begin = stop + end.size()) {
    lines.push_back(text.substr(begin, stop - begin));
  }
  return lines;
}

// The runner's trace lines without the tick and the time in front.
std::vector<std::string> RunnerLines(const std::string& lesson) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunRunner({"--run", lesson, "--format", "text"}, out, err), 0) << err.str();
  std::vector<std::string> texts;
  for (const std::string& line : Lines(out.str(), "\n")) {
    if (line.empty()) {
      break;  // the trace ends where the summary starts
    }
    if (line.front() != '#') {
      texts.push_back(line.substr(line.find(' ', line.find(' ') + 1) + 1));
    }
  }
  return texts;
}

// The session's log lines without the time in front ("hh:nn:ss:zzz : ").
std::vector<std::string> SessionLines(const std::string& lesson) {
  test::RecordingReporter reporter;
  auto owned = std::make_unique<VirtualClock>();
  VirtualClock& clock = *owned;
  NullDisplay display;
  Session session(reporter, std::move(owned));
  session.OpenLog();
  session.LoadCatalogue();
  session.CreateSimulation(display);
  const ScenarioReading reading = ReadScenarioFile(lesson, session.Msg());
  EXPECT_TRUE(reading.Value) << (reading.Error ? reading.Error->Text() : "");
  ScenarioRun run(session.Sim(), clock, *reading.Value);
  for (std::int64_t tick = 0; tick < reading.Value->Ticks; ++tick) {
    run.StepTick();
  }
  session.Log().Flush();
  std::ifstream in(session.Log().FileName(), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<std::string> texts;
  for (const std::string& line : Lines(bytes, "\r\n")) {
    texts.push_back(line.substr(15));
  }
  return texts;
}

TEST(SessionAgreement, TheSessionLogsWhatTheRunnerPrints) {
  for (const char* lesson : {"02-preempcao.ini", "04-busca-por-demanda.ini"}) {
    test::TempWorkingDirectory dir;
    std::filesystem::copy_file(std::filesystem::path(KELPA_LESSONS_DIR) / lesson, dir.File(lesson));
    const std::vector<std::string> runner = RunnerLines(lesson);
    const std::vector<std::string> session = SessionLines(lesson);
    ASSERT_FALSE(runner.empty());
    // The session's log starts with its own start-up line; the run's lines follow it.
    ASSERT_GE(session.size(), runner.size());
    const std::vector<std::string> tail(session.end() - static_cast<long>(runner.size()),
                                        session.end());
    EXPECT_EQ(tail, runner) << lesson;
  }
}

}  // namespace
}  // namespace kelpa
