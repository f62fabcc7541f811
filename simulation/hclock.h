// SPDX-License-Identifier: MIT
// The clock thread: sets the tick event once per period. It sleeps to deadlines (previous tick +
// Period), so the tick rate does not drift, and ignores the run/stop event. While it rests (no
// process exists) it sets no tick and does not wake at all.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "simulation/sim_thread.h"

namespace kelpa {

class TEvent;

class THClock {
 public:
  explicit THClock(TEvent& clockEvent);
  ~THClock();
  THClock(const THClock&) = delete;
  THClock& operator=(const THClock&) = delete;

  // Milliseconds between ticks: 1000 at creation, 100..1000 from the processor window. Tests may
  // set it lower (down to 0 for back-to-back ticks).
  std::atomic<int> Period{1000};
  // Called on the clock thread at every tick (tests and benchmarks record tick times with it).
  // Set before Start.
  std::function<void(std::chrono::steady_clock::time_point)> OnTick;

  void Start();
  void RequestTerminate();
  void Join();
  // Wakes the clock so a shortened period takes effect at once.
  void PeriodChanged();
  // Stops the ticks until Resume: an empty simulation has nothing to run, and an idle program
  // should not wake the processor once a period.
  void Rest();
  // Ends a rest; the first tick comes one period later. Does nothing while not resting.
  void Resume();
  bool Resting() const { return resting_.load(); }

 private:
  void Run();

  TEvent& clockEvent_;
  std::atomic<bool> resting_{false};
  TSimThread thread_;
};

}  // namespace kelpa
