// SPDX-License-Identifier: MIT
// What a tick of a scenario will do, known before the windows run it: a private copy of the
// scenario (with what was done by hand) runs on a simulation of its own in virtual time, with a
// log and a display that keep nothing, one tick ahead of the run shown. A run is exact, so the
// copy's tick is the tick the windows will run.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "scenario/scenario.h"
#include "simulation/process_state.h"
#include "simulation/sim_event.h"

namespace kelpa {

struct TMessages;

struct ProcessFact {
  std::int32_t Pid = 0;
  TColor Color = 0;
  ProcessState State = psReady;
};

struct TakenPage {
  std::int32_t Pid = 0;
  int Page = 0;
};

// A tick of the run: what stands after it, and the events it reported.
struct TickFacts {
  std::int64_t Tick = 0;
  std::vector<ProcessFact> After;
  std::optional<std::int32_t> Running;  // after the tick
  std::optional<TakenPage> Taken;       // the first page taken from a process in the tick
  // The ready queues after the tick, as the processor window shows them: highest queue first,
  // each from its front.
  std::vector<std::int32_t> ReadyOrder;
  bool Textbook = false;         // a textbook policy is in force after the tick
  std::vector<SimEvent> Events;  // the tick's events that write a log line
};

class ExerciseOracle {
 public:
  explicit ExerciseOracle(const TMessages& msg);
  ~ExerciseOracle();
  ExerciseOracle(const ExerciseOracle&) = delete;
  ExerciseOracle& operator=(const ExerciseOracle&) = delete;

  // Tick `tick` (0 the first) of scenario. The copy steps on from where it stands; it starts
  // again when the scenario differs from the last one asked about (something done by hand) or
  // the tick is behind it (going back).
  const TickFacts& Facts(const Scenario& scenario, std::int64_t tick);
  // How many times the copy was made: a step on must not start it again.
  int Restarts() const { return restarts_; }

 private:
  struct Copy;

  const TMessages& msg_;
  std::unique_ptr<Copy> copy_;
  Scenario scenario_;
  TickFacts facts_;
  bool known_ = false;
  int restarts_ = 0;
};

}  // namespace kelpa
