// SPDX-License-Identifier: MIT
#include "scenario/live_scenario.h"

#include <algorithm>
#include <mutex>

#include "simulation/simulation.h"

namespace kelpa {
namespace {

// A process keeps no kind: its program is its kind's template.
int KindOf(const TProcesso& p) {
  const auto found = std::find(ProgramTemplates.begin(), ProgramTemplates.end(), p.Instructions);
  return found == ProgramTemplates.end() ? pkCPU
                                         : static_cast<int>(found - ProgramTemplates.begin());
}

// A speed control's position, 1..10.
int Position(int value) {
  return std::clamp(value, 1, 10);
}

}  // namespace

Scenario ScenarioOfLiveProcesses(Simulation& sim) {
  Scenario s;
  s.Preemption = sim.Settings.PreemptionEnabled.load();
  s.DynamicPriority = sim.Settings.DynamicPriorityEnabled.load();
  s.RealTimeThreshold = sim.Settings.RealTimeThreshold.load();
  s.SlicePosition = Position(sim.Kernel.Quantum.load() / 1000);
  s.ClockPosition = Position((1100 - sim.HClock.Period.load()) / 100);
  std::lock_guard lock(sim.Lock);
  s.IoWaitPosition = Position(sim.Espera.WaitLength() / 10);
  s.AnticipatedFetch = sim.Memoria.AnticipatedFetch;
  s.FrameLimitEnabled = sim.Memoria.FrameLimitEnabled;
  s.MinFreePercent = sim.Memoria.MinFreePercent;
  int number = 0;
  for (const auto& p : sim.Kernel.Processes) {
    ScenarioProcess& saved = s.Processes.emplace_back();
    saved.Number = ++number;
    saved.Kind = KindOf(*p);
    saved.Priority = p->BasePriority;
    saved.FrameLimit = p->FrameLimit;
    saved.Color = p->Color;
  }
  return s;
}

}  // namespace kelpa
