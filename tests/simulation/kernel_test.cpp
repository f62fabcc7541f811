// SPDX-License-Identifier: MIT
// The kernel's queues and decisions, called directly as the processor, the wait service, the
// memory manager and the windows call them.
#include <algorithm>

#include "core_fixture.h"

namespace kelpa::test {
namespace {

class KernelTest : public CoreTest {
 protected:
  TKernel& kernel = sim.Kernel;
};

double Ms(double days) {
  return days * kMsPerDay;
}

TEST_F(KernelTest, DispatchTakesTheOldestOfTheHighestNonEmptyQueue) {
  TProcesso* a = Bare(psReady, 2);
  TProcesso* b = Bare(psReady, 9);
  TProcesso* c = Bare(psReady, 2);
  TProcesso* d = Bare(psReady, 9);
  for (TProcesso* p : {a, b, c, d}) {
    kernel.MakeReady(p);
    t.clock.AdvanceMs(100);
  }
  EXPECT_EQ(kernel.HighestReadyPriority(), 9);
  EXPECT_EQ(kernel.Dispatch(), b);
  EXPECT_EQ(kernel.Dispatch(), d);
  EXPECT_EQ(kernel.HighestReadyPriority(), 2);
  EXPECT_EQ(kernel.Dispatch(), a);
  EXPECT_EQ(kernel.Dispatch(), c);
  EXPECT_EQ(kernel.HighestReadyPriority(), -1);
  EXPECT_EQ(kernel.Dispatch(), nullptr);

  EXPECT_EQ(kernel.DispatchCount, 4);
  // Each waited from its MakeReady to now: 400, 300, 200 and 100 ms.
  EXPECT_NEAR(Ms(kernel.TotalReadyWaitTime), 1000, 1e-3);
}

TEST_F(KernelTest, InterruptsComeOutInTheOrderRaisedAndZeroWhenNonePending) {
  EXPECT_EQ(kernel.NextInterrupt(), InterruptNone);
  kernel.RaiseInterrupt(InterruptTimeSlice);
  kernel.RaiseInterrupt(InterruptPageFault);
  EXPECT_TRUE(kernel.InterruptPending());
  EXPECT_EQ(kernel.NextInterrupt(), InterruptTimeSlice);
  EXPECT_EQ(kernel.NextInterrupt(), InterruptPageFault);
  EXPECT_EQ(kernel.NextInterrupt(), InterruptNone);

  // All three codes share level 0, so a later preemption does not overtake.
  kernel.RaiseInterrupt(InterruptPageFault);
  kernel.RaiseInterrupt(InterruptPreemption);
  EXPECT_EQ(kernel.NextInterrupt(), InterruptPageFault);
  EXPECT_EQ(kernel.NextInterrupt(), InterruptPreemption);

  kernel.RaiseInterrupt(static_cast<InterruptCode>(0));
  kernel.RaiseInterrupt(static_cast<InterruptCode>(4));
  EXPECT_FALSE(kernel.InterruptPending());
  for (int code = 1; code <= 3; ++code) {
    EXPECT_EQ(InterruptTable[code].Code, static_cast<InterruptCode>(code));
    EXPECT_EQ(InterruptTable[code].Level, 0);
  }
}

TEST_F(KernelTest, MakeReadyQueuesByCurrentPriorityAndKeepsSwappedOutProcessesOut) {
  const ProcessState from[] = {psIO,           psIOOut,     psSuspended,
                               psSuspendedOut, psPageFault, psPageFaultOut};
  const ProcessState to[] = {psReady, psReadyOut, psReady, psReadyOut, psReady, psReadyOut};
  for (int i = 0; i < 6; ++i) {
    TProcesso* p = Bare(from[i], 3);
    p->Priority = 6;  // raised after its wait
    kernel.MakeReady(p);
    EXPECT_EQ(p->State, to[i]) << "from state " << int(from[i]);
    EXPECT_EQ(kernel.ReadyQueues[6].back(), p);
    EXPECT_EQ(p->ReadySince, t.clock.Now());
    EXPECT_TRUE(t.display.attached.count(p->Shape));
  }
  EXPECT_TRUE(kernel.ReadyQueues[3].empty());
  kernel.MakeReady(nullptr);
  EXPECT_EQ(kernel.ReadyQueues[6].size(), 6u);
}

TEST_F(KernelTest, SetPriorityMovesReadyProcessesAndOnlyRebasesOthers) {
  TProcesso* other = Bare(psReady, 10);
  TProcesso* ready = Bare(psReady, 4);
  TProcesso* out = Bare(psReady, 4);
  kernel.MakeReady(other);
  kernel.MakeReady(ready);
  kernel.MakeReady(out);
  out->State = psReadyOut;
  const TDateTime readySince = ready->ReadySince;
  t.clock.AdvanceMs(500);

  kernel.SetPriority(ready, 10);
  EXPECT_EQ(ready->BasePriority, 10);
  EXPECT_EQ(ready->Priority, 4);  // restored from the base when it next runs
  EXPECT_EQ(ready->ReadySince, readySince);
  EXPECT_EQ(kernel.ReadyQueues[10], (std::deque<TProcesso*>{other, ready}));
  EXPECT_EQ(kernel.ReadyQueues[4], (std::deque<TProcesso*>{out}));

  kernel.SetPriority(out, 0);
  EXPECT_TRUE(kernel.ReadyQueues[4].empty());
  EXPECT_EQ(kernel.ReadyQueues[0], (std::deque<TProcesso*>{out}));

  TProcesso* waiting = Bare(psIO, 2);
  sim.Espera.Enqueue(waiting, psIO);
  kernel.SetPriority(waiting, 12);
  EXPECT_EQ(waiting->BasePriority, 12);
  EXPECT_EQ(waiting->Priority, 2);
  EXPECT_TRUE(kernel.ReadyQueues[12].empty());
  EXPECT_EQ(waiting->State, psIO);
}

TEST_F(KernelTest, SwapVictimIsTheNewestOfTheLowestQueueNotAlreadyOut) {
  TProcesso* outAlready = Bare(psReady, 0);
  TProcesso* a = Bare(psReady, 2);
  TProcesso* b = Bare(psReady, 2);
  TProcesso* high = Bare(psReady, 7);
  for (TProcesso* p : {outAlready, a, b, high}) {
    kernel.MakeReady(p);
  }
  outAlready->State = psReadyOut;

  EXPECT_EQ(kernel.PickSwapVictim(), b);
  EXPECT_EQ(b->State, psReadyOut);
  EXPECT_EQ(kernel.PickSwapVictim(), a);
  EXPECT_EQ(kernel.PickSwapVictim(), high);
  EXPECT_EQ(kernel.PickSwapVictim(), nullptr);
  // Victims stay queued where they were.
  EXPECT_EQ(kernel.ReadyQueues[2], (std::deque<TProcesso*>{a, b}));
}

TEST_F(KernelTest, CountStatesAndReadyWaitTotalsSkipSwappedOutProcesses) {
  for (int code = static_cast<int>(psReady); code <= static_cast<int>(psPageFaultOut); ++code) {
    Bare(static_cast<ProcessState>(code))->ReadySince = t.clock.Now();
    t.clock.AdvanceMs(100);
  }
  TProcesso* secondReady = Bare(psReady);
  secondReady->ReadySince = t.clock.Now();
  t.clock.AdvanceMs(50);

  int running = -1, ready = -1, waiting = -1;
  kernel.CountStates(running, ready, waiting);
  EXPECT_EQ(running, 1);
  EXPECT_EQ(ready, 2);
  EXPECT_EQ(waiting, 3);  // states 3, 5 and 7

  double sum = -1;
  int count = -1;
  kernel.ReadyWaitTotals(sum, count);
  EXPECT_EQ(count, 2);
  // The first ready one since 950 ms ago, the second since 50 ms ago.
  EXPECT_NEAR(Ms(sum), 1000, 1e-3);
}

TEST_F(KernelTest, AReadyOutProcessIsSwappedInBeforeItIsDispatched) {
  TProcesso* p = Create(pkCPU, 0);
  ASSERT_EQ(kernel.PickSwapVictim(), p);
  sim.Memoria.SwapOut(p);
  ASSERT_FALSE(p->PageTable[0].Valid);
  Mark();

  t.Cycle();
  const Lines lines = NewLines();
  const auto swapIn = std::find(lines.begin(), lines.end(), Line(p, " swap in"));
  const auto dispatched = std::find(lines.begin(), lines.end(), Line(p, " Pronto -> Exec "));
  ASSERT_NE(swapIn, lines.end());
  ASSERT_NE(dispatched, lines.end());
  EXPECT_LT(swapIn, dispatched);
  EXPECT_EQ(sim.Cpu.RunningProcess, p);
  EXPECT_EQ(p->State, psRunning);
  EXPECT_EQ(p->PC, 1);  // the instruction ran in the same tick, without a fault
  EXPECT_EQ(kernel.DispatchCount, 1);
}

}  // namespace
}  // namespace kelpa::test
