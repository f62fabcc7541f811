// SPDX-License-Identifier: MIT
#include "simulation/kernel.h"

#include <algorithm>

#include "simulation/simulation.h"

namespace kelpa {
namespace {

int QueueIndex(int priority) {
  return std::clamp(priority, 0, kPriorityLevels - 1);
}

}  // namespace

const std::array<TInterruptEntry, 4> InterruptTable = {{
    {0, InterruptNone},
    {0, InterruptPreemption},
    {0, InterruptTimeSlice},
    {0, InterruptPageFault},
}};

TKernel::TKernel(Simulation& sim) : sim_(sim) {}

void TKernel::RaiseInterrupt(InterruptCode code) {
  sim_.Lock.AssertHeld();
  if (code < InterruptPreemption || code > InterruptPageFault) {
    return;
  }
  InterruptQueues[InterruptTable[static_cast<std::size_t>(code)].Level].push_back(code);
}

InterruptCode TKernel::NextInterrupt() {
  sim_.Lock.AssertHeld();
  for (auto& queue : InterruptQueues) {
    if (!queue.empty()) {
      const InterruptCode code = queue.front();
      queue.pop_front();
      return code;
    }
  }
  return InterruptNone;
}

bool TKernel::InterruptPending() const {
  return std::any_of(InterruptQueues.begin(), InterruptQueues.end(),
                     [](const auto& queue) { return !queue.empty(); });
}

void TKernel::MakeReady(TProcesso* P) {
  sim_.Lock.AssertHeld();
  if (P == nullptr) {
    return;
  }
  ReadyQueues[QueueOf(*P)].push_back(P);
  P->ReadySince = sim_.Now();
  sim_.ChangeState(*P, IsSwappedOut(P->State) ? psReadyOut : psReady);
  sim_.Display.AttachShape(P->Shape);
}

void TKernel::AddProcess(std::unique_ptr<TProcesso> P) {
  sim_.Lock.AssertHeld();
  if (!P) {
    return;
  }
  TProcesso* raw = P.get();
  raw->Level = Mlfq.Levels - 1;
  Processes.push_back(std::move(P));
  MakeReady(raw);
  sim_.HClock.Resume();
}

void TKernel::SetPriority(TProcesso* P, int newPriority) {
  sim_.Lock.AssertHeld();
  if (P == nullptr) {
    return;
  }
  P->BasePriority = QueueIndex(newPriority);
  // Only the priority kernel files ready processes by priority.
  if (Policy == SchedulingPolicy::Priority && (P->State == psReady || P->State == psReadyOut)) {
    RemoveFromReadyQueues(P);
    ReadyQueues[P->BasePriority].push_back(P);
  }
}

void TKernel::RemoveFromReadyQueues(TProcesso* P) {
  sim_.Lock.AssertHeld();
  for (auto& queue : ReadyQueues) {
    const auto found = std::find(queue.rbegin(), queue.rend(), P);
    if (found != queue.rend()) {
      queue.erase(std::next(found).base());
      return;
    }
  }
}

void TKernel::RemoveProcess(TProcesso*& P) {
  sim_.Lock.AssertHeld();
  const auto found = std::find_if(Processes.begin(), Processes.end(),
                                  [P](const auto& owned) { return owned.get() == P; });
  if (found == Processes.end()) {
    P = nullptr;
    return;
  }
  std::unique_ptr<TProcesso> owned = std::move(*found);
  Processes.erase(found);
  EliminateProcess(sim_, owned);
  P = nullptr;
}

TProcesso* TKernel::Dispatch() {
  sim_.Lock.AssertHeld();
  int level = 0;
  TProcesso* Q = ChooseReady(level);
  if (Q == nullptr) {
    return nullptr;
  }
  if (Q->State == psReadyOut) {
    sim_.Memoria.SwapIn(Q);
  }
  DispatchCount += 1;
  TotalReadyWaitTime += sim_.Now() - Q->ReadySince;
  // The swap-in may have swapped others out, but never reorders the queues.
  auto& queue = ReadyQueues[static_cast<std::size_t>(level)];
  queue.erase(std::find(queue.begin(), queue.end(), Q));
  return Q;
}

TProcesso* TKernel::ChooseReady(int& level) const {
  if (Policy == SchedulingPolicy::Sjf || Policy == SchedulingPolicy::Srtf) {
    // The shortest next burst; among equals, the one that has waited in the queue longest.
    const auto& queue = ReadyQueues[0];
    const auto shortest = std::min_element(
        queue.begin(), queue.end(), [](auto* a, auto* b) { return NextBurst(*a) < NextBurst(*b); });
    level = 0;
    return shortest == queue.end() ? nullptr : *shortest;
  }
  for (level = kPriorityLevels - 1; level >= 0; --level) {
    if (!ReadyQueues[static_cast<std::size_t>(level)].empty()) {
      return ReadyQueues[static_cast<std::size_t>(level)].front();
    }
  }
  return nullptr;
}

void TKernel::ReportChoice(const TProcesso& p) const {
  switch (Policy) {
    case SchedulingPolicy::Priority:
      return;
    case SchedulingPolicy::Fcfs:
      sim_.ReportProcess(EventKind::ChosenFirstCome, p);
      return;
    case SchedulingPolicy::RoundRobin:
      sim_.ReportProcess(EventKind::ChosenInTurn, p);
      return;
    case SchedulingPolicy::Sjf:
      sim_.ReportProcess(EventKind::ChosenShortestBurst, p, -1, NextBurst(p));
      return;
    case SchedulingPolicy::Srtf:
      sim_.ReportProcess(EventKind::ChosenShortestRemaining, p, -1, NextBurst(p));
      return;
    case SchedulingPolicy::Mlfq:
      sim_.ReportProcess(EventKind::ChosenTopLevel, p, -1, p.Level);
      return;
  }
}

int TKernel::QueueOf(const TProcesso& p) const {
  switch (Policy) {
    case SchedulingPolicy::Priority:
      return QueueIndex(p.Priority);
    case SchedulingPolicy::Mlfq:
      return std::clamp(p.Level, 0, Mlfq.Levels - 1);
    default:
      return 0;
  }
}

int TKernel::QueueCount() const {
  switch (Policy) {
    case SchedulingPolicy::Priority:
      return kPriorityLevels;
    case SchedulingPolicy::Mlfq:
      return Mlfq.Levels;
    default:
      return 1;
  }
}

void TKernel::RefileReadyQueues() {
  std::vector<TProcesso*> ready;
  for (int level = kPriorityLevels - 1; level >= 0; --level) {
    auto& queue = ReadyQueues[static_cast<std::size_t>(level)];
    ready.insert(ready.end(), queue.begin(), queue.end());
    queue.clear();
  }
  for (TProcesso* p : ready) {
    ReadyQueues[static_cast<std::size_t>(QueueOf(*p))].push_back(p);
  }
}

void TKernel::SetPolicy(SchedulingPolicy policy) {
  sim_.Lock.AssertHeld();
  if (policy == Policy) {
    return;
  }
  Policy = policy;
  for (const auto& p : Processes) {
    p->Level = Mlfq.Levels - 1;
    p->LevelTicks = 0;
  }
  RefileReadyQueues();
}

void TKernel::SetMlfqLevels(int levels) {
  sim_.Lock.AssertHeld();
  Mlfq.Levels = std::clamp(levels, 1, kPriorityLevels);
  for (const auto& p : Processes) {
    p->Level = std::min(p->Level, Mlfq.Levels - 1);
  }
  RefileReadyQueues();
}

void TKernel::CountCycle() {
  // Every BoostPeriod ticks: as ticks B, 2B, ... start, once B ticks have run.
  if (Policy == SchedulingPolicy::Mlfq && Mlfq.BoostPeriod > 0 && Cycles > 0 &&
      Cycles % Mlfq.BoostPeriod == 0) {
    BoostLevels();
  }
  Cycles += 1;
}

void TKernel::BoostLevels() {
  for (const auto& p : Processes) {
    p->Level = Mlfq.Levels - 1;
    p->LevelTicks = 0;
  }
  RefileReadyQueues();
  SimEvent event;
  event.Kind = EventKind::LevelsBoosted;
  event.Value = Mlfq.Levels - 1;
  sim_.Report(event);
}

bool TKernel::ShouldYield(const TProcesso& running) const {
  if (Policy == SchedulingPolicy::Srtf) {
    const int remaining = NextBurst(running);
    return std::any_of(ReadyQueues[0].begin(), ReadyQueues[0].end(),
                       [remaining](const TProcesso* p) { return NextBurst(*p) < remaining; });
  }
  if (Policy == SchedulingPolicy::Mlfq) {
    for (int level = Mlfq.Levels - 1; level > running.Level; --level) {
      if (!ReadyQueues[static_cast<std::size_t>(level)].empty()) {
        return true;
      }
    }
  }
  return false;
}

bool TKernel::ChargeLevelTick(TProcesso& p) {
  if (Policy != SchedulingPolicy::Mlfq || ++p.LevelTicks < Mlfq.Allotment) {
    return false;
  }
  p.LevelTicks = 0;
  if (p.Level == 0) {
    return false;
  }
  p.Level -= 1;
  sim_.ReportProcess(EventKind::LevelLowered, p, -1, p.Level);
  return true;
}

int TKernel::HighestReadyPriority() const {
  for (int level = kPriorityLevels - 1; level >= 0; --level) {
    if (!ReadyQueues[level].empty()) {
      return level;
    }
  }
  return -1;
}

TProcesso* TKernel::PickSwapVictim() {
  sim_.Lock.AssertHeld();
  for (auto& queue : ReadyQueues) {
    for (auto it = queue.rbegin(); it != queue.rend(); ++it) {
      if ((*it)->State != psReadyOut) {
        sim_.ChangeState(**it, psReadyOut);
        return *it;
      }
    }
  }
  return nullptr;
}

void TKernel::Suspend(TProcesso*& P) {
  sim_.Lock.AssertHeld();
  if (P == nullptr) {
    return;
  }
  sim_.ReportProcess(EventKind::Suspended, *P);
  sim_.Espera.Enqueue(P, psSuspended);
  P = nullptr;
}

void TKernel::CountStates(int& running, int& ready, int& waiting) const {
  sim_.Lock.AssertHeld();
  running = ready = waiting = 0;
  for (const auto& p : Processes) {
    if (p->State == psRunning) {
      ++running;
    } else if (p->State == psReady) {
      ++ready;
    } else if (p->State == psIO || p->State == psSuspended || p->State == psPageFault) {
      ++waiting;
    }
  }
}

void TKernel::ReadyWaitTotals(double& sum, int& count) const {
  sim_.Lock.AssertHeld();
  const TDateTime now = sim_.Now();
  sum = 0;
  count = 0;
  for (const auto& p : Processes) {
    if (p->State == psReady) {
      sum += now - p->ReadySince;
      ++count;
    }
  }
}

int TKernel::SliceLength() const {
  return std::max(1, Quantum.load() / 1000);
}

std::vector<DiscPlace> TKernel::ReadyDiscs() const {
  sim_.Lock.AssertHeld();
  std::vector<DiscPlace> discs;
  for (int level = 0; level < kPriorityLevels; ++level) {
    int position = 0;
    for (const TProcesso* p : ReadyQueues[level]) {
      discs.push_back({p->Shape, p->Color, DiscLocation::Ready, level, position++});
    }
  }
  return discs;
}

bool TKernel::IsLive(const TProcesso* P) const {
  return P != nullptr && std::any_of(Processes.begin(), Processes.end(),
                                     [P](const auto& owned) { return owned.get() == P; });
}

const TProcesso* TKernel::FindByPID(std::int32_t pid) const {
  const auto found = std::find_if(Processes.begin(), Processes.end(),
                                  [pid](const auto& owned) { return owned->PID == pid; });
  return found == Processes.end() ? nullptr : found->get();
}

TProcesso* TKernel::FindByShape(ShapeId shape) {
  const auto found = std::find_if(Processes.begin(), Processes.end(),
                                  [shape](const auto& owned) { return owned->Shape == shape; });
  return found == Processes.end() ? nullptr : found->get();
}

}  // namespace kelpa
