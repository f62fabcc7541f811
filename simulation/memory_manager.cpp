// SPDX-License-Identifier: MIT
#include "simulation/memory_manager.h"

#include <algorithm>
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
    EnforceFrameLimit(P);
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
  return true;
}

void TMemoReal::EnforceFrameLimit(TProcesso* P) {
  if (static_cast<int>(P->Frames.size()) != P->FrameLimit) {
    return;
  }
  const int victim = P->Frames.front();
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
  P->Frames.pop_front();
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
