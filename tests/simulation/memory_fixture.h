// SPDX-License-Identifier: MIT
// A whole simulation driven by hand for the memory-manager tests. Every helper checks the
// invariants of the whole state after it acts, so each test checks them after every operation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/invariants.h"
#include "support/test_simulation.h"

namespace kelpa::test {

class MemoryTest : public ::testing::Test {
 protected:
  void TearDown() override { ExpectInvariants(ts); }

  // Creates a process as the creation window does; null when the page file refuses it.
  TProcesso* Create(int frameLimit, int priority = 0, int kind = pkCPU) {
    colour_ = (colour_ * 7 + 0x1234) & 0xFFFFFF;
    TProcesso* p = ts.Create(kind, priority, frameLimit, colour_);
    ExpectInvariants(ts);
    return p;
  }

  // Runs an operation under the lock, as a simulation thread would, then checks the state.
  template <typename F>
  void Locked(F&& operation) {
    std::lock_guard lock(sim.Lock);
    operation();
    EXPECT_INVARIANTS(sim);
  }

  void Cycle(int count = 1) {
    for (int i = 0; i < count; ++i) {
      ts.Cycle();
      ExpectInvariants(ts);
    }
  }

  void Pass(int count = 1) {
    for (int i = 0; i < count; ++i) {
      ts.Pass();
      ExpectInvariants(ts);
    }
  }

  // What the processor does on a write instruction in a resident page.
  void Write(TProcesso* p, int page) {
    Locked([&] {
      p->PageTable[page].Modified = true;
      mem.MarkModified(p->PageTable[page].Frame);
    });
  }

  // A page fault of p on page, served at once; whether a frame was found.
  bool Fault(TProcesso* p, int page) {
    bool served = false;
    Locked([&] {
      p->PC = page * kInstructionsPerPage;
      served = mem.ServePageFault(p);
    });
    return served;
  }

  // Moves a ready process into a wait (3, 7) or the suspended list (5), as the processor would.
  void Park(TProcesso* p, ProcessState state) {
    Locked([&] {
      sim.Kernel.RemoveFromReadyQueues(p);
      sim.Espera.Enqueue(p, state);
    });
  }

  bool IsLive(const TProcesso* p) {
    std::lock_guard lock(sim.Lock);
    return sim.Kernel.IsLive(p);
  }

  // Asks for p's end and runs the processor until it is gone.
  void Kill(TProcesso* p) {
    {
      std::lock_guard lock(sim.Lock);
      p->RequestKill();
    }
    for (int i = 0; i < 500 && IsLive(p); ++i) {
      Cycle();
    }
    ASSERT_FALSE(IsLive(p));
  }

  // Creates and ends processes, each taking frames from the head of the free-page list and
  // returning them at its tail, until frame is at the head; then a new process takes it.
  TProcesso* ReuseFrame(int frame) {
    for (;;) {
      const auto& list = mem.FreePageList;
      const auto at = std::find(list.begin(), list.end(), frame);
      EXPECT_NE(at, list.end());
      const int ahead = static_cast<int>(at - list.begin());
      if (ahead == 0) {
        return Create(1, 14);
      }
      TProcesso* mover = Create(std::min(ahead, kPagesPerProcess), 15);
      Kill(mover);
    }
  }

  std::size_t Mark() const { return ts.log.Size(); }

  std::vector<std::string> LinesSince(std::size_t mark) const {
    const std::vector<std::string> texts = ts.log.Texts();
    return {texts.begin() + static_cast<std::ptrdiff_t>(mark), texts.end()};
  }

  std::vector<LoggedLine> LoggedSince(std::size_t mark) const {
    const std::vector<LoggedLine> lines = ts.log.Lines();
    return {lines.begin() + static_cast<std::ptrdiff_t>(mark), lines.end()};
  }

  int CountSince(std::size_t mark, const std::string& text) const {
    const auto lines = LinesSince(mark);
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
  }

  static std::string Line(const TProcesso* p, const std::string& text) {
    return "Processo " + std::to_string(p->PID) + text;
  }

  static std::vector<int> Resident(const TProcesso* p) {
    return {p->Frames.begin(), p->Frames.end()};
  }

  static std::vector<int> AsVector(const std::deque<std::int32_t>& list) {
    return {list.begin(), list.end()};
  }

  TestSimulation ts;
  Simulation& sim = ts.sim;
  TMemoReal& mem = ts.sim.Memoria;

 private:
  TColor colour_ = 0x00A0FF;
};

}  // namespace kelpa::test
