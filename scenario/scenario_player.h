// SPDX-License-Identifier: MIT
// Plays a scenario in the windows: a fresh start from it, one tick at a time, its pause ticks,
// going back by replaying from the start, and the actions the user takes by hand on the way.
//
// Between two ticks the virtual clock stands at the start of the next one, so whatever the user
// does while the run waits happens at the instant the tick's own actions would; recorded with that
// tick, it happens again at the same point of a replay, and the replay is exact. A hand action is
// recorded after the changes of options made before it, so the two keep their order.
// The simulation's threads must be parked (Simulation::ThreadsParked) while a scenario is open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "scenario/scenario.h"
#include "scenario/scenario_run.h"
#include "simulation/event_fan_out.h"
#include "simulation/hand_action.h"
#include "simulation/simulation.h"
#include "simulation/virtual_clock.h"

namespace kelpa {

class ScenarioPlayer final : public IEventSink {
 public:
  // Follows sim's events through events (sim's sink) while it lives; sim must read its time from
  // clock. Made before the simulation's threads start.
  ScenarioPlayer(Simulation& sim, VirtualClock& clock, EventFanOut& events);
  ~ScenarioPlayer() override;
  ScenarioPlayer(const ScenarioPlayer&) = delete;
  ScenarioPlayer& operator=(const ScenarioPlayer&) = delete;

  // Returns the simulation to a fresh start and sets the scenario up at tick 0. Takes the lock.
  void Open(Scenario scenario);
  const Scenario& Opened() const { return scenario_; }

  // The ticks run so far (the next tick to run).
  std::int64_t Tick() const { return run_ ? run_->Tick() : 0; }
  // Runs one tick. Takes the lock.
  void Step();
  // Whether a playing run stops here: a pause tick of the scenario, or its last tick.
  bool AtPause() const;
  // Returns to the state after `tick` ticks (no further than now) by replaying the scenario and
  // the hand actions from its start at full speed. The actions recorded later are kept, so
  // stepping on takes them again, until something new is done by hand: that drops them. Takes
  // the lock.
  void BackTo(std::int64_t tick);
  // Runs on to the state after `tick` ticks (none when it is not ahead), taking the actions
  // recorded on the way as stepping does; stops sooner, after the tick in which `stop` turns
  // true. Takes the lock once.
  void RunTo(std::int64_t tick, const std::function<bool()>& stop = {});

  // The scenario as run so far: its processes, requests and changes of options with those taken
  // by hand (a creation arrives at its tick, a request or a change takes effect at its tick),
  // Ticks the ticks run (when any). What was done by hand at a tick came before the scenario's
  // own actions of that tick, so the processes made by hand come first and their changes of
  // options precede the scenario's at the same tick.
  Scenario WithHandActions() const;
  // Called with the lock held when the run starts again from tick 0 (opening, going back): the
  // timeline starts again, and follows the ticks, replayed ones included, through TickEnded.
  std::function<void()> Restarted;

  // Hand actions and options set recorded so far.
  std::size_t RecordedCount() const { return tape_.size(); }

  void Report(const SimEvent& event) override;

 private:
  // One thing done by hand: an option set, or an action on a process named by its place in the
  // order of creation since the start (discs go on counting across replays).
  struct Recorded {
    std::int64_t Tick = 0;
    std::optional<SetOption> Option;
    int Was = 0;                // with Option: its value before
    bool PullsCounter = false;  // with the wait length: the counter stands at its new end
    HandAction Action;
  };

  void StartLocked();
  void StepLocked();
  // Takes the hand actions recorded for the tick the run stands at, from nextRecorded_ on.
  void ApplyRecordedLocked();
  void OptionTaken(const SimEvent& event);
  void ActionTaken();
  void Record(const Recorded& recorded);
  void StandAtNextTick();
  // The processes the tape created, in order, and the scenario's own after them, with the
  // requests on each; the changes of options, by tick.
  void AddHandProcesses(Scenario& s) const;
  void AddHandChanges(Scenario& s) const;
  std::size_t Ordinal(ShapeId shape) const { return static_cast<std::size_t>(shape - baseShape_); }

  Simulation& sim_;
  VirtualClock& clock_;
  Scenario scenario_;
  std::unique_ptr<ScenarioRun> run_;
  std::vector<Recorded> tape_;  // by tick, in the order taken
  std::size_t nextRecorded_ = 0;
  EventFanOut& events_;
  RunOptions seen_;        // the options in force, followed through the events
  ShapeId baseShape_ = 0;  // the last disc before the run's first process
  bool driving_ = false;   // the player itself is changing the run: nothing to record
};

}  // namespace kelpa
