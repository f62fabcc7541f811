// SPDX-License-Identifier: MIT
// The windows' copies of the simulation: taken without the caller holding the lock, in the
// table's and the queues' order, with the owners' colours read out of the frames and blocks.
#include <gtest/gtest.h>

#include "simulation/snapshots.h"
#include "support/test_simulation.h"

namespace kelpa::test {
namespace {

class SnapshotsTest : public ::testing::Test {
 protected:
  SnapshotsTest() { t.sim.Memoria.MinFreePercent = 0; }
  TestSimulation t;
  Simulation& sim = t.sim;
};

// A request is pending until the process's state shows it taken: a suspension until the process
// is suspended (in memory or out), a resumption until it is not; an end until it has gone.
TEST(PendingRequest, FollowsTheFlagsAgainstTheState) {
  struct Case {
    ProcessState State;
    bool Suspend;
    bool Kill;
    PendingRequest Expected;
  };
  const Case cases[] = {
      {psRunning, false, false, PendingRequest::None},
      {psRunning, true, false, PendingRequest::Suspend},
      {psIOOut, true, false, PendingRequest::Suspend},
      {psSuspended, true, false, PendingRequest::None},
      {psSuspendedOut, true, false, PendingRequest::None},
      {psSuspended, false, false, PendingRequest::Resume},
      {psSuspendedOut, false, false, PendingRequest::Resume},
      {psSuspended, false, true, PendingRequest::End},
      {psReady, true, true, PendingRequest::End},
  };
  for (const Case& c : cases) {
    ProcessRow row;
    row.State = c.State;
    row.SuspendRequested = c.Suspend;
    row.KillRequested = c.Kill;
    EXPECT_EQ(PendingRequestOf(row), c.Expected)
        << static_cast<int>(c.State) << c.Suspend << c.Kill;
  }
}

TEST_F(SnapshotsTest, ProcessesInTableOrderAndTheDetailFallsBackToTheFirst) {
  EXPECT_TRUE(SnapshotProcessRows(sim).empty());
  EXPECT_FALSE(SnapshotProcess(sim, 0).has_value());

  TProcesso* a = t.Create(pkCPU, 3, 4, 0x0000FF);
  TProcesso* b = t.Create(pkIO1, 9, 2, 0x00FF00);
  const std::vector<ProcessRow> rows = SnapshotProcessRows(sim);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(SnapshotProcessCount(sim), 2);
  const TProcesso* order[] = {a, b};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].PID, order[i]->PID) << i;
    EXPECT_EQ(rows[i].Shape, order[i]->Shape) << i;
    EXPECT_EQ(rows[i].Color, order[i]->Color) << i;
    EXPECT_EQ(rows[i].BasePriority, order[i]->BasePriority) << i;
    EXPECT_EQ(rows[i].State, order[i]->State) << i;
    EXPECT_EQ(rows[i].FrameLimit, order[i]->FrameLimit) << i;
  }

  const struct {
    int Asked;
    int Index;
    const TProcesso* Process;
  } cases[] = {{1, 1, b}, {0, 0, a}, {2, 0, a}, {-1, 0, a}};
  for (const auto& c : cases) {
    const std::optional<ProcessDetail> detail = SnapshotProcess(sim, c.Asked);
    ASSERT_TRUE(detail.has_value()) << c.Asked;
    EXPECT_EQ(detail->Index, c.Index) << c.Asked;
    EXPECT_EQ(detail->PID, c.Process->PID) << c.Asked;
    EXPECT_EQ(detail->Pages[0].Location, c.Process->PageTable[0].Location) << c.Asked;
    EXPECT_EQ(detail->Pages[0].Frame, c.Process->PageTable[0].Frame) << c.Asked;
  }
}

TEST_F(SnapshotsTest, ReadyDiscsByQueueAndOrder) {
  TProcesso* first = t.Create(pkCPU, 8);
  TProcesso* low = t.Create(pkCPU, 0);
  TProcesso* second = t.Create(pkCPU, 8);
  const std::vector<DiscPlace> discs = SnapshotReadyDiscs(sim);
  const std::vector<DiscPlace> expected = {
      {low->Shape, low->Color, DiscLocation::Ready, 0, 0},
      {first->Shape, first->Color, DiscLocation::Ready, 8, 0},
      {second->Shape, second->Color, DiscLocation::Ready, 8, 1},
  };
  EXPECT_EQ(discs, expected);
}

TEST_F(SnapshotsTest, FramesAndBlocksNameTheirOwnersColour) {
  TProcesso* p = t.Create(pkCPU, 0, 5, 0x123456);
  const FrameViews frames = SnapshotFrames(sim);
  const BlockViews blocks = SnapshotBlocks(sim);
  const PageListSizes lists = SnapshotPageLists(sim);
  const HoldLock lock(sim.Lock);
  int owned = 0;
  for (std::size_t n = 0; n < frames.size(); ++n) {
    const TFrameEntry& frame = sim.Memoria.FrameTable[n];
    EXPECT_EQ(frames[n].Free, frame.Free) << n;
    EXPECT_EQ(frames[n].OwnerColor.has_value(), frame.Owner != nullptr) << n;
    if (frame.Owner == p) {
      EXPECT_EQ(frames[n].OwnerColor, TColor{0x123456}) << n;
      ++owned;
    }
  }
  EXPECT_GT(owned, 0);
  for (std::size_t n = 0; n < blocks.size(); ++n) {
    const TBlockEntry& block = sim.Memoria.BlockTable[n];
    EXPECT_EQ(blocks[n].State, block.State) << n;
    EXPECT_EQ(blocks[n].OwnerColor.has_value(), block.Owner != nullptr) << n;
  }
  EXPECT_EQ(lists.Free, sim.Memoria.FreePageCount());
  EXPECT_EQ(lists.Modified, sim.Memoria.ModifiedPageCount());
}

}  // namespace
}  // namespace kelpa::test
