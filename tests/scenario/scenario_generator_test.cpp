// SPDX-License-Identifier: MIT
// [GERAR]: the draw is pinned for one seed, so it cannot change between libraries or releases.
#include <gtest/gtest.h>

#include "catalogue/messages.h"
#include "scenario/scenario_reader.h"

namespace kelpa {
namespace {

TEST(ScenarioGenerator, DrawsTheSameProcessesForASeedAfterTheWrittenOnes) {
  // mt19937 seeded with 5489 gives 3499211612, 581869302, 3890346734, 3586334585, 545404204,
  // 4161255391, 3922919429, 949333985, 2715962298, 1323567403, 418932835, 2350294565; each is
  // below its rejection limit, so the values are these modulo the range sizes (6, 16, 5, 101).
  const std::string text =
      "[PROCESSO 4]\nTIPO=IO_3\n"
      "[GERAR]\nSEMENTE=5489\nPROCESSOS=3\nCHEGADA=0-100\n";
  const TMessages msg;
  const ScenarioReading read = ParseScenario(text, "t.ini", msg);
  ASSERT_TRUE(read.Value) << read.Error->Text();
  const auto& processes = read.Value->Processes;
  ASSERT_EQ(processes.size(), 4u);
  struct Drawn {
    int Number, Kind, Priority, Frames;
    std::int64_t Arrival;
  };
  const Drawn expected[] = {{5, 2, 6, 5, 22}, {6, 4, 15, 5, 39}, {7, 0, 11, 1, 22}};
  for (std::size_t i = 0; i < 3; ++i) {
    const ScenarioProcess& p = processes[i + 1];
    EXPECT_EQ(p.Number, expected[i].Number);
    EXPECT_EQ(p.Kind, expected[i].Kind) << p.Number;
    EXPECT_EQ(p.Priority, expected[i].Priority) << p.Number;
    EXPECT_EQ(p.FrameLimit, expected[i].Frames) << p.Number;
    EXPECT_EQ(p.Arrival, expected[i].Arrival) << p.Number;
    EXPECT_EQ(p.Color, kProcessPalette[i + 1]) << p.Number;
  }
  // Written back, the drawn processes are plain sections that read the same.
  const ScenarioReading again = ParseScenario(WriteScenario(*read.Value), "w.ini", msg);
  ASSERT_TRUE(again.Value);
  EXPECT_EQ(*again.Value, *read.Value);
}

}  // namespace
}  // namespace kelpa
