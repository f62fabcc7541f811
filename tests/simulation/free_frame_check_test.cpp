// SPDX-License-Identifier: MIT
// The free-frame check before every frame handed out, and the writing of the modified-page list.
#include "memory_fixture.h"

namespace kelpa::test {
namespace {

using Ints = std::vector<int>;
using Texts = std::vector<std::string>;

class FreeFrameCheckTest : public MemoryTest {
 protected:
  // Frames 0..18 occupied by four processes and one modified page parked: 80 frames free.
  void FillToEightyFree() {
    mem.MinFreePercent = 0;
    for (int i = 0; i < 3; ++i) {
      Create(5);
    }
    parked_ = Create(4);
    Write(parked_, 0);
    ASSERT_TRUE(Fault(parked_, 4));
    ASSERT_EQ(mem.FreePageCount(), 80);
    ASSERT_EQ(mem.ModifiedPageCount(), 1);
    mem.MinFreePercent = 80;
  }

  TProcesso* parked_ = nullptr;
};

TEST_F(FreeFrameCheckTest, AtTheMinimumNothingHappensBelowItTheListIsWrittenFirst) {
  FillToEightyFree();
  auto mark = Mark();
  TProcesso* e = Create(1);
  EXPECT_EQ(LinesSince(mark), (Texts{Line(e, " alocacao de blocos no pagefile"),
                                     Line(e, " HwPF - Imagem 0"), Line(e, " criado")}));
  ASSERT_EQ(mem.FreePageCount(), 79);

  // 79 free: the check writes the modified-page list, which brings 80 back; no swap.
  mark = Mark();
  TProcesso* f = Create(1);
  EXPECT_EQ(LinesSince(mark),
            (Texts{Line(f, " alocacao de blocos no pagefile"), "Lista de pags livres menor que 80%",
                   "Gravando lista de páginas modificadas no pagefile", Line(f, " HwPF - Imagem 0"),
                   Line(f, " criado")}));
  EXPECT_EQ(LoggedSince(mark)[1].Colour, kBlack);
  EXPECT_EQ(LoggedSince(mark)[2].Colour, kBlack);
  EXPECT_EQ(parked_->PageTable[0].Location, plPageFile);
  EXPECT_EQ(mem.FreePageCount(), 79);

  // Nothing left to write: one process is swapped out, the most recently queued ready one.
  mark = Mark();
  TProcesso* g = Create(1);
  EXPECT_EQ(LinesSince(mark),
            (Texts{Line(g, " alocacao de blocos no pagefile"), "Lista de pags livres menor que 80%",
                   "Iniciando Swap", Line(f, " pronto outswapped"), Line(g, " HwPF - Imagem 0"),
                   Line(g, " criado")}));
  EXPECT_EQ(LoggedSince(mark)[2].Colour, kBlack);
  EXPECT_EQ(LoggedSince(mark)[3].Colour, f->Color);
  EXPECT_EQ(f->State, psReadyOut);
  EXPECT_EQ(mem.FreePageCount(), 79);
}

TEST_F(FreeFrameCheckTest, AtZeroPercentNothingIsEverWrittenOrSwapped) {
  mem.MinFreePercent = 0;
  const auto mark = Mark();
  for (int i = 0; i < 20; ++i) {
    TProcesso* p = Create(5);
    ASSERT_NE(p, nullptr);
    Write(p, 0);
  }
  EXPECT_EQ(mem.FreePageCount(), 0);
  EXPECT_EQ(CountSince(mark, "Lista de pags livres menor que 0%"), 0);
  EXPECT_EQ(CountSince(mark, "Iniciando Swap"), 0);
  EXPECT_TRUE(mem.AllocatedBlocks.empty());
}

TEST_F(FreeFrameCheckTest, AtOneHundredPercentEveryFrameAfterTheFirstStartsACheck) {
  mem.MinFreePercent = 100;
  const auto mark = Mark();
  TProcesso* p = Create(3);
  // No victim exists (the new process is in no queue yet): each frame is handed out all the same.
  EXPECT_EQ(LinesSince(mark),
            (Texts{Line(p, " alocacao de blocos no pagefile"), Line(p, " HwPF - Imagem 0"),
                   "Lista de pags livres menor que 100%", "Iniciando Swap",
                   Line(p, " HwPF - Imagem 1"), "Lista de pags livres menor que 100%",
                   "Iniciando Swap", Line(p, " HwPF - Imagem 2"), Line(p, " criado")}));
  EXPECT_EQ(mem.FreePageCount(), 97);
}

class FlushTest : public MemoryTest {};

TEST_F(FlushTest, FourModifiedFramesGoToFourBlocksAndTheFreeList) {
  mem.MinFreePercent = 0;
  std::vector<TProcesso*> writers;
  for (int i = 0; i < 4; ++i) {
    TProcesso* p = Create(1);
    Write(p, 0);
    ASSERT_TRUE(Fault(p, 1));
    writers.push_back(p);
  }
  ASSERT_EQ(AsVector(mem.ModifiedPageList), (Ints{0, 2, 4, 6}));
  const int redraws = ts.display.pageFileRedraws;
  const auto mark = Mark();

  Locked([&] { mem.FlushModifiedList(); });

  EXPECT_EQ(LinesSince(mark), (Texts{"Gravando lista de páginas modificadas no pagefile"}));
  EXPECT_TRUE(mem.ModifiedPageList.empty());
  EXPECT_EQ(mem.FreePageCount(), 96);
  EXPECT_EQ(Ints(mem.FreePageList.end() - 4, mem.FreePageList.end()), (Ints{0, 2, 4, 6}));
  EXPECT_EQ(AsVector(mem.AllocatedBlocks), (Ints{0, 1, 2, 3}));
  for (int i = 0; i < 4; ++i) {
    const TBlockEntry& block = mem.BlockTable[i];
    EXPECT_EQ(block.State, bsAllocated);
    EXPECT_EQ(block.Owner, writers[i]);
    EXPECT_EQ(block.Page, 0);
    EXPECT_TRUE(block.Modified);
    EXPECT_EQ(writers[i]->PageTable[0].Location, plPageFile);
    EXPECT_EQ(writers[i]->PageTable[0].Frame, i);
    EXPECT_FALSE(mem.FrameTable[2 * i].Modified);
  }
  EXPECT_EQ(mem.ReservedBlocks.size(), 16u);
  EXPECT_EQ(ts.display.pageFileRedraws, redraws + 4);

  // An empty list is left alone without a line.
  const auto again = Mark();
  Locked([&] { mem.FlushModifiedList(); });
  EXPECT_TRUE(LinesSince(again).empty());
}

}  // namespace
}  // namespace kelpa::test
