// SPDX-License-Identifier: MIT
// Each iteration's time, kept so that a benchmark reports its spread as well as its middle: the
// median, the 99th percentile and the largest, in microseconds, as counters (p50_us, p99_us,
// max_us). A step that holds the simulation lock is felt by the user at its worst, not on average.
// On a shared machine the thread is now and then descheduled in the middle of a step for
// milliseconds, which alone moves the mean of a sub-microsecond step by tenths of a microsecond;
// mean_us leaves out the iterations over 100 us (no step comes near that by itself: the 99th
// percentile is under 10 us) and `preempted` counts them.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

namespace kelpa::bench {

class Latencies {
 public:
  using Clock = std::chrono::steady_clock;

  // Records the time since start as the iteration's time and as a sample.
  void Stop(benchmark::State& state, Clock::time_point start) {
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    samples_.push_back(seconds);
  }

  void Report(benchmark::State& state) {
    if (samples_.empty()) {
      return;
    }
    std::sort(samples_.begin(), samples_.end());
    const auto at = [this](double share) {
      const auto index = static_cast<std::size_t>(share * static_cast<double>(samples_.size() - 1));
      return samples_[index] * 1e6;
    };
    state.counters["p50_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = samples_.back() * 1e6;
    double sum = 0;
    std::size_t kept = 0;
    for (const double sample : samples_) {
      if (sample < kPreempted) {
        sum += sample;
        ++kept;
      }
    }
    state.counters["mean_us"] = kept > 0 ? sum / static_cast<double>(kept) * 1e6 : 0;
    state.counters["preempted"] = static_cast<double>(samples_.size() - kept);
  }

 private:
  static constexpr double kPreempted = 100e-6;
  std::vector<double> samples_;
};

}  // namespace kelpa::bench
