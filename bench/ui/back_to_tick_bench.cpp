// SPDX-License-Identifier: MIT
// "Voltar" one tick at a late tick, in the whole program on the offscreen platform: a scenario of
// 20 processes that never end (swapping all the time) run to tick 1,000, 10,000 or 100,000, then
// taken back one tick again and again. Two figures per length: the replay (the call that goes
// back), and from its end until the windows have caught up, every queued call carried out and
// every pending paint done (the time the windows do not answer beyond the replay). And, for
// comparison, "Ir para o tick" from tick 0 on to the last, unseen, until the windows have caught
// up.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "app/qt_shell.h"
#include "core/latencies.h"
#include "gui/console/scenario_controls.h"
#include "simulation/snapshots.h"

namespace kelpa::bench {
namespace {

using Clock = std::chrono::steady_clock;

const char* const kKinds[] = {"CPU", "IO_1", "IO_2", "IO_3", "MIX_1", "MIX_2"};

// 20 processes of every kind at the program's memory defaults, with swapping.
std::string BusyScenario(std::int64_t ticks) {
  std::string text = "[CENARIO]\nFORMATO=1\nTITULO=Voltar\nTICKS=" + std::to_string(ticks) +
                     "\n\n[GLOBAL]\nRELOGIO=10\nESPERA_IO=3\nFATIA=2\n\n[MEMORIA]\nMIN_LIVRES=85\n";
  for (int i = 0; i < 20; ++i) {
    text += "\n[PROCESSO " + std::to_string(i + 1) + "]\nTIPO=" + kKinds[i % 6] +
            "\nPRIORIDADE=" + std::to_string(i % 10) + "\nFRAMES=" + std::to_string(1 + i % 5) +
            "\nCHEGADA=" + std::to_string(i) + "\n";
  }
  return text;
}

// Carries out everything the user-interface thread has queued, paints included.
void UntilIdle() {
  bool reached = false;
  while (!reached) {
    QMetaObject::invokeMethod(
        qApp, [&reached] { reached = true; }, Qt::QueuedConnection);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  QCoreApplication::sendPostedEvents();
}

struct Program {
  explicit Program(std::int64_t ticks) {
    TConsoleHooks hooks;
    hooks.SplashMs = 0;
    hooks.ShowMessage = [](const QString&) {};
    hooks.Beep = [] {};
    shell = std::make_unique<QtShell>(std::move(hooks));
    shell->Console().FormCreate();
    shell->Console().CreateProcessWindows();
    const std::string file = "voltar-" + std::to_string(ticks) + ".ini";
    std::ofstream(file) << BusyScenario(ticks);
    Controls().Open(QString::fromStdString(file));
    Controls().SetPlaying(false);
    Controls().GoTo(QString::number(ticks));
    UntilIdle();
  }
  TScenarioControls& Controls() { return shell->Console().ScenarioControls(); }
  // Whether the scenario was opened and run to its end; the processes alive there, as a counter.
  bool Ready(benchmark::State& state, std::int64_t ticks) {
    state.counters["processes"] = SnapshotProcessCount(shell->Console().Sim());
    if (!Controls().VirtualTime() || Controls().Tick() != ticks) {
      state.SkipWithError("the scenario did not run to its end");
      return false;
    }
    return true;
  }

  std::unique_ptr<QtShell> shell;
};

// Times the replay (replay true) or the catching up after it.
void BackOneTick(benchmark::State& state, bool replay) {
  const std::int64_t ticks = state.range(0);
  Program program(ticks);
  if (!program.Ready(state, ticks)) {
    return;
  }
  Latencies latencies;
  for (auto _ : state) {
    const auto start = Clock::now();
    program.Controls().BackTo(ticks - 1);
    if (replay) {
      latencies.Stop(state, start);
    }
    const auto caughtUpFrom = Clock::now();
    UntilIdle();
    if (!replay) {
      latencies.Stop(state, caughtUpFrom);
    }
    // On again, unseen, for the next iteration.
    program.Controls().GoTo(QString::number(ticks));
    UntilIdle();
  }
  latencies.Report(state);
}

// From tick 0 on to the last, unseen, and until the windows have caught up.
void BM_GoToLastTick(benchmark::State& state) {
  const std::int64_t ticks = state.range(0);
  Program program(ticks);
  if (!program.Ready(state, ticks)) {
    return;
  }
  Latencies latencies;
  for (auto _ : state) {
    program.Controls().BackTo(0);
    UntilIdle();
    const auto start = Clock::now();
    program.Controls().GoTo(QString::number(ticks));
    UntilIdle();
    latencies.Stop(state, start);
  }
  latencies.Report(state);
}

// One name each: the results table reads them by name. Fewer iterations for the longer runs.
void BM_BackOneTickReplay(benchmark::State& state) {
  BackOneTick(state, true);
}
void BM_BackOneTickUntilIdle(benchmark::State& state) {
  BackOneTick(state, false);
}
#define KELPA_JUMP_BENCHMARK(name)                                                             \
  BENCHMARK(name)->Arg(1000)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);  \
  BENCHMARK(name)->Arg(10000)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond); \
  BENCHMARK(name)->Arg(100000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond)
KELPA_JUMP_BENCHMARK(BM_BackOneTickReplay);
KELPA_JUMP_BENCHMARK(BM_BackOneTickUntilIdle);
KELPA_JUMP_BENCHMARK(BM_GoToLastTick);

}  // namespace
}  // namespace kelpa::bench
