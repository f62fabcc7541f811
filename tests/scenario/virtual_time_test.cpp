// SPDX-License-Identifier: MIT
// Virtual time, checked against expectations worked out by hand from the scheduling rules.
#include <gtest/gtest.h>

#include "catalogue/messages.h"
#include "scenario/scenario_run.h"
#include "simulation/snapshots.h"
#include "support/recording_log.h"

namespace kelpa {
namespace {

constexpr double kMs = 1.0 / kMsPerDay;

// Two compute-bound processes arriving together, one-instruction slices, a 100 ms clock (one
// wait pass per tick), the first asked to end at tick 3. By the rules:
//   tick 0 (0 ms):   both created (the same instant: identifiers 0 and 1); A dispatched, runs one
//                    instruction, its slice ends;
//   tick 1 (100 ms): A charged 100 ms, back to the ready queue behind B;
//   tick 2 (200 ms): B dispatched (it waited 200 ms), runs, its slice ends;
//   tick 3 (300 ms): A's end requested; B charged 100 ms, back to the queue;
//   tick 4 (400 ms): A dispatched (it waited 300 ms) and ended: 100 ms of processor, 400 ms of
//   life.
TEST(VirtualTimeTest, SpansAndIdentifiersAreTheRulesVirtualSpans) {
  Scenario scenario;
  scenario.Options.ClockPosition = 10;
  for (int n = 1; n <= 2; ++n) {
    ScenarioProcess p;
    p.Number = n;
    p.Kind = pkCPU;
    scenario.Processes.push_back(p);
  }
  scenario.Processes[0].EndAt = 3;

  VirtualClock clock;
  test::RecordingLog log;
  NullDisplay display;
  TMessages msg;
  Simulation sim(clock, log, display, msg);
  ScenarioRun run(sim, clock, scenario);
  run.RunTo(5);

  EXPECT_EQ(run.PidOf(0), 0);
  EXPECT_EQ(run.PidOf(1), 1);
  EXPECT_EQ(clock.Ms(), 400);
  const StatisticsInputs stats = SnapshotStatistics(sim);
  EXPECT_EQ(stats.FinishedCount, 1);
  EXPECT_NEAR(stats.TotalTurnaroundTime, 400 * kMs, 1e-12);
  EXPECT_NEAR(stats.BusyTime, 200 * kMs, 1e-12);
  EXPECT_EQ(stats.DispatchCount, 3);
  EXPECT_NEAR(stats.TotalReadyWaitTime, 500 * kMs, 1e-12);
  ASSERT_NE(sim.Kernel.FindByPID(1), nullptr);
  EXPECT_NEAR(sim.Kernel.FindByPID(1)->CpuTime, 100 * kMs, 1e-12);

  const std::vector<std::string> lines = log.Texts();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Tempo de UCP: 00:00:00:100 Tempo decorrido: 00:00:00:400"),
            lines.end());
}

}  // namespace
}  // namespace kelpa
