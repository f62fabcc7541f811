// SPDX-License-Identifier: MIT
#include "scenario/scenario_player.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "scenario/current_options.h"
#include "simulation/process.h"

namespace kelpa {
namespace {

void SortUnique(std::vector<std::int64_t>& ticks) {
  std::sort(ticks.begin(), ticks.end());
  ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
}

// One change per tick, the last one asked.
void SortByTick(std::vector<PriorityChange>& changes) {
  std::stable_sort(
      changes.begin(), changes.end(),
      [](const PriorityChange& a, const PriorityChange& b) { return a.Tick < b.Tick; });
  std::vector<PriorityChange> kept;
  for (const PriorityChange& change : changes) {
    if (!kept.empty() && kept.back().Tick == change.Tick) {
      kept.back() = change;
    } else {
      kept.push_back(change);
    }
  }
  changes = std::move(kept);
}

}  // namespace

ScenarioPlayer::ScenarioPlayer(Simulation& sim, VirtualClock& clock) : sim_(sim), clock_(clock) {
  std::lock_guard lock(sim_.Lock);
  sim_.HandActions = this;
}

ScenarioPlayer::~ScenarioPlayer() {
  std::lock_guard lock(sim_.Lock);
  if (sim_.HandActions == this) {
    sim_.HandActions = nullptr;
  }
}

void ScenarioPlayer::Open(Scenario scenario) {
  std::lock_guard lock(sim_.Lock);
  scenario_ = std::move(scenario);
  tape_.clear();
  StartLocked();
}

void ScenarioPlayer::StartLocked() {
  run_.reset();
  sim_.ReturnToStart();
  baseShape_ = sim_.LastShapeId();
  nextRecorded_ = 0;
  run_ = std::make_unique<ScenarioRun>(sim_, clock_, scenario_, ScenarioRun::LockHeld{});
  run_->AfterTick = [this](std::int64_t tick) {
    if (AfterTick) {
      AfterTick(tick);
    }
  };
  if (Restarted) {
    Restarted();
  }
  ApplyRecordedLocked();
}

void ScenarioPlayer::Step() {
  if (!run_) {
    return;
  }
  std::lock_guard lock(sim_.Lock);
  NoteOptionsLocked();
  StepLocked();
}

void ScenarioPlayer::StepLocked() {
  run_->StepTickLocked();
  StandAtNextTick();
  ApplyRecordedLocked();
}

void ScenarioPlayer::StandAtNextTick() {
  clock_.SetMs(run_->Tick() * run_->PeriodMs());
}

bool ScenarioPlayer::AtPause() const {
  const std::int64_t tick = Tick();
  return tick >= scenario_.Ticks ||
         std::binary_search(scenario_.PauseAt.begin(), scenario_.PauseAt.end(), tick);
}

void ScenarioPlayer::BackTo(std::int64_t tick) {
  if (!run_) {
    return;
  }
  std::lock_guard lock(sim_.Lock);
  NoteOptionsLocked();
  const std::int64_t target = std::clamp<std::int64_t>(tick, 0, run_->Tick());
  replaying_ = true;
  StartLocked();
  while (run_->Tick() < target) {
    StepLocked();
  }
  replaying_ = false;
}

void ScenarioPlayer::RunTo(std::int64_t tick, const std::function<bool()>& stop) {
  if (!run_) {
    return;
  }
  std::lock_guard lock(sim_.Lock);
  NoteOptionsLocked();
  while (run_->Tick() < tick) {
    StepLocked();
    if (stop && stop()) {
      break;
    }
  }
}

void ScenarioPlayer::ApplyRecordedLocked() {
  const std::int64_t tick = run_->Tick();
  while (nextRecorded_ < tape_.size() && tape_[nextRecorded_].Tick <= tick) {
    const Recorded& recorded = tape_[nextRecorded_];
    if (recorded.NewOptions) {
      WriteOptions(*recorded.NewOptions);
    } else {
      Apply(recorded.Action);
    }
    ++nextRecorded_;
  }
  seen_ = ReadOptions();
}

void ScenarioPlayer::Apply(const HandAction& action) {
  if (action.Kind == HandActionKind::Create) {
    AddNewProcess(sim_, action.ProcessKind, action.Priority, action.FrameLimit, action.Color);
    return;
  }
  if (TProcesso* p = sim_.Kernel.FindByShape(baseShape_ + action.Shape)) {
    TakeRequest(sim_, *p, action.Kind, action.Priority);
  }
}

void ScenarioPlayer::Taken(const HandAction& action) {
  if (!run_ || replaying_) {
    return;
  }
  NoteOptionsLocked();
  Recorded recorded{run_->Tick(), std::nullopt, {}, action};
  // Kept relative to the run's first disc, so a replay, whose discs are new, finds it again.
  if (recorded.Action.Shape != 0) {
    recorded.Action.Shape = Ordinal(recorded.Action.Shape);
  }
  Record(recorded);
}

void ScenarioPlayer::Record(const Recorded& recorded) {
  // Whatever was recorded for this tick has been taken already, and what was recorded for later
  // ticks belonged to a run that a new action changes: the new action ends the record.
  tape_.erase(tape_.begin() + static_cast<std::ptrdiff_t>(nextRecorded_), tape_.end());
  tape_.push_back(recorded);
  ++nextRecorded_;
}

void ScenarioPlayer::NoteOptionsLocked() {
  const Options now = ReadOptions();
  if (now == seen_) {
    return;
  }
  Record({run_->Tick(), now, seen_, {}});
  seen_ = now;
}

ScenarioPlayer::Options ScenarioPlayer::ReadOptions() const {
  return {EveryOption(CurrentOptions(sim_)), sim_.Espera.WaitCounter};
}

void ScenarioPlayer::WriteOptions(const Options& o) {
  ApplyOptions(sim_, o.All);
  sim_.Espera.WaitCounter = o.WaitCounter;
}

Scenario ScenarioPlayer::WithHandActions() const {
  Scenario s = scenario_;
  if (!run_) {
    return s;
  }
  AddHandProcesses(s);
  AddHandChanges(s);
  if (run_->Tick() > 0) {
    s.Ticks = run_->Tick();
  }
  return s;
}

void ScenarioPlayer::AddHandProcesses(Scenario& s) const {
  std::vector<ScenarioProcess> processes;
  // Each process by its place in the order of creation, as the tape names it.
  std::map<std::size_t, std::size_t> indexOf;
  for (const Recorded& r : tape_) {
    const HandAction& a = r.Action;
    if (r.NewOptions || r.Tick > run_->Tick() || a.Kind != HandActionKind::Create) {
      continue;
    }
    ScenarioProcess& p = processes.emplace_back();
    p.Kind = a.ProcessKind;
    p.Priority = a.Priority;
    p.FrameLimit = a.FrameLimit;
    p.Color = a.Color;
    p.Arrival = r.Tick;
    if (a.Shape != 0) {
      indexOf[a.Shape] = processes.size() - 1;
    }
  }
  const bool renumber = !processes.empty();
  for (std::size_t i = 0; i < s.Processes.size(); ++i) {
    if (const ShapeId shape = run_->ShapeOf(i); shape != 0) {
      indexOf[Ordinal(shape)] = processes.size();
    }
    processes.push_back(std::move(s.Processes[i]));
  }
  for (const Recorded& r : tape_) {
    if (r.NewOptions || r.Tick > run_->Tick()) {
      continue;
    }
    const auto found = indexOf.find(r.Action.Shape);
    if (r.Action.Kind == HandActionKind::Create || found == indexOf.end()) {
      continue;
    }
    ScenarioProcess& p = processes[found->second];
    switch (r.Action.Kind) {
      case HandActionKind::Suspend:
        p.SuspendAt.push_back(r.Tick);
        break;
      case HandActionKind::Resume:
        p.ResumeAt.push_back(r.Tick);
        break;
      case HandActionKind::SetPriority:
        p.PriorityAt.push_back({r.Tick, r.Action.Priority});
        break;
      case HandActionKind::End:
        p.EndAt = std::min(p.EndAt.value_or(r.Tick), r.Tick);
        break;
      case HandActionKind::Create:
        break;
    }
  }
  for (std::size_t i = 0; i < processes.size(); ++i) {
    ScenarioProcess& p = processes[i];
    if (renumber) {
      p.Number = static_cast<int>(i + 1);
    }
    SortUnique(p.SuspendAt);
    SortUnique(p.ResumeAt);
    SortByTick(p.PriorityAt);
  }
  s.Processes = std::move(processes);
}

void ScenarioPlayer::AddHandChanges(Scenario& s) const {
  std::vector<OptionChange> changes;
  for (const Recorded& r : tape_) {
    if (!r.NewOptions || r.Tick > run_->Tick()) {
      continue;
    }
    const OptionChange& was = r.OldOptions.All;
    const OptionChange& now = r.NewOptions->All;
    OptionChange c;
    c.Tick = r.Tick;
    const OptionChange none = c;
    // A wait length shorter than the counter pulls the counter back to its end. When the user
    // passed through a length shorter than both before settling, the counter shows it: that
    // length is set first, so the counter ends where it did.
    const int counter = r.NewOptions->WaitCounter;
    const int clamped = std::min(r.OldOptions.WaitCounter, 10 * *now.IoWaitPosition - 1);
    if (counter != clamped && (counter + 1) % 10 == 0) {
      OptionChange shorter = none;
      shorter.IoWaitPosition = (counter + 1) / 10;
      changes.push_back(shorter);
      c.IoWaitPosition = now.IoWaitPosition;
    }
    const auto changed = [](auto& field, const auto& before, const auto& after) {
      if (before != after) {
        field = after;
      }
    };
    changed(c.Preemption, was.Preemption, now.Preemption);
    changed(c.DynamicPriority, was.DynamicPriority, now.DynamicPriority);
    changed(c.RealTimeThreshold, was.RealTimeThreshold, now.RealTimeThreshold);
    changed(c.SlicePosition, was.SlicePosition, now.SlicePosition);
    changed(c.IoWaitPosition, was.IoWaitPosition, now.IoWaitPosition);
    changed(c.AnticipatedFetch, was.AnticipatedFetch, now.AnticipatedFetch);
    changed(c.FrameLimitEnabled, was.FrameLimitEnabled, now.FrameLimitEnabled);
    changed(c.MinFreePercent, was.MinFreePercent, now.MinFreePercent);
    if (c != none) {
      changes.push_back(c);
    }
  }
  if (changes.empty()) {
    return;
  }
  changes.insert(changes.end(), s.Changes.begin(), s.Changes.end());
  std::stable_sort(changes.begin(), changes.end(),
                   [](const OptionChange& a, const OptionChange& b) { return a.Tick < b.Tick; });
  for (std::size_t i = 0; i < changes.size(); ++i) {
    changes[i].Number = static_cast<int>(i + 1);
  }
  s.Changes = std::move(changes);
}

}  // namespace kelpa
