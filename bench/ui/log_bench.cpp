// How many lines a second the log takes with its view attached: each line stamped, written to the
// file and appended to the shown view. Lines from a simulation thread are drained by the
// user-interface thread while they come; lines from the user-interface thread itself reach the view
// at once.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <atomic>
#include <string>
#include <thread>

#include "console/error_reporter.h"
#include "console/ui/log_window.h"
#include "core/clock.h"

namespace kelpa::bench {
namespace {

constexpr int kBatch = 2000;

class SilentReporter final : public IErrorReporter {
 public:
  void ShowError(const std::string&) override {}
};

// A line as long as a typical process event.
std::string Line(int i) {
  return "Processo " + std::to_string(1234567 + i) + " Pronto -> Exec ";
}

void BM_LogLinesFromSimulationThread(benchmark::State& state) {
  SystemClock clock;
  SilentReporter reporter;
  TfrmLog log(clock, reporter);
  log.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      for (int i = 0; i < kBatch; ++i) {
        log.AddLine(Line(i), 0x0000FF);
      }
      done = true;
    });
    while (!done) {
      QCoreApplication::processEvents();
    }
    worker.join();
    // The view takes the last lines.
    QCoreApplication::sendPostedEvents(&log, QEvent::MetaCall);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_LogLinesFromSimulationThread)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_LogLinesFromUiThread(benchmark::State& state) {
  SystemClock clock;
  SilentReporter reporter;
  TfrmLog log(clock, reporter);
  log.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) {
      log.AddLine(Line(i), 0x0000FF);
    }
    QCoreApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_LogLinesFromUiThread)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpa::bench
