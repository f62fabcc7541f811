// What one logged line costs the thread that logs it (the processor and wait threads log while
// holding the simulation lock): stamping, the file and the queue for the view.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "console/log_writer.h"
#include "core/clock.h"

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

void BM_LogWriterLine(benchmark::State& state) {
  TempFolder folder;
  SystemClock clock;
  TLogWriter writer(clock, nullptr);
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
BENCHMARK(BM_LogWriterLine);

}  // namespace
}  // namespace kelpa::bench
