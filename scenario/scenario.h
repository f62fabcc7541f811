// SPDX-License-Identifier: MIT
// A scenario: a workload and the options to run it with, read from a small settings-format file.
// Every field holds the value of a fresh start unless the file says otherwise, so a scenario run
// and a live session that starts the same way agree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simulation/colour.h"

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
  friend bool operator==(const ScenarioProcess&, const ScenarioProcess&) = default;
};

// A change of options at the start of a tick, before that tick's arrivals and requests, as if
// the user had changed them between two ticks; only the options it gives change. The clock
// position cannot change: it sets the length of every tick.
struct OptionChange {
  int Number = 0;  // N of its "[MUDANCA N]" section
  std::int64_t Tick = 0;
  std::optional<bool> Preemption;
  std::optional<bool> DynamicPriority;
  std::optional<int> RealTimeThreshold;
  std::optional<int> SlicePosition;
  std::optional<int> IoWaitPosition;
  std::optional<bool> AnticipatedFetch;
  std::optional<bool> FrameLimitEnabled;
  std::optional<int> MinFreePercent;
  friend bool operator==(const OptionChange&, const OptionChange&) = default;
};

struct Scenario {
  int Format = 1;
  std::string Title;
  std::int64_t Ticks = 1000;
  // Ticks at which a run in the windows stops by itself (the runner runs through them).
  std::vector<std::int64_t> PauseAt;  // ascending
  // [GLOBAL]: scheduling options and the three speed controls by position (1..10).
  bool Preemption = true;
  bool DynamicPriority = true;
  int RealTimeThreshold = 8;  // 0..16
  int SlicePosition = 1;      // time slice: SlicePosition instructions
  int ClockPosition = 1;      // clock period 1100 - 100 x position ms
  int IoWaitPosition = 10;    // wait length 10 x position passes
  // [MEMORIA]
  bool AnticipatedFetch = true;
  bool FrameLimitEnabled = true;
  int MinFreePercent = 80;  // 0..100
  std::vector<ScenarioProcess> Processes;
  // By tick; changes at the same tick in the order given (by section number).
  std::vector<OptionChange> Changes;
  friend bool operator==(const Scenario&, const Scenario&) = default;

  int ClockPeriodMs() const { return 1100 - 100 * ClockPosition; }
  int WaitLength() const { return 10 * IoWaitPosition; }
};

}  // namespace kelpa
