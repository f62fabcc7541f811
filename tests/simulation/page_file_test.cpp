// SPDX-License-Identifier: MIT
// The page file's blocks from reservation at creation to release at the end, and pages whose
// content lives in it.
#include <tuple>

#include "memory_fixture.h"
#include "platform/datetime.h"

namespace kelpa::test {
namespace {

using Texts = std::vector<std::string>;

class PageFileTest : public MemoryTest {
 protected:
  void SetUp() override {
    mem.MinFreePercent = 0;
    Locked([&] { sim.Espera.SetWaitLength(1); });
  }

  // Everything the memory manager and the kernel hold, to compare before and after.
  auto Image() {
    std::lock_guard lock(sim.Lock);
    std::vector<std::tuple<bool, const TProcesso*, int, bool>> frames;
    for (const TFrameEntry& f : mem.FrameTable) {
      frames.emplace_back(f.Free, f.Owner, f.Page, f.Modified);
    }
    std::vector<std::tuple<BlockState, const TProcesso*, int, bool>> blocks;
    for (const TBlockEntry& b : mem.BlockTable) {
      blocks.emplace_back(b.State, b.Owner, b.Page, b.Modified);
    }
    std::vector<std::size_t> queues;
    for (const auto& queue : sim.Kernel.ReadyQueues) {
      queues.push_back(queue.size());
    }
    return std::make_tuple(frames, blocks, AsVector(mem.FreePageList), AsVector(mem.FreeBlocks),
                           AsVector(mem.ReservedBlocks), AsVector(mem.AllocatedBlocks),
                           mem.HardFaultCount, sim.Kernel.Processes.size(), queues,
                           ts.display.created.size(), ts.display.pageFileRedraws);
  }

  // Runs the only process until it waits for a page, then serves the fault with the
  // modified-page list written out first, so that its written page ends up in the page file.
  void RunIntoThePageFile(TProcesso* p) {
    for (int i = 0; i < 200 && p->State != psPageFault; ++i) {
      Cycle();
    }
    ASSERT_EQ(p->State, psPageFault);
    mem.MinFreePercent = 100;
    Pass();
    mem.MinFreePercent = 0;
    ASSERT_EQ(p->PageTable[0].Location, plPageFile);
  }
};

TEST_F(PageFileTest, TwentyCreationsFitTheTwentyFirstIsRefusedWithNothingChanged) {
  for (int i = 0; i < 20; ++i) {
    ASSERT_NE(Create(2), nullptr) << "creation " << i + 1;
  }
  EXPECT_TRUE(mem.FreeBlocks.empty());
  EXPECT_EQ(mem.ReservedBlocks.size(), 100u);

  const auto before = Image();
  const std::int32_t pid = IdentifierFromTime(ts.clock.Now());
  const auto mark = Mark();
  EXPECT_EQ(ts.Create(pkCPU, 3, 2, 0x123456), nullptr);
  EXPECT_EQ(Image(), before);
  const auto lines = LoggedSince(mark);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Text,
            "Erro: criacao do processo " + std::to_string(pid) + ". Falta de espaco no PF");
  EXPECT_EQ(lines[0].Colour, 0x123456u);
}

TEST_F(PageFileTest, ReservationTakesBlocksFromTheHeadAndNamesNoOwner) {
  const int redraws = ts.display.pageFileRedraws;
  TProcesso* p = Create(1);
  EXPECT_EQ(AsVector(mem.ReservedBlocks), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(mem.FreeBlocks.front(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(mem.BlockTable[i].State, bsReserved);
    EXPECT_EQ(mem.BlockTable[i].Owner, nullptr);
  }
  EXPECT_EQ(ts.display.pageFileRedraws, redraws + 1);
  Locked([&] {
    EXPECT_FALSE(mem.ReservePageFile(p, 96));  // more than is free: refused, nothing written
    EXPECT_EQ(mem.FreeBlocks.size(), 95u);
  });
}

TEST_F(PageFileTest, HundredCreateRunKillCyclesNeverExhaustThePageFile) {
  // Blocks reserved at creation used to name no owner, and blocks holding an ended process's
  // pages stayed allocated, so after twenty rounds every creation was refused.
  for (int round = 0; round < 100; ++round) {
    TProcesso* p = Create(1 + round % 2);
    ASSERT_NE(p, nullptr) << "round " << round;
    RunIntoThePageFile(p);
    ASSERT_EQ(mem.AllocatedBlocks.size(), 1u);
    const std::string released = Line(p, " liberando pagefile reservado");
    const auto mark = Mark();
    Kill(p);
    EXPECT_EQ(CountSince(mark, released), 1);
    ASSERT_EQ(mem.FreeBlocks.size(), 100u) << "round " << round;
  }
}

TEST_F(PageFileTest, AnEndingProcessReturnsItsShareAndLeavesTheOthersBlocksAlone) {
  TProcesso* stays = Create(1, 0);
  TProcesso* ends = Create(2, 15);
  for (TProcesso* p : {stays, ends}) {
    Write(p, 0);
    ASSERT_TRUE(Fault(p, 2));
  }
  Locked([&] { mem.FlushModifiedList(); });
  ASSERT_EQ(mem.AllocatedBlocks.size(), 2u);
  const int kept = stays->PageTable[0].Frame;

  Kill(ends);
  EXPECT_EQ(mem.FreeBlocks.size(), 95u);
  EXPECT_EQ(mem.ReservedBlocks.size() + mem.AllocatedBlocks.size(), 5u);
  EXPECT_EQ(mem.BlockTable[kept].State, bsAllocated);
  EXPECT_EQ(mem.BlockTable[kept].Owner, stays);
  for (const TBlockEntry& block : mem.BlockTable) {
    EXPECT_NE(block.Owner, ends);
  }
}

TEST_F(PageFileTest, AWrittenPageSurvivesItsOldFrameBeingReusedAfterAFlush) {
  // The reuse of the frame used to send the page back to the image: the written content was
  // lost and its block stayed allocated for ever.
  TProcesso* p = Create(1);
  Write(p, 0);
  ASSERT_TRUE(Fault(p, 1));
  Locked([&] { mem.FlushModifiedList(); });
  const int block = p->PageTable[0].Frame;
  ReuseFrame(0);
  EXPECT_EQ(p->PageTable[0].Location, plPageFile);
  EXPECT_EQ(p->PageTable[0].Frame, block);

  const int hard = mem.HardFaultCount;
  const auto mark = Mark();
  ASSERT_TRUE(Fault(p, 0));
  EXPECT_EQ(LinesSince(mark), (Texts{Line(p, " HwPF - Pagefile 0")}));
  EXPECT_EQ(mem.HardFaultCount, hard + 1);
  EXPECT_TRUE(p->PageTable[0].Modified);
  EXPECT_EQ(mem.BlockTable[block].State, bsReserved);
  EXPECT_TRUE(mem.AllocatedBlocks.empty());
}

TEST_F(PageFileTest, ASwappedOutWrittenPageSurvivesItsOldFrameBeingReused) {
  TProcesso* p = Create(2);
  Write(p, 0);
  Park(p, psSuspended);
  Locked([&] { mem.SwapOutVictim(); });
  ASSERT_EQ(p->State, psSuspendedOut);
  TProcesso* taker = ReuseFrame(0);
  EXPECT_EQ(p->PageTable[0].Location, plPageFile);
  Kill(taker);

  Pass();  // the suspend request is clear: ready, still swapped out
  const auto mark = Mark();
  Cycle();
  EXPECT_EQ(CountSince(mark, Line(p, " HwPF - Pagefile 0")), 1);
  EXPECT_EQ(sim.Cpu.RunningProcess, p);
  EXPECT_TRUE(p->PageTable[0].Valid);
  EXPECT_TRUE(p->PageTable[0].Modified);
  EXPECT_TRUE(mem.FrameTable[p->PageTable[0].Frame].Modified);
  EXPECT_TRUE(mem.AllocatedBlocks.empty());
}

}  // namespace
}  // namespace kelpa::test
