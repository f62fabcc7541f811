// SPDX-License-Identifier: MIT
// The memory manager: 100 frames of real memory, 100 blocks of page file, the free-page and
// modified-page lists, page-fault service, per-process replacement (first-in-first-out unless
// another policy is chosen), swapping. Every
// operation expects the simulation lock to be held by the caller; the manager has no lock of its
// own.
#pragma once

#include <array>
#include <cstdint>
#include <deque>

#include "simulation/process.h"
#include "simulation/run_options.h"
#include "simulation/sim_event.h"

namespace kelpa {

class Simulation;

inline constexpr int kFrameCount = 100;
inline constexpr int kBlockCount = 100;

// Page-file block states.
enum class BlockState : std::uint8_t { bsFree = 0, bsReserved = 1, bsAllocated = 2 };
using enum BlockState;

struct TFrameEntry {
  std::int32_t Number = 0;
  bool Free = true;
  TProcesso* Owner = nullptr;  // process whose page was last placed here; cleared when it ends
  std::int32_t Page = 0;
  bool Modified = false;
};

struct TBlockEntry {
  std::int32_t Number = 0;
  BlockState State = bsFree;
  TProcesso* Owner = nullptr;  // process whose page the block holds or last held
  std::int32_t Page = 0;
  bool Modified = false;
};

class TMemoReal {
 public:
  explicit TMemoReal(Simulation& sim);

  std::array<TFrameEntry, kFrameCount> FrameTable{};
  std::array<TBlockEntry, kBlockCount> BlockTable{};
  std::deque<std::int32_t> FreePageList;
  std::deque<std::int32_t> ModifiedPageList;
  std::deque<std::int32_t> FreeBlocks;
  std::deque<std::int32_t> ReservedBlocks;
  std::deque<std::int32_t> AllocatedBlocks;

  bool FrameLimitEnabled = true;
  bool AnticipatedFetch = true;
  std::int32_t MinFreePercent = 80;
  ReplacementPolicy Replacement = ReplacementPolicy::Fifo;

  std::int32_t HardFaultCount = 0;
  std::int32_t SoftFaultCount = 0;

  // Every frame and block free, both page lists and the fault counts as at a fresh start; the
  // options are kept. The processes that owned them must be gone already.
  void Clear();

  // --- real memory and page tables ---
  void LoadInitialPages(TProcesso* P, int count);
  // Gives the page P faulted on a frame. Returns false when no frame could be found at all (the
  // process then faults again when it next runs).
  bool ServePageFault(TProcesso* P);
  void MarkModified(int frame);
  // A reference the running process made to one of its resident pages.
  void NoteReference(TProcesso& P, int page);
  void ReleaseFrames(TProcesso* P);
  int FreePageCount() const { return static_cast<int>(FreePageList.size()); }
  int ModifiedPageCount() const { return static_cast<int>(ModifiedPageList.size()); }
  void GetPageFaultCounts(std::int32_t& hard, std::int32_t& soft) const;

  // --- page file and swapping ---
  bool ReservePageFile(TProcesso* P, int count);
  void ReleasePageFile(TProcesso* P);
  void SwapIn(TProcesso* P);
  void CheckFreeFrames();

  // --- internal steps, public for tests ---
  // Frees one of P's frames when it holds as many as its limit; incoming is the page about to be
  // brought in (-1 for none).
  void EnforceFrameLimit(TProcesso* P, int incoming = -1);
  // The index in P->Frames of the page the policy in force replaces; P holds at least one page.
  std::size_t ChooseVictim(TProcesso& P, int incoming);
  // The frame for a page, from wherever its location says; -1 when no frame is free at all.
  int GetFrame(TProcesso* P, int page);
  int TakeFreeFrame(TProcesso* P, int page);
  int FaultFromImage(TProcesso* P, int page);
  int FaultFromFreeList(TProcesso* P, int page);
  int FaultFromModifiedList(TProcesso* P, int page);
  int FaultFromPageFile(TProcesso* P, int page);
  bool EnoughFreeFrames() const;
  void FlushModifiedList();
  void SwapOutVictim();
  void SwapOut(TProcesso* P);
  void ReleaseBlock(TProcesso* P, int page);

 private:
  // Makes a frame free when the free-page list is empty whatever MinFreePercent says: flush, then
  // swap one process out. Returns whether a frame is free now.
  bool MakeFrameAvailable();
  // The frame on list that holds P's page, as the page's entry names it; list.end() when none.
  std::deque<std::int32_t>::iterator FindParkedFrame(std::deque<std::int32_t>& list,
                                                     const TProcesso* P, int page);
  // The resident page whose next reference in P's program lies farthest ahead.
  std::size_t FarthestNextUse(const TProcesso& P, int incoming) const;
  // A page comes into memory: a reference to it.
  void NoteBroughtIn(TProcesso& P, int page);
  // An event of the whole system, in black.
  void ReportSystem(EventKind kind, int value = 0);

  Simulation& sim_;
};

}  // namespace kelpa
