// SPDX-License-Identifier: MIT
// Fetch policy, the per-process FIFO frame limit, soft faults from the two lists, pages served
// again from the image, and the frames returned when a process ends.
#include "memory_fixture.h"

namespace kelpa::test {
namespace {

using Ints = std::vector<int>;
using Texts = std::vector<std::string>;

class FetchTest : public MemoryTest {};

TEST_F(FetchTest, AnticipatedFetchLoadsTheFirstPagesIntoTheHeadFrames) {
  const auto mark = Mark();
  TProcesso* p = Create(2);
  ASSERT_NE(p, nullptr);

  EXPECT_EQ(LinesSince(mark),
            (Texts{Line(p, " alocacao de blocos no pagefile"), Line(p, " HwPF - Imagem 0"),
                   Line(p, " HwPF - Imagem 1"), Line(p, " criado")}));
  for (const LoggedLine& line : LoggedSince(mark)) {
    EXPECT_EQ(line.Colour, p->Color) << line.Text;
  }
  for (int page = 0; page < 2; ++page) {
    EXPECT_EQ(p->PageTable[page].Frame, page);
    EXPECT_TRUE(p->PageTable[page].Valid);
    EXPECT_EQ(p->PageTable[page].Location, plMemory);
    EXPECT_EQ(mem.FrameTable[page].Owner, p);
    EXPECT_EQ(mem.FrameTable[page].Page, page);
  }
  EXPECT_FALSE(p->PageTable[2].Valid);
  EXPECT_EQ(p->PageTable[2].Location, plImage);
  EXPECT_EQ(Resident(p), (Ints{0, 1}));
  EXPECT_EQ(mem.HardFaultCount, 2);
  EXPECT_EQ(mem.SoftFaultCount, 0);
  EXPECT_EQ(mem.FreePageCount(), 98);
  EXPECT_EQ(mem.FreePageList.front(), 2);
}

TEST_F(FetchTest, DemandFetchGivesNoFrameUntilTheFirstPageFaultIsServed) {
  mem.AnticipatedFetch = false;
  TProcesso* p = Create(2);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(mem.FreePageCount(), 100);
  EXPECT_EQ(mem.HardFaultCount, 0);
  EXPECT_TRUE(p->Frames.empty());

  Locked([&] { sim.Espera.SetWaitLength(10); });
  Cycle(2);  // dispatched, page 0 missing: interrupt; then the interrupt sends it to wait
  ASSERT_EQ(p->State, psPageFault);
  const auto mark = Mark();
  Pass(9);
  EXPECT_FALSE(p->PageTable[0].Valid);
  Pass();
  EXPECT_EQ(p->State, psReady);
  EXPECT_TRUE(p->PageTable[0].Valid);
  EXPECT_EQ(p->PageTable[0].Frame, 0);
  EXPECT_EQ(CountSince(mark, Line(p, " HwPF - Imagem 0")), 1);
  EXPECT_EQ(mem.HardFaultCount, 1);
  EXPECT_EQ(mem.FreePageCount(), 99);
}

class ReplacementTest : public MemoryTest {};

TEST_F(ReplacementTest, AtTheLimitTheOldestPageLeavesForTheListMatchingItsModifiedBit) {
  TProcesso* p = Create(2);
  const auto mark = Mark();

  ASSERT_TRUE(Fault(p, 2));  // page 0 is clean: its frame goes to the free-page list
  EXPECT_EQ(Resident(p), (Ints{1, 2}));
  EXPECT_EQ(p->PageTable[0].Location, plFreeList);
  EXPECT_FALSE(p->PageTable[0].Valid);
  EXPECT_EQ(mem.FreePageList.back(), 0);
  EXPECT_TRUE(mem.FrameTable[0].Free);
  EXPECT_EQ(mem.FrameTable[0].Owner, p);  // kept so that a soft fault finds it
  EXPECT_EQ(p->PageTable[2].Frame, 2);

  Write(p, 1);
  ASSERT_TRUE(Fault(p, 3));  // page 1 is modified: its frame waits to be written
  EXPECT_EQ(Resident(p), (Ints{2, 3}));
  EXPECT_EQ(p->PageTable[1].Location, plModifiedList);
  EXPECT_EQ(AsVector(mem.ModifiedPageList), (Ints{1}));
  EXPECT_TRUE(mem.FrameTable[1].Modified);
  EXPECT_EQ(mem.FreePageCount(), 97);  // frames 0 (parked) + 4..99

  // Taking a frame back by the limit writes nothing; only the two image faults are logged.
  EXPECT_EQ(LinesSince(mark), (Texts{Line(p, " HwPF - Imagem 2"), Line(p, " HwPF - Imagem 3")}));
  EXPECT_EQ(mem.HardFaultCount, 4);
}

// Each policy's victim among pages 0, 1 and 2 (loaded in that order) as page 3 comes in, and the
// line naming its rule; first-in-first-out writes none.
TEST_F(ReplacementTest, EachPolicyPicksItsVictimAndNamesItsRule) {
  struct Case {
    ReplacementPolicy Policy;
    int Victim;
    Ints After;
    const char* Rule;
  };
  const Case cases[] = {
      {ReplacementPolicy::Fifo, 0, {1, 2, 3}, nullptr},
      {ReplacementPolicy::Lru, 1, {0, 2, 3}, " (LRU: a usada há mais tempo)"},
      {ReplacementPolicy::SecondChance,
       1,
       {2, 0, 3},
       " (SEGUNDA_CHANCE: a primeira sem bit R na fila)"},
      {ReplacementPolicy::Optimal, 2, {0, 1, 3}, " (OTIMA: a usada mais adiante no programa)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Policy));
    TProcesso* p = Create(3);
    const auto mark = Mark();
    bool served = false;
    Locked([&] {
      mem.Replacement = c.Policy;
      // Page 1 was used longest ago and has lost its reference bit; page 0 keeps its bit.
      p->PageTable[0].LastUse = 5;
      p->PageTable[1].LastUse = 2;
      p->PageTable[2].LastUse = 9;
      p->PageTable[1].Referenced = false;
      // From the PC on: 0 (the fetch) 1, 0 3, 0 2: page 2 is needed last.
      p->Instructions[0] = kReadBase + 1;
      p->Instructions[1] = kReadBase + 3;
      p->Instructions[2] = kReadBase + 2;
      p->Length = 3;
      p->Repeats = false;
      p->FaultPage = 3;
      served = mem.ServePageFault(p);
    });
    ASSERT_TRUE(served);
    EXPECT_EQ(Resident(p), c.After);
    EXPECT_FALSE(p->PageTable[c.Victim].Valid);
    Texts expected;
    if (c.Rule != nullptr) {
      expected.push_back(Line(p, " substitui a página " + std::to_string(c.Victim) + c.Rule));
    }
    expected.push_back(Line(p, " HwPF - Imagem 3"));
    EXPECT_EQ(LinesSince(mark), expected);
  }
}

TEST_F(ReplacementTest, LimitOfOneKeepsOnlyTheFaultingPage) {
  TProcesso* p = Create(1);
  for (int page = 1; page < kPagesPerProcess; ++page) {
    ASSERT_TRUE(Fault(p, page));
    EXPECT_EQ(Resident(p), (Ints{page}));
    EXPECT_EQ(p->PageTable[page - 1].Location, plFreeList);
  }
  EXPECT_EQ(mem.FreePageCount(), 99);
}

TEST_F(ReplacementTest, WithTheLimitOffAProcessKeepsEveryPageItLoaded) {
  mem.FrameLimitEnabled = false;
  TProcesso* p = Create(1);
  for (int page = 1; page < kPagesPerProcess; ++page) {
    ASSERT_TRUE(Fault(p, page));
  }
  EXPECT_EQ(Resident(p), (Ints{0, 1, 2, 3, 4}));
  EXPECT_EQ(mem.FreePageCount(), 95);

  // Switched on again above the limit, nothing is taken until the count equals it exactly.
  mem.FrameLimitEnabled = true;
  ASSERT_TRUE(Fault(p, 0));
  EXPECT_EQ(Resident(p), (Ints{0, 1, 2, 3, 4}));
}

TEST_F(ReplacementTest, SoftFaultsGiveBackTheSameFrameFromEitherList) {
  TProcesso* p = Create(2);
  Write(p, 1);
  ASSERT_TRUE(Fault(p, 2));  // page 0 to the free-page list
  ASSERT_TRUE(Fault(p, 3));  // page 1 to the modified-page list
  const auto mark = Mark();

  ASSERT_TRUE(Fault(p, 0));
  EXPECT_EQ(p->PageTable[0].Frame, 0);
  EXPECT_EQ(p->PageTable[0].Location, plMemory);
  EXPECT_FALSE(p->PageTable[0].Modified);
  ASSERT_TRUE(Fault(p, 1));
  EXPECT_EQ(p->PageTable[1].Frame, 1);
  EXPECT_TRUE(p->PageTable[1].Modified);
  EXPECT_TRUE(mem.ModifiedPageList.empty());

  EXPECT_EQ(LinesSince(mark), (Texts{Line(p, " SwPF - LPL 0"), Line(p, " SwPF - LPM 1")}));
  EXPECT_EQ(mem.SoftFaultCount, 2);
  EXPECT_EQ(mem.HardFaultCount, 4);
}

TEST_F(ReplacementTest, SoftFaultAfterASwapTakesTheFrameTheEntryNamesNotAStaleOne) {
  // A swap leaves the old frames on the free-page list still naming their pages. A soft fault
  // must take back the frame the page was parked in, not the first stale one it meets.
  mem.MinFreePercent = 0;
  TProcesso* p = Create(1);
  Park(p, psSuspended);
  Locked([&] { mem.SwapOutVictim(); });  // frame 0 stays on the list naming page 0
  Locked([&] { p->SetSuspendRequest(false); });
  Pass();
  Cycle();  // dispatched: swapped in to frame 1
  ASSERT_EQ(p->PageTable[0].Frame, 1);
  ASSERT_TRUE(Fault(p, 1));  // page 0 parked in frame 1
  ASSERT_TRUE(Fault(p, 0));
  EXPECT_EQ(p->PageTable[0].Frame, 1);
}

TEST_F(ReplacementTest, ACleanPageWhoseFrameWasReusedComesFromTheImageAgain) {
  mem.MinFreePercent = 0;
  TProcesso* p = Create(1);
  ASSERT_TRUE(Fault(p, 1));  // page 0 parked clean in frame 0
  TProcesso* taker = ReuseFrame(0);
  EXPECT_EQ(taker->PageTable[0].Frame, 0);
  EXPECT_EQ(p->PageTable[0].Location, plImage);

  const int hard = mem.HardFaultCount;
  const auto mark = Mark();
  ASSERT_TRUE(Fault(p, 0));
  EXPECT_EQ(LinesSince(mark), (Texts{Line(p, " HwPF - Imagem 0")}));
  EXPECT_EQ(mem.HardFaultCount, hard + 1);
  EXPECT_NE(p->PageTable[0].Frame, 0);
}

class ReleaseFramesTest : public MemoryTest {};

TEST_F(ReleaseFramesTest, OnlyTheValidPagesFramesGoBackClearedOfTheirOwner) {
  mem.FrameLimitEnabled = false;
  TProcesso* p = Create(3);
  Write(p, 2);
  Locked([&] {
    const std::size_t before = mem.FreePageList.size();
    mem.ReleaseFrames(p);
    EXPECT_EQ(mem.FreePageList.size(), before + 3);
    for (int frame = 0; frame < 3; ++frame) {
      EXPECT_EQ(mem.FreePageList[before + frame], frame);
      EXPECT_EQ(mem.FrameTable[frame].Owner, nullptr);
      EXPECT_FALSE(mem.FrameTable[frame].Modified);
    }
    EXPECT_EQ(p->PageTable[0].Location, plMemory);  // entries are left as they were
    // Put the process back in memory so that the state is whole again for the checker.
    p->Frames.clear();
    for (TPageEntry& entry : p->PageTable) {
      entry = TPageEntry{};
    }
  });
}

TEST_F(ReleaseFramesTest, AnEndingProcessLeavesNoFrameNamingIt) {
  mem.MinFreePercent = 0;
  TProcesso* p = Create(3, 15);
  Write(p, 0);
  ASSERT_TRUE(Fault(p, 3));  // page 0 to the modified-page list
  ASSERT_TRUE(Fault(p, 4));  // page 1 to the free-page list
  ASSERT_EQ(mem.ModifiedPageCount(), 1);

  Kill(p);
  EXPECT_EQ(mem.FreePageCount(), 100);
  EXPECT_EQ(mem.ModifiedPageCount(), 0);  // nothing is left to write for an ended process
  for (const TFrameEntry& frame : mem.FrameTable) {
    EXPECT_EQ(frame.Owner, nullptr) << "frame " << frame.Number;
  }
}

}  // namespace
}  // namespace kelpa::test
