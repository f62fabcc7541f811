// SPDX-License-Identifier: MIT
#include "scenario/current_options.h"

#include <algorithm>

namespace kelpa {

Scenario CurrentOptions(const Simulation& sim) {
  Scenario s;
  s.Preemption = sim.Settings.PreemptionEnabled.load();
  s.DynamicPriority = sim.Settings.DynamicPriorityEnabled.load();
  s.RealTimeThreshold = sim.Settings.RealTimeThreshold.load();
  s.SlicePosition = std::clamp(sim.Kernel.SliceLength(), 1, 10);
  s.ClockPosition = std::clamp((1100 - static_cast<int>(sim.HClock.Period.load())) / 100, 1, 10);
  s.IoWaitPosition = std::clamp(sim.Espera.WaitLength() / 10, 1, 10);
  s.AnticipatedFetch = sim.Memoria.AnticipatedFetch;
  s.FrameLimitEnabled = sim.Memoria.FrameLimitEnabled;
  s.MinFreePercent = sim.Memoria.MinFreePercent;
  return s;
}

OptionChange EveryOption(const Scenario& s) {
  OptionChange c;
  c.Preemption = s.Preemption;
  c.DynamicPriority = s.DynamicPriority;
  c.RealTimeThreshold = s.RealTimeThreshold;
  c.SlicePosition = s.SlicePosition;
  c.IoWaitPosition = s.IoWaitPosition;
  c.AnticipatedFetch = s.AnticipatedFetch;
  c.FrameLimitEnabled = s.FrameLimitEnabled;
  c.MinFreePercent = s.MinFreePercent;
  return c;
}

void ApplyOptions(Simulation& sim, const OptionChange& c) {
  sim.Lock.AssertHeld();
  if (c.Preemption) {
    sim.Settings.PreemptionEnabled = *c.Preemption;
  }
  if (c.DynamicPriority) {
    sim.Settings.DynamicPriorityEnabled = *c.DynamicPriority;
  }
  if (c.RealTimeThreshold) {
    sim.Settings.RealTimeThreshold = *c.RealTimeThreshold;
  }
  if (c.SlicePosition) {
    sim.Kernel.Quantum = 1000 * *c.SlicePosition;
  }
  if (c.IoWaitPosition) {
    sim.Espera.SetWaitLength(10 * *c.IoWaitPosition);
  }
  if (c.AnticipatedFetch) {
    sim.Memoria.AnticipatedFetch = *c.AnticipatedFetch;
  }
  if (c.FrameLimitEnabled) {
    sim.Memoria.FrameLimitEnabled = *c.FrameLimitEnabled;
  }
  if (c.MinFreePercent) {
    sim.Memoria.MinFreePercent = *c.MinFreePercent;
  }
}

}  // namespace kelpa
