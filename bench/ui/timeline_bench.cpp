// SPDX-License-Identifier: MIT
// How long the timeline window's paint takes with 20 processes: a window of 1000 x 600 pixels
// drawn from a timeline of 1,000 or 100,000 ticks, fitted (every tick in view, the worst case:
// many spans fall in each pixel column) and at the default zoom following the newest tick.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdint>

#include "core/latencies.h"
#include "gui/timeline/qt_canvas.h"
#include "timeline/timeline_picture.h"

namespace kelpa::bench {
namespace {

constexpr int kProcesses = 20;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;

// A busy run: each process changes state every few ticks, one of them holds the processor.
TimelineModel BusyTimeline(std::int64_t ticks) {
  TimelineModel model;
  for (int p = 0; p < kProcesses; ++p) {
    SimEvent created;
    created.Kind = EventKind::Created;
    created.Pid = p;
    created.Color = kProcessPalette[std::size_t(p) % kProcessPalette.size()];
    created.To = psReady;
    model.Report(created, 0);
  }
  constexpr ProcessState kCycle[] = {psReady,     psRunning,  psIO,    psReady,
                                     psPageFault, psReadyOut, psIOOut, psSuspended};
  std::uint32_t seed = 12345;
  std::vector<int> at(kProcesses, 0);
  for (std::int64_t t = 0; t < ticks; ++t) {
    for (int p = 0; p < kProcesses; ++p) {
      seed = seed * 1664525u + 1013904223u;
      if ((seed >> 24) % 6 == 0) {
        SimEvent change;
        change.Kind = EventKind::StateChanged;
        change.Pid = p;
        at[std::size_t(p)] = (at[std::size_t(p)] + 1) % 8;
        change.To = kCycle[at[std::size_t(p)]];
        model.Report(change, t * 100);
        if ((seed >> 16) % 4 == 0) {
          SimEvent mark = change;
          mark.Kind = EventKind::SliceEnded;
          model.Report(mark, t * 100);
        }
      }
    }
    TickSample sample;
    sample.Processor = ProcessorUse::Process;
    sample.ProcessorPid = std::int32_t(t / 3 % kProcesses);
    sample.ProcessorColor = kProcessPalette[std::size_t(sample.ProcessorPid) % 10];
    sample.DevicePid = std::int32_t(t / 10 % kProcesses);
    model.EndTick(sample);
  }
  return model;
}

void TimePaint(benchmark::State& state, std::int64_t ticks, bool fitted) {
  const TimelineModel model = BusyTimeline(ticks);
  const TimelineTexts texts = TimelineTextsFrom(TMessages());
  TimelineFrame frame;
  const double room = kWidth - TimelineLayout::kLabelWidth - TimelineLayout::kMargin;
  frame.TickWidth = fitted ? room / double(ticks) : 4;
  frame.Last = ticks - 1;
  frame.First = fitted ? 0 : ticks - std::int64_t(room / 4);
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  Latencies latencies;
  for (auto _ : state) {
    const auto start = Latencies::Clock::now();
    QPainter painter(&window);
    painter.fillRect(window.rect(), Qt::white);
    QtCanvas canvas(painter);
    DrawTimeline(model, frame, texts, canvas);
    painter.end();
    latencies.Stop(state, start);
  }
  latencies.Report(state);
}

// One name each: the results table reads them by name.
void BM_TimelinePaintFitted1k(benchmark::State& state) {
  TimePaint(state, 1000, true);
}
void BM_TimelinePaintFitted100k(benchmark::State& state) {
  TimePaint(state, 100000, true);
}
void BM_TimelinePaintNewest1k(benchmark::State& state) {
  TimePaint(state, 1000, false);
}
void BM_TimelinePaintNewest100k(benchmark::State& state) {
  TimePaint(state, 100000, false);
}
BENCHMARK(BM_TimelinePaintFitted1k)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimelinePaintFitted100k)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimelinePaintNewest1k)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimelinePaintNewest100k)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpa::bench
