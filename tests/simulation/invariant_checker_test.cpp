// SPDX-License-Identifier: MIT
// The checker itself: every other test trusts it to notice a broken state.
#include <mutex>

#include "memory_fixture.h"

namespace kelpa::test {
namespace {

// Breaks one rule of a small consistent state and returns what the checker says.
template <typename Break>
std::vector<std::string> ProblemsAfter(Break&& breakIt) {
  TestSimulation ts;
  TProcesso* p = ts.Create(pkCPU, 0, 2);
  std::lock_guard lock(ts.sim.Lock);
  EXPECT_TRUE(CheckInvariants(ts.sim).empty());
  breakIt(ts.sim, p);
  return CheckInvariants(ts.sim);
}

bool Mentions(const std::vector<std::string>& problems, const std::string& part) {
  return std::any_of(problems.begin(), problems.end(),
                     [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

TEST(InvariantCheckerTest, NamesEachKindOfBrokenRule) {
  EXPECT_TRUE(Mentions(ProblemsAfter([](Simulation& sim, TProcesso*) {
                         sim.Memoria.ModifiedPageList.push_back(sim.Memoria.FreePageList.back());
                       }),
                       "more than once"));
  EXPECT_TRUE(Mentions(
      ProblemsAfter([](Simulation& sim, TProcesso*) { sim.Memoria.FrameTable[0].Free = true; }),
      "Free but on neither list"));
  EXPECT_TRUE(Mentions(
      ProblemsAfter([](Simulation&, TProcesso* p) { p->PageTable[1].Location = plPageFile; }),
      "page 1"));
  EXPECT_TRUE(Mentions(ProblemsAfter([](Simulation& sim, TProcesso*) {
                         TMemoReal& mem = sim.Memoria;
                         mem.FreeBlocks.push_back(mem.ReservedBlocks.front());
                         mem.ReservedBlocks.pop_front();
                       }),
                       "reserved + allocated"));
  EXPECT_TRUE(Mentions(
      ProblemsAfter([](Simulation& sim, TProcesso* p) { sim.Espera.WaitList.push_back(p); }),
      "times in place"));
  EXPECT_TRUE(Mentions(ProblemsAfter([](Simulation&, TProcesso* p) { p->State = psReadyOut; }),
                       "swapped out"));
  EXPECT_TRUE(Mentions(ProblemsAfter([](Simulation& sim, TProcesso*) {
                         sim.Kernel.RaiseInterrupt(InterruptTimeSlice);
                       }),
                       "no running process"));
  EXPECT_TRUE(Mentions(ProblemsAfter([](Simulation& sim, TProcesso* p) {
                         sim.Memoria.FrameTable[50].Owner = p;
                         sim.Kernel.Processes.clear();  // p is freed: only its address is used
                         sim.Kernel.ReadyQueues[0].clear();
                       }),
                       "ended process"));
}

}  // namespace
}  // namespace kelpa::test
