// SPDX-License-Identifier: MIT
// What the windows show, copied out of the simulation in one go. Each function takes the
// simulation lock itself for the copy, so a window never walks the kernel's or the memory
// manager's containers and never holds the lock while it paints. Not for a caller that already
// holds the lock (it is not recursive).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/datetime.h"
#include "simulation/display.h"
#include "simulation/memory_manager.h"
#include "simulation/process.h"
#include "simulation/run_options.h"

namespace kelpa {

class Simulation;

// One row of the process list, in the process table's order.
struct ProcessRow {
  ShapeId Shape = 0;
  std::int32_t PID = 0;
  TColor Color = 0;
  std::int32_t BasePriority = 0;
  std::int32_t Priority = 0;
  decltype(TProcesso::State) State{};
  bool KillRequested = false;
  double CpuTime = 0;
  std::int32_t FrameLimit = 0;
  bool SuspendRequested = false;
};

// A request made by hand that the process has not taken yet: the processor takes a suspension or
// an end at the process's next cycle on it, the wait service a resumption at its next pass.
enum class PendingRequest : std::uint8_t { None, Suspend, Resume, End };
PendingRequest PendingRequestOf(const ProcessRow& row);

// One process as the PCB window shows it, with its page table.
struct ProcessDetail {
  int Index = 0;  // its place in the process table
  std::int32_t PID = 0;
  TColor Color = 0;
  std::int32_t BasePriority = 0;
  std::int32_t Priority = 0;
  decltype(TProcesso::State) State{};
  TDateTime CreatedAt = 0;
  double CpuTime = 0;
  std::int32_t FrameLimit = 0;
  std::int32_t PC = 0;
  std::vector<std::int32_t> Program;  // the instructions it runs, PC indexing them
  bool Repeats = true;
  bool OwnProgram = false;  // a program of its own, not its kind's
  std::array<TPageEntry, kPagesPerProcess> Pages{};
  ReplacementPolicy Replacement = ReplacementPolicy::Fifo;  // the policy in force
};

// The counters the statistics window computes its figures from.
struct StatisticsInputs {
  TDateTime Now = 0;
  TDateTime StartTime = 0;
  int ProcessCount = 0;
  int Running = 0;
  int Ready = 0;
  int Waiting = 0;
  int DispatchCount = 0;
  double TotalReadyWaitTime = 0;  // days
  int FinishedCount = 0;
  double TotalTurnaroundTime = 0;  // days
  double BusyTime = 0;             // days
  double ReadyWaitSum = 0;         // days
  int ReadyWaitCount = 0;
  int FreePages = 0;
  int HardFaults = 0;
  int SoftFaults = 0;
};

// A frame of real memory or a block of the page file; OwnerColor is that of the process whose
// page it holds, if it names one.
struct FrameView {
  bool Free = true;
  bool Modified = false;
  std::optional<TColor> OwnerColor;
};
struct BlockView {
  decltype(TBlockEntry::State) State{};
  bool Modified = false;
  std::optional<TColor> OwnerColor;
};
using FrameViews = std::array<FrameView, kFrameCount>;
using BlockViews = std::array<BlockView, kBlockCount>;

struct PageListSizes {
  int Free = 0;
  int Modified = 0;
};

// Where the ready discs stand: each ready queue in dispatch order.
std::vector<DiscPlace> SnapshotReadyDiscs(Simulation& sim);
std::vector<ProcessRow> SnapshotProcessRows(Simulation& sim);
int SnapshotProcessCount(Simulation& sim);
// The options in force.
RunOptions SnapshotOptions(Simulation& sim);
// The process at `index` of the table, or the first when there is none there; none when the
// table is empty.
std::optional<ProcessDetail> SnapshotProcess(Simulation& sim, int index);
StatisticsInputs SnapshotStatistics(Simulation& sim);
FrameViews SnapshotFrames(Simulation& sim);
BlockViews SnapshotBlocks(Simulation& sim);
PageListSizes SnapshotPageLists(Simulation& sim);

}  // namespace kelpa
