// SPDX-License-Identifier: MIT
// A change asked of the simulation: the one way in for the windows, a scenario run and its
// replay. Each is taken with the lock held and reported as one event, so whoever follows the
// run (the player that records it, the windows' controls, the timeline) learns of it there.
#pragma once

#include <variant>

#include "simulation/hand_action.h"
#include "simulation/run_options.h"

namespace kelpa {

// One option, set as the option windows and the track bars set it.
struct SetOption {
  OptionId Option = OptionId::Preemption;
  int Value = 0;
  friend bool operator==(const SetOption&, const SetOption&) = default;
};

// "Executar" and "Parar" of the live run.
struct SetRunning {
  bool Running = true;
};

// One tick of the live run taken by hand ("Passo" while stopped).
struct StepOneTick {};

// A process created, or a request of a live one (HandAction), an option, run/stop, one step.
using Command = std::variant<HandAction, SetOption, SetRunning, StepOneTick>;

}  // namespace kelpa
