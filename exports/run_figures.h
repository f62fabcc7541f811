// SPDX-License-Identifier: MIT
// What a scenario run leaves to report: each scenario process's figures and the statistics, all
// in virtual time.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "exports/process_ticks.h"
#include "simulation/cpu.h"
#include "simulation/process_state.h"
#include "simulation/sim_event.h"
#include "simulation/statistics.h"

namespace kelpa {

// Its ticks (ProcessTicks), and what the scenario gave it.
struct ProcessFigures : ProcessTicks {
  int Number = 0;  // its [PROCESSO N]
  int Kind = 0;
  int Priority = 0;  // as the scenario gives it
  std::int64_t CpuMs = 0;
  std::optional<std::int64_t> TurnaroundMs;  // once ended
};

struct RunFigures {
  std::vector<ProcessFigures> Processes;  // in the scenario's order
  StatisticsNumbers Statistics;
};

// The short, stable code of a state in machine-readable output ("-" for no state).
std::string_view StateCode(std::optional<ProcessState> state);
// The scenario name of a process kind: CPU, IO_1, IO_2, IO_3, MIX_1, MIX_2.
std::string_view KindName(int kind);
// What the processor did in a tick, in machine-readable output: the pid of the process it ran,
// INT_PREEMPT, INT_SLICE or INT_PF for the interrupt it served, or IDLE.
std::string ProcessorCode(const TCPU::CycleOutcome& cycle);
// The stable name of an event kind in machine-readable output.
std::string_view EventName(EventKind kind);

}  // namespace kelpa
