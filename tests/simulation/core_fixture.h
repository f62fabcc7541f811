// SPDX-License-Identifier: MIT
// A simulation driven by hand for the core's tests, with helpers that read the log since a mark
// and build the expected whole lines.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "support/test_simulation.h"

namespace kelpa::test {

class CoreTest : public ::testing::Test {
 protected:
  CoreTest() {
    // Minute 12, second 34: the first identifier is 1234500.
    t.clock.Set({2026, 12, 7, 9, 12, 34, 500});
    // Keep the memory manager quiet: no swapping however many processes a test creates.
    sim.Memoria.MinFreePercent = 0;
  }

  TProcesso* Create(int kind, int priority, TColor color = 0x00FF00) {
    return t.Create(kind, priority, 5, color);
  }

  // A process record the kernel owns but that no memory manager has seen.
  TProcesso* Bare(ProcessState state, int priority = 0) {
    auto p = std::make_unique<TProcesso>();
    p->PID = static_cast<std::int32_t>(sim.Kernel.Processes.size()) + 1;
    p->State = state;
    p->Priority = p->BasePriority = priority;
    p->Shape = sim.NextShapeId();
    TProcesso* raw = p.get();
    sim.Kernel.Processes.push_back(std::move(p));
    return raw;
  }

  void Mark() { mark_ = t.log.Size(); }
  // The lines logged since the last mark; moves the mark.
  std::vector<std::string> NewLines() {
    const std::vector<std::string> all = t.log.Texts();
    std::vector<std::string> lines(all.begin() + static_cast<long>(mark_), all.end());
    mark_ = all.size();
    return lines;
  }

  static std::string Line(const TProcesso* p, const std::string& event) {
    return "Processo " + std::to_string(p->PID) + event;
  }

  TestSimulation t;
  Simulation& sim = t.sim;
  // The test body calls the kernel, the wait service and the processor directly, as the threads
  // and windows do: with the lock held.
  std::unique_lock<SimLock> held_{sim.Lock};

 private:
  std::size_t mark_ = 0;
};

using Lines = std::vector<std::string>;

}  // namespace kelpa::test
