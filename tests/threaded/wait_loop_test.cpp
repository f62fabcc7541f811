// SPDX-License-Identifier: MIT
// The real wait thread with nothing to serve: it sleeps until a process waits or is suspended,
// instead of passing ten times a second. The pause between passes is replaced by one that only
// counts, so the thread runs its passes as fast as it can and a stray pass would show at once;
// nothing here depends on how fast the machine is.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "support/eventually.h"
#include "support/test_simulation.h"

namespace kelpa::test {
namespace {

class WaitLoopTest : public ::testing::Test {
 protected:
  WaitLoopTest() {
    espera.PaceSleep = [this] { paces.fetch_add(1); };
    std::lock_guard lock(t.sim.Lock);
    espera.SetWaitLength(10);
  }
  ~WaitLoopTest() override { t.sim.Shutdown(); }

  TProcesso* Record(std::int32_t pid) {
    auto p = std::make_unique<TProcesso>();
    p->PID = pid;
    p->Shape = t.sim.NextShapeId();
    TProcesso* raw = p.get();
    t.sim.Kernel.Processes.push_back(std::move(p));
    return raw;
  }
  // The thread has gone to sleep for the given time with both lists empty.
  void IdleFor(long times) {
    ASSERT_TRUE(Eventually([&] { return espera.IdleCount.load() >= times; }));
    EXPECT_EQ(espera.IdleCount.load(), times);
  }

  std::atomic<long> paces{0};
  TestSimulation t;
  TEspera& espera = t.sim.Espera;
};

TEST_F(WaitLoopTest, NothingWaitingNoPassesAndAnArrivalWakesTheThread) {
  espera.Start();
  IdleFor(1);
  // One pass at start, then asleep: no pace, no pass, however fast the paces would go.
  EXPECT_EQ(espera.PassCount.load(), 1);
  EXPECT_EQ(paces.load(), 0);

  TProcesso* p = nullptr;
  {
    std::lock_guard lock(t.sim.Lock);
    p = Record(7);
    espera.Enqueue(p, psIO);
  }
  // One pace after the arrival comes its first pass; its wait ends on the tenth, and the thread
  // sleeps again with the list empty.
  IdleFor(2);
  EXPECT_EQ(espera.PassCount.load(), 1 + 10);
  EXPECT_EQ(paces.load(), 10);
  std::lock_guard lock(t.sim.Lock);
  EXPECT_EQ(p->State, psReady);
}

TEST_F(WaitLoopTest, ASuspendedProcessKeepsThePassesGoingUntilItResumes) {
  espera.Start();
  IdleFor(1);
  TProcesso* p = nullptr;
  {
    std::lock_guard lock(t.sim.Lock);
    p = Record(8);
    p->SetSuspendRequest(true);
    espera.Enqueue(p, psSuspended);
  }
  ASSERT_TRUE(Eventually([&] { return espera.PassCount.load() >= 50; }));
  EXPECT_EQ(espera.IdleCount.load(), 1);
  {
    std::lock_guard lock(t.sim.Lock);
    p->SetSuspendRequest(false);
  }
  IdleFor(2);
  std::lock_guard lock(t.sim.Lock);
  EXPECT_EQ(p->State, psReady);
}

TEST_F(WaitLoopTest, ShutdownEndsAnIdleThread) {
  espera.Start();
  IdleFor(1);
  t.sim.Shutdown();
  EXPECT_TRUE(espera.Terminated());
}

}  // namespace
}  // namespace kelpa::test
