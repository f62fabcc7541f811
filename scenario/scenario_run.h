// SPDX-License-Identifier: MIT
// Runs a scenario in virtual time on one thread, tick by tick; nothing in it sleeps.
//
// Tick k starts at k x P milliseconds of virtual time, P being the clock period of the scenario's
// clock position (1000 ms at position 1 ... 100 ms at position 10), and lasts P. Within it:
//   0. the scenario's changes of options due at tick k, in their order;
//   1. the scenario's actions due at tick k, at k x P: creations in process order, then per
//      process (in process order) its suspension, resumption, new priority and end request;
//   2. the wait-service pass due at k x P (a pass and a tick at the same instant: the pass first);
//   3. the processor cycle, at k x P;
//   4. the remaining passes of the tick, one every 100 ms: k x P + 100, ..., k x P + P - 100.
// So there are P / 100 passes per tick, as in the live program (ten at position 1, one at 10).
// A tick ends with a TickEnded event, the lock still held (the runner records the states then).
// The simulation's threads are never started; its clock must be the run's VirtualClock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "scenario/scenario.h"
#include "simulation/hand_action.h"
#include "simulation/simulation.h"
#include "simulation/virtual_clock.h"

namespace kelpa {

class ScenarioRun {
 public:
  // Applies the scenario's options to sim (scheduling, speed controls, memory) and sets the
  // clock to 0. sim must read its time from clock; sim and scenario must outlive the run.
  ScenarioRun(Simulation& sim, VirtualClock& clock, const Scenario& scenario);
  // The same, for a caller that holds the lock already.
  struct LockHeld {};
  ScenarioRun(Simulation& sim, VirtualClock& clock, const Scenario& scenario, LockHeld);

  // Runs tick Tick() and moves on to the next. Takes the simulation lock for the tick.
  void StepTick();
  // The same, the lock held by the caller.
  void StepTickLocked() { RunTickLocked(); }
  // Runs every tick before `tick` (none when it is not ahead). Takes the lock once.
  void RunTo(std::int64_t tick);
  // The next tick to run: the number of ticks run so far.
  std::int64_t Tick() const { return tick_; }
  // The clock period in force, in milliseconds.
  int PeriodMs() const { return periodMs_; }
  // The identifier the scenario's i-th process was given; none before it arrived or when its
  // creation was refused (page file full). 0 is a valid identifier (created at 00:00:00:000).
  std::optional<std::int32_t> PidOf(std::size_t index) const { return created_[index].Pid; }
  // The disc of the scenario's i-th process; 0 before it arrived or when it was refused.
  ShapeId ShapeOf(std::size_t index) const { return created_[index].Shape; }

 private:
  struct Action {
    std::int64_t Tick = 0;
    std::size_t Process = 0;
    HandActionKind Kind = HandActionKind::Create;
    int Priority = 0;
  };
  struct Created {
    std::optional<std::int32_t> Pid;
    ShapeId Shape = 0;
  };

  void Start();
  void ScheduleActions();
  void ApplyOptionsLocked();
  void RunTickLocked();
  void ApplyChangesLocked();
  void ApplyActionsLocked();
  void Apply(const Action& action);

  Simulation& sim_;
  VirtualClock& clock_;
  const Scenario& scenario_;
  std::int64_t tick_ = 0;
  int periodMs_ = 1000;
  std::vector<Action> actions_;  // in the order they are taken
  std::size_t nextAction_ = 0;
  std::size_t nextChange_ = 0;  // in scenario_.Changes
  std::vector<Created> created_;
};

}  // namespace kelpa
