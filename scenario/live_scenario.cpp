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

}  // namespace

Scenario ScenarioOfLiveProcesses(Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  Scenario s;
  s.Options = sim.Options();
  int number = 0;
  for (const auto& p : sim.Kernel.Processes) {
    ScenarioProcess& saved = s.Processes.emplace_back();
    saved.Number = ++number;
    saved.Kind = KindOf(*p);
    saved.Priority = p->BasePriority;
    saved.FrameLimit = p->FrameLimit;
    saved.Color = p->Color;
    saved.Program.Repeats = p->Repeats;
    const bool ownProgram = p->Length != kInstructionCount ||
                            std::find(ProgramTemplates.begin(), ProgramTemplates.end(),
                                      p->Instructions) == ProgramTemplates.end();
    if (ownProgram) {
      saved.Program.Codes.assign(p->Instructions.begin(), p->Instructions.begin() + p->Length);
    }
  }
  return s;
}

}  // namespace kelpa
