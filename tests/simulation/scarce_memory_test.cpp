// SPDX-License-Identifier: MIT
// Memory running short: the process whose fault is served is never its own victim, an empty
// free-page list is refilled whatever MinFreePercent says, and an ended process leaves nothing
// behind that could still be reached.
#include "memory_fixture.h"

namespace kelpa::test {
namespace {

using Ints = std::vector<int>;
using Texts = std::vector<std::string>;

// Every live process holding all 5 pages takes all 100 frames, and then nobody can fault. To
// exhaust the free-page list while a page is still missing, frames are handed to processes
// outside the kernel's table (as one being created would be): the state is whole again only
// after they give them back.
class Outsider {
 public:
  Outsider(TestSimulation& ts, int pid) : ts_(ts) {
    p_.PID = pid;
    p_.Color = 0x808080;
  }
  void Take(int pages) {
    std::lock_guard lock(ts_.sim.Lock);
    ts_.sim.Memoria.LoadInitialPages(&p_, pages);
  }
  void GiveBack() {
    std::lock_guard lock(ts_.sim.Lock);
    ts_.sim.Memoria.ReleaseFrames(&p_);
    p_ = TProcesso{};
  }
  TProcesso* get() { return &p_; }

 private:
  TestSimulation& ts_;
  TProcesso p_;
};

class ScarceMemoryTest : public MemoryTest {
 protected:
  void SetUp() override {
    Locked([&] { sim.Espera.SetWaitLength(1); });
  }
};

TEST_F(ScarceMemoryTest, TheProcessWhoseFaultIsServedIsNeverChosenAsVictim) {
  // It used to be picked as the page-fault victim: the rest of it went to the page file, the
  // faulting page was loaded all the same, and its swap-in gave that page a second frame.
  sim.Settings.DynamicPriorityEnabled = false;
  TProcesso* served = Create(2);
  Park(served, psPageFault);
  served->PC = 2 * kInstructionsPerPage;
  mem.MinFreePercent = 100;

  auto mark = Mark();
  Pass();
  EXPECT_EQ(LinesSince(mark), (Texts{"Lista de pags livres menor que 100%", "Iniciando Swap",
                                     Line(served, " HwPF - Imagem 2")}));
  EXPECT_EQ(CountSince(mark, Line(served, " page fault outswapped")), 0);
  EXPECT_EQ(served->State, psReady);
  EXPECT_EQ(Resident(served), (Ints{1, 2}));

  // With another candidate the search goes past the served process to it.
  mem.MinFreePercent = 0;
  TProcesso* ready = Create(1);
  mem.MinFreePercent = 100;
  Park(served, psPageFault);
  served->PC = 3 * kInstructionsPerPage;
  mark = Mark();
  Pass();
  EXPECT_EQ(CountSince(mark, Line(ready, " pronto outswapped")), 1);
  EXPECT_EQ(CountSince(mark, Line(served, " page fault outswapped")), 0);
  EXPECT_EQ(Resident(served), (Ints{2, 3}));
}

TEST_F(ScarceMemoryTest, AnEmptyFreeListAtZeroPercentIsRefilledBySwappingAProcessOut) {
  mem.MinFreePercent = 0;
  std::vector<TProcesso*> holders;
  for (int i = 0; i < 20; ++i) {
    holders.push_back(Create(5));
  }
  ASSERT_EQ(mem.FreePageCount(), 0);

  Outsider outsider(ts, 4242);
  const auto mark = Mark();
  outsider.Take(1);
  EXPECT_EQ(LinesSince(mark), (Texts{"Iniciando Swap", Line(holders.back(), " pronto outswapped"),
                                     Line(outsider.get(), " HwPF - Imagem 0")}));
  EXPECT_TRUE(outsider.get()->PageTable[0].Valid);
  EXPECT_EQ(mem.FreePageCount(), 4);
  outsider.GiveBack();
  ExpectInvariants(ts);
}

TEST_F(ScarceMemoryTest, WhenNothingCanBeFreedTheFaultWaitsForLaterInsteadOfCrashing) {
  mem.MinFreePercent = 0;
  for (int i = 0; i < 18; ++i) {
    Create(5, 1);
  }
  mem.AnticipatedFetch = false;
  TProcesso* idle = Create(5, 0);  // holds no frame: swapping it out frees nothing
  TProcesso* faulting = Create(5, 0);
  Outsider first(ts, 1111);
  Outsider second(ts, 2222);
  first.Take(5);
  second.Take(5);
  ASSERT_EQ(mem.FreePageCount(), 0);
  {
    std::lock_guard lock(sim.Lock);
    sim.Kernel.RemoveFromReadyQueues(faulting);
    sim.Espera.Enqueue(faulting, psPageFault);
  }

  const auto mark = Mark();
  ts.Pass();  // the outsiders' frames make the state incomplete until they give them back
  const auto lines = LoggedSince(mark);
  const Texts texts = LinesSince(mark);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), Line(idle, " pronto outswapped")), 1);
  ASSERT_EQ(
      std::count(texts.begin(), texts.end(), Line(faulting, " sem frame livre para a pagina 0")),
      1);
  for (const LoggedLine& line : lines) {
    if (line.Text == Line(faulting, " sem frame livre para a pagina 0")) {
      EXPECT_EQ(line.Colour, faulting->Color);
    }
  }
  EXPECT_FALSE(faulting->PageTable[0].Valid);
  EXPECT_EQ(faulting->State, psReady);
  first.GiveBack();
  second.GiveBack();
  ExpectInvariants(ts);

  // It faults again when it runs and is served now that frames are free.
  for (int i = 0; i < 50 && !faulting->PageTable[0].Valid; ++i) {
    Cycle();
    Pass();
  }
  EXPECT_TRUE(faulting->PageTable[0].Valid);
}

TEST_F(ScarceMemoryTest, ASwapInWithoutFramesLeavesPagesInThePageFileForLaterFaults) {
  mem.MinFreePercent = 0;
  TProcesso* back = Create(2, 15);
  for (int i = 0; i < 16; ++i) {
    Create(5, 1);
  }
  mem.AnticipatedFetch = false;
  TProcesso* idle1 = Create(5, 0);  // the victims found: they hold no frame
  TProcesso* idle2 = Create(5, 0);
  mem.AnticipatedFetch = true;
  Park(back, psSuspended);
  Locked([&] { mem.SwapOutVictim(); });
  Pass();  // resumed, still swapped out
  std::vector<Outsider> outsiders;
  for (int i = 0; i < 4; ++i) {
    outsiders.emplace_back(ts, 9000 + i);
  }
  for (Outsider& outsider : outsiders) {
    outsider.Take(5);
  }
  ASSERT_EQ(mem.FreePageCount(), 0);

  const auto mark = Mark();
  ts.Cycle();
  EXPECT_EQ(
      LinesSince(mark),
      (Texts{Line(back, " swap in"), Line(back, " HwPF - Pagefile 0"), "Iniciando Swap",
             Line(idle2, " pronto outswapped"), Line(back, " sem frame livre para a pagina 0"),
             Line(back, " HwPF - Pagefile 1"), "Iniciando Swap", Line(idle1, " pronto outswapped"),
             Line(back, " sem frame livre para a pagina 1"),
             Line(back, " liberando pagefile alocado"), Line(back, " Pronto -> Exec ")}));
  EXPECT_TRUE(back->Frames.empty());
  EXPECT_EQ(back->PageTable[0].Location, plPageFile);
  for (Outsider& outsider : outsiders) {
    outsider.GiveBack();
  }
  ExpectInvariants(ts);

  // Its first instruction faults, and the page comes back from the page file.
  Cycle();
  ASSERT_EQ(back->State, psPageFault);
  const auto served = Mark();
  Pass();
  EXPECT_EQ(CountSince(served, Line(back, " HwPF - Pagefile 0")), 1);
  EXPECT_TRUE(back->PageTable[0].Valid);
  EXPECT_EQ(mem.AllocatedBlocks.size(), 1u);  // page 1 stays there until it is needed
}

TEST_F(ScarceMemoryTest, NothingReachesAnEndedProcessThroughFramesOrBlocks) {
  // Parked frames and page-file blocks used to keep naming the ended process, and reusing them
  // wrote into its freed page table. The checker after every step finds any such reference, and
  // the address sanitizer any write through one.
  mem.MinFreePercent = 0;
  TProcesso* ends = Create(2, 15);
  Write(ends, 0);
  ASSERT_TRUE(Fault(ends, 2));               // page 0 to the modified-page list...
  Locked([&] { mem.FlushModifiedList(); });  // ...and on to the page file
  ASSERT_TRUE(Fault(ends, 3));               // page 1, clean, to the free-page list
  Write(ends, 2);
  ASSERT_TRUE(Fault(ends, 4));  // page 2 to the modified-page list
  const int modifiedFrame = mem.ModifiedPageList.front();
  ASSERT_EQ(mem.AllocatedBlocks.size(), 1u);

  Kill(ends);
  EXPECT_TRUE(mem.ModifiedPageList.empty());
  EXPECT_FALSE(mem.FrameTable[modifiedFrame].Modified);
  EXPECT_TRUE(mem.AllocatedBlocks.empty());

  // Every frame is handed out again, the parked ones included.
  for (int i = 0; i < 20; ++i) {
    ASSERT_NE(Create(5), nullptr);
  }
  EXPECT_EQ(mem.FreePageCount(), 0);
}

}  // namespace
}  // namespace kelpa::test
