// SPDX-License-Identifier: MIT
// How long one processor cycle, one wait-service pass and one free-frame check hold the lock, at
// the program's defaults (wait length 100, MinFreePercent 80: processes are swapped out and in
// all the time with 20 of them), with the median, 99th percentile and largest of the iterations.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "bench_simulation.h"
#include "latencies.h"
#include "session/log_writer.h"

namespace kelpa::bench {
namespace {

using Clock = std::chrono::steady_clock;

// One cycle, timed alone; a pass after each keeps the waits moving so the mix stays realistic.
void RunCycles(benchmark::State& state, BenchSimulation& b) {
  Latencies latencies;
  for (auto _ : state) {
    std::lock_guard lock(b.sim.Lock);
    const auto start = Clock::now();
    b.sim.Cpu.Cycle();
    latencies.Stop(state, start);
    b.sim.Espera.Pass();
    b.clock.AdvanceMs(100);
  }
  latencies.Report(state);
}

void BM_ProcessorCycle(benchmark::State& state) {
  BenchSimulation b;
  b.CreateMixed();
  RunCycles(state, b);
}
BENCHMARK(BM_ProcessorCycle)->UseManualTime();

// The same with the real log file: a line costs the cycle only its stamp and its queueing, since
// the log's own thread writes the file.
void BM_ProcessorCycleWithLogFile(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "kelpa-bench-log";
  std::filesystem::create_directories(folder);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  {
    SystemClock clock;
    TLogWriter writer(clock, nullptr);
    BenchSimulation b(&writer);
    b.CreateMixed();
    RunCycles(state, b);
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ProcessorCycleWithLogFile)->UseManualTime();

void BM_WaitServicePass(benchmark::State& state) {
  BenchSimulation b;
  b.CreateMixed();
  Latencies latencies;
  for (auto _ : state) {
    std::lock_guard lock(b.sim.Lock);
    b.sim.Cpu.Cycle();
    const auto start = Clock::now();
    b.sim.Espera.Pass();
    latencies.Stop(state, start);
    b.clock.AdvanceMs(100);
  }
  latencies.Report(state);
}
BENCHMARK(BM_WaitServicePass)->UseManualTime();

int SwappedOut(Simulation& sim) {
  int count = 0;
  for (const auto& p : sim.Kernel.Processes) {
    count += IsSwappedOut(p->State) ? 1 : 0;
  }
  return count;
}

// Puts the oldest resident page of every process on the modified-page list, as a write followed
// by its replacement under the frame limit would.
void ReplaceWrittenPages(Simulation& sim) {
  for (const auto& p : sim.Kernel.Processes) {
    if (p->Frames.empty()) {
      continue;
    }
    TPageEntry& oldest = p->PageTable[p->Frames.front()];
    oldest.Modified = true;
    sim.Memoria.MarkModified(oldest.Frame);
    const std::int32_t limit = p->FrameLimit;
    p->FrameLimit = static_cast<std::int32_t>(p->Frames.size());
    sim.Memoria.EnforceFrameLimit(p.get());
    p->FrameLimit = limit;
  }
}

// A check that finds too few free frames, writes the modified list out and swaps a process out.
void BM_FreeFrameCheckFlushAndSwap(benchmark::State& state) {
  double swaps = 0;
  double flushed = 0;
  Latencies latencies;
  for (auto _ : state) {
    BenchSimulation b;
    b.CreateMixed();
    std::lock_guard lock(b.sim.Lock);
    // Processes in memory to choose from: at 80 % the setup itself would have swapped them all
    // out, and the check would find nobody left to swap.
    b.sim.Memoria.MinFreePercent = 0;
    for (int i = 0; i < 200; ++i) {
      b.sim.Cpu.Cycle();
      b.sim.Espera.Pass();
    }
    ReplaceWrittenPages(b.sim);
    b.sim.Memoria.MinFreePercent = 100;
    const int before = SwappedOut(b.sim);
    const int modified = b.sim.Memoria.ModifiedPageCount();
    const auto start = Clock::now();
    b.sim.Memoria.CheckFreeFrames();
    latencies.Stop(state, start);
    swaps += SwappedOut(b.sim) > before ? 1 : 0;
    flushed += modified > 0 && b.sim.Memoria.ModifiedPageCount() == 0 ? modified : 0;
  }
  latencies.Report(state);
  // The share of checks that swapped a process out (1 when the measurement is what it says) and
  // the pages each wrote to the page file.
  state.counters["swapped"] = benchmark::Counter(swaps, benchmark::Counter::kAvgIterations);
  state.counters["flushed"] = benchmark::Counter(flushed, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FreeFrameCheckFlushAndSwap)->UseManualTime()->Iterations(2000);

}  // namespace
}  // namespace kelpa::bench

BENCHMARK_MAIN();
