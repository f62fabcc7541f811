// SPDX-License-Identifier: MIT
// A scenario of what a live simulation holds now: every process alive, arriving at tick 0 with
// its kind, base priority, frame limit and colour, and the options in force.
#pragma once

#include "scenario/scenario.h"

namespace kelpa {

class Simulation;

// Takes the lock. A process whose program is none of the kinds' is saved as compute-bound.
Scenario ScenarioOfLiveProcesses(Simulation& sim);

}  // namespace kelpa
