// SPDX-License-Identifier: MIT
#include "simulation/hand_action.h"

#include "simulation/process.h"
#include "simulation/simulation.h"

namespace kelpa {

TProcesso* AddNewProcess(Simulation& sim, int kind, int priority, int frameLimit, TColor colour,
                         const ProcessProgram& program) {
  // A creation window's batch or a late click can still ask once the program is ending.
  if (sim.ShuttingDown()) {
    return nullptr;
  }
  auto process = TProcesso::Create(sim, kind, priority, frameLimit, colour, program);
  TProcesso* added = process.get();
  if (process) {
    sim.Kernel.AddProcess(std::move(process));
  }
  return added;
}

void TakeRequest(Simulation& sim, TProcesso& p, HandActionKind kind, int priority) {
  sim.Lock.AssertHeld();
  switch (kind) {
    case HandActionKind::Suspend:
      p.SetSuspendRequest(true);
      break;
    case HandActionKind::Resume:
      p.SetSuspendRequest(false);
      break;
    case HandActionKind::SetPriority:
      sim.Kernel.SetPriority(&p, priority);
      break;
    case HandActionKind::End:
      p.RequestKill();
      break;
    case HandActionKind::Create:
      break;
  }
}

}  // namespace kelpa
