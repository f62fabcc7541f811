// SPDX-License-Identifier: MIT
// A whole simulation on a manual clock with a recording log and display; nothing runs by itself.
// Tests drive it cycle by cycle (Cpu.Cycle) and pass by pass (Espera.Pass), holding the lock as
// the threads would.
#pragma once

#include <memory>
#include <mutex>

#include "catalogue/messages.h"
#include "simulation/simulation.h"
#include "support/recording_display.h"
#include "support/recording_log.h"

namespace kelpa::test {

// Takes the simulation lock unless this thread already holds it (a test that calls the kernel
// directly holds it for its whole body, as a window holds it for one action).
class HoldLock {
 public:
  explicit HoldLock(SimLock& lock) : lock_(lock), taken_(!lock.HeldByThisThread()) {
    if (taken_) {
      lock_.lock();
    }
  }
  ~HoldLock() {
    if (taken_) {
      lock_.unlock();
    }
  }
  HoldLock(const HoldLock&) = delete;
  HoldLock& operator=(const HoldLock&) = delete;

 private:
  SimLock& lock_;
  bool taken_;
};

class TestSimulation {
 public:
  TestSimulation() : sim(clock, log, display, messages) {}

  // Creates a process and hands it to the kernel, as the creation window does; null when refused.
  TProcesso* Create(int kind, int priority = 0, int frameLimit = 5, TColor color = 0x00FF00) {
    const HoldLock lock(sim.Lock);
    auto process = TProcesso::Create(sim, kind, priority, frameLimit, color);
    TProcesso* raw = process.get();
    if (process) {
      sim.Kernel.AddProcess(std::move(process));
    }
    clock.AdvanceMs(1);
    return raw;
  }
  void Cycle(int count = 1) {
    for (int i = 0; i < count; ++i) {
      const HoldLock lock(sim.Lock);
      sim.Cpu.Cycle();
      clock.AdvanceMs(10);
    }
  }
  void Pass(int count = 1) {
    for (int i = 0; i < count; ++i) {
      const HoldLock lock(sim.Lock);
      sim.Espera.Pass();
      clock.AdvanceMs(10);
    }
  }

  ManualClock clock;
  RecordingLog log;
  RecordingDisplay display;
  TMessages messages;
  Simulation sim;
};

}  // namespace kelpa::test
