// SPDX-License-Identifier: MIT
// The run as a timeline: per process, the spans of ticks it spent in each state and the marks of
// what happened to it; the processor's and the I/O device's use per tick; the events themselves.
// It is fed by the same events as the log, and by one sample at the end of every tick, so it can
// never disagree with the log or the figures. Spans, not cells: a long run stays small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "simulation/colour.h"
#include "simulation/process_state.h"
#include "simulation/sim_event.h"

namespace kelpa {

// Ticks First..Last, both counted; Last < First while a span has just begun within a tick.
struct StateRun {
  std::int64_t First = 0;
  std::int64_t Last = 0;
  ProcessState State = psReady;
};

enum class TimelineMark : std::uint8_t {
  Created,
  Ended,
  PriorityRaised,
  SliceEnded,
  Preempted,
  HardFault,
  SoftFault,
  SwappedOut,
  SwappedIn,
};
inline constexpr int kTimelineMarkCount = 9;

struct TimelineMarker {
  std::int64_t Tick = 0;
  TimelineMark Mark = TimelineMark::Created;
};

// A priority in force from tick First on.
struct PriorityRun {
  std::int64_t First = 0;
  int Priority = 0;
};

struct TimelineLane {
  std::int32_t Pid = 0;
  TColor Color = kBlack;
  std::int64_t Created = 0;
  std::optional<std::int64_t> Ended;  // the tick it ended in (counted in no state)
  std::deque<StateRun> Runs;          // in tick order, none empty but a fresh last one
  std::deque<TimelineMarker> Markers;
  std::deque<PriorityRun> Priorities;
};

// Who the processor served in a span of ticks.
enum class ProcessorUse : std::uint8_t { Idle, Interrupt, Process };

// A span of the processor row (Use, Pid) or of the device row (Pid of the process it serves).
struct UseRun {
  std::int64_t First = 0;
  std::int64_t Last = 0;
  ProcessorUse Use = ProcessorUse::Idle;
  std::int32_t Pid = 0;
  TColor Color = kBlack;
};

// What the processor and the device did in a tick, read with the lock held at its end.
struct TickSample {
  ProcessorUse Processor = ProcessorUse::Idle;
  std::int32_t ProcessorPid = 0;
  TColor ProcessorColor = kBlack;
  std::optional<std::int32_t> DevicePid;  // the head of the wait list
  TColor DeviceColor = kBlack;
  std::vector<std::pair<std::int32_t, int>> Priorities;  // pid and priority of each live process
};

struct RecordedEvent {
  SimEvent Event;
  std::int64_t Tick = 0;
  std::int64_t Ms = 0;  // virtual ms in a scenario, real ms since the start otherwise
};

// Whether the model keeps the events themselves (for the log's csv export) beside the spans. A
// picture needs only the spans and marks, which grow with the changes of state, not the events.
enum class TimelineEvents : std::uint8_t { Kept, Dropped };

class TimelineModel {
 public:
  TimelineModel() = default;
  explicit TimelineModel(TimelineEvents events) : keepEvents_(events) {}

  // An event of the tick in progress.
  void Report(const SimEvent& event, std::int64_t ms);
  // The end of the tick in progress; the next one begins.
  void EndTick(const TickSample& sample);

  // Ticks ended so far; the tick in progress is Ticks().
  std::int64_t Ticks() const { return tick_; }
  const std::vector<TimelineLane>& Lanes() const { return lanes_; }
  const std::deque<UseRun>& Processor() const { return processor_; }
  const std::deque<UseRun>& Device() const { return device_; }
  // Empty when the events are dropped.
  const std::deque<RecordedEvent>& Events() const { return events_; }

  // A lane's state at the end of an ended tick; none before its creation or from its end.
  static std::optional<ProcessState> StateAt(const TimelineLane& lane, std::int64_t tick);
  static std::optional<int> PriorityAt(const TimelineLane& lane, std::int64_t tick);
  // The span of a row holding an ended tick; none past the end.
  static const UseRun* RunAt(const std::deque<UseRun>& row, std::int64_t tick);
  // Ticks that ended with the lane in each state.
  static std::vector<std::int64_t> TicksPerState(const TimelineLane& lane);

 private:
  // The lane of the live process pid, as its entry in live_; live_.end() when there is none.
  std::vector<std::size_t>::iterator LiveEntry(std::int32_t pid);
  void Create(const SimEvent& event);
  void ChangeState(TimelineLane& lane, ProcessState to);
  void End(std::vector<std::size_t>::iterator live);
  static void Extend(std::deque<UseRun>& row, const UseRun& tick);

  TimelineEvents keepEvents_ = TimelineEvents::Kept;
  std::int64_t tick_ = 0;
  std::vector<TimelineLane> lanes_;
  std::vector<std::size_t> live_;  // lanes of the live processes
  std::deque<UseRun> processor_;
  std::deque<UseRun> device_;
  std::deque<RecordedEvent> events_;  // grows in steps, never copied whole
};

// The marker an event leaves on its process's lane, if any.
std::optional<TimelineMark> MarkOf(EventKind kind);

}  // namespace kelpa
