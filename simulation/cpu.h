// SPDX-License-Identifier: MIT
// The processor: one cycle per clock tick while the simulation runs. A cycle serves the oldest
// pending interrupt or takes one step of the running process (dispatching one first when idle).
#pragma once

#include <atomic>

#include "platform/datetime.h"
#include "simulation/kernel.h"
#include "simulation/process.h"
#include "simulation/sim_thread.h"

namespace kelpa {

class Simulation;

class TCPU {
 public:
  explicit TCPU(Simulation& sim);
  ~TCPU();
  TCPU(const TCPU&) = delete;
  TCPU& operator=(const TCPU&) = delete;

  TDateTime LastStamp = 0;
  double BusyTime = 0;
  TProcesso* RunningProcess = nullptr;
  std::int32_t SliceCounter = 0;
  // A textbook policy takes the processor back as the next tick starts.
  bool SliceDue = false;

  // What the last cycle did with the processor: the process it stepped (none when idle or when
  // the cycle served an interrupt). A timeline reads it after each tick.
  struct CycleOutcome {
    bool Interrupt = false;
    InterruptCode Served = InterruptNone;  // the interrupt, when it served one
    bool Stepped = false;
    std::int32_t Pid = 0;
    TColor Color = kBlack;
  };
  CycleOutcome LastCycle;

  // --- operations; the simulation lock must be held ---
  // One tick's work: serve one interrupt, or one step.
  void Cycle();
  // A cycle as a tick of the live run: then the hook that watches the steps (AfterStep) and the
  // tick's end event, so a tick taken by hand counts as one the thread ran.
  void WatchedCycle();
  void Step();
  void DispatchNext();
  void AccountCpuTime();
  // Processor time up to now: what the cycles accounted plus the running process's hold since its
  // last stamp, which the next cycle would charge. Read at the end of a tick, the figures count
  // that tick too.
  double BusyTimeSoFar() const;
  double CpuTimeSoFar(const TProcesso& p) const;
  void StartIO();
  // Asks for page of p: at the next interrupt service under the priority kernel, at once under a
  // textbook policy.
  void RaisePageFault(TProcesso& p, int page);
  // A textbook policy takes the processor from the running process, which goes back to ready.
  void TakeProcessorBack(EventKind why);
  void HandlePreemption();
  void HandleTimeSliceEnd();
  void HandlePageFault();

  // --- thread ---
  void Start();
  void RequestTerminate();
  void Join();
  // Number of cycles run by the thread (tests and benchmarks).
  std::atomic<long> CycleCount{0};
  // Number of ticks the thread held back because the run was stopped meanwhile (tests).
  std::atomic<long> HeldTicks{0};

 private:
  void Run();

  Simulation& sim_;
  TSimThread thread_;
};

}  // namespace kelpa
