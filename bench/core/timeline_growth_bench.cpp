// SPDX-License-Identifier: MIT
// What the program's timeline holds over a long class: 20 processes run for 300,000 ticks (eight
// hours and twenty minutes at the fastest clock, 100 ms), the timeline filled from the events
// and a sample at every tick's end as the window fills it, keeping the newest kLiveTicksKept
// ticks or every tick. Reported: what the heap grew by over the run (heap_mb: the 20 processes
// and the timeline; the run is longer than an eight-hour day), its growth once the kept ticks
// were full (after_full_mb: none is expected), the bytes per tick while they fill, and the time
// of a tick's end (median, 99th percentile and largest, in microseconds).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "catalogue/messages.h"
#include "core/twenty_mixed.h"
#include "scenario/scenario_run.h"
#include "timeline/timeline_recorder.h"

namespace kelpa::bench {
namespace {

// Hands every event to the recorder, timing its handling of each tick's end.
class TimedTickEnds final : public IEventSink {
 public:
  TimedTickEnds(IEventSink& recorder, std::function<void(double us)> ended)
      : recorder_(recorder), ended_(std::move(ended)) {}
  void Report(const SimEvent& event) override {
    const auto start = std::chrono::steady_clock::now();
    recorder_.Report(event);
    if (event.Kind == EventKind::TickEnded) {
      ended_(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                 .count());
    }
  }

 private:
  IEventSink& recorder_;
  std::function<void(double us)> ended_;
};

constexpr std::int64_t kTicks = 300'000;

Scenario Workload() {
  Scenario s = TwentyMixed();
  s.Ticks = kTicks;
  return s;
}

double HeapBytes() {
  return static_cast<double>(mallinfo2().uordblks);
}

void TimelineGrowth(benchmark::State& state, std::int64_t kept) {
  const Scenario scenario = Workload();
  for (auto _ : state) {
    VirtualClock clock;
    NullLog log;
    NullDisplay display;
    TMessages msg;
    Simulation sim(clock, log, display, msg);
    ScenarioRun run(sim, clock, scenario);
    std::vector<double> ends;
    ends.reserve(kTicks);
    // Before the first tick: the processes are created in it.
    const double base = HeapBytes();
    TimelineModel model(TimelineEvents::Kept, kept);
    TimelineRecorder recorder(sim, model, [&clock] { return clock.Ms(); });
    double atFull = 0;
    std::int64_t tick = 0;
    TimedTickEnds timed(recorder, [&](double us) {
      ends.push_back(us);
      if (++tick == std::min(kept, kTicks)) {
        atFull = HeapBytes();
      }
    });
    sim.SetEvents(&timed);
    const auto start = std::chrono::steady_clock::now();
    run.RunTo(kTicks);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const double end = HeapBytes();
    state.counters["heap_mb"] = (end - base) / 1e6;
    state.counters["after_full_mb"] = (end - atFull) / 1e6;
    state.counters["bytes_per_tick"] =
        (atFull - base) / static_cast<double>(std::min(kept, kTicks) - 1);
    std::sort(ends.begin(), ends.end());
    state.counters["p50_us"] = ends[ends.size() / 2];
    state.counters["p99_us"] = ends[ends.size() * 99 / 100];
    state.counters["max_us"] = ends.back();
  }
}

void BM_TimelineGrowthNewestKept(benchmark::State& state) {
  TimelineGrowth(state, kLiveTicksKept);
}
void BM_TimelineGrowthEveryTick(benchmark::State& state) {
  TimelineGrowth(state, kAllTicks);
}
BENCHMARK(BM_TimelineGrowthNewestKept)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_TimelineGrowthEveryTick)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace kelpa::bench
