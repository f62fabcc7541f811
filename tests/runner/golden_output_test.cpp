// SPDX-License-Identifier: MIT
// Each output format of a small hand-built scenario against its golden file, byte for byte, and
// a second run giving the same bytes. KELPA_UPDATE_GOLDEN=1 rewrites the files instead (check
// the difference before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "catalogue/messages.h"
#include "golden_file.h"
#include "runner/compare_runs.h"
#include "runner/scenario_recorder.h"
#include "runner/trace_formats.h"

namespace kelpa {
namespace {

// Three processes at one tick per pass (100 ms), a short I/O wait, and every timed request.
Scenario SmallScenario() {
  Scenario s;
  s.Title = "golden";
  s.Ticks = 40;
  s.ClockPosition = 10;
  s.IoWaitPosition = 1;
  s.SlicePosition = 2;
  ScenarioProcess cpu;
  cpu.Number = 1;
  cpu.Kind = 0;
  cpu.Priority = 4;
  cpu.FrameLimit = 2;
  cpu.Color = kProcessPalette[0];
  ScenarioProcess io = cpu;
  io.Number = 2;
  io.Kind = 1;
  io.Priority = 9;
  io.FrameLimit = 3;
  io.Color = kProcessPalette[1];
  io.Arrival = 2;
  io.SuspendAt = {6};
  io.ResumeAt = {9};
  io.PriorityAt = {{12, 3}};
  ScenarioProcess mix = cpu;
  mix.Number = 3;
  mix.Kind = 5;
  mix.Priority = 2;
  mix.Color = kProcessPalette[2];
  mix.Arrival = 1;
  mix.EndAt = 20;
  s.Processes = {cpu, io, mix};
  return s;
}

StatisticsCaptionTexts BuiltInCaptions() {
  StatisticsCaptionTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = kStatisticsCaptions[i].Caption;
  }
  texts[10] = "Utilização UCP (%)";  // trimmed as the runner trims
  return texts;
}

std::string Render(TraceFormat format, const Scenario& scenario) {
  const TMessages msg;
  std::ostringstream text;
  {
    OutputBuffer out(text);
    const RunHeader header{"test", "small.ini", "0123abcd", false, &scenario};
    WriteRun(out, format, header, scenario, msg, BuiltInCaptions());
  }
  return text.str();
}

using test::CompareWithGolden;

TEST(RunnerGolden, EveryFormatOfASmallScenario) {
  const Scenario scenario = SmallScenario();
  const std::pair<TraceFormat, const char*> formats[] = {{TraceFormat::Text, "small.txt"},
                                                         {TraceFormat::Csv, "small.csv"},
                                                         {TraceFormat::Json, "small.json"},
                                                         {TraceFormat::States, "small.states"}};
  for (const auto& [format, name] : formats) {
    const std::string first = Render(format, scenario);
    CompareWithGolden(name, first);
    EXPECT_EQ(Render(format, scenario), first) << name << " differs from one run to the next";
  }
}

TEST(RunnerGolden, ComparisonTableInTextAndCsv) {
  const std::vector<Combination> combinations = {{"GLOBAL.FATIA=1", {}}, {"GLOBAL.FATIA=3", {}}};
  Scenario slice1 = SmallScenario();
  slice1.SlicePosition = 1;
  Scenario slice3 = SmallScenario();
  slice3.SlicePosition = 3;
  const TMessages msg;
  std::vector<StatisticsNumbers> results;
  for (const Scenario* s : {&slice1, &slice3}) {
    results.push_back(RunScenario(*s, msg, nullptr).Statistics);
  }
  for (const auto& [format, name] :
       {std::pair{TraceFormat::Text, "compare.txt"}, std::pair{TraceFormat::Csv, "compare.csv"}}) {
    std::ostringstream text;
    {
      OutputBuffer out(text);
      WriteComparison(out, format, combinations, results, BuiltInCaptions());
    }
    CompareWithGolden(name, text.str());
  }
}

}  // namespace
}  // namespace kelpa
