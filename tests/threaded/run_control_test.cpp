// SPDX-License-Identifier: MIT
// The real clock, processor and wait threads under the run/stop event: a stopped run holds every
// cycle and pass, resuming runs one cycle at once, and shutdown always joins the three threads.
// Ticks are let through one batch at a time (the clock idles on a long period in between), and
// every wait is bounded, so nothing here depends on how fast the machine is.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "support/eventually.h"
#include "support/test_simulation.h"

namespace kelpa::test {
namespace {

constexpr int kIdlePeriodMs = 600000;

class RunControlTest : public ::testing::Test {
 protected:
  RunControlTest() {
    sim.HClock.Period = kIdlePeriodMs;
    // After the allowed number of ticks the clock idles; the next deadline is computed after this
    // returns, so it reads the long period.
    sim.HClock.OnTick = [this](std::chrono::steady_clock::time_point) {
      std::lock_guard lock(tickMutex_);
      if (++ticks_ >= allowed_) {
        sim.HClock.Period = kIdlePeriodMs;
      }
    };
    sim.Espera.SleepMs = 1;
    t.Create(pkCPU, 0);
    KeepWaitServicePassing();
  }
  ~RunControlTest() override { ShutdownWithin(); }

  // Lets count more ticks come, 2 ms apart, and waits until they have come.
  void Tick(int count) {
    int target = 0;
    {
      std::lock_guard lock(tickMutex_);
      allowed_ += count;
      target = allowed_;
      sim.HClock.Period = 2;
    }
    sim.HClock.PeriodChanged();
    ASSERT_TRUE(Eventually([&] { return Ticks() >= target; }));
  }
  int Ticks() {
    std::lock_guard lock(tickMutex_);
    return ticks_;
  }
  long Cycles() const { return sim.Cpu.CycleCount.load(); }
  long Passes() const { return sim.Espera.PassCount.load(); }
  // Lets the wait thread run a good number of passes: time enough for a stray cycle to show.
  void LetPassesRun() {
    const long target = Passes() + 30;
    ASSERT_TRUE(Eventually([&] { return Passes() >= target; }));
  }

  // The wait thread passes only while a process waits or is suspended: one stays suspended.
  void KeepWaitServicePassing() {
    auto p = std::make_unique<TProcesso>();
    p->PID = 1;
    p->SuspendRequested = true;
    p->Shape = sim.NextShapeId();
    std::lock_guard lock(sim.Lock);
    sim.Espera.Enqueue(p.get(), psSuspended);
    sim.Kernel.Processes.push_back(std::move(p));
  }

  void ShutdownWithin() {
    auto done = std::async(std::launch::async, [this] { sim.Shutdown(); });
    if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
      std::fputs("Simulation::Shutdown did not return\n", stderr);
      std::_Exit(1);
    }
  }

  // Used by the clock thread: declared before the simulation, so they outlive its threads.
  std::mutex tickMutex_;
  int ticks_ = 0;
  int allowed_ = 1;  // the tick the clock gives when it starts
  TestSimulation t;
  Simulation& sim = t.sim;
};

TEST_F(RunControlTest, StoppedRunHoldsEverythingAndResumingRunsOneCycleAtOnce) {
  sim.StopRunEvent.Reset();
  sim.StartThreads();
  Tick(5);
  EXPECT_EQ(Cycles(), 0);
  EXPECT_EQ(Passes(), 0);

  sim.StopRunEvent.Set();
  ASSERT_TRUE(Eventually([&] { return Cycles() == 1; }));
  LetPassesRun();
  EXPECT_EQ(Cycles(), 1);
  EXPECT_EQ(t.log.Texts().back(), "Processo 0 Pronto -> Exec ");

  Tick(1);
  ASSERT_TRUE(Eventually([&] { return Cycles() == 2; }));
  LetPassesRun();
  EXPECT_EQ(Cycles(), 2);
}

TEST_F(RunControlTest, TickHeldBackByAStopIsNotLost) {
  sim.StartThreads();
  ASSERT_TRUE(Eventually([&] { return Cycles() >= 1 && !sim.ClockEvent.IsSet(); }));
  LetPassesRun();  // the processor is back waiting for a tick
  const long cycles = Cycles();

  sim.StopRunEvent.Reset();
  Tick(1);
  ASSERT_TRUE(Eventually([&] { return sim.Cpu.HeldTicks.load() == 1; }));
  EXPECT_EQ(Cycles(), cycles);

  // No further tick comes: the one held back runs at once.
  sim.StopRunEvent.Set();
  ASSERT_TRUE(Eventually([&] { return Cycles() == cycles + 1; }));
  LetPassesRun();
  EXPECT_EQ(Cycles(), cycles + 1);
}

TEST_F(RunControlTest, StoppingStopsCyclesAndPasses) {
  sim.StartThreads();
  Tick(10);
  ASSERT_TRUE(Eventually([&] { return Cycles() >= 2 && Passes() >= 2; }));

  sim.StopRunEvent.Reset();
  // A cycle or pass already under way when the stop came may still finish.
  const long cycles = Cycles() + 1;
  const long passes = Passes() + 1;
  Tick(20);
  EXPECT_LE(Cycles(), cycles);
  EXPECT_LE(Passes(), passes);
}

// While one thread drives the run tick by tick, the threads let ticks and paces go by, even with
// the run/stop event set, without running a cycle or a pass.
TEST_F(RunControlTest, ParkedThreadsRunNoCycleAndNoPass) {
  std::atomic<int> steps{0};
  sim.AfterStep = [&steps] { steps.fetch_add(1); };
  {
    std::lock_guard lock(sim.Lock);
    sim.ThreadsParked = true;
  }
  sim.StartThreads();
  // Ticks one at a time, each taken before the next comes (two would make one).
  for (long cycle = 1; cycle <= 3; ++cycle) {
    ASSERT_TRUE(Eventually([&] { return Cycles() >= cycle; }));
    Tick(1);
  }
  ASSERT_TRUE(Eventually([&] { return Cycles() >= 4; }));
  LetPassesRun();
  EXPECT_EQ(steps.load(), 0);
  std::lock_guard lock(sim.Lock);
  EXPECT_EQ(sim.Kernel.DispatchCount, 0);
}

TEST_F(RunControlTest, ShutdownJoinsTheThreadsWhileBlockedOnAStoppedRun) {
  sim.StartThreads();
  ASSERT_TRUE(Eventually([&] { return Cycles() >= 1 && Passes() >= 1; }));
  sim.StopRunEvent.Reset();
  Tick(3);
  ShutdownWithin();
  ShutdownWithin();  // a second shutdown is harmless
}

TEST_F(RunControlTest, ShutdownWakesALongSleepAndALongClockPeriod) {
  sim.Espera.SleepMs = kIdlePeriodMs;
  sim.StartThreads();
  ASSERT_TRUE(Eventually([&] { return Cycles() >= 1 && Passes() >= 1; }));
  ShutdownWithin();
}

// An idle program does not wake: with no process the clock sets no tick, so the processor thread
// sleeps too, until a creation brings the ticks back.
TEST(IdleClockTest, AnEmptySimulationRestsUntilAProcessIsCreated) {
  std::atomic<int> ticks{0};
  TestSimulation t;
  Simulation& sim = t.sim;
  sim.HClock.Period = 2;
  sim.HClock.OnTick = [&ticks](std::chrono::steady_clock::time_point) { ticks.fetch_add(1); };
  sim.StartThreads();
  ASSERT_TRUE(Eventually([&] { return sim.HClock.Resting(); }));
  const int resting = ticks.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // 25 periods
  // A tick already past the clock's check when the rest came may still be set.
  EXPECT_LE(ticks.load(), resting + 1);

  t.Create(pkCPU);
  ASSERT_TRUE(Eventually([&] {
    std::lock_guard lock(sim.Lock);
    return sim.Kernel.DispatchCount >= 1;
  }));
  EXPECT_FALSE(sim.HClock.Resting());
  sim.Shutdown();
}

}  // namespace
}  // namespace kelpa::test
