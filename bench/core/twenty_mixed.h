// SPDX-License-Identifier: MIT
// The benchmarks' common workload: twenty processes of every kind, priority and frame limit.
#pragma once

#include <cstddef>

#include "scenario/scenario.h"
#include "simulation/colour.h"
#include "simulation/process.h"

namespace kelpa::bench {

// The i-th process of the mix (from 0): kinds, priorities and frame limits in turn.
inline ScenarioProcess MixedProcess(int i) {
  ScenarioProcess p;
  p.Number = i + 1;
  p.Kind = i % kProcessKindCount;
  p.Priority = i % 10;
  p.FrameLimit = 1 + i % 5;
  p.Color = kProcessPalette[static_cast<std::size_t>(i) % kProcessPalette.size()];
  return p;
}

inline Scenario TwentyMixed() {
  Scenario s;
  for (int i = 0; i < 20; ++i) {
    s.Processes.push_back(MixedProcess(i));
  }
  return s;
}

}  // namespace kelpa::bench
