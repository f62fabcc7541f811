// SPDX-License-Identifier: MIT
// A scenario: a workload and the options to run it with, read from a small settings-format file.
// Every field holds the value of a fresh start unless the file says otherwise, so a scenario run
// and a live session that starts the same way agree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scenario/exercise_section.h"
#include "simulation/colour.h"
#include "simulation/program.h"
#include "simulation/run_options.h"

namespace kelpa {

// One timed change asked of a process, taking effect as the process-list button of the same
// name does, at the start of its tick.
struct PriorityChange {
  std::int64_t Tick = 0;
  int Priority = 0;
  friend bool operator==(const PriorityChange&, const PriorityChange&) = default;
};

struct ScenarioProcess {
  int Number = 0;      // N of its "[PROCESSO N]" section; drawn ones follow the written ones
  int Kind = 0;        // 0..5, ProcessKind order (CPU, IO_1, IO_2, IO_3, MIX_1, MIX_2)
  int Priority = 0;    // 0..15
  int FrameLimit = 5;  // 1..5
  TColor Color = 0;    // when not written: kProcessPalette at its position in the list, mod 10
  std::int64_t Arrival = 0;                // tick of creation
  std::vector<std::int64_t> SuspendAt;     // ascending
  std::vector<std::int64_t> ResumeAt;      // ascending
  std::vector<PriorityChange> PriorityAt;  // ascending by tick
  std::optional<std::int64_t> EndAt;       // "Finalizar"
  // PROGRAMA (its codes, empty for the kind's) and REPETE.
  ProcessProgram Program{};
  friend bool operator==(const ScenarioProcess&, const ScenarioProcess&) = default;
};

// A change of options at the start of a tick, before that tick's arrivals and requests, as if
// the user had changed them between two ticks; only the options it gives change, and only
// changeable ones (the clock sets the length of every tick).
struct OptionChange {
  int Number = 0;  // N of its "[MUDANCA N]" section
  std::int64_t Tick = 0;
  OptionSet Options;
  friend bool operator==(const OptionChange&, const OptionChange&) = default;
};

// A [TAREFA] section: what a homework drawn from the scenario asks. The windows and the runner's
// runs do not use it; a written scenario keeps it.
struct HomeworkQuestions {
  // The ticks of the states table to fill, first and last; none: from 0 to the 20th tick, or to
  // the last one when the run is shorter.
  std::optional<std::pair<std::int64_t, std::int64_t>> Ticks;
  bool Figures = true;  // each process's turnaround, waiting and response, in ticks
  bool Faults = true;   // each process's page faults
  friend bool operator==(const HomeworkQuestions&, const HomeworkQuestions&) = default;

  // The ticks asked of a run of runTicks ticks (at least one).
  std::pair<std::int64_t, std::int64_t> TickRange(std::int64_t runTicks) const {
    constexpr std::int64_t kDefaultLastTick = 19;
    return Ticks.value_or(std::pair<std::int64_t, std::int64_t>{
        0, runTicks - 1 < kDefaultLastTick ? runTicks - 1 : kDefaultLastTick});
  }
};

struct Scenario {
  int Format = 1;
  std::string Title;
  std::int64_t Ticks = 1000;
  // Ticks at which a run in the windows stops by itself (the runner runs through them).
  std::vector<std::int64_t> PauseAt;  // ascending
  // [GLOBAL] and [MEMORIA].
  RunOptions Options;
  std::vector<ScenarioProcess> Processes;
  // By tick; changes at the same tick in the order given (by section number).
  std::vector<OptionChange> Changes;
  std::optional<HomeworkQuestions> Homework;  // its [TAREFA], when it has one
  // [EXERCICIO]: what a run in the windows asks, and the score of a saved run.
  std::optional<ExerciseSection> Exercise;
  friend bool operator==(const Scenario&, const Scenario&) = default;

  int ClockPeriodMs() const { return Options.ClockPeriodMs(); }
};

}  // namespace kelpa
