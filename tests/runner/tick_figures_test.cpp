// SPDX-License-Identifier: MIT
// Each process's life in ticks: a run worked out by hand, in every format, and properties of
// every shipped lesson.
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <sstream>
#include <string>

#include "golden_file.h"
#include "runner/command_line.h"
#include "runner/scenario_recorder.h"
#include "scenario/scenario_reader.h"

namespace kelpa {
namespace {

std::string RunIn(const std::string& folder, const std::vector<std::string>& args) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunRunner(args, out, err);
  std::filesystem::current_path(previous);
  EXPECT_EQ(status, 0) << err.str();
  return out.str();
}

RunFigures RunFile(const std::string& path) {
  const TMessages msg;
  const ScenarioReading reading = ReadScenarioFile(path, msg);
  EXPECT_TRUE(reading.Value) << path;
  return reading.Value ? RunScenario(*reading.Value, msg, nullptr) : RunFigures{};
}

// ticks-worked.ini by hand. One pass per tick; the anticipated fetch loads every page at the
// creation, so no reference faults; a compute instruction is one reference, the write (the
// second instruction) two.
//   t0  P1 arrives and is dispatched: runs instruction 0            P1 RUN
//   t1  P1 runs the write                                           P1 RUN
//   t2  P2 (7) arrives; P1 runs instruction 2 and the higher
//       priority raises a preemption                                 P1 RUN, P2 RDY
//   t3  the processor serves the preemption                          P1 RDY, P2 RDY
//   t4  P3 (3) arrives; P2 is dispatched and runs instruction 0      P1 RDY, P2 RUN, P3 RDY
//   t5  P2 was asked to end: it ends as it comes to its next step    P1 RDY, P3 RDY
//   t6  P1 was asked to end: dispatched, it ends                     P3 RDY
//   t7..t11 P3 runs instructions 0 to 4                              P3 RUN
//
//        arrival first end cpu turnaround waiting response references faults
//   P1      0      0    6   3      6         3       0         4        0
//   P2      2      4    5   1      3         2       2         1        0
//   P3      4      7    -   5      -         3       3         6        0
// Means of the ended: cpu 2, turnaround 4.5, waiting 2.5, response 1; 11 references in all.
TEST(TickFigures, ARunWorkedOutByHand) {
  struct Row {
    std::int64_t Arrival, FirstRun;
    std::optional<std::int64_t> End;
    std::int64_t Cpu;
    std::optional<std::int64_t> Turnaround;
    std::int64_t Waiting, Response, References;
  };
  const Row expected[] = {{0, 0, 6, 3, 6, 3, 0, 4},
                          {2, 4, 5, 1, 3, 2, 2, 1},
                          {4, 7, std::nullopt, 5, std::nullopt, 3, 3, 6}};
  const RunFigures run = RunFile(std::string(KELPA_GOLDEN_DIR) + "/ticks-worked.ini");
  ASSERT_EQ(run.Processes.size(), 3u);
  std::vector<const ProcessTicks*> all;
  for (std::size_t i = 0; i < 3; ++i) {
    const ProcessFigures& f = run.Processes[i];
    const Row& e = expected[i];
    all.push_back(&f);
    EXPECT_EQ(f.Arrival, e.Arrival) << i;
    EXPECT_EQ(f.FirstRun, e.FirstRun) << i;
    EXPECT_EQ(f.End, e.End) << i;
    EXPECT_EQ(CpuTicks(f), e.Cpu) << i;
    EXPECT_EQ(TurnaroundTicks(f), e.Turnaround) << i;
    EXPECT_EQ(WaitingTicks(f), e.Waiting) << i;
    EXPECT_EQ(ResponseTicks(f), e.Response) << i;
    EXPECT_EQ(f.References, e.References) << i;
    EXPECT_EQ(f.Faults, 0) << i;
  }
  const TickSummary s = SummariseTicks(all);
  EXPECT_EQ(s.Ended, 2);
  EXPECT_EQ(s.CpuTicks, 2.0);
  EXPECT_EQ(s.Turnaround, 4.5);
  EXPECT_EQ(s.Waiting, 2.5);
  EXPECT_EQ(s.Response, 1.0);
  EXPECT_EQ(s.References, 11);
  EXPECT_EQ(s.HitRatio, 1.0);
  // The same numbers in every format.
  for (const char* format : {"text", "csv", "json"}) {
    const std::string extension = format == std::string("text") ? "txt" : format;
    test::CompareWithGolden(
        "ticks-worked." + extension,
        RunIn(KELPA_GOLDEN_DIR, {"--run", "ticks-worked.ini", "--format", format}));
  }
}

// Every tick of a process's life counts in one state, and the summary is the mean of the rows.
TEST(TickFigures, EveryLessonAddsUp) {
  int lessons = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KELPA_LESSONS_DIR)) {
    const std::string lesson = entry.path().filename().string();
    const TMessages msg;
    const ScenarioReading reading = ReadScenarioFile(entry.path().string(), msg);
    ASSERT_TRUE(reading.Value) << lesson;
    ++lessons;
    const RunFigures run = RunScenario(*reading.Value, msg, nullptr);
    std::vector<const ProcessTicks*> all;
    std::int64_t ended = 0, turnaround = 0, waiting = 0, faults = 0;
    for (const ProcessFigures& f : run.Processes) {
      all.push_back(&f);
      faults += f.Faults;
      if (!f.Created) {
        continue;
      }
      const std::int64_t life = f.End.value_or(reading.Value->Ticks) - f.Arrival;
      EXPECT_EQ(std::accumulate(f.TicksIn.begin(), f.TicksIn.end(), std::int64_t{0}), life)
          << lesson << " process " << f.Number;
      EXPECT_EQ(f.TurnaroundMs.has_value(), f.End.has_value()) << lesson;
      if (f.FirstRun) {
        EXPECT_GE(*f.FirstRun, f.Arrival) << lesson;
        EXPECT_LE(*f.FirstRun, f.End.value_or(reading.Value->Ticks)) << lesson;
      }
      if (f.End) {
        ++ended;
        turnaround += *TurnaroundTicks(f);
        waiting += WaitingTicks(f);
        // Processor time is the ticks ended running, at the lesson's clock period.
        EXPECT_EQ(f.CpuMs, CpuTicks(f) * reading.Value->ClockPeriodMs()) << lesson;
      }
    }
    // The faults of references are some of those the statistics count.
    EXPECT_LE(faults, run.Statistics.PageFaults) << lesson;
    const TickSummary s = SummariseTicks(all);
    EXPECT_EQ(s.Ended, ended) << lesson;
    if (ended > 0) {
      EXPECT_DOUBLE_EQ(*s.Turnaround, static_cast<double>(turnaround) / ended) << lesson;
      EXPECT_DOUBLE_EQ(*s.Waiting, static_cast<double>(waiting) / ended) << lesson;
    }
    EXPECT_EQ(s.Faults, faults) << lesson;
  }
  EXPECT_GE(lessons, 5);
}

}  // namespace
}  // namespace kelpa
