// SPDX-License-Identifier: MIT
#include "simulation/live_step.h"

#include <algorithm>
#include <mutex>

#include "simulation/simulation.h"

namespace kelpa {

void StepLiveTick(Simulation& sim) {
  const int passes = std::max(1, sim.HClock.Period.load() / kPassPeriodMs);
  std::lock_guard lock(sim.Lock);
  sim.Espera.Pass();
  sim.Cpu.WatchedCycle();
  for (int i = 1; i < passes; ++i) {
    sim.Espera.Pass();
  }
}

}  // namespace kelpa
