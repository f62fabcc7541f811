// SPDX-License-Identifier: MIT
// Choosing the process to swap out, the swap-out itself and the swap-in at the next dispatch.
#include "memory_fixture.h"

namespace kelpa::test {
namespace {

using Ints = std::vector<int>;
using Texts = std::vector<std::string>;

class SwappingTest : public MemoryTest {
 protected:
  void SetUp() override { mem.MinFreePercent = 0; }

  // One call of the victim search; the lines it wrote.
  Texts SwapOnce() {
    const auto mark = Mark();
    Locked([&] { mem.SwapOutVictim(); });
    return LinesSince(mark);
  }
};

TEST_F(SwappingTest, VictimsComeSuspendedThenIOThenPageFaultThenReadyByLowestPriority) {
  TProcesso* s1 = Create(1);
  TProcesso* s2 = Create(1);
  TProcesso* io1 = Create(1);
  TProcesso* io2 = Create(1);
  TProcesso* pf = Create(1);
  TProcesso* high = Create(1, 3);
  TProcesso* low1 = Create(1, 0);
  TProcesso* low2 = Create(1, 0);
  for (TProcesso* s : {s1, s2}) {
    Locked([&] { s->SetSuspendRequest(true); });
    Park(s, psSuspended);
  }
  Park(io1, psIO);
  Park(pf, psPageFault);
  Park(io2, psIO);

  const std::vector<std::pair<TProcesso*, std::string>> expected = {
      {s1, " suspenso outswapped"}, {s2, " suspenso outswapped"},   {io2, " IO outswapped"},
      {io1, " IO outswapped"},      {pf, " page fault outswapped"}, {low2, " pronto outswapped"},
      {low1, " pronto outswapped"}, {high, " pronto outswapped"},
  };
  for (const auto& [victim, text] : expected) {
    EXPECT_EQ(SwapOnce(), (Texts{"Iniciando Swap", Line(victim, text)}));
    EXPECT_EQ(victim->PageTable[0].Location, plPageFile);
  }
  EXPECT_EQ(s1->State, psSuspendedOut);
  EXPECT_EQ(io2->State, psIOOut);
  EXPECT_EQ(pf->State, psPageFaultOut);
  EXPECT_EQ(low2->State, psReadyOut);
  // Everyone is out: the search finds nothing and nothing changes.
  EXPECT_EQ(SwapOnce(), (Texts{"Iniciando Swap"}));
  EXPECT_EQ(mem.FreePageCount(), 100);
  EXPECT_EQ(mem.AllocatedBlocks.size(), 8u);
}

TEST_F(SwappingTest, SwapOutOfThreePagesAndSwapInAtTheNextDispatch) {
  TProcesso* p = Create(3);
  Write(p, 1);
  mem.MinFreePercent = 98;
  auto mark = Mark();
  TProcesso* q = Create(1);

  EXPECT_EQ(LinesSince(mark),
            (Texts{Line(q, " alocacao de blocos no pagefile"), "Lista de pags livres menor que 98%",
                   "Iniciando Swap", Line(p, " pronto outswapped"), Line(q, " HwPF - Imagem 0"),
                   Line(q, " criado")}));
  EXPECT_EQ(p->State, psReadyOut);
  EXPECT_EQ(Resident(p), (Ints{0, 1, 2}));  // kept to tell the swap-in what to bring back
  EXPECT_EQ(Ints(mem.FreePageList.end() - 3, mem.FreePageList.end()), (Ints{0, 1, 2}));
  EXPECT_EQ(AsVector(mem.AllocatedBlocks), (Ints{0, 1, 2}));
  EXPECT_EQ(mem.ReservedBlocks.size(), 7u);
  for (int page = 0; page < 3; ++page) {
    EXPECT_FALSE(p->PageTable[page].Valid);
    EXPECT_EQ(p->PageTable[page].Location, plPageFile);
    EXPECT_EQ(p->PageTable[page].Frame, page);
    EXPECT_EQ(mem.BlockTable[page].Modified, page == 1);
  }

  mem.MinFreePercent = 0;
  const int hard = mem.HardFaultCount;
  const int dispatches = sim.Kernel.DispatchCount;
  mark = Mark();
  Cycle();  // p was queued before q: it is dispatched, and swapped in first

  EXPECT_EQ(LinesSince(mark),
            (Texts{Line(p, " swap in"), Line(p, " HwPF - Pagefile 0"),
                   Line(p, " HwPF - Pagefile 1"), Line(p, " HwPF - Pagefile 2"),
                   Line(p, " liberando pagefile alocado"), Line(p, " Pronto -> Exec ")}));
  EXPECT_EQ(mem.HardFaultCount, hard + 3);
  EXPECT_EQ(sim.Kernel.DispatchCount, dispatches + 1);
  EXPECT_EQ(sim.Cpu.RunningProcess, p);
  EXPECT_TRUE(mem.AllocatedBlocks.empty());
  EXPECT_EQ(mem.ReservedBlocks.size(), 10u);
  for (int page = 0; page < 3; ++page) {
    EXPECT_TRUE(p->PageTable[page].Valid);
    EXPECT_EQ(mem.FrameTable[p->PageTable[page].Frame].Modified, page == 1);
  }
}

TEST_F(SwappingTest, TheProcessBeingSwappedInIsNotChosenAgainDuringItsOwnSwapIn) {
  TProcesso* p = Create(3);
  TProcesso* q = Create(2);
  Park(p, psSuspended);  // its suspend request is clear: it is resumed at the next pass
  ASSERT_EQ(SwapOnce(), (Texts{"Iniciando Swap", Line(p, " suspenso outswapped")}));
  Pass();
  ASSERT_EQ(p->State, psReadyOut);

  mem.MinFreePercent = 100;  // every frame of the swap-in starts a check
  const auto mark = Mark();
  Cycle();  // q was queued first
  Cycle();  // q's slice ends
  Cycle();  // p is dispatched and swapped in
  EXPECT_EQ(sim.Cpu.RunningProcess, p);
  EXPECT_EQ(CountSince(mark, Line(q, " pronto outswapped")), 1);
  EXPECT_EQ(CountSince(mark, Line(p, " pronto outswapped")), 0);
  EXPECT_EQ(Resident(p), (Ints{0, 1, 2}));
}

TEST_F(SwappingTest, AProcessSwappedOutDuringItsPageFaultWaitIsNotServedAndFaultsAgain) {
  mem.AnticipatedFetch = false;
  TProcesso* p = Create(2);
  Locked([&] { sim.Espera.SetWaitLength(10); });
  Cycle(2);
  ASSERT_EQ(p->State, psPageFault);
  ASSERT_EQ(SwapOnce(), (Texts{"Iniciando Swap", Line(p, " page fault outswapped")}));

  auto mark = Mark();
  Pass(10);
  EXPECT_EQ(p->State, psReadyOut);
  EXPECT_FALSE(p->PageTable[0].Valid);
  EXPECT_EQ(CountSince(mark, Line(p, " HwPF - Imagem 0")), 0);

  mark = Mark();
  Cycle(2);  // swapped in (nothing to bring back), then faults on page 0 again
  EXPECT_EQ(LinesSince(mark).front(), Line(p, " swap in"));
  EXPECT_EQ(p->State, psPageFault);
  Pass(10);
  EXPECT_EQ(p->State, psReady);
  EXPECT_TRUE(p->PageTable[0].Valid);
}

}  // namespace
}  // namespace kelpa::test
