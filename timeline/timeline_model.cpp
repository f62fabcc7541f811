// SPDX-License-Identifier: MIT
#include "timeline/timeline_model.h"

#include <algorithm>
#include <iterator>

namespace kelpa {

std::optional<TimelineMark> MarkOf(EventKind kind) {
  switch (kind) {
    case EventKind::Created:
      return TimelineMark::Created;
    case EventKind::TimesReported:
      return TimelineMark::Ended;
    case EventKind::PriorityRaised:
      return TimelineMark::PriorityRaised;
    case EventKind::SliceEnded:
      return TimelineMark::SliceEnded;
    case EventKind::Preempted:
      return TimelineMark::Preempted;
    case EventKind::HardFaultFromImage:
    case EventKind::HardFaultFromPageFile:
      return TimelineMark::HardFault;
    case EventKind::SoftFaultFromFreeList:
    case EventKind::SoftFaultFromModifiedList:
      return TimelineMark::SoftFault;
    case EventKind::SwappedOut:
      return TimelineMark::SwappedOut;
    case EventKind::SwapInFinished:
      return TimelineMark::SwappedIn;
    default:
      return std::nullopt;
  }
}

void TimelineModel::Report(const SimEvent& event, std::int64_t ms) {
  if (keepEvents_ == TimelineEvents::Kept) {
    events_.push_back({event, tick_, ms});
  }
  if (!AboutAProcess(event.Kind)) {
    return;  // about the whole system, on no lane
  }
  if (event.Kind == EventKind::Created) {
    Create(event);
  }
  const auto live = LiveEntry(event.Pid);
  if (live == live_.end()) {
    return;
  }
  TimelineLane& lane = lanes_[*live];
  if (const auto mark = MarkOf(event.Kind)) {
    lane.Markers.push_back({tick_, *mark});
  }
  if (event.Kind == EventKind::StateChanged) {
    ChangeState(lane, event.To);
  } else if (event.Kind == EventKind::TimesReported) {
    End(live);
  }
}

std::vector<std::size_t>::iterator TimelineModel::LiveEntry(std::int32_t pid) {
  return std::find_if(live_.begin(), live_.end(),
                      [&](std::size_t index) { return lanes_[index].Pid == pid; });
}

void TimelineModel::Create(const SimEvent& event) {
  TimelineLane& lane = lanes_.emplace_back();
  lane.Pid = event.Pid;
  lane.Color = event.Color;
  lane.Number = ++created_;
  lane.Created = tick_;
  lane.Runs.PushBack({tick_, tick_ - 1, event.To});
  live_.push_back(lanes_.size() - 1);
}

// A state set within a tick holds for the whole tick unless another follows it in the same tick:
// a tick counts in the state it ended in.
void TimelineModel::ChangeState(TimelineLane& lane, ProcessState to) {
  if (lane.Runs.back().First < tick_) {
    lane.Runs.PushBack({tick_, tick_ - 1, to});
    return;
  }
  lane.Runs.ReplaceBack({tick_, tick_ - 1, to});
  const std::size_t count = lane.Runs.size();
  if (count >= 2 && lane.Runs[count - 2].State == to) {
    lane.Runs.PopBack();
  }
}

void TimelineModel::End(std::vector<std::size_t>::iterator live) {
  TimelineLane& lane = lanes_[*live];
  lane.Ended = tick_;
  lane.Runs.SetLast(tick_ - 1);
  if (lane.Runs.back().First == tick_) {
    lane.Runs.PopBack();
  }
  live_.erase(live);
}

void TimelineModel::Extend(UseRow& row, const UseRun& tick) {
  if (!row.empty()) {
    const UseRun last = row.back();
    if (last.Last + 1 == tick.First && last.Use == tick.Use && last.Pid == tick.Pid &&
        last.Color == tick.Color) {
      row.SetLast(tick.Last);
      return;
    }
  }
  row.PushBack(tick);
}

void TimelineModel::EndTick(const TickSample& sample) {
  for (const std::size_t index : live_) {
    TimelineLane& lane = lanes_[index];
    lane.Runs.SetLast(tick_);
    for (const auto& [pid, priority] : sample.Priorities) {
      if (pid == lane.Pid &&
          (lane.Priorities.empty() || lane.Priorities.back().Priority != priority)) {
        lane.Priorities.push_back({tick_, priority});
      }
    }
  }
  UseRun cpu{tick_, tick_, sample.Processor, 0, kBlack};
  if (sample.Processor == ProcessorUse::Process) {
    cpu.Pid = sample.ProcessorPid;
    cpu.Color = sample.ProcessorColor;
  }
  Extend(processor_, cpu);
  UseRun device{tick_, tick_, ProcessorUse::Idle, 0, kBlack};
  if (sample.DevicePid) {
    device = {tick_, tick_, ProcessorUse::Process, *sample.DevicePid, sample.DeviceColor};
  }
  Extend(device_, device);
  ++tick_;
  if (tick_ - first_ > kept_) {
    Trim();
  }
}

// A span or priority reaching into the ticks kept stays whole, so whatever is asked of a kept
// tick is answered as before; marks, events and lanes that ended before them go.
void TimelineModel::Trim() {
  first_ = tick_ - kept_;
  processor_.DropBefore(first_);
  device_.DropBefore(first_);
  const auto before = [this](const TimelineLane& lane) {
    return lane.Ended && *lane.Ended <= first_;
  };
  if (std::any_of(lanes_.begin(), lanes_.end(), before)) {
    // The live lanes stay; where each one moves to is where live_ must point.
    std::vector<std::size_t> moved(lanes_.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lanes_.size(); ++i) {
      if (!before(lanes_[i])) {
        moved[i] = kept;
        if (kept != i) {
          lanes_[kept] = std::move(lanes_[i]);
        }
        ++kept;
      }
    }
    lanes_.erase(lanes_.begin() + static_cast<std::ptrdiff_t>(kept), lanes_.end());
    for (std::size_t& index : live_) {
      index = moved[index];
    }
  }
  for (TimelineLane& lane : lanes_) {
    lane.Runs.DropBefore(first_);
    while (!lane.Markers.empty() && lane.Markers.front().Tick < first_) {
      lane.Markers.pop_front();
    }
    while (lane.Priorities.size() >= 2 && lane.Priorities[1].First <= first_) {
      lane.Priorities.pop_front();
    }
  }
  while (!events_.empty() && events_.front().Tick < first_) {
    events_.pop_front();
  }
}

std::optional<ProcessState> TimelineModel::StateAt(const TimelineLane& lane, std::int64_t tick) {
  const auto it = std::partition_point(lane.Runs.begin(), lane.Runs.end(),
                                       [tick](const StateRun& r) { return r.Last < tick; });
  if (it == lane.Runs.end() || it->First > tick) {
    return std::nullopt;
  }
  return it->State;
}

std::optional<int> TimelineModel::PriorityAt(const TimelineLane& lane, std::int64_t tick) {
  const auto it = std::partition_point(lane.Priorities.begin(), lane.Priorities.end(),
                                       [tick](const PriorityRun& p) { return p.First <= tick; });
  if (it == lane.Priorities.begin()) {
    return std::nullopt;
  }
  return static_cast<int>(std::prev(it)->Priority);
}

std::optional<UseRun> TimelineModel::RunAt(const UseRow& row, std::int64_t tick) {
  const auto it = std::partition_point(row.begin(), row.end(),
                                       [tick](const UseRun& r) { return r.Last < tick; });
  if (it == row.end() || it->First > tick) {
    return std::nullopt;
  }
  return *it;
}

std::vector<std::int64_t> TimelineModel::TicksPerState(const TimelineLane& lane,
                                                       std::int64_t from) {
  std::vector<std::int64_t> ticks(kStateCount, 0);
  for (const StateRun& run : lane.Runs) {
    const std::int64_t first = std::max(run.First, from);
    if (run.Last >= first) {
      ticks[static_cast<std::size_t>(run.State)] += run.Last - first + 1;
    }
  }
  return ticks;
}

}  // namespace kelpa
