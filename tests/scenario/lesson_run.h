// SPDX-License-Identifier: MIT
// Runs a scenario file in virtual time with a log that keeps each line with its tick, for the
// tests that check what the shipped lessons show.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "scenario/scenario_reader.h"
#include "scenario/scenario_run.h"
#include "simulation/log.h"
#include "simulation/simulation.h"
#include "simulation/virtual_clock.h"
#include "support/recording_display.h"

namespace kelpa::test {

// The shipped lessons, from this source file's place in the tree.
inline std::filesystem::path LessonFolder() {
  return std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "examples" / "scenarios";
}

class TickLog final : public ILog {
 public:
  void AddLine(const std::string& text, TColor) override {
    Lines.push_back(std::to_string(Tick) + " " + text);
  }
  std::int64_t Tick = 0;
  std::vector<std::string> Lines;
};

// The log of a whole run of the scenario at path ("TICK text" per line); empty when the file is
// refused.
inline std::vector<std::string> RunLesson(const std::string& path,
                                          const std::vector<ScenarioOverride>& overrides = {}) {
  const TMessages msg;
  const ScenarioReading read = ReadScenarioFile(path, msg, overrides);
  if (!read.Value) {
    return {};
  }
  VirtualClock clock;
  TickLog log;
  RecordingDisplay display;
  Simulation sim(clock, log, display, msg);
  ScenarioRun run(sim, clock, *read.Value);
  while (run.Tick() < read.Value->Ticks) {
    log.Tick = run.Tick();
    run.StepTick();
  }
  return std::move(log.Lines);
}

}  // namespace kelpa::test
