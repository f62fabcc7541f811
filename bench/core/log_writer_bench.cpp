// SPDX-License-Identifier: MIT
// What one logged line costs the thread that logs it (the processor and wait threads log while
// holding the simulation lock): stamping, the file and the queue for the view.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "session/log_writer.h"

namespace kelpa::bench {
namespace {

// Runs in a folder of its own and removes it afterwards.
class TempFolder {
 public:
  TempFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~TempFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

 private:
  std::filesystem::path path_ = std::filesystem::temp_directory_path() / "kelpa-bench-writer";
  std::filesystem::path previous_;
};

// Logs one typical line per iteration; the view's queue is emptied now and then, untimed.
void LogLines(benchmark::State& state, TLogWriter& writer) {
  int i = 0;
  for (auto _ : state) {
    writer.AddLine("Processo " + std::to_string(1234567 + (i++ % 1000)) + " Pronto -> Exec ",
                   0x0000FF);
    if (i % 1000 == 0) {
      state.PauseTiming();
      writer.TakePending();
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations());
}

// One line: stamped and queued by the thread that logs it; the log's writer thread writes it.
void BM_LogWriterLine(benchmark::State& state) {
  TempFolder folder;
  SystemClock clock;
  TLogWriter writer(clock, nullptr);
  LogLines(state, writer);
}
BENCHMARK(BM_LogWriterLine);

}  // namespace
}  // namespace kelpa::bench
