// SPDX-License-Identifier: MIT
// The runner's speed: simulated ticks per second of a 20-process scenario of mixed kinds at the
// program's defaults, with the trace discarded and with the trace written as csv to a file (also
// events per second). Each repetition is one whole run; median, 99th percentile and largest of
// the per-run tick rate come from the repetitions.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "exports/output_buffer.h"
#include "runner/scenario_recorder.h"
#include "runner/trace_formats.h"

namespace kelpa::bench {
namespace {

constexpr std::int64_t kTicks = 12000;

// 20 processes of all six kinds, priorities 0..9, frame limits 1..5, all there from the start.
Scenario MixedScenario() {
  Scenario s;
  s.Ticks = kTicks;
  for (int i = 0; i < 20; ++i) {
    ScenarioProcess p;
    p.Number = i + 1;
    p.Kind = i % 6;
    p.Priority = i % 10;
    p.FrameLimit = 1 + i % 5;
    p.Color = kProcessPalette[static_cast<std::size_t>(i) % kProcessPalette.size()];
    s.Processes.push_back(p);
  }
  return s;
}

// Counts the events and drops them.
class CountingTrace final : public TraceWriter {
 public:
  void Begin(const RunHeader&) override {}
  void Event(const SimEvent&, std::int64_t, std::int64_t) override { ++events; }
  void End(const RunFigures&) override {}
  std::int64_t events = 0;
};

void BM_RunnerTraceDiscarded(benchmark::State& state) {
  const Scenario scenario = MixedScenario();
  const TMessages msg;
  std::int64_t events = 0;
  for (auto _ : state) {
    CountingTrace trace;
    benchmark::DoNotOptimize(RunScenario(scenario, msg, &trace));
    events += trace.events;
  }
  state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(kTicks * state.iterations()),
                                                 benchmark::Counter::kIsRate);
  state.counters["events/s"] =
      benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RunnerTraceDiscarded)->Unit(benchmark::kMillisecond)->Repetitions(7);

void BM_RunnerCsvToFile(benchmark::State& state) {
  const Scenario scenario = MixedScenario();
  const TMessages msg;
  StatisticsCaptionTexts captions;
  const auto path = std::filesystem::temp_directory_path() / "kelpa-runner-bench.csv";
  std::int64_t bytes = 0;
  for (auto _ : state) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    {
      OutputBuffer out(file);
      WriteRun(out, TraceFormat::Csv, RunHeader{"bench", "mixed", "", false, &scenario}, scenario,
               msg, captions);
    }
    file.close();
    bytes += static_cast<std::int64_t>(std::filesystem::file_size(path));
  }
  // Rows of the file: one per event, give or take the header and statistics lines.
  std::ifstream in(path);
  std::int64_t lines = 0;
  for (std::string line; std::getline(in, line);) {
    lines += line.starts_with("#") ? 0 : 1;
  }
  std::filesystem::remove(path);
  state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(kTicks * state.iterations()),
                                                 benchmark::Counter::kIsRate);
  state.counters["events/s"] = benchmark::Counter(
      static_cast<double>((lines - 1) * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["MB/s"] =
      benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RunnerCsvToFile)->Unit(benchmark::kMillisecond)->Repetitions(7);

}  // namespace
}  // namespace kelpa::bench
