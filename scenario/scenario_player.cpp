// SPDX-License-Identifier: MIT
#include "scenario/scenario_player.h"

#include <algorithm>
#include <map>
#include <mutex>

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

// Marks the time the player itself changes the run (starting, stepping, replaying what was
// recorded): the events of those changes are not the user's.
class DrivingTheRun {
 public:
  explicit DrivingTheRun(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~DrivingTheRun() { flag_ = was_; }
  DrivingTheRun(const DrivingTheRun&) = delete;
  DrivingTheRun& operator=(const DrivingTheRun&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

ScenarioPlayer::ScenarioPlayer(Simulation& sim, VirtualClock& clock, EventFanOut& events)
    : sim_(sim), clock_(clock), events_(events) {
  events_.Add(this);
}

ScenarioPlayer::~ScenarioPlayer() {
  std::lock_guard lock(sim_.Lock);
  events_.Remove(this);
}

void ScenarioPlayer::Open(Scenario scenario) {
  std::lock_guard lock(sim_.Lock);
  scenario_ = std::move(scenario);
  tape_.clear();
  StartLocked();
}

void ScenarioPlayer::StartLocked() {
  const DrivingTheRun driving(driving_);
  run_.reset();
  sim_.ReturnToStart();
  baseShape_ = sim_.LastShapeId();
  nextRecorded_ = 0;
  run_ = std::make_unique<ScenarioRun>(sim_, clock_, scenario_, ScenarioRun::LockHeld{});
  seen_ = sim_.Options();
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
  StepLocked();
}

void ScenarioPlayer::StepLocked() {
  const DrivingTheRun driving(driving_);
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
  const std::int64_t target = std::clamp<std::int64_t>(tick, 0, run_->Tick());
  StartLocked();
  while (run_->Tick() < target) {
    StepLocked();
  }
}

void ScenarioPlayer::RunTo(std::int64_t tick, const std::function<bool()>& stop) {
  if (!run_) {
    return;
  }
  std::lock_guard lock(sim_.Lock);
  while (run_->Tick() < tick) {
    StepLocked();
    if (stop && stop()) {
      break;
    }
  }
}

void ScenarioPlayer::ApplyRecordedLocked() {
  const DrivingTheRun driving(driving_);
  const std::int64_t tick = run_->Tick();
  while (nextRecorded_ < tape_.size() && tape_[nextRecorded_].Tick <= tick) {
    const Recorded& recorded = tape_[nextRecorded_];
    if (recorded.Option) {
      sim_.ApplyLocked(*recorded.Option);
    } else {
      HandAction action = recorded.Action;
      if (action.Kind != HandActionKind::Create) {
        action.Shape += baseShape_;
      }
      sim_.ApplyLocked(action);
    }
    ++nextRecorded_;
  }
}

void ScenarioPlayer::Report(const SimEvent& event) {
  if (event.Kind == EventKind::OptionChanged) {
    OptionTaken(event);
  } else if (event.Kind == EventKind::HandActionTaken && run_ && !driving_) {
    ActionTaken();
  }
}

void ScenarioPlayer::OptionTaken(const SimEvent& event) {
  const auto id = static_cast<OptionId>(event.Page);
  const OptionRow& row = RowOf(id);
  const int was = row.Get(seen_);
  row.Set(seen_, event.Value);
  if (!run_ || driving_) {
    return;
  }
  const bool pulls =
      id == OptionId::IoWaitPosition && sim_.Espera.WaitCounter == WaitPasses(event.Value) - 1;
  Record({run_->Tick(), SetOption{id, event.Value}, was, pulls, {}});
}

void ScenarioPlayer::ActionTaken() {
  Recorded recorded{run_->Tick(), std::nullopt, 0, false, sim_.LastHandAction()};
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
  // The homework's ticks must stay ticks of the shortened run for the file to read back.
  if (s.Homework && s.Homework->Ticks) {
    auto& [first, last] = *s.Homework->Ticks;
    last = std::min(last, s.Ticks - 1);
    first = std::min(first, last);
  }
  return s;
}

void ScenarioPlayer::AddHandProcesses(Scenario& s) const {
  std::vector<ScenarioProcess> processes;
  // Each process by its place in the order of creation, as the tape names it.
  std::map<std::size_t, std::size_t> indexOf;
  for (const Recorded& r : tape_) {
    const HandAction& a = r.Action;
    if (r.Option || r.Tick > run_->Tick() || a.Kind != HandActionKind::Create) {
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
    if (r.Option || r.Tick > run_->Tick()) {
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
  OptionChange c;
  std::map<OptionId, int> was;  // each option of c as it stood before c
  bool pulled = false;          // c's wait length pulled the counter back
  const auto close = [&] {
    for (const auto& [id, before] : was) {
      if (c.Options.Get(id) == before) {
        c.Options.Clear(id);  // set by hand and back again
      }
    }
    if (!c.Options.Empty()) {
      changes.push_back(c);
    }
    c = OptionChange{};
    was.clear();
  };
  for (const Recorded& r : tape_) {
    if (!r.Option || r.Tick > run_->Tick()) {
      continue;
    }
    const OptionId id = r.Option->Option;
    const auto wait = c.Options.Get(OptionId::IoWaitPosition);
    // A wait length shorter than the counter pulled the counter back to its end; a longer one
    // set later in the same tick does not undo that, so the shorter one stays a change of its
    // own, set first, and the counter ends where it did.
    if (r.Tick != c.Tick ||
        (id == OptionId::IoWaitPosition && wait && pulled && r.Option->Value > *wait)) {
      close();
      c.Tick = r.Tick;
    }
    was.try_emplace(id, r.Was);
    c.Options.Set(id, r.Option->Value);
    if (id == OptionId::IoWaitPosition) {
      pulled = r.PullsCounter;
    }
  }
  close();
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
