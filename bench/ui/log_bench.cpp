// SPDX-License-Identifier: MIT
// The log with its view attached and shown: how many lines a second a simulation thread can log
// (each stamped and written to the file) while the user-interface thread takes them into the
// view, how fast the view itself keeps up, and the same for lines logged on the user-interface
// thread.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "gui/console/log_window.h"
#include "platform/clock.h"
#include "platform/error_reporter.h"

namespace kelpa::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBatch = 2000;

class SilentReporter final : public IErrorReporter {
 public:
  void ShowError(const std::string&) override {}
};

// A line as long as a typical process event.
std::string Line(int i) {
  return "Processo " + std::to_string(1234567 + i) + " Pronto -> Exec ";
}

struct ShownLog {
  ShownLog() : writer(clock, &reporter), log(writer) {
    log.show();
    QCoreApplication::processEvents();
  }
  SystemClock clock;
  SilentReporter reporter;
  TLogWriter writer;
  TfrmLog log;
};

// A simulation thread logs a batch while the user-interface thread drains into the view. Returns
// the seconds the logging thread took (every line in the file); `untilShown` adds the time the
// view needed to take the last line.
double LogBatchFromThread(ShownLog& shown, double& untilShown) {
  std::atomic<bool> done{false};
  double logging = 0;
  const auto start = Clock::now();
  std::thread worker([&] {
    for (int i = 0; i < kBatch; ++i) {
      shown.writer.AddLine(Line(i), 0x0000FF);
    }
    logging = std::chrono::duration<double>(Clock::now() - start).count();
    done = true;
  });
  while (!done) {
    QCoreApplication::processEvents();
  }
  worker.join();
  shown.writer.Flush();
  QCoreApplication::sendPostedEvents(&shown.log, QEvent::MetaCall);
  untilShown = std::chrono::duration<double>(Clock::now() - start).count();
  return logging;
}

void BM_LogAddLineFromSimulationThread(benchmark::State& state) {
  ShownLog shown;
  for (auto _ : state) {
    double untilShown = 0;
    state.SetIterationTime(LogBatchFromThread(shown, untilShown));
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_LogAddLineFromSimulationThread)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LogViewCatchUp(benchmark::State& state) {
  ShownLog shown;
  for (auto _ : state) {
    double untilShown = 0;
    LogBatchFromThread(shown, untilShown);
    state.SetIterationTime(untilShown);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_LogViewCatchUp)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LogAddLineFromUiThread(benchmark::State& state) {
  ShownLog shown;
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) {
      shown.writer.AddLine(Line(i), 0x0000FF);
    }
    // The view takes them once the writer has published them, at the next turn of the loop.
    shown.writer.Flush();
    QCoreApplication::sendPostedEvents(&shown.log, QEvent::MetaCall);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_LogAddLineFromUiThread)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpa::bench
