#include "core/simulation.h"

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
      HClock(ClockEvent) {}

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
  if (shutDown_) {
    return;
  }
  shutDown_ = true;
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
