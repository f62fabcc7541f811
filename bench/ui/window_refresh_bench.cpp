// SPDX-License-Identifier: MIT
// How long each window's timed refresh takes on the user-interface thread with 20 live processes:
// the handler (snapshot under the lock, then widget updates) and the paint it leaves pending.
#include <benchmark/benchmark.h>

#include <QTableWidget>
#include <chrono>
#include <filesystem>
#include <memory>

#include "gui/language/language.h"
#include "window_bench_simulation.h"

namespace kelpa::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times `refresh` followed by the paint it leaves on `window`; between iterations the simulation
// runs on a few steps so every refresh has something new to show.
template <typename Refresh>
void TimeRefresh(benchmark::State& state, WindowBenchSimulation& b, QWidget& window,
                 Refresh refresh) {
  window.show();
  b.Step(1);
  WindowBenchSimulation::PaintPending(window);
  for (auto _ : state) {
    b.Step(5);
    WindowBenchSimulation::PaintPending(window);
    const auto start = Clock::now();
    refresh();
    WindowBenchSimulation::PaintPending(window);
    state.SetIterationTime(Seconds(start));
  }
  window.hide();
}

void BM_ProcessorWindowRefresh(benchmark::State& state) {
  WindowBenchSimulation b;
  TimeRefresh(state, b, b.gp, [&] { b.gp.Timer1Timer(); });
}
BENCHMARK(BM_ProcessorWindowRefresh)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ProcessListRefresh(benchmark::State& state) {
  WindowBenchSimulation b;
  auto* list = new TfrmAlteraProcessos(b.sim, b.pcb);
  list->setAttribute(Qt::WA_DeleteOnClose, false);
  TimeRefresh(state, b, *list, [&] { list->Timer1Timer(); });
  delete list;
}
BENCHMARK(BM_ProcessListRefresh)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MemoryWindowRefresh(benchmark::State& state) {
  WindowBenchSimulation b;
  TimeRefresh(state, b, b.memory, [&] { b.memory.Timer1Timer(); });
}
BENCHMARK(BM_MemoryWindowRefresh)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PageFileRepaint(benchmark::State& state) {
  WindowBenchSimulation b;
  TimeRefresh(state, b, b.pageFile, [&] { b.pageFile.RedrawGrid(); });
}
BENCHMARK(BM_PageFileRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_StatisticsRefresh(benchmark::State& state) {
  WindowBenchSimulation b;
  TimeRefresh(state, b, b.statistics, [&] { b.statistics.Timer1Timer(); });
}
BENCHMARK(BM_StatisticsRefresh)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The PCB window translates its captions at every refresh, reading the settings file; here the
// English translation's file, the largest a user is likely to have.
void BM_PcbWindowRefresh(benchmark::State& state) {
  const std::filesystem::path translation =
      std::filesystem::path(KELPA_SOURCE_DIR) / "examples" / "en" / "kelpa.ini";
  std::filesystem::copy_file(translation, "kelpa.ini",
                             std::filesystem::copy_options::overwrite_existing);
  {
    WindowBenchSimulation b;
    b.language.SetFileName("kelpa.ini");
    TimeRefresh(state, b, b.pcb, [&] { b.pcb.Timer1Timer(); });
  }
  std::filesystem::remove("kelpa.ini");
}
BENCHMARK(BM_PcbWindowRefresh)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelpa::bench
