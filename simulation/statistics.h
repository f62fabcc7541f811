// SPDX-License-Identifier: MIT
// The statistics window's figures as numbers, computed from one reading of the counters. The
// window formats them with the user's locale; the runner with '.' decimals.
#pragma once

#include <cstdint>
#include <optional>

#include "simulation/snapshots.h"

namespace kelpa {

// Memory size shown by the statistics, in bytes.
inline constexpr int kMemoryBytes = 800;

// A figure left empty has nothing to divide by yet (see ComputeStatisticsNumbers).
struct StatisticsNumbers {
  double ElapsedSpan = 0;  // days, never negative
  int Processes = 0;
  int Dispatches = 0;
  std::optional<double> Throughput;   // dispatches per whole second elapsed
  std::int64_t CpuSeconds = 0;        // whole seconds the processor was busy
  std::optional<double> Utilisation;  // percent of the elapsed span
  int Ready = 0;
  int Running = 0;
  int Waiting = 0;
  std::optional<double> Turnaround;            // seconds per finished process
  std::optional<double> ReadyWaitPerDispatch;  // seconds per dispatch
  double ReadyWaitTotal = 0;                   // whole seconds
  std::optional<double> ReadyWaitMean;         // seconds per ready process
  std::int64_t PageFaults = 0;
  std::optional<double> PageFaultRate;  // faults per whole second elapsed
  int MemorySize = kMemoryBytes;
  int MemoryInUse = 0;
  double FreePercent = 0;
  int HardFaults = 0;
  int SoftFaults = 0;
};

// Spans are taken in whole seconds before they are divided. The per-second rates are empty while
// less than a whole second has passed since the start (or the clock was set back before it), the
// utilisation while no time at all has passed, the turnaround with no finished process, the
// waits per dispatch and per ready process with no dispatch or no ready process.
StatisticsNumbers ComputeStatisticsNumbers(const StatisticsInputs& in);

}  // namespace kelpa
