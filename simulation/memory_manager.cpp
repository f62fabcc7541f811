// SPDX-License-Identifier: MIT
#include "simulation/memory_manager.h"

#include <algorithm>
#include <climits>
#include <string>

#include "simulation/simulation.h"

namespace kelpa {
TMemoReal::TMemoReal(Simulation& sim) : sim_(sim) {
  Clear();
}

void TMemoReal::Clear() {
  FreePageList.clear();
  ModifiedPageList.clear();
  FreeBlocks.clear();
  ReservedBlocks.clear();
  AllocatedBlocks.clear();
  for (int i = 0; i < kFrameCount; ++i) {
    FrameTable[i] = TFrameEntry{i, true, nullptr, 0, false};
    FreePageList.push_back(i);
  }
  for (int i = 0; i < kBlockCount; ++i) {
    BlockTable[i] = TBlockEntry{i, bsFree, nullptr, 0, false};
    FreeBlocks.push_back(i);
  }
  HardFaultCount = 0;
  SoftFaultCount = 0;
}

// --- real memory and page tables ---

void TMemoReal::ReportSystem(EventKind kind, int value) {
  SimEvent event;
  event.Kind = kind;
  event.Value = value;
  sim_.Report(event);
}

void TMemoReal::LoadInitialPages(TProcesso* P, int count) {
  sim_.Lock.AssertHeld();
  count = std::clamp(count, 0, kPagesPerProcess);
  for (int page = 0; page < count; ++page) {
    const int frame = GetFrame(P, page);
    if (frame < 0) {
      return;  // the remaining pages come on demand
    }
    TPageEntry& entry = P->PageTable[page];
    entry.Frame = frame;
    entry.Valid = true;
    entry.Location = plMemory;
    P->Frames.push_back(page);
    NoteBroughtIn(*P, page);
  }
}

bool TMemoReal::ServePageFault(TProcesso* P) {
  sim_.Lock.AssertHeld();
  const int page = P->FaultPage >= 0 ? P->FaultPage : P->CurrentPage();
  P->FaultPage = -1;
  if (P->PageTable[page].Valid) {
    return true;
  }
  if (FrameLimitEnabled) {
    EnforceFrameLimit(P, page);
  }
  const int frame = GetFrame(P, page);
  if (frame < 0) {
    return false;
  }
  TPageEntry& entry = P->PageTable[page];
  entry.Frame = frame;
  entry.Valid = true;
  entry.Location = plMemory;
  P->Frames.push_back(page);
  NoteBroughtIn(*P, page);
  return true;
}

void TMemoReal::NoteReference(TProcesso& P, int page) {
  sim_.Lock.AssertHeld();
  // A fetch done before its data page faulted may have lost its page to that fault.
  if (page < 0 || page >= kPagesPerProcess || !P.PageTable[page].Valid) {
    return;
  }
  NoteBroughtIn(P, page);
}

void TMemoReal::NoteBroughtIn(TProcesso& P, int page) {
  TPageEntry& entry = P.PageTable[page];
  entry.Referenced = true;
  entry.LastUse = ++P.ReferenceClock;
}

std::size_t TMemoReal::ChooseVictim(TProcesso& P, int incoming) {
  std::deque<std::int32_t>& frames = P.Frames;
  switch (Replacement) {
    case ReplacementPolicy::Fifo:
      break;
    case ReplacementPolicy::Lru: {
      const auto oldest = std::min_element(frames.begin(), frames.end(), [&P](int a, int b) {
        return P.PageTable[a].LastUse < P.PageTable[b].LastUse;
      });
      return static_cast<std::size_t>(oldest - frames.begin());
    }
    case ReplacementPolicy::SecondChance:
      // The clock over the pages in load order: a referenced page loses its bit and goes round
      // once more; after one full turn every bit is clear, so this ends.
      while (P.PageTable[frames.front()].Referenced) {
        P.PageTable[frames.front()].Referenced = false;
        frames.push_back(frames.front());
        frames.pop_front();
      }
      break;
    case ReplacementPolicy::Optimal:
      return FarthestNextUse(P, incoming);
  }
  return 0;
}

std::size_t TMemoReal::FarthestNextUse(const TProcesso& P, int incoming) const {
  // The references still to come, from the instruction at PC (only its data when its fetch is
  // done) through one whole turn of a looping program, or to the end of a finite one.
  constexpr std::int64_t kNever = INT64_MAX;
  std::array<std::int64_t, kPagesPerProcess> next{};
  next.fill(kNever);
  const int length = std::max<int>(P.Length, 1);
  const int turn = P.Repeats ? length + 1 : std::max(P.Length - P.PC, 0);
  std::int64_t at = 0;
  const auto reference = [&](int page) {
    if (page >= 0 && page < kPagesPerProcess && next[page] == kNever) {
      next[page] = at;
    }
    ++at;
  };
  for (int k = 0; k < turn; ++k) {
    const int index = (P.PC + k) % length;
    const int page = index / kInstructionsPerPage;
    if (k > 0 || !P.FetchDone) {
      reference(page);
    }
    reference(DataPageOf(P.Instructions[index], page));
  }
  // Farthest first; among pages never used again or used equally far, the lowest number.
  std::size_t victim = 0;
  for (std::size_t i = 0; i < P.Frames.size(); ++i) {
    const int page = P.Frames[i];
    const int best = P.Frames[victim];
    if (page == incoming) {
      continue;
    }
    if (best == incoming || next[page] > next[best] || (next[page] == next[best] && page < best)) {
      victim = i;
    }
  }
  return victim;
}

void TMemoReal::EnforceFrameLimit(TProcesso* P, int incoming) {
  if (static_cast<int>(P->Frames.size()) != P->FrameLimit || P->Frames.empty()) {
    return;
  }
  const std::size_t at = ChooseVictim(*P, incoming);
  const int victim = P->Frames[at];
  if (Replacement != ReplacementPolicy::Fifo) {
    SimEvent event = EventAbout(EventKind::PageReplaced, *P);
    event.Page = victim;
    event.Value = static_cast<int>(Replacement);
    sim_.Report(event);
  }
  TPageEntry& entry = P->PageTable[victim];
  entry.Valid = false;
  TFrameEntry& frame = FrameTable[entry.Frame];
  frame.Free = true;
  if (entry.Modified) {
    entry.Location = plModifiedList;
    ModifiedPageList.push_back(frame.Number);
  } else {
    entry.Location = plFreeList;
    FreePageList.push_back(frame.Number);
  }
  P->Frames.erase(P->Frames.begin() + static_cast<std::ptrdiff_t>(at));
}

int TMemoReal::GetFrame(TProcesso* P, int page) {
  CheckFreeFrames();
  const PageLocation location = P->PageTable[page].Location;
  const bool needsFreeFrame = location != plFreeList && location != plModifiedList;
  if (needsFreeFrame && FreePageList.empty() && !MakeFrameAvailable()) {
    sim_.ReportProcess(EventKind::NoFreeFrame, *P, page);
    return -1;
  }
  switch (location) {
    case plImage:
      return FaultFromImage(P, page);
    case plFreeList:
      return FaultFromFreeList(P, page);
    case plModifiedList:
      return FaultFromModifiedList(P, page);
    default:
      return FaultFromPageFile(P, page);
  }
}

int TMemoReal::TakeFreeFrame(TProcesso* P, int page) {
  if (FreePageList.empty()) {
    return -1;
  }
  TFrameEntry& frame = FrameTable[FreePageList.front()];
  if (frame.Owner != nullptr) {
    // The previous page loses its frame only if it was still parked here; a page that went on to
    // the page file keeps its block and is read back from there.
    TPageEntry& previous = frame.Owner->PageTable[frame.Page];
    if (previous.Location == plFreeList && previous.Frame == frame.Number) {
      previous.Location = plImage;
    }
  }
  frame.Owner = P;
  frame.Page = page;
  frame.Free = false;
  FreePageList.pop_front();
  return frame.Number;
}

std::deque<std::int32_t>::iterator TMemoReal::FindParkedFrame(std::deque<std::int32_t>& list,
                                                              const TProcesso* P, int page) {
  // Only the frame the entry names holds the page's current content: after a swap or a flush the
  // free-page list may still hold older frames naming the same page.
  const int parked = P->PageTable[page].Frame;
  return std::find_if(list.begin(), list.end(), [&](int number) {
    const TFrameEntry& frame = FrameTable[number];
    return number == parked && frame.Owner == P && frame.Page == page;
  });
}

int TMemoReal::FaultFromImage(TProcesso* P, int page) {
  HardFaultCount += 1;
  sim_.ReportProcess(EventKind::HardFaultFromImage, *P, page);
  return TakeFreeFrame(P, page);
}

int TMemoReal::FaultFromFreeList(TProcesso* P, int page) {
  SoftFaultCount += 1;
  sim_.ReportProcess(EventKind::SoftFaultFromFreeList, *P, page);
  const auto it = FindParkedFrame(FreePageList, P, page);
  if (it != FreePageList.end()) {
    const int number = *it;
    FrameTable[number].Free = false;
    FreePageList.erase(it);
    return number;
  }
  // Not where its location says: the content is gone, so the page starts again from the image.
  return TakeFreeFrame(P, page);
}

int TMemoReal::FaultFromModifiedList(TProcesso* P, int page) {
  SoftFaultCount += 1;
  sim_.ReportProcess(EventKind::SoftFaultFromModifiedList, *P, page);
  P->PageTable[page].Modified = true;
  const auto it = FindParkedFrame(ModifiedPageList, P, page);
  if (it != ModifiedPageList.end()) {
    const int number = *it;
    FrameTable[number].Free = false;
    ModifiedPageList.erase(it);
    return number;
  }
  return TakeFreeFrame(P, page);
}

int TMemoReal::FaultFromPageFile(TProcesso* P, int page) {
  HardFaultCount += 1;
  sim_.ReportProcess(EventKind::HardFaultFromPageFile, *P, page);
  const auto block = std::find_if(AllocatedBlocks.begin(), AllocatedBlocks.end(), [&](int b) {
    return BlockTable[b].Owner == P && BlockTable[b].Page == page;
  });
  const int frame = TakeFreeFrame(P, page);
  P->PageTable[page].Modified = true;
  if (block != AllocatedBlocks.end()) {
    const int number = *block;
    BlockTable[number].State = bsReserved;
    AllocatedBlocks.erase(block);
    ReservedBlocks.push_back(number);
    sim_.Display.RedrawPageFile();
  }
  return frame;
}

void TMemoReal::MarkModified(int frame) {
  sim_.Lock.AssertHeld();
  if (frame >= 0 && frame < kFrameCount) {
    FrameTable[frame].Modified = true;
  }
}

void TMemoReal::ReleaseFrames(TProcesso* P) {
  sim_.Lock.AssertHeld();
  for (const TPageEntry& entry : P->PageTable) {
    if (!entry.Valid) {
      continue;
    }
    TFrameEntry& frame = FrameTable[entry.Frame];
    frame.Free = true;
    frame.Owner = nullptr;
    frame.Modified = false;
    FreePageList.push_back(frame.Number);
  }
  // Parked frames of the ending process no longer name it; its modified pages need no writing.
  for (int number : FreePageList) {
    if (FrameTable[number].Owner == P) {
      FrameTable[number].Owner = nullptr;
    }
  }
  std::deque<std::int32_t> stillModified;
  for (int number : ModifiedPageList) {
    TFrameEntry& frame = FrameTable[number];
    if (frame.Owner == P) {
      frame.Owner = nullptr;
      frame.Modified = false;
      FreePageList.push_back(number);
    } else {
      stillModified.push_back(number);
    }
  }
  ModifiedPageList = std::move(stillModified);
}

void TMemoReal::GetPageFaultCounts(std::int32_t& hard, std::int32_t& soft) const {
  sim_.Lock.AssertHeld();
  hard = HardFaultCount;
  soft = SoftFaultCount;
}

// --- page file and swapping ---

bool TMemoReal::ReservePageFile(TProcesso* P, int count) {
  sim_.Lock.AssertHeld();
  if (count < 0 || count > static_cast<int>(FreeBlocks.size())) {
    return false;
  }
  sim_.ReportProcess(EventKind::PageFileReserved, *P);
  for (int i = 0; i < count; ++i) {
    TBlockEntry& block = BlockTable[FreeBlocks.front()];
    FreeBlocks.pop_front();
    block.State = bsReserved;
    block.Modified = false;
    ReservedBlocks.push_back(block.Number);
  }
  sim_.Display.RedrawPageFile();
  return true;
}

void TMemoReal::ReleasePageFile(TProcesso* P) {
  sim_.Lock.AssertHeld();
  sim_.ReportProcess(EventKind::PageFileReleased, *P);
  // The process reserved PageCount blocks at its creation; exactly that many go back, its
  // allocated ones first, so the pool always holds the share of every live process.
  int toRelease = P->PageCount;
  auto release = [&](std::deque<std::int32_t>& list, auto&& chosen) {
    std::deque<std::int32_t> kept;
    for (int number : list) {
      TBlockEntry& block = BlockTable[number];
      if (toRelease > 0 && chosen(block)) {
        block.State = bsFree;
        block.Modified = false;
        block.Owner = nullptr;
        FreeBlocks.push_back(number);
        --toRelease;
        sim_.Display.RedrawPageFile();
      } else {
        kept.push_back(number);
      }
    }
    list = std::move(kept);
  };
  release(AllocatedBlocks, [P](const TBlockEntry& b) { return b.Owner == P; });
  release(ReservedBlocks, [P](const TBlockEntry& b) { return b.Owner == P; });
  release(ReservedBlocks, [](const TBlockEntry&) { return true; });
  for (TBlockEntry& block : BlockTable) {
    if (block.Owner == P) {
      block.Owner = nullptr;
    }
  }
}

void TMemoReal::SwapIn(TProcesso* P) {
  sim_.Lock.AssertHeld();
  sim_.ReportProcess(EventKind::SwapInStarted, *P);
  std::deque<std::int32_t> resident;
  for (int page : P->Frames) {
    HardFaultCount += 1;
    sim_.ReportProcess(EventKind::SwapInPageRead, *P, page);
    CheckFreeFrames();
    if (FreePageList.empty() && !MakeFrameAvailable()) {
      // The page stays in the page file and is read back at its next fault.
      sim_.ReportProcess(EventKind::NoFreeFrame, *P, page);
      continue;
    }
    const int frame = TakeFreeFrame(P, page);
    TPageEntry& entry = P->PageTable[page];
    entry.Frame = frame;
    entry.Valid = true;
    entry.Location = plMemory;
    FrameTable[frame].Modified = entry.Modified;
    ReleaseBlock(P, page);
    resident.push_back(page);
  }
  P->Frames = std::move(resident);
  sim_.ReportProcess(EventKind::SwapInFinished, *P);
}

bool TMemoReal::EnoughFreeFrames() const {
  return static_cast<int>(FreePageList.size()) * 100 / kFrameCount >= MinFreePercent;
}

void TMemoReal::CheckFreeFrames() {
  sim_.Lock.AssertHeld();
  if (EnoughFreeFrames()) {
    return;
  }
  ReportSystem(EventKind::FreeFramesLow, MinFreePercent);
  FlushModifiedList();
  if (!EnoughFreeFrames()) {
    SwapOutVictim();
  }
}

bool TMemoReal::MakeFrameAvailable() {
  if (FreePageList.empty()) {
    FlushModifiedList();
  }
  if (FreePageList.empty()) {
    SwapOutVictim();
  }
  return !FreePageList.empty();
}

void TMemoReal::FlushModifiedList() {
  if (ModifiedPageList.empty()) {
    return;
  }
  ReportSystem(EventKind::ModifiedListWritten);
  for (int number : ModifiedPageList) {
    TFrameEntry& frame = FrameTable[number];
    frame.Free = true;
    frame.Modified = false;
    FreePageList.push_back(number);
    if (frame.Owner == nullptr || ReservedBlocks.empty()) {
      continue;  // nothing left to write, or (never with a balanced pool) nowhere to write it
    }
    TPageEntry& entry = frame.Owner->PageTable[frame.Page];
    TBlockEntry& block = BlockTable[ReservedBlocks.front()];
    ReservedBlocks.pop_front();
    entry.Location = plPageFile;
    entry.Frame = block.Number;
    block.Owner = frame.Owner;
    block.Page = frame.Page;
    block.State = bsAllocated;
    block.Modified = true;
    AllocatedBlocks.push_back(block.Number);
    sim_.Display.RedrawPageFile();
  }
  ModifiedPageList.clear();
}

void TMemoReal::SwapOutVictim() {
  ReportSystem(EventKind::SwapStarted);
  ProcessState from = psSuspended;
  TProcesso* victim = sim_.Espera.TakeSuspendedVictim();
  if (victim == nullptr) {
    from = psIO;
    victim = sim_.Espera.TakeIOVictim();
  }
  if (victim == nullptr) {
    from = psPageFault;
    victim = sim_.Espera.TakePageFaultVictim();
  }
  if (victim == nullptr) {
    from = psReady;
    victim = sim_.Kernel.PickSwapVictim();
  }
  if (victim == nullptr) {
    return;
  }
  SimEvent event = EventAbout(EventKind::SwappedOut, *victim);
  event.From = from;
  sim_.Report(event);
  SwapOut(victim);
}

void TMemoReal::SwapOut(TProcesso* P) {
  for (int page : P->Frames) {
    TPageEntry& entry = P->PageTable[page];
    TFrameEntry& frame = FrameTable[entry.Frame];
    frame.Free = true;
    frame.Modified = false;
    FreePageList.push_back(frame.Number);
    entry.Valid = false;
    if (ReservedBlocks.empty()) {
      entry.Location = plFreeList;  // never with a balanced pool: the page stays in its frame
      continue;
    }
    TBlockEntry& block = BlockTable[ReservedBlocks.front()];
    ReservedBlocks.pop_front();
    entry.Location = plPageFile;
    entry.Frame = block.Number;
    block.Owner = P;
    block.Page = page;
    block.State = bsAllocated;
    block.Modified = entry.Modified;
    AllocatedBlocks.push_back(block.Number);
    sim_.Display.RedrawPageFile();
  }
}

void TMemoReal::ReleaseBlock(TProcesso* P, int page) {
  const auto found = std::find_if(AllocatedBlocks.begin(), AllocatedBlocks.end(), [&](int b) {
    return BlockTable[b].Owner == P && BlockTable[b].Page == page;
  });
  if (found == AllocatedBlocks.end()) {
    return;
  }
  TBlockEntry& block = BlockTable[*found];
  block.State = bsReserved;
  block.Modified = false;
  AllocatedBlocks.erase(found);
  ReservedBlocks.push_back(block.Number);
  sim_.Display.RedrawPageFile();
}

}  // namespace kelpa
