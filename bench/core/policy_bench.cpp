// SPDX-License-Identifier: MIT
// The runner under each scheduling policy and each replacement policy: one whole run of 10,000
// ticks of twelve processes, six looping over their kind's program or one of their own, six
// finite ones arriving through the run, the options otherwise at the program's defaults. The
// trace is discarded. Each iteration is one run, timed on the wall clock and on the thread's
// processor clock: the median, 99th percentile and largest of the first (p50_us, p99_us, max_us),
// the median of the second (cpu_p50_us: on a shared machine the wall clock also counts the time
// the thread waited for a core) and the tick rate at each median.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string_view>
#include <vector>

#include "core/twenty_mixed.h"
#include "runner/scenario_recorder.h"
#include "simulation/colour.h"
#include "simulation/process.h"
#include "simulation/program.h"
#include "simulation/run_options.h"

namespace kelpa::bench {
namespace {

constexpr std::int64_t kTicks = 10000;

std::vector<std::int32_t> Codes(std::string_view text) {
  return ParseProgram(text, kInstructionCount, kPagesPerProcess).Codes;
}

Scenario PolicyScenario(int scheduler, int replacement) {
  Scenario s;
  s.Ticks = kTicks;
  s.Options.Scheduler = scheduler;
  s.Options.Replacement = replacement;
  // Programs that reach over every page, so that a frame limit under five replaces pages.
  constexpr std::string_view kOwn[] = {
      "C*3, L1, G2, E1, C*4, L3, L4, C*2, E2, L2*3, C*5",
      "L4, L3, L2, L1, C*6, G3, E3, C*8, L0, L4",
      "C*12, E1, C*12, L2, G4, C*9",
  };
  for (int i = 0; i < 12; ++i) {
    ScenarioProcess p = MixedProcess(i);
    if (i >= 3 && i < 6) {
      p.Program = {Codes(kOwn[i - 3]), true};
    } else if (i >= 6) {
      p.Program = {Codes(kOwn[i % 3]), false};
      p.Arrival = (i - 6) * kTicks / 6;
    }
    s.Processes.push_back(p);
  }
  return s;
}

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The sample at a share of the sorted samples, in microseconds.
double At(const std::vector<double>& sorted, double share) {
  return sorted[static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1))] * 1e6;
}

void BM_RunnerPolicy(benchmark::State& state) {
  const Scenario scenario =
      PolicyScenario(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const TMessages msg;
  std::vector<double> wall;
  std::vector<double> cpu;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadSeconds();
    benchmark::DoNotOptimize(RunScenario(scenario, msg, nullptr));
    cpu.push_back(ThreadSeconds() - cpuStart);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    wall.push_back(seconds);
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  state.counters["p50_us"] = At(wall, 0.5);
  state.counters["p99_us"] = At(wall, 0.99);
  state.counters["max_us"] = wall.back() * 1e6;
  state.counters["cpu_p50_us"] = At(cpu, 0.5);
  state.counters["Mticks_per_s"] = static_cast<double>(kTicks) / At(wall, 0.5);
  state.counters["cpu_Mticks_per_s"] = static_cast<double>(kTicks) / At(cpu, 0.5);
  state.SetLabel(std::string(kSchedulerNames[state.range(0)]) + " " +
                 std::string(kReplacementNames[state.range(1)]));
}
// Each scheduling policy under FIFO replacement, then each replacement policy under the priority
// kernel.
BENCHMARK(BM_RunnerPolicy)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0}})
    ->ArgsProduct({{0}, {1, 2, 3}})
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelpa::bench
