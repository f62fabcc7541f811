// SPDX-License-Identifier: MIT
// The processor cycle and the wait-service pass as the program runs them: at the defaults (wait
// length 100, MinFreePercent 80), logging to the real log file through its writer thread, and
// handing display updates to the Qt display, which the user-interface thread carries out between
// steps. Each step is timed alone, with the median, 99th percentile and largest reported.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <mutex>
#include <thread>

#include "catalogue/messages.h"
#include "core/latencies.h"
#include "gui/processor/processor_window.h"
#include "gui/processor/qt_display.h"
#include "platform/clock.h"
#include "session/log_writer.h"
#include "simulation/simulation.h"

namespace kelpa::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct ProgramSimulation {
  ProgramSimulation() : writer(wallClock, nullptr), sim(clock, writer, display, msg), gp(sim) {
    // The steps below run on this thread, as the simulation threads' steps do on theirs: their
    // lines go through the log's writer thread.
    display.SetProcessorWindow(&gp);
    std::lock_guard lock(sim.Lock);
    for (int i = 0; i < 20; ++i) {
      auto p = TProcesso::Create(sim, i % kProcessKindCount, i % 10, 1 + i % 5,
                                 MakeColor(40 * i, 255 - 10 * i, 128));
      if (p) {
        sim.Kernel.AddProcess(std::move(p));
      }
      clock.AdvanceMs(1);
    }
  }

  // What the user-interface thread does between steps: the display updates and the view's lines.
  void CatchUp() {
    QCoreApplication::processEvents();
    writer.TakePending();
  }

  SystemClock wallClock;
  ManualClock clock;
  TLogWriter writer;
  QtDisplay display;
  TMessages msg;
  Simulation sim;
  TfrmGP gp;
};

// Times the cycle (or the pass) of each step; the other runs untimed, as its thread would.
void RunSteps(benchmark::State& state, bool timeCycle) {
  ProgramSimulation b;
  Latencies latencies;
  long step = 0;
  for (auto _ : state) {
    {
      std::lock_guard lock(b.sim.Lock);
      if (timeCycle) {
        const auto start = Clock::now();
        b.sim.Cpu.Cycle();
        latencies.Stop(state, start);
        b.sim.Espera.Pass();
      } else {
        b.sim.Cpu.Cycle();
        const auto passStart = Clock::now();
        b.sim.Espera.Pass();
        latencies.Stop(state, passStart);
      }
    }
    b.clock.AdvanceMs(100);
    if (++step % 64 == 0) {
      b.CatchUp();
    }
  }
  latencies.Report(state);
}

void BM_ProgramProcessorCycle(benchmark::State& state) {
  RunSteps(state, true);
}
BENCHMARK(BM_ProgramProcessorCycle)->UseManualTime()->Iterations(200000);

void BM_ProgramWaitServicePass(benchmark::State& state) {
  RunSteps(state, false);
}
BENCHMARK(BM_ProgramWaitServicePass)->UseManualTime()->Iterations(200000);

}  // namespace
}  // namespace kelpa::bench
