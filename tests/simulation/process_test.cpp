// SPDX-License-Identifier: MIT
// The process record: programs, creation (and its refusal), and the dynamic priority raise.
#include <algorithm>

#include "core_fixture.h"

namespace kelpa::test {
namespace {

class ProcessTest : public CoreTest {
 protected:
  ProcessTest() {
    // A translated prefix, so the lines that must keep the fixed word show it.
    t.messages.MsgLogProcesso = "Proc# ";
  }

  // A process at the end of a wait; returns the lines its raise logs.
  Lines Boost(int kind, int base, ProcessState state, int pc) {
    TProcesso* p = Bare(state, base);
    p->Instructions = ProgramTemplates[kind];
    p->PID = 4242;
    p->PC = pc;
    p->Color = 0x00ABCD;
    last = p;
    Mark();
    p->BoostPriority(sim);
    for (const LoggedLine& line : t.log.Lines()) {
      EXPECT_EQ(line.Colour, 0x00ABCDu);
    }
    return NewLines();
  }

  TProcesso* last = nullptr;
};

TEST_F(ProcessTest, ProgramsOfTheSixKinds) {
  // Every program writes once, at instruction 1; the rest is its kind's instruction.
  const int others[6][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {1, 0}, {2, 0}};  // even, odd index
  for (int kind = 0; kind < kProcessKindCount; ++kind) {
    for (int i = 0; i < kInstructionCount; ++i) {
      const int expected = i == 1 ? -1 : others[kind][i % 2];
      EXPECT_EQ(ProgramTemplates[kind][i], expected) << "kind " << kind << " instruction " << i;
    }
  }
}

TEST_F(ProcessTest, CreationTakesItsIdentifierFromTheClockAndIsMadeReady) {
  t.clock.Set({2026, 12, 7, 12, 5, 7, 89});
  const TDateTime createdAt = t.clock.Now();
  TProcesso* p = t.Create(pkMIX1, 6, 3, 0x0000FF);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->PID, 507089);
  EXPECT_EQ(p->CreatedAt, createdAt);
  EXPECT_EQ(p->Instructions, ProgramTemplates[pkMIX1]);
  EXPECT_EQ(p->Priority, 6);
  EXPECT_EQ(p->BasePriority, 6);
  EXPECT_EQ(p->FrameLimit, 3);
  EXPECT_EQ(p->PageCount, 5);
  EXPECT_EQ(p->State, psReady);
  EXPECT_EQ(sim.Kernel.ReadyQueues[6], (std::deque<TProcesso*>{p}));
  EXPECT_EQ(t.log.Lines().back().Text, "Proc# 507089 criado");
  EXPECT_EQ(t.log.Lines().back().Colour, 0x0000FFu);
  EXPECT_TRUE(t.display.created.count(p->Shape));
  EXPECT_TRUE(t.display.attached.count(p->Shape));

  TProcesso* unknownKind = t.Create(9, 0);
  ASSERT_NE(unknownKind, nullptr);
  EXPECT_EQ(std::count(unknownKind->Instructions.begin(), unknownKind->Instructions.end(), 0), 40);
  EXPECT_NE(unknownKind->Shape, p->Shape);
}

// Processes created in one millisecond, or an hour apart, would share the identifier the time
// gives; a new process takes the next one no live process has.
TEST_F(ProcessTest, IdentifiersOfLiveProcessesNeverRepeat) {
  struct Case {
    const char* what;
    DateTimeParts at;
    std::vector<std::int32_t> taken;  // identifiers live processes already have
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {
      {"three in one millisecond", {2026, 12, 7, 12, 5, 7, 89}, {}, {507089, 507090, 507091}},
      {"taken an hour ago", {2026, 12, 7, 13, 5, 7, 89}, {507089, 507090}, {507091, 507092}},
      {"over a second", {2026, 12, 7, 12, 5, 59, 998}, {}, {559998, 559999, 600000}},
      {"over the hour", {2026, 12, 7, 12, 59, 59, 999}, {0}, {5959999, 1, 2}},
  };
  for (const Case& c : cases) {
    TestSimulation fresh;
    fresh.sim.Memoria.MinFreePercent = 0;
    fresh.clock.Set(c.at);
    const TDateTime frozen = fresh.clock.Now();
    for (const std::int32_t pid : c.taken) {
      fresh.Create(pkCPU)->PID = pid;
    }
    std::vector<std::int32_t> got;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      fresh.clock.Set(frozen);
      got.push_back(fresh.Create(pkCPU)->PID);
    }
    EXPECT_EQ(got, c.expected) << c.what;
  }
}

TEST_F(ProcessTest, CreationWithoutPageFileRoomLogsOneLineAndCreatesNothing) {
  t.clock.Set({2026, 12, 7, 12, 5, 7, 89});
  sim.Memoria.FreeBlocks.resize(4);
  Mark();
  EXPECT_EQ(t.Create(pkCPU, 0, 5, 0x0000FF), nullptr);
  EXPECT_EQ(NewLines(), (Lines{"Erro: criacao do processo 507089. Falta de espaco no PF"}));
  EXPECT_EQ(t.log.Lines().back().Colour, 0x0000FFu);
  EXPECT_TRUE(sim.Kernel.Processes.empty());
  EXPECT_EQ(sim.Kernel.HighestReadyPriority(), -1);
  EXPECT_TRUE(t.display.created.empty());
  EXPECT_EQ(sim.Memoria.FreeBlocks.size(), 4u);
}

TEST_F(ProcessTest, NoRaiseOneBelowTheThreshold) {
  EXPECT_EQ(Boost(pkIO3, 7, psIO, 1), Lines{});
  EXPECT_EQ(last->Priority, 7);
  EXPECT_EQ(Boost(pkCPU, 7, psPageFault, 0), Lines{});
  EXPECT_EQ(last->Priority, 7);
}

TEST_F(ProcessTest, PageFaultWaitRaisesByTwoWithTheFixedWord) {
  EXPECT_EQ(Boost(pkCPU, 3, psPageFault, 5), (Lines{"Processo 4242 Aumento de prioridade +2"}));
  EXPECT_EQ(last->Priority, 5);
}

TEST_F(ProcessTest, IOWaitRaisesByTheClassOfTheInstructionBeforePC) {
  EXPECT_EQ(Boost(pkIO2, 4, psIO, 1), (Lines{"Proc# 4242 Aumento de prioridade +2"}));
  EXPECT_EQ(last->Priority, 6);
  // PC 0: the wait began at instruction 39.
  EXPECT_EQ(Boost(pkIO1, 4, psIO, 0), (Lines{"Proc# 4242 Aumento de prioridade +1"}));
  EXPECT_EQ(last->Priority, 5);
  // A swapped-out page-fault wait is judged by its instruction like any other.
  EXPECT_EQ(Boost(pkIO3, 1, psPageFaultOut, 3), (Lines{"Proc# 4242 Aumento de prioridade +3"}));
  EXPECT_EQ(last->Priority, 4);
  // Compute and write instructions raise nothing.
  EXPECT_EQ(Boost(pkCPU, 4, psIO, 3), Lines{});
  EXPECT_EQ(Boost(pkMIX1, 4, psIO, 2), Lines{});
  EXPECT_EQ(last->Priority, 4);
  // The raise is from the base, never on top of an earlier one.
  last->Priority = 6;
  last->PC = 1;
  last->BoostPriority(sim);
  EXPECT_EQ(last->Priority, 5);
}

TEST_F(ProcessTest, RaiseAboveFifteenIsCutWithTheFixedWord) {
  EXPECT_EQ(Boost(pkCPU, 14, psPageFault, 9),
            (Lines{"Processo 4242 Aumento de prioridade +2",
                   "Processo 4242 nao pode ter inc acima de 15"}));
  EXPECT_EQ(last->Priority, 15);
}

TEST_F(ProcessTest, RaiseIntoTheRealTimeBandIsCutBelowTheThreshold) {
  EXPECT_EQ(Boost(pkIO3, 5, psIO, 1), (Lines{"Proc# 4242 Aumento de prioridade +3",
                                             "Processo 4242 nao pode ter inc acima de 8"}));
  EXPECT_EQ(last->Priority, 7);

  sim.Settings.RealTimeThreshold = 12;
  EXPECT_EQ(Boost(pkCPU, 10, psPageFault, 1),
            (Lines{"Processo 4242 Aumento de prioridade +2",
                   "Processo 4242 nao pode ter inc acima de 12"}));
  EXPECT_EQ(last->Priority, 11);

  // With no real-time band only the cap at 15 applies.
  sim.Settings.RealTimeThreshold = 16;
  EXPECT_EQ(Boost(pkIO3, 13, psIO, 1), (Lines{"Proc# 4242 Aumento de prioridade +3",
                                              "Processo 4242 nao pode ter inc acima de 15"}));
  EXPECT_EQ(last->Priority, 15);
  EXPECT_EQ(Boost(pkIO3, 15, psIO, 1), Lines{});

  // With every priority real-time nothing is cut below 15.
  sim.Settings.RealTimeThreshold = 0;
  EXPECT_EQ(Boost(pkIO3, 5, psIO, 1), (Lines{"Proc# 4242 Aumento de prioridade +3"}));
  EXPECT_EQ(last->Priority, 8);
}

}  // namespace
}  // namespace kelpa::test
