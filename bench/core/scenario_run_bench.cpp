// SPDX-License-Identifier: MIT
// The single-threaded scenario driver in virtual time, with the log discarded: how many simulated
// ticks a second the core makes, each with its ten wait passes at the default clock.
#include <benchmark/benchmark.h>

#include <chrono>

#include "catalogue/messages.h"
#include "core/twenty_mixed.h"
#include "scenario/scenario_run.h"

namespace kelpa::bench {
namespace {

void BM_ScenarioTicksLogDiscarded(benchmark::State& state) {
  const Scenario scenario = TwentyMixed();
  constexpr std::int64_t kTicks = 100000;
  for (auto _ : state) {
    VirtualClock clock;
    NullLog log;
    NullDisplay display;
    TMessages msg;
    Simulation sim(clock, log, display, msg);
    ScenarioRun run(sim, clock, scenario);
    const auto start = std::chrono::steady_clock::now();
    run.RunTo(kTicks);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["ticks_per_s"] =
      benchmark::Counter(static_cast<double>(kTicks) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScenarioTicksLogDiscarded)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpa::bench
