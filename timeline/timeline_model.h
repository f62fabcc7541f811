// SPDX-License-Identifier: MIT
// The run as a timeline: per process, the spans of ticks it spent in each state and the marks of
// what happened to it; the processor's and the I/O device's use per tick; the events themselves.
// It is fed by the same events as the log, and by one sample at the end of every tick, so it can
// never disagree with the log or the figures. Spans, not cells: a long run stays small. A model
// may keep only the newest ticks (the live program's, which runs for hours), dropping whatever
// lies wholly before them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "simulation/colour.h"
#include "simulation/process_state.h"
#include "simulation/sim_event.h"
#include "timeline/run_row.h"

namespace kelpa {

// Ticks First..Last, both counted; Last < First while a span has just begun within a tick.
struct StateRun {
  std::int64_t First = 0;
  std::int64_t Last = 0;
  ProcessState State = psReady;
};

// A StateRun as a lane keeps it: its first tick and state in one word.
struct PackedStateRun {
  std::uint64_t Bits = 0;
  static PackedStateRun From(const StateRun& run) {
    return {static_cast<std::uint64_t>(run.First) << 8 | static_cast<std::uint8_t>(run.State)};
  }
  std::int64_t First() const { return static_cast<std::int64_t>(Bits >> 8); }
  StateRun With(std::int64_t last) const {
    return {First(), last, static_cast<ProcessState>(Bits & 0xff)};
  }
};
using StateRow = RunRow<StateRun, PackedStateRun>;

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

// One word each: a busy run leaves a mark every few ticks.
struct TimelineMarker {
  std::int64_t Tick : 56 = 0;
  TimelineMark Mark : 8 = TimelineMark::Created;
};
static_assert(sizeof(TimelineMarker) == 8);

// A priority in force from tick First on.
struct PriorityRun {
  std::int64_t First : 48 = 0;
  std::int64_t Priority : 16 = 0;
};
static_assert(sizeof(PriorityRun) == 8);

struct TimelineLane {
  std::int32_t Pid = 0;
  TColor Color = kBlack;
  std::int64_t Number = 0;  // 1 for the run's first process: lanes are never renumbered
  std::int64_t Created = 0;
  std::optional<std::int64_t> Ended;  // the tick it ended in (counted in no state)
  StateRow Runs;                      // in tick order, none empty but a fresh last one
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

// A UseRun as a row keeps it: no Last, the first tick and the use in one word.
struct PackedUseRun {
  std::uint64_t Bits = 0;
  std::int32_t Pid = 0;
  TColor Color = kBlack;
  static PackedUseRun From(const UseRun& run) {
    return {static_cast<std::uint64_t>(run.First) << 8 | static_cast<std::uint8_t>(run.Use),
            run.Pid, run.Color};
  }
  std::int64_t First() const { return static_cast<std::int64_t>(Bits >> 8); }
  UseRun With(std::int64_t last) const {
    return {First(), last, static_cast<ProcessorUse>(Bits & 0xff), Pid, Color};
  }
};
static_assert(sizeof(PackedUseRun) == 16);
using UseRow = RunRow<UseRun, PackedUseRun>;

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

// Every tick a model keeps unless told to keep fewer.
inline constexpr std::int64_t kAllTicks = std::numeric_limits<std::int64_t>::max();
// The newest ticks the program's timeline keeps: an eight-hour class at the fastest clock
// (100 ms) runs 288,000 ticks, and what the timeline holds must not grow with them. A scenario's
// whole run can still be drawn by replaying it; bench/core/timeline_growth_bench.cpp measures
// what this keeps.
inline constexpr std::int64_t kLiveTicksKept = 36'000;

class TimelineModel {
 public:
  TimelineModel() = default;
  // kept: how many of the newest ticks it keeps.
  explicit TimelineModel(TimelineEvents events, std::int64_t kept = kAllTicks)
      : keepEvents_(events), kept_(kept) {}

  // An event of the tick in progress.
  void Report(const SimEvent& event, std::int64_t ms);
  // The end of the tick in progress; the next one begins.
  void EndTick(const TickSample& sample);

  // Ticks ended so far; the tick in progress is Ticks().
  std::int64_t Ticks() const { return tick_; }
  // The oldest tick kept: 0 unless the model keeps only the newest ticks and has dropped some.
  // Nothing is known of the ticks before it.
  std::int64_t FirstTick() const { return first_; }
  // The lanes of the processes living in the ticks kept, and maybe of some ended before them.
  const std::vector<TimelineLane>& Lanes() const { return lanes_; }
  const UseRow& Processor() const { return processor_; }
  const UseRow& Device() const { return device_; }
  // Those of the ticks kept; empty when the events are dropped.
  const std::deque<RecordedEvent>& Events() const { return events_; }

  // A lane's state at the end of an ended tick; none before its creation or from its end.
  static std::optional<ProcessState> StateAt(const TimelineLane& lane, std::int64_t tick);
  static std::optional<int> PriorityAt(const TimelineLane& lane, std::int64_t tick);
  // The span of a row holding an ended tick; none past the end.
  static std::optional<UseRun> RunAt(const UseRow& row, std::int64_t tick);
  // Ticks from tick from on that ended with the lane in each state.
  static std::vector<std::int64_t> TicksPerState(const TimelineLane& lane, std::int64_t from = 0);

 private:
  // The lane of the live process pid, as its entry in live_; live_.end() when there is none.
  std::vector<std::size_t>::iterator LiveEntry(std::int32_t pid);
  void Create(const SimEvent& event);
  void ChangeState(TimelineLane& lane, ProcessState to);
  void End(std::vector<std::size_t>::iterator live);
  static void Extend(UseRow& row, const UseRun& tick);
  // Drops what lies wholly before the newest kept_ ticks.
  void Trim();

  TimelineEvents keepEvents_ = TimelineEvents::Kept;
  std::int64_t kept_ = kAllTicks;
  std::int64_t tick_ = 0;
  std::int64_t first_ = 0;
  std::int64_t created_ = 0;  // lanes ever made
  std::vector<TimelineLane> lanes_;
  std::vector<std::size_t> live_;  // lanes of the live processes
  UseRow processor_;
  UseRow device_;
  std::deque<RecordedEvent> events_;  // grows in steps, never copied whole
};

// The marker an event leaves on its process's lane, if any.
std::optional<TimelineMark> MarkOf(EventKind kind);

}  // namespace kelpa
