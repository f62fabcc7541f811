// SPDX-License-Identifier: MIT
// The wait service pass by pass: one device served in arrival order, the wait length, the
// suspended list, the swap-out searches and the wait area's positions.
#include "core_fixture.h"

namespace kelpa::test {
namespace {

class WaitServiceTest : public CoreTest {
 protected:
  WaitServiceTest() { sim.Settings.DynamicPriorityEnabled = false; }
  TEspera& espera = sim.Espera;

  // IO_1 processes that have each run their first instruction and wait for the device.
  std::vector<TProcesso*> Waiting(int count) {
    std::vector<TProcesso*> processes;
    for (int i = 0; i < count; ++i) {
      processes.push_back(Create(pkIO1, 0));
    }
    t.Cycle(count);
    return processes;
  }
  // Passes until p leaves the wait; the number of passes it took.
  int PassesUntilReady(TProcesso* p, int limit = 1000) {
    for (int pass = 1; pass <= limit; ++pass) {
      t.Pass();
      if (p->State == psReady) {
        return pass;
      }
    }
    return -1;
  }
};

TEST_F(WaitServiceTest, ArrivalsAreServedOneAfterAnotherForMPassesEach) {
  espera.SetWaitLength(10);
  const std::vector<TProcesso*> p = Waiting(3);
  ASSERT_EQ(espera.WaitList, (std::deque<TProcesso*>(p.begin(), p.end())));

  EXPECT_EQ(PassesUntilReady(p[0]), 10);
  EXPECT_EQ(p[1]->State, psIO);
  EXPECT_EQ(PassesUntilReady(p[1]), 10);
  EXPECT_EQ(PassesUntilReady(p[2]), 10);
  EXPECT_TRUE(espera.WaitList.empty());
  EXPECT_EQ(sim.Kernel.ReadyQueues[0], (std::deque<TProcesso*>(p.begin(), p.end())));

  const std::vector<int> firstWait(t.display.waitCounter.begin(),
                                   t.display.waitCounter.begin() + 10);
  EXPECT_EQ(firstWait, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
  EXPECT_EQ(t.display.waitCounter.size(), 30u);
  // An empty list leaves the counter alone.
  t.Pass(5);
  EXPECT_EQ(espera.WaitCounter, 0);
  EXPECT_EQ(t.display.waitCounter.size(), 30u);
}

TEST_F(WaitServiceTest, LoweringTheWaitLengthKeepsTheCounterInRange) {
  espera.SetWaitLength(10);
  const std::vector<TProcesso*> waiting = Waiting(2);
  TProcesso* p = waiting[0];
  TProcesso* q = waiting[1];
  t.Pass(7);
  espera.SetWaitLength(5);
  EXPECT_EQ(espera.WaitCounter, 4);  // the wait ends at the next pass
  t.Pass();
  EXPECT_EQ(p->State, psReady);

  t.Pass(3);
  espera.SetWaitLength(20);  // longer: the counter goes on from where it was
  EXPECT_EQ(espera.WaitCounter, 3);
  EXPECT_EQ(PassesUntilReady(q), 17);
}

TEST_F(WaitServiceTest, SwappedOutWaitsReturnSwappedOutWithoutPageService) {
  espera.SetWaitLength(1);
  TProcesso* io = Bare(psIO);
  TProcesso* fault = Bare(psPageFault);
  espera.Enqueue(io, psIO);
  espera.Enqueue(fault, psPageFault);
  io->State = psIOOut;
  fault->State = psPageFaultOut;
  t.Pass(2);
  EXPECT_EQ(io->State, psReadyOut);
  EXPECT_EQ(fault->State, psReadyOut);
  EXPECT_FALSE(fault->PageTable[0].Valid);
  EXPECT_EQ(sim.Memoria.HardFaultCount, 0);
}

TEST_F(WaitServiceTest, ClearedSuspensionsResumeInListOrderAndTheRestStay) {
  TProcesso* a = Bare(psSuspended, 1);
  TProcesso* b = Bare(psSuspended, 1);
  TProcesso* c = Bare(psSuspended, 1);
  for (TProcesso* p : {a, b, c}) {
    p->SetSuspendRequest(true);
    espera.Enqueue(p, psSuspended);
  }
  c->State = psSuspendedOut;
  b->SetSuspendRequest(false);
  c->SetSuspendRequest(false);
  t.Pass();
  EXPECT_EQ(sim.Kernel.ReadyQueues[1], (std::deque<TProcesso*>{b, c}));
  EXPECT_EQ(b->State, psReady);
  EXPECT_EQ(c->State, psReadyOut);
  EXPECT_EQ(espera.SuspendedList, (std::deque<TProcesso*>{a}));
  EXPECT_EQ(a->State, psSuspended);
}

TEST_F(WaitServiceTest, SwapOutSearchesChooseTheirVictims) {
  TProcesso* s1 = Bare(psSuspended);
  TProcesso* s2 = Bare(psSuspended);
  TProcesso* s3 = Bare(psSuspended);
  for (TProcesso* p : {s1, s2, s3}) {
    espera.Enqueue(p, psSuspended);
  }
  s1->State = psSuspendedOut;
  EXPECT_EQ(espera.TakeSuspendedVictim(), s2);
  EXPECT_EQ(s2->State, psSuspendedOut);
  EXPECT_EQ(espera.TakeSuspendedVictim(), s3);
  EXPECT_EQ(espera.TakeSuspendedVictim(), nullptr);
  EXPECT_EQ(espera.SuspendedList.size(), 3u);

  TProcesso* head = Bare(psIO);
  TProcesso* fault = Bare(psPageFault);
  TProcesso* last = Bare(psIO);
  TProcesso* lastFault = Bare(psPageFault);
  espera.Enqueue(head, psIO);
  espera.Enqueue(fault, psPageFault);
  espera.Enqueue(last, psIO);
  espera.Enqueue(lastFault, psPageFault);
  EXPECT_EQ(espera.TakeIOVictim(), last);
  EXPECT_EQ(last->State, psIOOut);
  EXPECT_EQ(espera.TakeIOVictim(), head);  // the head being served qualifies too
  EXPECT_EQ(espera.TakeIOVictim(), nullptr);

  // A process whose page is being brought in is never taken.
  espera.ServingPageFault = lastFault;
  EXPECT_EQ(espera.TakePageFaultVictim(), fault);
  EXPECT_EQ(fault->State, psPageFaultOut);
  EXPECT_EQ(espera.TakePageFaultVictim(), nullptr);
  espera.ServingPageFault = nullptr;
  EXPECT_EQ(espera.TakePageFaultVictim(), lastFault);
  EXPECT_EQ(espera.WaitList.size(), 4u);
}

TEST_F(WaitServiceTest, TheWaitAreaIsHandedOverOnlyWhenItChanges) {
  t.Pass(5);
  EXPECT_EQ(t.display.waitAreaRefreshes, 0);  // nothing waits: nothing to show

  espera.SetWaitLength(4);
  const std::vector<TProcesso*> p = Waiting(2);
  t.Pass(3);
  EXPECT_EQ(t.display.waitAreaRefreshes, 1);
  t.Pass();  // the first wait ends: the second process moves to the device
  EXPECT_EQ(t.display.waitAreaRefreshes, 2);
  ASSERT_EQ(t.display.waitArea.size(), 1u);
  EXPECT_EQ(t.display.waitArea[0].Shape, p[1]->Shape);
  EXPECT_EQ(t.display.waitArea[0].Where, DiscLocation::IoDevice);
  t.Pass(4);
  EXPECT_EQ(t.display.waitAreaRefreshes, 3);
  EXPECT_TRUE(t.display.waitArea.empty());
  t.Pass(3);
  EXPECT_EQ(t.display.waitAreaRefreshes, 3);
}

TEST_F(WaitServiceTest, WaitAreaShowsTheDeviceTheQueueAndTheSuspended) {
  std::vector<TProcesso*> waiting;
  for (int i = 0; i < 3; ++i) {
    waiting.push_back(Bare(psIO));
    waiting.back()->Color = MakeColor(10 * i, 0, 0);
    espera.Enqueue(waiting.back(), psIO);
  }
  TProcesso* s0 = Bare(psSuspended);
  TProcesso* s1 = Bare(psSuspended);
  s0->SetSuspendRequest(true);
  s1->SetSuspendRequest(true);
  espera.Enqueue(s0, psSuspended);
  espera.Enqueue(s1, psSuspended);
  espera.SetWaitLength(50);
  t.Pass();

  // The pixels for these places are the processor window's (tests/ui/processor_window_test).
  const std::vector<DiscPlace>& area = t.display.waitArea;
  ASSERT_EQ(area.size(), 5u);
  using enum DiscLocation;
  const DiscLocation wheres[] = {IoDevice, WaitList, WaitList, Suspended, Suspended};
  const int indexes[] = {0, 0, 1, 0, 1};
  const TProcesso* order[] = {waiting[0], waiting[1], waiting[2], s0, s1};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(area[i].Shape, order[i]->Shape) << i;
    EXPECT_EQ(area[i].Color, order[i]->Color) << i;
    EXPECT_EQ(area[i].Where, wheres[i]) << i;
    EXPECT_EQ(area[i].Index, indexes[i]) << i;
  }
}

}  // namespace
}  // namespace kelpa::test
