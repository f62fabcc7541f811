// SPDX-License-Identifier: MIT
// The states a process passes through. The numbers are fixed: the catalogue's state names are
// listed in this order.
#pragma once

#include <cstdint>

namespace kelpa {

enum class ProcessState : std::uint8_t {
  psReady = 0,
  psReadyOut = 1,
  psRunning = 2,
  psIO = 3,
  psIOOut = 4,
  psSuspended = 5,
  psSuspendedOut = 6,
  psPageFault = 7,
  psPageFaultOut = 8,
};
using enum ProcessState;

// How many states there are, for tables indexed by a state.
inline constexpr int kStateCount = static_cast<int>(psPageFaultOut) + 1;

// The states of a process whose pages were taken out of memory to make room for others.
constexpr bool IsSwappedOut(ProcessState s) {
  return s == psReadyOut || s == psIOOut || s == psSuspendedOut || s == psPageFaultOut;
}

}  // namespace kelpa
