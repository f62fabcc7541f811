// SPDX-License-Identifier: MIT
#include "scenario/current_options.h"

#include <algorithm>

namespace kelpa {

Scenario CurrentOptions(const Simulation& sim) {
  Scenario s;
  s.Preemption = sim.Settings.PreemptionEnabled.load();
  s.DynamicPriority = sim.Settings.DynamicPriorityEnabled.load();
  s.RealTimeThreshold = sim.Settings.RealTimeThreshold.load();
  s.SlicePosition = std::max(1, sim.Kernel.Quantum.load() / 1000);
  s.ClockPosition = std::clamp((1100 - static_cast<int>(sim.HClock.Period.load())) / 100, 1, 10);
  s.IoWaitPosition = std::clamp(sim.Espera.WaitLength() / 10, 1, 10);
  s.AnticipatedFetch = sim.Memoria.AnticipatedFetch;
  s.FrameLimitEnabled = sim.Memoria.FrameLimitEnabled;
  s.MinFreePercent = sim.Memoria.MinFreePercent;
  return s;
}

}  // namespace kelpa
