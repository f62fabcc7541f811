// SPDX-License-Identifier: MIT
#include "simulation/cpu.h"

#include <string>

#include "simulation/simulation.h"

namespace kelpa {

TCPU::TCPU(Simulation& sim) : sim_(sim) {}

TCPU::~TCPU() {
  RequestTerminate();
  Join();
}

void TCPU::Cycle() {
  sim_.Lock.AssertHeld();
  // The running process held the processor since the last stamp, whatever this tick does with
  // it. Counting only up to its last instruction would leave a process that runs one instruction
  // per turn (the default slice) with no processor time at all.
  AccountCpuTime();
  LastCycle = {};
  sim_.Kernel.CountCycle();
  const InterruptCode code = sim_.Kernel.NextInterrupt();
  LastCycle.Interrupt = code != InterruptNone;
  LastCycle.Served = code;
  switch (code) {
    case InterruptPreemption:
      HandlePreemption();
      break;
    case InterruptTimeSlice:
      HandleTimeSliceEnd();
      break;
    case InterruptPageFault:
      HandlePageFault();
      break;
    default:
      Step();
      break;
  }
}

void TCPU::Step() {
  // A finite program that ran its last instruction in the previous tick leaves the processor as
  // this one starts, so the next process runs in it: the end costs no tick of its own.
  if (RunningProcess != nullptr && RunningProcess->ProgramDone()) {
    sim_.Kernel.RemoveProcess(RunningProcess);
  }
  // A textbook policy's switch at the end of a slice (or of an allotment) likewise happens as the
  // next tick starts: the tick that ran the slice's last instruction counts as run.
  if (RunningProcess != nullptr && SliceDue) {
    TakeProcessorBack(EventKind::SliceEnded);
  }
  if (RunningProcess != nullptr && sim_.Kernel.ShouldYield(*RunningProcess)) {
    TakeProcessorBack(sim_.Kernel.Policy == SchedulingPolicy::Srtf ? EventKind::PreemptedForShorter
                                                                   : EventKind::Preempted);
  }
  if (RunningProcess == nullptr) {
    DispatchNext();
    if (RunningProcess == nullptr) {
      return;
    }
  }
  TProcesso* p = RunningProcess;
  LastCycle.Stepped = true;
  LastCycle.Pid = p->PID;
  LastCycle.Color = p->Color;
  if (p->KillRequested) {
    AccountCpuTime();
    sim_.Kernel.RemoveProcess(RunningProcess);
    return;
  }
  p->RestoreBasePriority();
  if (p->SuspendRequested) {
    sim_.Kernel.Suspend(RunningProcess);
    return;
  }
  const int page = p->CurrentPage();
  if (!p->FetchDone && !p->PageTable[page].Valid) {
    RaisePageFault(*p, page);
    return;
  }
  const std::int32_t instruction = p->Instructions[p->PC];
  const int dataPage = DataPageOf(instruction, page);
  if (dataPage >= 0 && !p->PageTable[dataPage].Valid) {
    // The fetch is done: once the data page is in, the instruction goes on from its data, so a
    // process allowed a single frame still gets through an instruction that needs two pages.
    p->FetchDone = true;
    RaisePageFault(*p, dataPage);
    return;
  }
  p->FetchDone = false;
  sim_.Memoria.NoteReference(*p, page);
  sim_.Memoria.NoteReference(*p, dataPage);
  // The fetch, and the data the instruction reads or writes.
  p->References += dataPage >= 0 ? 2 : 1;
  p->PC += 1;
  if (p->PC == p->Length && p->Repeats) {
    p->PC = 0;
  }
  SliceCounter = (SliceCounter + 1) % sim_.Kernel.SliceLength();
  AccountCpuTime();
  if (IsIoInstruction(instruction)) {
    // A process that gives the processor up for I/O starts its allotment at its level again.
    p->LevelTicks = 0;
    StartIO();
    return;
  }
  if (WritesData(instruction)) {
    TPageEntry& entry = p->PageTable[dataPage];
    entry.Modified = true;
    sim_.Memoria.MarkModified(entry.Frame);
  }
  if (p->ProgramDone()) {
    return;
  }
  const SchedulingPolicy policy = sim_.Kernel.Policy;
  if (IsTextbookPolicy(policy)) {
    const bool lowered = sim_.Kernel.ChargeLevelTick(*p);
    SliceDue = lowered || (UsesSlices(policy) && SliceCounter == 0);
    return;
  }
  if (SliceCounter == 0) {
    sim_.Kernel.RaiseInterrupt(InterruptTimeSlice);
    return;
  }
  if (sim_.Settings.PreemptionEnabled.load()) {
    const int highest = sim_.Kernel.HighestReadyPriority();
    if (highest >= 0 && highest > p->Priority) {
      sim_.Kernel.RaiseInterrupt(InterruptPreemption);
    }
  }
}

void TCPU::RaisePageFault(TProcesso& p, int page) {
  p.FaultPage = page;
  if (IsTextbookPolicy(sim_.Kernel.Policy)) {
    HandlePageFault();
  } else {
    sim_.Kernel.RaiseInterrupt(InterruptPageFault);
  }
}

void TCPU::TakeProcessorBack(EventKind why) {
  TProcesso* p = RunningProcess;
  sim_.ReportProcess(why, *p);
  sim_.Kernel.MakeReady(p);
  RunningProcess = nullptr;
}

void TCPU::DispatchNext() {
  RunningProcess = sim_.Kernel.Dispatch();
  if (RunningProcess == nullptr) {
    return;
  }
  SliceCounter = 0;
  SliceDue = false;
  LastStamp = sim_.Now();
  TProcesso* p = RunningProcess;
  sim_.ReportProcess(EventKind::Dispatched, *p);
  sim_.Kernel.ReportChoice(*p);
  sim_.ChangeState(*p, psRunning);
  sim_.Display.ShowOnCpu({p->Shape, p->Color, DiscLocation::Processor});
}

void TCPU::AccountCpuTime() {
  if (RunningProcess == nullptr) {
    return;
  }
  const TDateTime now = sim_.Now();
  const double spent = now - LastStamp;
  RunningProcess->CpuTime += spent;
  BusyTime += spent;
  LastStamp = now;
}

double TCPU::BusyTimeSoFar() const {
  return BusyTime + (RunningProcess != nullptr ? sim_.Now() - LastStamp : 0);
}

double TCPU::CpuTimeSoFar(const TProcesso& p) const {
  return p.CpuTime + (&p == RunningProcess ? sim_.Now() - LastStamp : 0);
}

void TCPU::StartIO() {
  TProcesso* p = RunningProcess;
  sim_.ReportProcess(EventKind::StartedIO, *p);
  sim_.Espera.Enqueue(p, psIO);
  RunningProcess = nullptr;
}

void TCPU::HandlePreemption() {
  TProcesso* p = RunningProcess;
  if (p == nullptr) {
    return;
  }
  sim_.ReportProcess(EventKind::Preempted, *p);
  sim_.Kernel.MakeReady(p);
  RunningProcess = nullptr;
}

void TCPU::HandleTimeSliceEnd() {
  TProcesso* p = RunningProcess;
  // A real-time process keeps the processor and simply starts a new slice.
  if (p == nullptr || p->Priority >= sim_.Settings.RealTimeThreshold.load()) {
    return;
  }
  sim_.ReportProcess(EventKind::SliceEnded, *p);
  sim_.Kernel.MakeReady(p);
  RunningProcess = nullptr;
}

void TCPU::HandlePageFault() {
  TProcesso* p = RunningProcess;
  if (p == nullptr) {
    return;
  }
  sim_.ReportProcess(EventKind::PageFaultRaised, *p, p->FaultPage);
  sim_.Espera.Enqueue(p, psPageFault);
  RunningProcess = nullptr;
}

void TCPU::Start() {
  thread_.Start([this] { Run(); });
}

void TCPU::RequestTerminate() {
  thread_.RequestTerminate();
}

void TCPU::Join() {
  thread_.Join();
}

void TCPU::WatchedCycle() {
  Cycle();
  if (sim_.AfterStep) {
    sim_.AfterStep();
  }
  sim_.ReportTickEnded();
}

void TCPU::Run() {
  while (!thread_.TerminateRequested()) {
    if (!sim_.StopRunEvent.Wait() || thread_.TerminateRequested()) {
      break;
    }
    if (!sim_.ClockEvent.Wait() || thread_.TerminateRequested()) {
      break;
    }
    // A stop that came while waiting for the tick holds the cycle back. The tick is put back, so
    // that resuming runs one cycle at once even if no further tick comes before it.
    if (!sim_.StopRunEvent.IsSet()) {
      sim_.ClockEvent.Set();
      HeldTicks.fetch_add(1);
      continue;
    }
    {
      std::lock_guard lock(sim_.Lock);
      // Parked, the threads leave the run to whoever drives it, and no tick passes here.
      if (!sim_.ThreadsParked) {
        WatchedCycle();
        // With no process left there is nothing to run until one is created, which resumes it.
        if (sim_.Kernel.Processes.empty()) {
          sim_.HClock.Rest();
        }
      }
    }
    CycleCount.fetch_add(1);
    sim_.Display.WaitUntilShown();
  }
}

}  // namespace kelpa
