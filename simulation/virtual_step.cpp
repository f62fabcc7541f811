// SPDX-License-Identifier: MIT
#include "simulation/virtual_step.h"

#include <algorithm>

#include "simulation/simulation.h"

namespace kelpa {

void StepVirtualTickLocked(Simulation& sim, VirtualClock& clock, std::int64_t startMs,
                           std::int64_t periodMs) {
  sim.Lock.AssertHeld();
  const auto passAt = [&](std::int64_t ms) {
    clock.SetMs(ms);
    sim.Espera.Pass();
  };
  passAt(startMs);
  sim.Cpu.Cycle();
  const std::int64_t end = startMs + periodMs;
  for (std::int64_t ms = startMs + kPassPeriodMs; ms < end; ms += kPassPeriodMs) {
    passAt(ms);
    // Passes that would only advance the wait counter are taken in one step; the pass that
    // serves a wait still runs at its own instant.
    const std::int64_t left = (end - ms) / kPassPeriodMs - 1;
    const int skipped =
        static_cast<int>(std::min<std::int64_t>(left, sim.Espera.QuietPassesAhead()));
    sim.Espera.SkipQuietPasses(skipped);
    ms += std::int64_t{skipped} * kPassPeriodMs;
  }
  sim.ReportTickEnded();
}

}  // namespace kelpa
