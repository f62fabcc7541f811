// SPDX-License-Identifier: MIT
// The options a simulation runs with now, as a scenario holds them (no processes): what a
// picture of a live run says it was made with.
#pragma once

#include "scenario/scenario.h"
#include "simulation/simulation.h"

namespace kelpa {

// The lock must be held.
Scenario CurrentOptions(const Simulation& sim);

}  // namespace kelpa
