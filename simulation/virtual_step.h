// SPDX-License-Identifier: MIT
// One tick of a run in virtual time, as the threads would take it in real time: the wait-service
// pass due at its start, the processor cycle, then a pass every 100 ms of the tick, the clock
// moved to each; the tick ends with a TickEnded event.
#pragma once

#include <cstdint>

#include "simulation/virtual_clock.h"

namespace kelpa {

class Simulation;

// The tick that starts at startMs and lasts periodMs; the clock stands at startMs, and what the
// tick starts with (changes, arrivals, requests) has been taken. The lock must be held.
void StepVirtualTickLocked(Simulation& sim, VirtualClock& clock, std::int64_t startMs,
                           std::int64_t periodMs);

}  // namespace kelpa
