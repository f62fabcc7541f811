// SPDX-License-Identifier: MIT
// The textbook scheduling policies a run may use beside the described priority kernel, and what
// they know of a process: its next burst, read from its program.
#pragma once

#include <cstdint>

namespace kelpa {

class TProcesso;

// In the order ESCALONADOR names them; Priority is the described kernel.
enum class SchedulingPolicy : std::uint8_t { Priority, Fcfs, RoundRobin, Sjf, Srtf, Mlfq };
inline constexpr int kSchedulingPolicyCount = 6;

// The multi-level feedback queue's rules: how many levels, how many ticks a process may run at a
// level before it goes one down, and every how many ticks every process goes back to the top
// (0: never).
struct MlfqRules {
  int Levels = 3;
  int Allotment = 4;
  int BoostPeriod = 0;
};

// The textbook policies serve what the described kernel takes an interrupt for (the end of a
// slice, a page fault) in the tick that raised it: a switch costs them no tick.
inline constexpr bool IsTextbookPolicy(SchedulingPolicy policy) {
  return policy != SchedulingPolicy::Priority;
}

// Whether the policy takes the processor back at the end of a slice.
inline constexpr bool UsesSlices(SchedulingPolicy policy) {
  return policy == SchedulingPolicy::RoundRobin || policy == SchedulingPolicy::Mlfq;
}

// The instructions p runs from its PC up to and including its next I/O request, or up to the end
// of a finite program. A looping program without I/O never gives the processor up by itself: its
// burst counts one whole pass of its program.
int NextBurst(const TProcesso& p);

}  // namespace kelpa
