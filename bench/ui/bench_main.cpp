// SPDX-License-Identifier: MIT
// Runs the window benchmarks on the offscreen platform (or the one QT_QPA_PLATFORM names: bench/run
// runs the refreshes again on an X server, where painting costs more), in a temporary folder so
// the windows' settings file and the log file of a run never touch the caller's folder.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QTemporaryDir folder;
  const auto previous = std::filesystem::current_path();
  if (folder.isValid()) {
    std::filesystem::current_path(folder.path().toStdString());
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::current_path(previous);
  return 0;
}
