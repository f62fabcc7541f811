// SPDX-License-Identifier: MIT
#include "scenario/timeline_model.h"

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
  lane.Created = tick_;
  lane.Runs.push_back({tick_, tick_ - 1, event.To});
  live_.push_back(lanes_.size() - 1);
}

// A state set within a tick holds for the whole tick unless another follows it in the same tick:
// a tick counts in the state it ended in.
void TimelineModel::ChangeState(TimelineLane& lane, ProcessState to) {
  StateRun& open = lane.Runs.back();
  if (open.First < tick_) {
    open.Last = tick_ - 1;
    lane.Runs.push_back({tick_, tick_ - 1, to});
    return;
  }
  open.State = to;
  const std::size_t count = lane.Runs.size();
  if (count >= 2 && lane.Runs[count - 2].State == to) {
    lane.Runs.pop_back();
  }
}

void TimelineModel::End(std::vector<std::size_t>::iterator live) {
  TimelineLane& lane = lanes_[*live];
  lane.Ended = tick_;
  StateRun& open = lane.Runs.back();
  open.Last = tick_ - 1;
  if (open.Last < open.First) {
    lane.Runs.pop_back();
  }
  live_.erase(live);
}

void TimelineModel::Extend(std::deque<UseRun>& row, const UseRun& tick) {
  if (!row.empty()) {
    UseRun& last = row.back();
    if (last.Last + 1 == tick.First && last.Use == tick.Use && last.Pid == tick.Pid &&
        last.Color == tick.Color) {
      last.Last = tick.Last;
      return;
    }
  }
  row.push_back(tick);
}

void TimelineModel::EndTick(const TickSample& sample) {
  for (const std::size_t index : live_) {
    TimelineLane& lane = lanes_[index];
    lane.Runs.back().Last = tick_;
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
  return std::prev(it)->Priority;
}

const UseRun* TimelineModel::RunAt(const std::deque<UseRun>& row, std::int64_t tick) {
  const auto it = std::partition_point(row.begin(), row.end(),
                                       [tick](const UseRun& r) { return r.Last < tick; });
  return it == row.end() || it->First > tick ? nullptr : &*it;
}

std::vector<std::int64_t> TimelineModel::TicksPerState(const TimelineLane& lane) {
  std::vector<std::int64_t> ticks(kStateCount, 0);
  for (const StateRun& run : lane.Runs) {
    if (run.Last >= run.First) {
      ticks[static_cast<std::size_t>(run.State)] += run.Last - run.First + 1;
    }
  }
  return ticks;
}

}  // namespace kelpa
