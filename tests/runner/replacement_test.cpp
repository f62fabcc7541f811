// SPDX-License-Identifier: MIT
// Page replacement policies on one process running a finite program of its own alone, demand
// fetch: its faults as the run's figures count them. Instructions 0..7 are fetched from page 0,
// 8..15 from page 1, and so on; an L<p> adds a reference to page p.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runner/scenario_recorder.h"

namespace kelpa {
namespace {

using enum ReplacementPolicy;

std::int64_t Faults(const std::vector<std::int32_t>& codes, ReplacementPolicy policy,
                    int frameLimit) {
  Scenario s;
  s.Options.AnticipatedFetch = false;
  s.Options.Replacement = static_cast<int>(policy);
  // Each fault waits out a page-fault wait; the program ends well within this many ticks.
  s.Ticks = 40 * static_cast<std::int64_t>(codes.size()) + 40;
  ScenarioProcess p;
  p.Number = 1;
  p.FrameLimit = frameLimit;
  p.Program = {codes, false};
  s.Processes.push_back(p);
  const RunFigures run = RunScenario(s, TMessages{}, nullptr);
  EXPECT_TRUE(run.Processes.at(0).End.has_value()) << "the program did not end";
  return run.Processes.at(0).Faults;
}

std::vector<std::int32_t> Codes(std::string_view text) {
  const ProgramParse parsed = ParseProgram(text, kInstructionCount, kPagesPerProcess);
  EXPECT_EQ(parsed.Fault, ProgramFault::None) << text;
  return parsed.Codes;
}

// Worked by hand over the reference strings (fetch page, then data page, of each instruction; a
// fetch counts as a use when its instruction completes, or when a fault brings its page in).
// A: 0 1 0 2 0 3 0 1 0 2 0 4 0 1 0 2     B: 0 1 0 2 0 3 0 4 0 1 0 2 0 3 0 4
// C: 0 (8 times) 1 0 1 2 1 0 1 3 1 0 1 2
TEST(Replacement, FaultsOfReferenceStringsWorkedByHand) {
  struct Case {
    const char* Program;
    int Frames;
    std::int64_t Fifo, Lru, SecondChance, Optimal;
  };
  const Case cases[] = {
      {"L1, L2, L3, L1, L2, L4, L1, L2", 1, 16, 16, 16, 16},
      {"L1, L2, L3, L1, L2, L4, L1, L2", 2, 12, 12, 12, 9},
      {"L1, L2, L3, L1, L2, L4, L1, L2", 3, 11, 9, 10, 7},
      {"L1, L2, L3, L1, L2, L4, L1, L2", 4, 8, 5, 8, 5},
      {"L1, L2, L3, L1, L2, L4, L1, L2", 5, 5, 5, 5, 5},
      {"L1, L2, L3, L4, L1, L2, L3, L4", 3, 11, 9, 10, 7},
      {"L1, L2, L3, L4, L1, L2, L3, L4", 4, 10, 9, 10, 6},
      {"C*8, L0, L2, L0, L3, L0, L2", 2, 9, 9, 9, 7},
      {"C*8, L0, L2, L0, L3, L0, L2", 3, 7, 5, 6, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Program) + " in " + std::to_string(c.Frames) + " frames");
    const auto codes = Codes(c.Program);
    EXPECT_EQ(Faults(codes, Fifo, c.Frames), c.Fifo);
    EXPECT_EQ(Faults(codes, Lru, c.Frames), c.Lru);
    EXPECT_EQ(Faults(codes, SecondChance, c.Frames), c.SecondChance);
    EXPECT_EQ(Faults(codes, Optimal, c.Frames), c.Optimal);
  }
}

// First-in-first-out can fault more with more frames; this program was found by search.
TEST(Replacement, FifoFaultsMoreWithFourFramesThanWithThree) {
  const auto codes = Codes("L2, L1, C, L4, L2, L4, L3, L2, L4, L3");
  EXPECT_EQ(Faults(codes, Fifo, 3), 9);
  EXPECT_EQ(Faults(codes, Fifo, 4), 10);
}

// Over drawn programs: the optimal policy never faults more than another on the same program,
// and neither it nor LRU faults more with more frames.
TEST(Replacement, OptimalIsBestAndStackPoliciesHaveNoAnomaly) {
  std::mt19937 rng(2026);
  const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int trial = 0; trial < 150; ++trial) {
    std::vector<std::int32_t> codes(static_cast<std::size_t>(1 + pick(kInstructionCount)));
    for (std::int32_t& code : codes) {
      const int kind = pick(3);
      code = kind == 0 ? kCompute : (kind == 1 ? kReadBase : kWriteBase) + pick(kPagesPerProcess);
    }
    SCOPED_TRACE(ProgramText(codes));
    std::int64_t previousLru = INT64_MAX;
    std::int64_t previousOptimal = INT64_MAX;
    for (int frames = 1; frames <= kPagesPerProcess; ++frames) {
      const std::int64_t optimal = Faults(codes, Optimal, frames);
      const std::int64_t lru = Faults(codes, Lru, frames);
      EXPECT_LE(optimal, lru) << frames;
      EXPECT_LE(optimal, Faults(codes, Fifo, frames)) << frames;
      EXPECT_LE(optimal, Faults(codes, SecondChance, frames)) << frames;
      EXPECT_LE(lru, previousLru) << frames;
      EXPECT_LE(optimal, previousOptimal) << frames;
      previousLru = lru;
      previousOptimal = optimal;
    }
  }
}

}  // namespace
}  // namespace kelpa
