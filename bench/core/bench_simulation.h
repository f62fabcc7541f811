// SPDX-License-Identifier: MIT
// A simulation for benchmarks: a manual clock, no display, and a log that only counts lines (the
// log file's own cost is measured apart), with 20 live processes of mixed kinds.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "simulation/simulation.h"

namespace kelpa::bench {

class CountingLog final : public ILog {
 public:
  void AddLine(const std::string& text, TColor) override { bytes += text.size(); }
  std::size_t bytes = 0;
};

struct BenchSimulation {
  explicit BenchSimulation(ILog* log = nullptr) : sim(clock, log ? *log : counting, display, msg) {}

  // 20 processes of all six kinds, priorities 0..9, frame limits 1..5.
  void CreateMixed(int count = 20) {
    std::lock_guard lock(sim.Lock);
    for (int i = 0; i < count; ++i) {
      auto p = TProcesso::Create(sim, i % kProcessKindCount, i % 10, 1 + i % 5,
                                 MakeColor(40 * i, 255 - 10 * i, 128));
      if (p) {
        sim.Kernel.AddProcess(std::move(p));
      }
      clock.AdvanceMs(1);
    }
  }

  ManualClock clock;
  CountingLog counting;
  NullDisplay display;
  TMessages msg;
  Simulation sim;
};

}  // namespace kelpa::bench
