// SPDX-License-Identifier: MIT
// The kernel: the process table, sixteen ready queues by priority, sixteen interrupt queues, and
// the scheduling decisions. Every operation expects the simulation lock to be held by the caller.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "simulation/display.h"
#include "simulation/process.h"
#include "simulation/scheduling_policy.h"

namespace kelpa {

class Simulation;

inline constexpr int kPriorityLevels = 16;

// Interrupt codes; 0 stands for no interrupt and is never queued.
enum class InterruptCode : int {
  InterruptNone = 0,
  InterruptPreemption = 1,
  InterruptTimeSlice = 2,
  InterruptPageFault = 3,
};
using enum InterruptCode;

struct TInterruptEntry {
  int Level;
  InterruptCode Code;
};
// Indexed by code 1..3 (entry 0 unused); all three share level 0, so interrupts are served in the
// order they were raised.
extern const std::array<TInterruptEntry, 4> InterruptTable;

class TKernel {
 public:
  explicit TKernel(Simulation& sim);

  std::array<std::deque<InterruptCode>, kPriorityLevels> InterruptQueues;
  std::atomic<std::int32_t> Quantum{1000};
  std::vector<std::unique_ptr<TProcesso>> Processes;
  std::array<std::deque<TProcesso*>, kPriorityLevels> ReadyQueues;

  std::int32_t DispatchCount = 0;
  double TotalReadyWaitTime = 0;

  // Who chooses the next process; the described priority kernel unless a run says otherwise.
  SchedulingPolicy Policy = SchedulingPolicy::Priority;
  MlfqRules Mlfq;
  // Processor cycles since the start, for the feedback queue's periodic boost.
  std::int64_t Cycles = 0;

  void RaiseInterrupt(InterruptCode code);
  InterruptCode NextInterrupt();
  bool InterruptPending() const;
  void MakeReady(TProcesso* P);
  void AddProcess(std::unique_ptr<TProcesso> P);
  void SetPriority(TProcesso* P, int newPriority);
  // Removes the running process from the table and ends it; P is left null.
  void RemoveProcess(TProcesso*& P);
  TProcesso* Dispatch();
  int HighestReadyPriority() const;
  TProcesso* PickSwapVictim();
  void Suspend(TProcesso*& P);
  void CountStates(int& running, int& ready, int& waiting) const;
  void ReadyWaitTotals(double& sum, int& count) const;
  void RemoveFromReadyQueues(TProcesso* P);

  // --- the textbook policies ---
  // Changes the policy or the feedback queue's levels: the ready processes are filed again, in
  // the order they would have been dispatched, into the queues the policy has.
  void SetPolicy(SchedulingPolicy policy);
  void SetMlfqLevels(int levels);
  // The ready queue p waits in under the policy.
  int QueueOf(const TProcesso& p) const;
  // How many ready queues the policy has: sixteen priorities, the feedback queue's levels, or one.
  int QueueCount() const;
  // A cycle begins: every BoostPeriod cycles the feedback queue takes every process to the top.
  void CountCycle();
  // Whether a ready process should take the processor from the running p before p's next
  // instruction: a shorter remaining time (SRTF) or a higher level (MLFQ).
  bool ShouldYield(const TProcesso& running) const;
  // p ran one more tick at its level: when its allotment is spent it goes one level down and
  // true is returned (it gives the processor up).
  bool ChargeLevelTick(TProcesso& p);
  // The log line that says which rule of a textbook policy chose p; none for the priority kernel.
  void ReportChoice(const TProcesso& p) const;

  // Slice length in instructions (Quantum div 1000, at least 1).
  int SliceLength() const;
  // Where the ready discs stand: each ready queue in dispatch order.
  std::vector<DiscPlace> ReadyDiscs() const;
  // Whether a pointer names a live process of the table.
  bool IsLive(const TProcesso* P) const;
  // The live process with this identifier, or none.
  const TProcesso* FindByPID(std::int32_t pid) const;
  // The live process drawn by this disc, or none. Discs never repeat, so an ended process is
  // never mistaken for a later one that took its identifier.
  TProcesso* FindByShape(ShapeId shape);

 private:
  // The ready process the policy dispatches next, and the queue it waits in; null when none.
  TProcesso* ChooseReady(int& level) const;
  void RefileReadyQueues();
  void BoostLevels();

  Simulation& sim_;
};

}  // namespace kelpa
