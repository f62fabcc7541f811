// How long one processor cycle, one wait-service pass and one free-frame check hold the lock.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "bench_simulation.h"
#include "console/log_writer.h"

namespace kelpa::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// One cycle, timed alone; a pass after each keeps the waits moving so the mix stays realistic.
void RunCycles(benchmark::State& state, BenchSimulation& b) {
  {
    std::lock_guard lock(b.sim.Lock);
    b.sim.Espera.SetWaitLength(2);
    b.sim.Memoria.MinFreePercent = 0;
  }
  for (auto _ : state) {
    std::lock_guard lock(b.sim.Lock);
    const auto start = Clock::now();
    b.sim.Cpu.Cycle();
    state.SetIterationTime(Seconds(start));
    b.sim.Espera.Pass();
    b.clock.AdvanceMs(100);
  }
}

void BM_ProcessorCycle(benchmark::State& state) {
  BenchSimulation b;
  b.CreateMixed();
  RunCycles(state, b);
}
BENCHMARK(BM_ProcessorCycle)->UseManualTime();

// The same with the real log file. Written at once, every line costs the cycle a write to the
// disk under the lock; written by the log's own thread (as the log window sets it up for the
// simulation threads), only the stamp and the queueing.
void CyclesWithLogFile(benchmark::State& state, bool background) {
  const auto folder = std::filesystem::temp_directory_path() / "kelpa-bench-log";
  std::filesystem::create_directories(folder);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  {
    SystemClock clock;
    TLogWriter writer(clock, nullptr);
    if (background) {
      std::thread([&writer] { writer.WriteOtherThreadsInBackground(); }).join();
    }
    BenchSimulation b(&writer);
    b.CreateMixed();
    RunCycles(state, b);
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

void BM_ProcessorCycleWithLogFile(benchmark::State& state) {
  CyclesWithLogFile(state, false);
}
BENCHMARK(BM_ProcessorCycleWithLogFile)->UseManualTime();

void BM_ProcessorCycleWithLogFileInBackground(benchmark::State& state) {
  CyclesWithLogFile(state, true);
}
BENCHMARK(BM_ProcessorCycleWithLogFileInBackground)->UseManualTime();

void BM_WaitServicePass(benchmark::State& state) {
  BenchSimulation b;
  b.CreateMixed();
  {
    std::lock_guard lock(b.sim.Lock);
    b.sim.Espera.SetWaitLength(10);
    b.sim.Memoria.MinFreePercent = 0;
  }
  for (auto _ : state) {
    std::lock_guard lock(b.sim.Lock);
    b.sim.Cpu.Cycle();
    const auto start = Clock::now();
    b.sim.Espera.Pass();
    state.SetIterationTime(Seconds(start));
    b.clock.AdvanceMs(100);
  }
}
BENCHMARK(BM_WaitServicePass)->UseManualTime();

int SwappedOut(Simulation& sim) {
  int count = 0;
  for (const auto& p : sim.Kernel.Processes) {
    count += (p->State == psReadyOut || p->State == psIOOut || p->State == psSuspendedOut ||
              p->State == psPageFaultOut)
                 ? 1
                 : 0;
  }
  return count;
}

// A check that finds too few free frames, writes the modified list out and swaps a process out.
void BM_FreeFrameCheckFlushAndSwap(benchmark::State& state) {
  double swaps = 0;
  for (auto _ : state) {
    BenchSimulation b;
    b.CreateMixed();
    std::lock_guard lock(b.sim.Lock);
    b.sim.Memoria.MinFreePercent = 0;
    for (int i = 0; i < 200; ++i) {
      b.sim.Cpu.Cycle();
      b.sim.Espera.Pass();
    }
    b.sim.Memoria.MinFreePercent = 100;
    const int before = SwappedOut(b.sim);
    const auto start = Clock::now();
    b.sim.Memoria.CheckFreeFrames();
    state.SetIterationTime(Seconds(start));
    swaps += SwappedOut(b.sim) > before ? 1 : 0;
  }
  // The share of checks that did swap a process out (1 when the measurement is what it says).
  state.counters["swapped"] = benchmark::Counter(swaps, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FreeFrameCheckFlushAndSwap)->UseManualTime()->Iterations(2000);

}  // namespace
}  // namespace kelpa::bench

BENCHMARK_MAIN();
