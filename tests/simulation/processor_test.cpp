// SPDX-License-Identifier: MIT
// The processor cycle, tick by tick: dispatch, time slices, real time, preemption, I/O, page
// faults, kill and suspend requests, and processor-time accounting.
#include "core_fixture.h"
#include "simulation/snapshots.h"

namespace kelpa::test {
namespace {

const std::string kDispatched = " Pronto -> Exec ";
const std::string kSliceEnd = " Executando -> Pronto por tempo ";
const std::string kPreempted = " Executando -> Pronto por prioridade ";

class ProcessorTest : public CoreTest {
 protected:
  TProcesso* Running() const { return sim.Cpu.RunningProcess; }
  double Ms(double days) const { return days * kMsPerDay; }
};

TEST_F(ProcessorTest, SliceOfOneRunsOneInstructionPerTwoTicks) {
  TProcesso* p = Create(pkCPU, 0, 0x123456);
  Mark();
  t.Cycle();  // dispatch, instruction 0
  EXPECT_EQ(Running(), p);
  EXPECT_EQ(p->PC, 1);
  t.Cycle();  // end of slice served
  EXPECT_EQ(Running(), nullptr);
  EXPECT_EQ(p->State, psReady);
  t.Cycle();  // dispatch, instruction 1: the write
  EXPECT_EQ(p->PC, 2);
  EXPECT_TRUE(p->PageTable[0].Modified);
  EXPECT_TRUE(sim.Memoria.FrameTable[p->PageTable[0].Frame].Modified);
  t.Cycle();

  EXPECT_EQ(NewLines(), (Lines{Line(p, kDispatched), Line(p, kSliceEnd), Line(p, kDispatched),
                               Line(p, kSliceEnd)}));
  for (const LoggedLine& line : t.log.Lines()) {
    EXPECT_EQ(line.Colour, 0x123456u) << line.Text;
  }
  EXPECT_EQ(sim.Kernel.DispatchCount, 2);
  ASSERT_EQ(t.display.onCpu.size(), 2u);
  const DiscPlace& shown = t.display.onCpu.back();
  EXPECT_EQ(shown.Shape, p->Shape);
  EXPECT_EQ(shown.Color, 0x123456u);
  EXPECT_EQ(shown.Where, DiscLocation::Processor);
}

TEST_F(ProcessorTest, SliceOfThreeRunsThreeInstructionsThenAServiceTick) {
  sim.Kernel.Quantum = 3000;
  TProcesso* p = Create(pkCPU, 0);
  Mark();
  t.Cycle(3);
  EXPECT_EQ(p->PC, 3);
  EXPECT_EQ(Running(), p);
  // Accounted from the dispatch on, tick by tick; each cycle is 10 ms apart.
  EXPECT_NEAR(Ms(p->CpuTime), 20, 1e-3);
  EXPECT_NEAR(Ms(sim.Cpu.BusyTime), 20, 1e-3);
  // Read at the end of the third tick, the figures the windows show count that tick too.
  held_.unlock();  // the snapshots take the lock themselves
  EXPECT_NEAR(Ms(SnapshotStatistics(sim).BusyTime), 30, 1e-3);
  EXPECT_NEAR(Ms(SnapshotProcessRows(sim).front().CpuTime), 30, 1e-3);
  held_.lock();
  t.Cycle();
  EXPECT_EQ(Running(), nullptr);
  // The process held the processor until the tick that took it off.
  EXPECT_NEAR(Ms(p->CpuTime), 30, 1e-3);
  EXPECT_NEAR(Ms(sim.Cpu.BusyTimeSoFar()), 30, 1e-3);
  t.Cycle();
  EXPECT_EQ(p->PC, 4);
  EXPECT_EQ(NewLines(), (Lines{Line(p, kDispatched), Line(p, kSliceEnd), Line(p, kDispatched)}));
}

TEST_F(ProcessorTest, RealTimeProcessKeepsTheProcessorAtSliceEnds) {
  TProcesso* rt = Create(pkCPU, 8);  // the threshold itself is real-time
  TProcesso* other = Create(pkCPU, 3);
  Mark();
  t.Cycle(6);
  EXPECT_EQ(Running(), rt);
  EXPECT_EQ(rt->PC, 3);
  EXPECT_EQ(other->PC, 0);
  EXPECT_EQ(NewLines(), (Lines{Line(rt, kDispatched)}));

  // With a slice of one every instruction ends the slice, so no preemption test is ever made.
  TProcesso* higher = Create(pkCPU, 12);
  t.Cycle(4);
  EXPECT_EQ(Running(), rt);
  EXPECT_EQ(rt->PC, 5);

  // A longer slice lets the higher arrival take the processor.
  sim.Kernel.Quantum = 3000;
  Mark();
  t.Cycle(3);  // the next instruction raises preemption, its service, then the dispatch
  EXPECT_EQ(Running(), higher);
  EXPECT_EQ(rt->State, psReady);
  EXPECT_EQ(NewLines(), (Lines{Line(rt, kPreempted), Line(higher, kDispatched)}));
}

TEST_F(ProcessorTest, AnArrivalOfEqualPriorityDoesNotPreempt) {
  sim.Kernel.Quantum = 3000;
  TProcesso* running = Create(pkCPU, 3);
  t.Cycle();
  Create(pkCPU, 3);
  t.Cycle();
  EXPECT_FALSE(sim.Kernel.InterruptPending());
  t.Cycle(2);
  EXPECT_EQ(running->PC, 3);
}

// A priority-3 CPU process runs mid-slice when a priority-5 IO_1 process comes back from its wait.
class PreemptionTest : public ProcessorTest {
 protected:
  void SetUp() override {
    sim.Kernel.Quantum = 3000;
    sim.Espera.SetWaitLength(2);
    low = Create(pkCPU, 3);
    high = Create(pkIO1, 5);
    t.Cycle();  // high dispatched, its first instruction is an I/O
    ASSERT_EQ(high->State, psIO);
    t.Cycle();  // low dispatched, instruction 0
    t.Pass(2);  // high's wait is over; dynamic priority raises it by its I/O class
    ASSERT_EQ(high->State, psReady);
    ASSERT_EQ(high->Priority, 6);
    ASSERT_EQ(Running(), low);
    Mark();
  }
  TProcesso* low = nullptr;
  TProcesso* high = nullptr;
};

TEST_F(PreemptionTest, DispatchComesTwoTicksAfterTheNextInstruction) {
  t.Cycle();
  EXPECT_EQ(low->PC, 2);
  EXPECT_EQ(Running(), low);
  t.Cycle();
  EXPECT_EQ(Running(), nullptr);
  EXPECT_EQ(low->State, psReady);
  t.Cycle();
  EXPECT_EQ(Running(), high);
  EXPECT_EQ(high->Priority, 5);  // the raise ends when it runs
  EXPECT_EQ(high->PC, 2);
  EXPECT_EQ(NewLines(), (Lines{Line(low, kPreempted), Line(high, kDispatched)}));
}

TEST_F(PreemptionTest, WithPreemptionOffTheArrivalWaitsForTheSliceEnd) {
  sim.Settings.PreemptionEnabled = false;
  t.Cycle(3);
  EXPECT_EQ(low->PC, 3);
  EXPECT_EQ(Running(), nullptr);
  t.Cycle();
  EXPECT_EQ(Running(), high);
  EXPECT_EQ(NewLines(), (Lines{Line(low, kSliceEnd), Line(high, kDispatched)}));
}

TEST_F(ProcessorTest, KillRequestedWhileReadyEndsTheProcessInItsDispatchTick) {
  TProcesso* p = Create(pkCPU, 4, 0x0000FF);
  const ShapeId shape = p->Shape;
  const std::string pid = std::to_string(p->PID);
  p->RequestKill();
  t.clock.AdvanceMs(1500);
  Mark();
  t.Cycle();

  const Lines lines = NewLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Processo " + pid + kDispatched);
  EXPECT_EQ(lines[1], "Processo " + pid + " eliminado");
  // Created, then 1 ms for the creation and 1500 ms of waiting.
  EXPECT_EQ(lines[2], "Tempo de UCP: 00:00:00:000 Tempo decorrido: 00:00:01:501");
  EXPECT_EQ(t.log.Lines().back().Colour, 0x0000FFu);
  EXPECT_EQ(Running(), nullptr);
  EXPECT_TRUE(sim.Kernel.Processes.empty());
  EXPECT_EQ(sim.FinishedCount, 1);
  EXPECT_NEAR(Ms(sim.TotalTurnaroundTime), 1501, 1e-3);
  EXPECT_TRUE(t.display.released.count(shape));
  EXPECT_EQ(sim.Memoria.FreePageCount(), kFrameCount);
}

TEST_F(ProcessorTest, SuspendedProcessWaitsUntilTheRequestIsCleared) {
  TProcesso* p = Create(pkCPU, 4);
  p->SetSuspendRequest(true);
  Mark();
  t.Cycle();
  EXPECT_EQ(NewLines(), (Lines{Line(p, kDispatched), Line(p, " Executando -> Suspenso")}));
  EXPECT_EQ(p->State, psSuspended);
  EXPECT_EQ(p->PC, 0);
  EXPECT_EQ(Running(), nullptr);
  EXPECT_EQ(sim.Espera.SuspendedList, (std::deque<TProcesso*>{p}));

  t.Pass(3);
  EXPECT_EQ(p->State, psSuspended);
  ASSERT_EQ(t.display.waitArea.size(), 1u);
  EXPECT_EQ(t.display.waitArea[0].Where, DiscLocation::Suspended);
  EXPECT_EQ(t.display.waitArea[0].Index, 0);

  p->SetSuspendRequest(false);
  t.Pass();
  EXPECT_EQ(p->State, psReady);
  EXPECT_TRUE(sim.Espera.SuspendedList.empty());
  EXPECT_EQ(sim.Kernel.ReadyQueues[4], (std::deque<TProcesso*>{p}));
  EXPECT_TRUE(t.display.waitArea.empty());
  t.Cycle();
  EXPECT_EQ(Running(), p);
  EXPECT_EQ(p->PC, 1);
}

TEST_F(ProcessorTest, IOProcessGoesToTheWaitListOnItsFirstDispatch) {
  TProcesso* p = Create(pkIO1, 0);
  Mark();
  t.Cycle();
  EXPECT_EQ(NewLines(), (Lines{Line(p, kDispatched), Line(p, " Executando -> IO ")}));
  EXPECT_EQ(p->State, psIO);
  EXPECT_EQ(p->PC, 1);
  EXPECT_EQ(Running(), nullptr);
  EXPECT_EQ(sim.Espera.WaitList, (std::deque<TProcesso*>{p}));
  EXPECT_FALSE(sim.Kernel.InterruptPending());  // no slice test after an I/O
}

TEST_F(ProcessorTest, MissingPageFaultsAtTheNextTickAndIsServedByTheWait) {
  sim.Memoria.AnticipatedFetch = false;
  sim.Espera.SetWaitLength(10);
  TProcesso* p = Create(pkCPU, 2);
  Mark();
  t.Cycle();
  EXPECT_EQ(NewLines(), (Lines{Line(p, kDispatched)}));
  EXPECT_EQ(p->PC, 0);
  EXPECT_EQ(p->CpuTime, 0);
  t.Cycle();
  EXPECT_EQ(NewLines(), (Lines{Line(p, " Exec -> Page Fault 0")}));
  EXPECT_EQ(p->State, psPageFault);

  t.Pass(9);
  EXPECT_EQ(p->State, psPageFault);
  t.Pass();
  EXPECT_EQ(p->State, psReady);
  EXPECT_TRUE(p->PageTable[0].Valid);
  EXPECT_EQ(p->Priority, 4);
  EXPECT_EQ(NewLines().front(), Line(p, " Aumento de prioridade +2"));
  t.Cycle();
  EXPECT_EQ(p->PC, 1);
  EXPECT_EQ(p->Priority, 2);
}

}  // namespace
}  // namespace kelpa::test
