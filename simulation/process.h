// SPDX-License-Identifier: MIT
// The simulated process: its control block, its program of 40 instructions, its page table of
// five pages and the disc that draws it. The kernel's process table owns every live process.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/datetime.h"
#include "simulation/colour.h"
#include "simulation/display.h"
#include "simulation/process_state.h"
#include "simulation/program.h"
#include "simulation/sim_event.h"

namespace kelpa {

class Simulation;
struct TMessages;

inline constexpr int kInstructionCount = 40;
inline constexpr int kPagesPerProcess = 5;
inline constexpr int kInstructionsPerPage = 8;

// Where a page is; the number is the page table's location code.
enum class PageLocation : std::uint8_t {
  plImage = 0,
  plMemory = 1,
  plFreeList = 2,
  plModifiedList = 3,
  plPageFile = 4,
};
using enum PageLocation;

// Process kinds, in the order of the creation window's radio group.
enum ProcessKind : int { pkCPU = 0, pkIO1, pkIO2, pkIO3, pkMIX1, pkMIX2 };
inline constexpr int kProcessKindCount = 6;

using TProgram = std::array<std::int32_t, kInstructionCount>;
extern const std::array<TProgram, kProcessKindCount> ProgramTemplates;

struct TPageEntry {
  std::int32_t Frame = 0;  // frame that holds or last held the page; block number at location 4
  bool Valid = false;
  bool Modified = false;
  PageLocation Location = plImage;
  // Set by every reference to the page and when it is brought in; the second-chance clock clears
  // it. Kept under every policy, so the policy may change during a run.
  bool Referenced = false;
  // The owner's ReferenceClock at the page's last reference: least recently used is least.
  std::int64_t LastUse = 0;
};

class TProcesso {
 public:
  TProgram Instructions{};
  std::int32_t PC = 0;
  std::int32_t PID = 0;
  std::int32_t Priority = 0;
  std::int32_t BasePriority = 0;
  ProcessState State = psReady;
  bool KillRequested = false;
  bool SuspendRequested = false;
  TColor Color = 0;
  double CpuTime = 0;
  TDateTime CreatedAt = 0;
  TDateTime ReadySince = 0;
  ShapeId Shape = 0;
  std::array<TPageEntry, kPagesPerProcess> PageTable{};
  std::int32_t FrameLimit = 5;
  std::deque<std::int32_t> Frames;  // resident pages, oldest first
  std::int32_t PageCount = kPagesPerProcess;
  // Memory references made: each instruction fetched from a page in memory, and the data of a
  // write. A fetch that faults counts once, when the instruction runs after the fault.
  std::int64_t References = 0;
  // Counts the references to pages as the memory manager notes them; orders their last uses.
  std::int64_t ReferenceClock = 0;
  // How many of Instructions the program has, and whether it starts again after the last one;
  // the kinds run all 40 for ever.
  std::int32_t Length = kInstructionCount;
  bool Repeats = true;
  // The program is the process's own, not its kind's.
  bool OwnProgram = false;
  // The instruction at PC was fetched before its data page faulted: it goes on from its data.
  bool FetchDone = false;
  // Its level in a multi-level feedback queue (the top is the highest) and the ticks it has run
  // there since it came to it or last gave the processor up for I/O.
  std::int32_t Level = 0;
  std::int32_t LevelTicks = 0;
  // The page the pending page fault asks for; -1 for the page of the PC.
  std::int32_t FaultPage = -1;

  // Builds a process: program, identifier from the clock, page-file reservation, initial pages
  // under anticipated fetch, its disc and the " criado" line. When the page file has no room it
  // logs the creation error and returns nullptr. The simulation lock must be held.
  // A program of one's own (at most kInstructionCount codes) replaces the kind's; repeats says
  // whether the program starts again after its last instruction.
  static std::unique_ptr<TProcesso> Create(Simulation& sim, int kind, int priority, int frameLimit,
                                           TColor color, const ProcessProgram& program = {});

  // Dynamic priority raise at the end of a wait. The simulation lock must be held.
  void BoostPriority(Simulation& sim);
  void RestoreBasePriority() { Priority = BasePriority; }
  void RequestKill() { KillRequested = true; }
  void SetSuspendRequest(bool value) { SuspendRequested = value; }

  // Page of the instruction at PC.
  int CurrentPage() const { return PC / kInstructionsPerPage; }
  // A finite program ran its last instruction.
  bool ProgramDone() const { return !Repeats && PC >= Length; }
  // The instruction run before the one at PC, in a program that may wrap round.
  std::int32_t PreviousInstruction() const { return Instructions[(PC + Length - 1) % Length]; }
};

// The catalogue's names of a state and of a page location, which it lists by their codes.
const std::string& StateName(const TMessages& msg, ProcessState state);
std::string LocationName(const TMessages& msg, PageLocation location);

// An event about p, in its colour, from and to its present state; the caller adds the details.
SimEvent EventAbout(EventKind kind, const TProcesso& p);

// Ends a process already taken off the processor and out of the process table: its two log lines,
// the statistics, its frames and page-file blocks returned, its disc released; P becomes null.
// The simulation lock must be held.
void EliminateProcess(Simulation& sim, std::unique_ptr<TProcesso>& P);

}  // namespace kelpa
