// SPDX-License-Identifier: MIT
#include "scenario/scenario_run.h"

#include <algorithm>
#include <mutex>
#include <tuple>

#include "simulation/process.h"
#include "simulation/virtual_step.h"

namespace kelpa {

ScenarioRun::ScenarioRun(Simulation& sim, VirtualClock& clock, const Scenario& scenario)
    : sim_(sim),
      clock_(clock),
      scenario_(scenario),
      periodMs_(scenario.ClockPeriodMs()),
      created_(scenario.Processes.size()) {
  ScheduleActions();
  std::lock_guard lock(sim_.Lock);
  Start();
}

ScenarioRun::ScenarioRun(Simulation& sim, VirtualClock& clock, const Scenario& scenario, LockHeld)
    : sim_(sim),
      clock_(clock),
      scenario_(scenario),
      periodMs_(scenario.ClockPeriodMs()),
      created_(scenario.Processes.size()) {
  ScheduleActions();
  Start();
}

void ScenarioRun::Start() {
  sim_.Lock.AssertHeld();
  clock_.SetMs(0);
  sim_.MarkStart();
  ApplyOptionsLocked();
}

void ScenarioRun::ScheduleActions() {
  const auto& processes = scenario_.Processes;
  for (std::size_t i = 0; i < processes.size(); ++i) {
    const ScenarioProcess& s = processes[i];
    actions_.push_back({s.Arrival, i, HandActionKind::Create});
    for (const std::int64_t tick : s.SuspendAt) {
      actions_.push_back({tick, i, HandActionKind::Suspend});
    }
    for (const std::int64_t tick : s.ResumeAt) {
      actions_.push_back({tick, i, HandActionKind::Resume});
    }
    for (const PriorityChange& change : s.PriorityAt) {
      actions_.push_back({change.Tick, i, HandActionKind::SetPriority, change.Priority});
    }
    if (s.EndAt) {
      actions_.push_back({*s.EndAt, i, HandActionKind::End});
    }
  }
  // Within a tick every arrival comes first, then each process's requests in process order.
  const auto key = [](const Action& a) {
    return std::make_tuple(a.Tick, a.Kind != HandActionKind::Create, a.Process, a.Kind);
  };
  std::stable_sort(actions_.begin(), actions_.end(),
                   [&](const Action& a, const Action& b) { return key(a) < key(b); });
}

void ScenarioRun::ApplyOptionsLocked() {
  for (const OptionRow& row : kOptionTable) {
    sim_.ApplyLocked(SetOption{row.Id, row.Get(scenario_.Options)});
  }
}

void ScenarioRun::StepTick() {
  std::lock_guard lock(sim_.Lock);
  RunTickLocked();
}

void ScenarioRun::RunTo(std::int64_t tick) {
  std::lock_guard lock(sim_.Lock);
  while (tick_ < tick) {
    RunTickLocked();
  }
}

void ScenarioRun::RunTickLocked() {
  const std::int64_t start = tick_ * periodMs_;
  clock_.SetMs(start);
  ApplyChangesLocked();
  ApplyActionsLocked();
  StepVirtualTickLocked(sim_, clock_, start, periodMs_);
  ++tick_;
}

void ScenarioRun::ApplyChangesLocked() {
  const auto& changes = scenario_.Changes;
  while (nextChange_ < changes.size() && changes[nextChange_].Tick <= tick_) {
    for (const OptionRow& row : kOptionTable) {
      if (const auto value = changes[nextChange_].Options.Get(row.Id)) {
        sim_.ApplyLocked(SetOption{row.Id, *value});
      }
    }
    ++nextChange_;
  }
}

void ScenarioRun::ApplyActionsLocked() {
  while (nextAction_ < actions_.size() && actions_[nextAction_].Tick <= tick_) {
    Apply(actions_[nextAction_]);
    ++nextAction_;
  }
}

void ScenarioRun::Apply(const Action& action) {
  const ScenarioProcess& s = scenario_.Processes[action.Process];
  Created& created = created_[action.Process];
  if (action.Kind == HandActionKind::Create) {
    // A refused creation (page file full) has logged why; its later requests find no process.
    const HandAction create{HandActionKind::Create, 0,       s.Kind,   s.Priority,
                            s.FrameLimit,           s.Color, s.Program};
    if (const ShapeId shape = sim_.ApplyLocked(create); shape != 0) {
      created = {sim_.Kernel.FindByShape(shape)->PID, shape};
    }
    return;
  }
  if (created.Shape != 0) {
    sim_.ApplyLocked(HandAction{action.Kind, created.Shape, 0, action.Priority});
  }
}

}  // namespace kelpa
