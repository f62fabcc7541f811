// SPDX-License-Identifier: MIT
// The three scheduling settings. Written by the user-interface thread, read by the simulation
// threads at their next use; each is one word, so they are atomics rather than lock-guarded.
#pragma once

#include <atomic>

namespace kelpa {

struct SchedulingSettings {
  std::atomic<bool> PreemptionEnabled{true};
  std::atomic<bool> DynamicPriorityEnabled{true};
  std::atomic<int> RealTimeThreshold{8};
};

}  // namespace kelpa
