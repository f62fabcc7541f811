// SPDX-License-Identifier: MIT
// What the simulation reports: one typed event per thing that happens. The log text, and every
// other view of a run, is made from these, so no two consumers can disagree about the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/datetime.h"
#include "simulation/colour.h"
#include "simulation/process_state.h"

namespace kelpa {

struct TMessages;

enum class EventKind : std::uint8_t {
  // A process's state changed (From -> To). Every change of state is reported by exactly one
  // event of this kind; it writes no log line of its own.
  StateChanged,
  // Process life.
  Created,
  CreationFailed,  // the page file had no room for its blocks
  Eliminated,
  TimesReported,  // CpuTime, Lifetime and References of an ending process
  // Scheduling.
  Dispatched,
  StartedIO,
  Preempted,
  SliceEnded,
  PageFaultRaised,  // Page
  Suspended,
  PriorityRaised,  // Value = the raise; From = the state of the wait that ended
  PriorityCapped,  // Value = the cap that held the priority
  // The textbook policies: the rule that chose a dispatch, and what the feedback queue does.
  PreemptedForShorter,      // SRTF: a ready process has less left to run
  ChosenFirstCome,          // FCFS
  ChosenInTurn,             // RR
  ChosenShortestBurst,      // SJF; Value = its next burst
  ChosenShortestRemaining,  // SRTF; Value = its remaining ticks
  ChosenTopLevel,           // MLFQ; Value = its level
  LevelLowered,             // MLFQ; Value = the level it goes down to
  // Memory.
  HardFaultFromImage,         // Page
  SoftFaultFromFreeList,      // Page
  SoftFaultFromModifiedList,  // Page
  HardFaultFromPageFile,      // Page
  NoFreeFrame,                // Page: the fault waits and is raised again
  PageFileReserved,
  PageFileReleased,
  SwapInStarted,
  SwapInPageRead,  // Page
  SwapInFinished,
  SwappedOut,  // From = the state the victim was taken from
  // Page = the page a policy other than first-in-first-out replaced, Value = the policy
  // (ReplacementPolicy); first-in-first-out replaces without a line of its own.
  PageReplaced,
  // The whole system (no process).
  FreeFramesLow,  // Value = the minimum free percentage
  ModifiedListWritten,
  SwapStarted,
  LevelsBoosted,  // MLFQ: every process back to the top level (Value)
  // Changes taken through Simulation::Apply, and the ends of ticks: they write no line and are
  // no part of a run's figures or traces; they tell a follower of the run what changed.
  OptionChanged,    // Page = the option (OptionId), Value = its new value
  HandActionTaken,  // Pid = the process (0 when a creation was refused): see LastHandAction
  TickEnded,        // one cycle of the processor and the passes of its tick are over
};

// Whether the event tells of a change taken or a tick's end, rather than of something the run did.
inline constexpr bool IsControlEvent(EventKind kind) {
  return kind >= EventKind::OptionChanged;
}

// Whether the event is about one process (its Pid and states mean something).
inline constexpr bool AboutAProcess(EventKind kind) {
  return kind < EventKind::FreeFramesLow;
}

struct SimEvent {
  EventKind Kind = EventKind::StateChanged;
  TDateTime Time = 0;
  std::int32_t Pid = 0;  // 0 for an event of the whole system
  TColor Color = kBlack;
  ProcessState From = psReady;
  ProcessState To = psReady;
  int Page = -1;
  int Value = 0;
  double CpuTime = 0;
  double Lifetime = 0;
  std::int64_t References = 0;  // TimesReported: the memory references the process made
};

// Receives every event, on the thread that caused it, with the simulation lock held.
class IEventSink {
 public:
  virtual ~IEventSink() = default;
  virtual void Report(const SimEvent& event) = 0;
};

// The log line of an event, built from the catalogue texts; none for an event that writes no line.
std::optional<std::string> EventLine(const SimEvent& event, const TMessages& msg);

}  // namespace kelpa
