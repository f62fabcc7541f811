// SPDX-License-Identifier: MIT
#include "simulation/snapshots.h"

#include <mutex>

#include "simulation/simulation.h"

namespace kelpa {
namespace {

ProcessRow RowOf(const TProcesso& p, const TCPU& cpu) {
  return {p.Shape,         p.PID,
          p.Color,         p.BasePriority,
          p.Priority,      p.State,
          p.KillRequested, cpu.CpuTimeSoFar(p),
          p.FrameLimit,    p.SuspendRequested};
}

ProcessDetail DetailOf(const TProcesso& p, int index, const TCPU& cpu) {
  ProcessDetail detail;
  detail.Index = index;
  detail.PID = p.PID;
  detail.Color = p.Color;
  detail.BasePriority = p.BasePriority;
  detail.Priority = p.Priority;
  detail.State = p.State;
  detail.CreatedAt = p.CreatedAt;
  detail.CpuTime = cpu.CpuTimeSoFar(p);
  detail.FrameLimit = p.FrameLimit;
  detail.PC = p.PC;
  detail.Program.assign(p.Instructions.begin(), p.Instructions.begin() + p.Length);
  detail.Repeats = p.Repeats;
  detail.OwnProgram = p.OwnProgram;
  detail.Pages = p.PageTable;
  return detail;
}

std::optional<TColor> ColourOf(const TProcesso* owner) {
  return owner != nullptr ? std::optional<TColor>(owner->Color) : std::nullopt;
}

}  // namespace

std::vector<DiscPlace> SnapshotReadyDiscs(Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  return sim.Kernel.ReadyDiscs();
}

PendingRequest PendingRequestOf(const ProcessRow& row) {
  const bool suspended = row.State == psSuspended || row.State == psSuspendedOut;
  if (row.KillRequested) {
    return PendingRequest::End;
  }
  if (row.SuspendRequested && !suspended) {
    return PendingRequest::Suspend;
  }
  if (!row.SuspendRequested && suspended) {
    return PendingRequest::Resume;
  }
  return PendingRequest::None;
}

std::vector<ProcessRow> SnapshotProcessRows(Simulation& sim) {
  std::vector<ProcessRow> rows;
  std::lock_guard lock(sim.Lock);
  rows.reserve(sim.Kernel.Processes.size());
  for (const auto& process : sim.Kernel.Processes) {
    rows.push_back(RowOf(*process, sim.Cpu));
  }
  return rows;
}

int SnapshotProcessCount(Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  return static_cast<int>(sim.Kernel.Processes.size());
}

RunOptions SnapshotOptions(Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  return sim.Options();
}

std::optional<ProcessDetail> SnapshotProcess(Simulation& sim, int index) {
  std::lock_guard lock(sim.Lock);
  const auto& processes = sim.Kernel.Processes;
  if (processes.empty()) {
    return std::nullopt;
  }
  if (index < 0 || index >= static_cast<int>(processes.size())) {
    index = 0;
  }
  ProcessDetail detail = DetailOf(*processes[static_cast<std::size_t>(index)], index, sim.Cpu);
  detail.Replacement = sim.Memoria.Replacement;
  return detail;
}

StatisticsInputs SnapshotStatistics(Simulation& sim) {
  StatisticsInputs in;
  std::lock_guard lock(sim.Lock);
  in.Now = sim.Now();
  in.StartTime = sim.StartTime;
  in.ProcessCount = static_cast<int>(sim.Kernel.Processes.size());
  sim.Kernel.CountStates(in.Running, in.Ready, in.Waiting);
  in.DispatchCount = sim.Kernel.DispatchCount;
  in.TotalReadyWaitTime = sim.Kernel.TotalReadyWaitTime;
  in.FinishedCount = sim.FinishedCount;
  in.TotalTurnaroundTime = sim.TotalTurnaroundTime;
  in.BusyTime = sim.Cpu.BusyTimeSoFar();
  sim.Kernel.ReadyWaitTotals(in.ReadyWaitSum, in.ReadyWaitCount);
  in.FreePages = sim.Memoria.FreePageCount();
  std::int32_t hard = 0;
  std::int32_t soft = 0;
  sim.Memoria.GetPageFaultCounts(hard, soft);
  in.HardFaults = hard;
  in.SoftFaults = soft;
  return in;
}

FrameViews SnapshotFrames(Simulation& sim) {
  FrameViews views;
  std::lock_guard lock(sim.Lock);
  for (std::size_t n = 0; n < views.size(); ++n) {
    const TFrameEntry& frame = sim.Memoria.FrameTable[n];
    views[n] = {frame.Free, frame.Modified, ColourOf(frame.Owner)};
  }
  return views;
}

BlockViews SnapshotBlocks(Simulation& sim) {
  BlockViews views;
  std::lock_guard lock(sim.Lock);
  for (std::size_t n = 0; n < views.size(); ++n) {
    const TBlockEntry& block = sim.Memoria.BlockTable[n];
    views[n] = {block.State, block.Modified, ColourOf(block.Owner)};
  }
  return views;
}

PageListSizes SnapshotPageLists(Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  return {sim.Memoria.FreePageCount(), sim.Memoria.ModifiedPageCount()};
}

}  // namespace kelpa
