// SPDX-License-Identifier: MIT
// The options a simulation runs with now, as a scenario holds them (no processes): what a
// picture of a live run says it was made with; and changing them as the windows do.
#pragma once

#include "scenario/scenario.h"
#include "simulation/simulation.h"

namespace kelpa {

// The lock must be held.
Scenario CurrentOptions(const Simulation& sim);

// Every option of s that a change may set (all of [GLOBAL] and [MEMORIA] but the clock).
OptionChange EveryOption(const Scenario& s);

// Sets the options the change gives as the option windows and the track bars set them. The lock
// must be held.
void ApplyOptions(Simulation& sim, const OptionChange& change);

}  // namespace kelpa
