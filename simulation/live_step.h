// SPDX-License-Identifier: MIT
// One tick of the live simulation taken by hand while its run is stopped: the wait passes due in
// one clock period (one per 100 ms, at least one) and one processor cycle, in the order a tick of
// a scenario run takes them: a pass, the cycle, then the other passes.
#pragma once

namespace kelpa {

class Simulation;

// Takes the lock for the whole tick.
void StepLiveTick(Simulation& sim);

}  // namespace kelpa
