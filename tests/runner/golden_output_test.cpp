// SPDX-License-Identifier: MIT
// Each output format of a small hand-built scenario against its golden file, byte for byte, and
// a second run giving the same bytes. KELPA_UPDATE_GOLDEN=1 rewrites the files instead (check
// the difference before committing it).
#include <gtest/gtest.h>

#include <algorithm>
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
  s.Options.ClockPosition = 10;
  s.Options.IoWaitPosition = 1;
  s.Options.SlicePosition = 2;
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

// The json header gives the timed changes as the other formats' headers do: each with only the
// options it changes.
TEST(RunnerGolden, JsonHeaderListsTheTimedChanges) {
  Scenario scenario = SmallScenario();
  OptionChange change;
  change.Number = 2;
  change.Tick = 30;
  change.Options.Set(OptionId::SlicePosition, 3);
  change.Options.Set(OptionId::AnticipatedFetch, false);
  scenario.Changes = {change};
  const std::string json = Render(TraceFormat::Json, scenario);
  EXPECT_NE(json.find("\"changes\":[\n{\"number\":2,\"tick\":30,\"slice_position\":3,"
                      "\"anticipated_fetch\":false}],\"processes\":"),
            std::string::npos)
      << json.substr(0, 1200);
}

// The slice varied over a small workload: the statistics and each process's figures per slice.
ComparisonTable CompareSlices(const std::vector<std::string>& slices) {
  ComparisonTable table;
  table.VaryNames = {"GLOBAL.FATIA"};
  table.Combinations = Combinations({{"GLOBAL.FATIA", *ParseOverride("GLOBAL.FATIA=1"), slices}});
  for (const std::string& slice : slices) {
    Scenario s = SmallScenario();
    s.Options.SlicePosition = std::stoi(slice);
    table.Results.push_back(RunScenario(s, TMessages(), nullptr));
  }
  return table;
}

std::string Compare(TraceFormat format, const ComparisonTable& table, int width) {
  std::ostringstream text;
  {
    OutputBuffer out(text);
    WriteComparison(out, format, table, BuiltInCaptions(), TMessages(), width);
  }
  return text.str();
}

TEST(RunnerGolden, ComparisonTableInTextAndCsv) {
  const ComparisonTable table = CompareSlices({"1", "3"});
  CompareWithGolden("compare.txt", Compare(TraceFormat::Text, table, 80));
  CompareWithGolden("compare.csv", Compare(TraceFormat::Csv, table, 80));
}

// The scheduling policies' worked example (see scheduling_policies_test.cpp, where its tables are
// done by hand) as the comparison prints it: every policy's per-job figures side by side.
TEST(RunnerGolden, PoliciesComparedOnTheWorkedExample) {
  Scenario s;
  s.Title = "worked";
  s.Ticks = 20;
  s.Options.SlicePosition = 2;
  s.Options.MlfqAllotment = 2;
  for (const auto& [arrival, length] : {std::pair{0, 7}, {2, 4}, {4, 1}, {5, 4}}) {
    ScenarioProcess p;
    p.Number = static_cast<int>(s.Processes.size()) + 1;
    p.Arrival = arrival;
    p.Color = kProcessPalette[s.Processes.size()];
    p.Program = {std::vector<std::int32_t>(static_cast<std::size_t>(length), kCompute), false};
    s.Processes.push_back(p);
  }
  const std::vector<std::string> names = {"FCFS", "SJF", "SRTF", "RR", "MLFQ"};
  ComparisonTable table;
  table.VaryNames = {"GLOBAL.ESCALONADOR"};
  table.Combinations =
      Combinations({{"GLOBAL.ESCALONADOR", *ParseOverride("GLOBAL.ESCALONADOR=FCFS"), names}});
  for (const std::string& name : names) {
    s.Options.Scheduler = *ChoiceOf(RowOf(OptionId::Scheduler), name);
    table.Results.push_back(RunScenario(s, TMessages(), nullptr));
  }
  CompareWithGolden("policies.txt", Compare(TraceFormat::Text, table, 100));
}

// However many combinations, each comes once and in order, and every line fits the width.
TEST(RunnerGolden, ComparisonTextWrapsToTheWidth) {
  const std::vector<std::string> slices = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  const ComparisonTable table = CompareSlices(slices);
  for (const int width : {40, 80, 1000}) {
    std::istringstream lines(Compare(TraceFormat::Text, table, width));
    std::vector<std::string> seen;
    int tables = 0;
    for (std::string line; std::getline(lines, line);) {
      const auto characters =
          std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
      EXPECT_LE(characters, width) << line;
      std::istringstream words(line);
      std::string word;
      if (words >> word && word == "GLOBAL.FATIA") {
        ++tables;
        for (; words >> word;) {
          seen.push_back(word);
        }
      }
    }
    EXPECT_EQ(seen, slices) << width;
    EXPECT_EQ(tables == 1, width == 1000) << width;
  }
}

}  // namespace
}  // namespace kelpa
