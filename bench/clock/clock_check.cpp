// SPDX-License-Identifier: MIT
// Checks the clock thread's timekeeping: runs THClock at a period of 100 ms for a while (60 s by
// default), records the steady time of every tick through its OnTick knob, and prints the tick
// count against the expected one, the drift of the last tick from its schedule, and the
// 50th/99th percentile and largest error of the tick intervals.
// Usage: kelpa_clock_check [seconds] [period_ms]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "simulation/event.h"
#include "simulation/hclock.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::ceil(fraction * values.size())) - 1;
  return values[std::min(index, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  const int periodMs = argc > 2 ? std::atoi(argv[2]) : 100;
  if (seconds <= 0 || periodMs <= 0) {
    std::fprintf(stderr, "usage: %s [seconds] [period_ms]\n", argv[0]);
    return 2;
  }

  kelpa::TEvent tick(false, false);
  kelpa::THClock clock(tick);
  clock.Period = periodMs;
  std::mutex mutex;
  std::vector<Clock::time_point> ticks;
  ticks.reserve(static_cast<std::size_t>(seconds) * 1000 / periodMs + 16);
  clock.OnTick = [&](Clock::time_point) {
    const auto now = Clock::now();
    std::lock_guard lock(mutex);
    ticks.push_back(now);
  };
  clock.Start();
  std::this_thread::sleep_for(std::chrono::seconds(seconds) +
                              std::chrono::milliseconds(periodMs / 2));
  clock.RequestTerminate();
  clock.Join();

  std::lock_guard lock(mutex);
  if (ticks.size() < 2) {
    std::printf("ticks=%zu\n", ticks.size());
    return 1;
  }
  const auto first = ticks.front();
  const auto window = std::chrono::seconds(seconds);
  const auto inWindow = static_cast<long>(
      std::count_if(ticks.begin(), ticks.end(), [&](auto t) { return t - first < window; }));
  const auto period = std::chrono::milliseconds(periodMs);
  std::vector<double> errors;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    errors.push_back(std::abs(Ms(ticks[i] - ticks[i - 1] - period)));
  }
  // How far the last tick lies from where a perfect clock started with the first would put it.
  const auto last = ticks.size() - 1;
  const double drift = Ms(ticks[last] - first - period * static_cast<long>(last));
  std::printf(
      "ticks=%ld expected=%ld drift_ms=%.3f p50_error_ms=%.3f p99_error_ms=%.3f "
      "max_error_ms=%.3f\n",
      inWindow, static_cast<long>(seconds) * 1000 / periodMs, drift, Percentile(errors, 0.50),
      Percentile(errors, 0.99), *std::max_element(errors.begin(), errors.end()));
  return 0;
}
