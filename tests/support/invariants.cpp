// SPDX-License-Identifier: MIT
#include "support/invariants.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <ostream>
#include <set>
#include <sstream>

#include "support/test_simulation.h"

namespace kelpa::test {
namespace {

constexpr int kBlocksPerProcess = 5;

// Where a frame or a block sits, as the lists say.
enum class Place { None, First, Second, Third, Several };

class Checker {
 public:
  explicit Checker(const Simulation& sim) : sim_(sim), memo_(sim.Memoria) {
    for (const auto& owned : sim.Kernel.Processes) {
      live_.insert(owned.get());
    }
  }

  std::vector<std::string> Run() {
    CheckFrameLists();
    CheckOccupiedFrames();
    CheckParkedFrames();
    CheckBlockLists();
    CheckAllocatedBlocks();
    CheckBlockBalance();
    for (const auto& owned : sim_.Kernel.Processes) {
      CheckPageTable(*owned);
      CheckResidentList(*owned);
    }
    CheckProcessPlaces();
    CheckInterrupts();
    return std::move(errors_);
  }

 private:
  template <typename... Parts>
  void Fail(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    errors_.push_back(out.str());
  }

  bool IsLive(const TProcesso* p) const { return live_.count(p) != 0; }

  static std::string Pid(const TProcesso& p) { return "process " + std::to_string(p.PID); }

  // Names a page in a failure message; spelled out only when something failed.
  struct PageRef {
    const TProcesso& Process;
    int Page;
    friend std::ostream& operator<<(std::ostream& out, const PageRef& ref) {
      return out << "process " << ref.Process.PID << " page " << ref.Page;
    }
  };

  // Counts each number's appearances in up to three lists; Several when more than one in total.
  template <std::size_t N>
  std::array<Place, N> Places(const std::deque<std::int32_t>& first,
                              const std::deque<std::int32_t>& second,
                              const std::deque<std::int32_t>* third, const char* what) {
    std::array<Place, N> places{};
    auto mark = [&](const std::deque<std::int32_t>& list, Place place) {
      for (std::int32_t n : list) {
        if (n < 0 || n >= static_cast<std::int32_t>(N)) {
          Fail(what, " number ", n, " out of range on a list");
          continue;
        }
        places[n] = places[n] == Place::None ? place : Place::Several;
      }
    };
    mark(first, Place::First);
    mark(second, Place::Second);
    if (third != nullptr) {
      mark(*third, Place::Third);
    }
    return places;
  }

  void CheckFrameLists() {
    const auto places =
        Places<kFrameCount>(memo_.FreePageList, memo_.ModifiedPageList, nullptr, "frame");
    for (int i = 0; i < kFrameCount; ++i) {
      const TFrameEntry& f = memo_.FrameTable[i];
      if (f.Number != i) {
        Fail("frame ", i, " carries number ", f.Number);
      }
      if (places[i] == Place::Several) {
        Fail("frame ", i, " is on the frame lists more than once");
      } else if (places[i] == Place::None && f.Free) {
        Fail("frame ", i, " is Free but on neither list");
      } else if (places[i] != Place::None && !f.Free) {
        Fail("frame ", i, " is on a list but not Free");
      }
      if (f.Owner != nullptr && !IsLive(f.Owner)) {
        Fail("frame ", i, " names an ended process");
      }
    }
  }

  void CheckOccupiedFrames() {
    for (const TFrameEntry& f : memo_.FrameTable) {
      if (f.Free) {
        continue;
      }
      if (f.Owner == nullptr || !IsLive(f.Owner)) {
        Fail("occupied frame ", f.Number, " has no live owner");
        continue;
      }
      if (f.Page < 0 || f.Page >= kPagesPerProcess) {
        Fail("occupied frame ", f.Number, " holds page ", f.Page);
        continue;
      }
      const TPageEntry& e = f.Owner->PageTable[f.Page];
      if (!e.Valid || e.Location != plMemory || e.Frame != f.Number) {
        Fail("occupied frame ", f.Number, ": ", Pid(*f.Owner), " page ", f.Page, " has Valid ",
             e.Valid, " Location ", static_cast<int>(e.Location), " Frame ", e.Frame);
      }
    }
  }

  // A frame on the modified-page list still holds the only copy of its page.
  void CheckParkedFrames() {
    for (std::int32_t n : memo_.ModifiedPageList) {
      if (n < 0 || n >= kFrameCount) {
        continue;
      }
      const TFrameEntry& f = memo_.FrameTable[n];
      if (f.Owner == nullptr || !IsLive(f.Owner)) {
        Fail("modified-list frame ", n, " has no live owner");
        continue;
      }
      const TPageEntry& e = f.Owner->PageTable[f.Page];
      if (e.Location != plModifiedList || e.Frame != n) {
        Fail("modified-list frame ", n, ": ", Pid(*f.Owner), " page ", f.Page, " has Location ",
             static_cast<int>(e.Location), " Frame ", e.Frame);
      }
    }
  }

  void CheckBlockLists() {
    const auto places = Places<kBlockCount>(memo_.FreeBlocks, memo_.ReservedBlocks,
                                            &memo_.AllocatedBlocks, "block");
    for (int i = 0; i < kBlockCount; ++i) {
      const TBlockEntry& b = memo_.BlockTable[i];
      if (b.Number != i) {
        Fail("block ", i, " carries number ", b.Number);
      }
      static constexpr std::array<Place, 3> kListOfState = {Place::First, Place::Second,
                                                            Place::Third};
      if (places[i] == Place::None || places[i] == Place::Several) {
        Fail("block ", i, " is on ", places[i] == Place::None ? "no" : "more than one",
             " block list");
      } else if (b.State > bsAllocated ||
                 kListOfState[static_cast<std::size_t>(b.State)] != places[i]) {
        Fail("block ", i, " has State ", static_cast<int>(b.State), " but sits on another list");
      }
      if (b.Owner != nullptr && !IsLive(b.Owner)) {
        Fail("block ", i, " names an ended process");
      }
    }
  }

  void CheckAllocatedBlocks() {
    for (std::int32_t n : memo_.AllocatedBlocks) {
      if (n < 0 || n >= kBlockCount) {
        continue;
      }
      const TBlockEntry& b = memo_.BlockTable[n];
      if (b.Owner == nullptr || !IsLive(b.Owner)) {
        Fail("allocated block ", n, " has no live owner");
        continue;
      }
      const TPageEntry& e = b.Owner->PageTable[b.Page];
      if (e.Location != plPageFile || e.Frame != n) {
        Fail("allocated block ", n, ": ", Pid(*b.Owner), " page ", b.Page, " has Location ",
             static_cast<int>(e.Location), " Frame ", e.Frame);
      }
    }
  }

  void CheckBlockBalance() {
    const std::size_t held = memo_.ReservedBlocks.size() + memo_.AllocatedBlocks.size();
    const std::size_t share = kBlocksPerProcess * live_.size();
    if (held != share) {
      Fail("reserved + allocated blocks = ", held, " but ", live_.size(), " live processes hold ",
           share);
    }
  }

  // Each entry's Location must be where the page really is.
  void CheckPageTable(const TProcesso& p) {
    for (int page = 0; page < kPagesPerProcess; ++page) {
      const TPageEntry& e = p.PageTable[page];
      const PageRef where{p, page};
      if (e.Valid != (e.Location == plMemory)) {
        Fail(where, " has Valid ", e.Valid, " with Location ", static_cast<int>(e.Location));
      }
      switch (e.Location) {
        case plImage:
          break;
        case plMemory:
          ExpectFrame(e.Frame, p, page, false, where);
          break;
        case plFreeList:
        case plModifiedList:
          ExpectFrame(e.Frame, p, page, true, where);
          ExpectOnList(e.Location == plFreeList ? memo_.FreePageList : memo_.ModifiedPageList,
                       e.Frame, where);
          break;
        case plPageFile:
          ExpectBlock(e.Frame, p, page, where);
          break;
        default:
          Fail(where, " has Location ", static_cast<int>(e.Location));
      }
    }
  }

  void ExpectFrame(int n, const TProcesso& p, int page, bool free, const PageRef& where) {
    if (n < 0 || n >= kFrameCount) {
      Fail(where, " names frame ", n);
      return;
    }
    const TFrameEntry& f = memo_.FrameTable[n];
    if (f.Owner != &p || f.Page != page || f.Free != free) {
      Fail(where, " names frame ", n, " which holds ",
           f.Owner == nullptr ? std::string("nobody") : Pid(*f.Owner), " page ", f.Page, " Free ",
           f.Free);
    }
  }

  void ExpectOnList(const std::deque<std::int32_t>& list, int n, const PageRef& where) {
    if (std::find(list.begin(), list.end(), n) == list.end()) {
      Fail(where, " is parked in frame ", n, " which is not on its list");
    }
  }

  void ExpectBlock(int n, const TProcesso& p, int page, const PageRef& where) {
    if (n < 0 || n >= kBlockCount) {
      Fail(where, " names block ", n);
      return;
    }
    const TBlockEntry& b = memo_.BlockTable[n];
    if (b.State != bsAllocated || b.Owner != &p || b.Page != page) {
      Fail(where, " is in the page file at block ", n, " whose State is ",
           static_cast<int>(b.State), " and page ", b.Page);
    }
  }

  // Frames lists the resident pages of a process in memory; a swapped-out one has none valid.
  void CheckResidentList(const TProcesso& p) {
    std::set<int> listed;
    for (int page : p.Frames) {
      if (page < 0 || page >= kPagesPerProcess || !listed.insert(page).second) {
        Fail(Pid(p), " lists page ", page, " in Frames twice or out of range");
      }
    }
    const bool out = IsSwappedOut(p.State);
    for (int page = 0; page < kPagesPerProcess; ++page) {
      const bool valid = p.PageTable[page].Valid;
      if (out && valid) {
        Fail(Pid(p), " is swapped out (state ", static_cast<int>(p.State), ") but page ", page,
             " is valid");
      } else if (!out && valid != (listed.count(page) != 0)) {
        Fail(Pid(p), " page ", page, " has Valid ", valid, " but Frames says otherwise");
      }
    }
  }

  void CheckProcessPlaces() {
    auto count = [](const auto& list, const TProcesso* p) {
      return static_cast<int>(std::count(list.begin(), list.end(), p));
    };
    for (const auto& queue : sim_.Kernel.ReadyQueues) {
      ExpectAllLive(queue, "a ready queue");
    }
    // A textbook policy keeps each ready process in the one queue its rules give it.
    if (IsTextbookPolicy(sim_.Kernel.Policy)) {
      for (int level = 0; level < kPriorityLevels; ++level) {
        for (const TProcesso* p : sim_.Kernel.ReadyQueues[static_cast<std::size_t>(level)]) {
          if (sim_.Kernel.QueueOf(*p) != level || level >= sim_.Kernel.QueueCount()) {
            Fail(Pid(*p), " waits in ready queue ", level, ", not in ", sim_.Kernel.QueueOf(*p));
          }
        }
      }
    }
    ExpectAllLive(sim_.Espera.WaitList, "the wait list");
    ExpectAllLive(sim_.Espera.SuspendedList, "the suspended list");
    if (sim_.Cpu.RunningProcess != nullptr && !IsLive(sim_.Cpu.RunningProcess)) {
      Fail("the processor runs an ended process");
    }
    for (const auto& owned : sim_.Kernel.Processes) {
      const TProcesso* p = owned.get();
      int ready = 0;
      for (const auto& queue : sim_.Kernel.ReadyQueues) {
        ready += count(queue, p);
      }
      const std::array<int, 4> found = {ready, sim_.Cpu.RunningProcess == p ? 1 : 0,
                                        count(sim_.Espera.WaitList, p),
                                        count(sim_.Espera.SuspendedList, p)};
      ExpectPlace(*p, found);
    }
  }

  template <typename List>
  void ExpectAllLive(const List& list, const char* name) {
    for (const TProcesso* p : list) {
      if (!IsLive(p)) {
        Fail(name, " holds an ended process");
      }
    }
  }

  // found: times in a ready queue, on the processor, in the wait list, in the suspended list.
  void ExpectPlace(const TProcesso& p, const std::array<int, 4>& found) {
    int expected = -1;
    switch (p.State) {
      case psReady:
      case psReadyOut:
        expected = 0;
        break;
      case psRunning:
        expected = 1;
        break;
      case psIO:
      case psIOOut:
      case psPageFault:
      case psPageFaultOut:
        expected = 2;
        break;
      case psSuspended:
      case psSuspendedOut:
        expected = 3;
        break;
      default:
        Fail(Pid(p), " has state ", static_cast<int>(p.State));
        return;
    }
    for (int i = 0; i < 4; ++i) {
      if (found[i] != (i == expected ? 1 : 0)) {
        Fail(Pid(p), " in state ", static_cast<int>(p.State), " is ", found[i], " times in place ",
             i, " (ready, processor, wait, suspended)");
      }
    }
  }

  void CheckInterrupts() {
    std::size_t pending = 0;
    for (const auto& queue : sim_.Kernel.InterruptQueues) {
      pending += queue.size();
    }
    if (pending > 1) {
      Fail(pending, " interrupts pending");
    }
    if (pending == 1 && sim_.Cpu.RunningProcess == nullptr) {
      Fail("an interrupt is pending with no running process");
    }
    if (sim_.Espera.ServingPageFault != nullptr) {
      Fail("a page-fault service is still marked as running");
    }
  }

  const Simulation& sim_;
  const TMemoReal& memo_;
  std::set<const TProcesso*> live_;
  std::vector<std::string> errors_;
};

}  // namespace

std::vector<std::string> CheckInvariants(const Simulation& sim) {
  return Checker(sim).Run();
}

::testing::AssertionResult InvariantsHold(const Simulation& sim) {
  const std::vector<std::string> errors = CheckInvariants(sim);
  if (errors.empty()) {
    return ::testing::AssertionSuccess();
  }
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  result << errors.size() << " invariant(s) broken:";
  for (const std::string& error : errors) {
    result << "\n  " << error;
  }
  return result;
}

void ExpectInvariants(const Simulation& sim) {
  EXPECT_TRUE(InvariantsHold(sim));
}

void ExpectInvariants(TestSimulation& ts) {
  std::lock_guard lock(ts.sim.Lock);
  EXPECT_TRUE(InvariantsHold(ts.sim));
}

}  // namespace kelpa::test
