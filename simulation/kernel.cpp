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
  ReadyQueues[QueueIndex(P->Priority)].push_back(P);
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
  if (P->State == psReady || P->State == psReadyOut) {
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
  for (int level = kPriorityLevels - 1; level >= 0; --level) {
    auto& queue = ReadyQueues[level];
    if (queue.empty()) {
      continue;
    }
    TProcesso* Q = queue.front();
    if (Q->State == psReadyOut) {
      sim_.Memoria.SwapIn(Q);
    }
    DispatchCount += 1;
    TotalReadyWaitTime += sim_.Now() - Q->ReadySince;
    // The swap-in may have swapped others out, but never reorders the queues.
    queue.erase(std::find(queue.begin(), queue.end(), Q));
    return Q;
  }
  return nullptr;
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
