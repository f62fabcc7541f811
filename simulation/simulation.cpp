// SPDX-License-Identifier: MIT
#include "simulation/simulation.h"

#include <mutex>

namespace kelpa {

Simulation::Simulation(const IClock& clock, ILog& log, IDisplay& display, const TMessages& messages)
    : Clock(clock),
      Log(log),
      Display(display),
      Msg(messages),
      Kernel(*this),
      Memoria(*this),
      Espera(*this),
      Cpu(*this),
      HClock(ClockEvent),
      logDiscards_(log.Discards()) {}

void Simulation::Report(SimEvent event) {
  Lock.AssertHeld();
  if (!Listened()) {
    return;
  }
  event.Time = Now();
  if (!logDiscards_) {
    if (const auto line = EventLine(event, Msg)) {
      Log.AddLine(*line, event.Color);
    }
  }
  if (events_ != nullptr) {
    events_->Report(event);
  }
}

void Simulation::ReportProcess(EventKind kind, const TProcesso& p, int page, int value) {
  if (!Listened()) {
    return;
  }
  SimEvent event = EventAbout(kind, p);
  event.Page = page;
  event.Value = value;
  Report(event);
}

void Simulation::ParkThreads() {
  // Under the lock: a thread already past the run/stop event finds the flag and does nothing.
  std::lock_guard lock(Lock);
  ThreadsParked = true;
  StopRunEvent.Reset();
}

void Simulation::ReportTickEnded() {
  if (Listened()) {
    SimEvent event;
    event.Kind = EventKind::TickEnded;
    Report(event);
  }
}

void Simulation::ChangeState(TProcesso& p, ProcessState to) {
  Lock.AssertHeld();
  if (p.State == to) {
    return;
  }
  if (!Listened()) {
    p.State = to;
    return;
  }
  SimEvent event = EventAbout(EventKind::StateChanged, p);
  event.To = to;
  p.State = to;
  Report(event);
}

Simulation::~Simulation() {
  Shutdown();
}

void Simulation::StartThreads() {
  if (started_ || shutDown_) {
    return;
  }
  started_ = true;
  Espera.Start();
  Cpu.Start();
  HClock.Start();
}

void Simulation::Shutdown() {
  if (shutDown_.exchange(true)) {
    return;
  }
  Cpu.RequestTerminate();
  Espera.RequestTerminate();
  HClock.RequestTerminate();
  // Closing the events releases a thread blocked on a stopped run or waiting for a tick.
  ClockEvent.Close();
  StopRunEvent.Close();
  Cpu.Join();
  Espera.Join();
  HClock.Join();
}

}  // namespace kelpa
