// SPDX-License-Identifier: MIT
// The states table two ways: the windows make it from a recorded timeline, the runner from the
// run tick by tick. Over every lesson they agree cell for cell (the timeline keeps no interrupt's
// kind, only that one was served). The windows number processes in the order they are created,
// the runner by their sections, so a lesson whose drawn processes arrive out of that order is
// left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "catalogue/messages.h"
#include "exports/states_table.h"
#include "runner/scenario_recorder.h"
#include "scenario/scenario_reader.h"

namespace kelpa {
namespace {

TEST(StatesTable, FromTheTimelineItIsTheRunnersOwnInEveryLesson) {
  const TMessages msg;
  int lessons = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KELPA_LESSONS_DIR)) {
    const std::string file = entry.path().string();
    const Scenario scenario = *ReadScenarioFile(file, msg).Value;
    if (!std::is_sorted(scenario.Processes.begin(), scenario.Processes.end(),
                        [](const ScenarioProcess& a, const ScenarioProcess& b) {
                          return a.Arrival < b.Arrival;
                        })) {
      continue;
    }
    StatesTableRecorder recorder;
    TimelineModel timeline(TimelineEvents::Dropped);
    recorder.Begin({"", file, "", false, &scenario});
    recorder.End(RunScenario(scenario, msg, &recorder, &timeline));
    PrintTable expected = recorder.Table();
    for (auto& row : expected.Rows) {
      if (row.back().starts_with("INT_")) {
        row.back() = "INT";
      }
    }
    const PrintTable made = StatesTableOf(timeline);
    EXPECT_EQ(made.Columns, expected.Columns) << file;
    EXPECT_EQ(made.Rows, expected.Rows) << file;
    ++lessons;
  }
  EXPECT_GE(lessons, 10);
}

}  // namespace
}  // namespace kelpa
