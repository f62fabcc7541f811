// SPDX-License-Identifier: MIT
#include "simulation/process.h"

#include <algorithm>
#include <string>

#include "simulation/simulation.h"

namespace kelpa {
namespace {

TProgram MakeProgram(int kind) {
  TProgram program{};
  switch (kind) {
    case pkCPU:
      program.fill(kCompute);
      break;
    case pkIO1:
    case pkIO2:
    case pkIO3:
      program.fill(kind);  // the kind's I/O class equals its index here
      break;
    case pkMIX1:
    case pkMIX2: {
      const int io = kind == pkMIX1 ? 1 : 2;
      for (int i = 0; i < kInstructionCount; ++i) {
        program[i] = i % 2 == 0 ? io : kCompute;
      }
      break;
    }
    default:
      return program;
  }
  program[1] = kWrite;  // every program writes once per pass, in page 0
  return program;
}

// The identifier the time gives, or when a live process has it, the next one no live process has.
// Processes created in the same millisecond, or an hour apart, would otherwise share one, and the
// windows and the log tell processes apart by it.
std::int32_t FreeIdentifier(const Simulation& sim, std::int32_t fromTime) {
  std::int32_t pid = fromTime;
  // The page file holds far fewer processes than there are identifiers, so a free one is near.
  while (sim.Kernel.FindByPID(pid) != nullptr) {
    pid = NextIdentifier(pid);
  }
  return pid;
}

}  // namespace

const std::array<TProgram, kProcessKindCount> ProgramTemplates = {
    MakeProgram(pkCPU), MakeProgram(pkIO1),  MakeProgram(pkIO2),
    MakeProgram(pkIO3), MakeProgram(pkMIX1), MakeProgram(pkMIX2),
};

std::unique_ptr<TProcesso> TProcesso::Create(Simulation& sim, int kind, int priority,
                                             int frameLimit, TColor color,
                                             const ProcessProgram& program) {
  sim.Lock.AssertHeld();
  auto p = std::make_unique<TProcesso>();
  p->CpuTime = 0;
  p->CreatedAt = sim.Now();
  if (!program.Codes.empty()) {
    const std::size_t length = std::min(program.Codes.size(), p->Instructions.size());
    std::copy_n(program.Codes.begin(), length, p->Instructions.begin());
    p->Length = static_cast<std::int32_t>(length);
    p->OwnProgram = true;
  } else if (kind >= 0 && kind < kProcessKindCount) {
    p->Instructions = ProgramTemplates[kind];
  }
  p->Repeats = program.Repeats;
  p->PC = 0;
  // The priority picks a queue and the limit sizes the page list: keep both inside their ranges.
  p->Priority = p->BasePriority = std::clamp(priority, 0, 15);
  p->PID = FreeIdentifier(sim, IdentifierFromTime(sim.Now()));
  p->Color = color;
  p->FrameLimit = std::clamp(frameLimit, 1, kPagesPerProcess);
  p->PageCount = kPagesPerProcess;
  p->State = psReady;

  if (!sim.Memoria.ReservePageFile(p.get(), p->PageCount)) {
    sim.ReportProcess(EventKind::CreationFailed, *p);
    return nullptr;
  }
  for (TPageEntry& entry : p->PageTable) {
    entry.Valid = false;
    entry.Modified = false;
    entry.Location = plImage;
  }
  if (sim.Memoria.AnticipatedFetch) {
    sim.Memoria.LoadInitialPages(p.get(), p->FrameLimit);
  }
  p->Shape = sim.NextShapeId();
  sim.Display.CreateShape(p->Shape, p->PID, color);
  sim.ReportProcess(EventKind::Created, *p);
  return p;
}

SimEvent EventAbout(EventKind kind, const TProcesso& p) {
  SimEvent event;
  event.Kind = kind;
  event.Pid = p.PID;
  event.Color = p.Color;
  event.From = event.To = p.State;
  return event;
}

void EliminateProcess(Simulation& sim, std::unique_ptr<TProcesso>& P) {
  sim.Lock.AssertHeld();
  if (!P) {
    return;
  }
  sim.ReportProcess(EventKind::Eliminated, *P);
  const double lifetime = sim.Now() - P->CreatedAt;
  SimEvent times = EventAbout(EventKind::TimesReported, *P);
  times.CpuTime = P->CpuTime;
  times.Lifetime = lifetime;
  times.References = P->References;
  sim.Report(times);
  sim.FinishedCount += 1;
  sim.TotalTurnaroundTime += lifetime;
  sim.Memoria.ReleaseFrames(P.get());
  sim.Memoria.ReleasePageFile(P.get());
  sim.Display.ReleaseShape(P->Shape);
  P.reset();
}

void TProcesso::BoostPriority(Simulation& sim) {
  sim.Lock.AssertHeld();
  const int threshold = sim.Settings.RealTimeThreshold.load();
  if (BasePriority == threshold - 1) {
    return;
  }
  if (State == psPageFault) {
    Priority = BasePriority + 2;
    sim.ReportProcess(EventKind::PriorityRaised, *this, -1, 2);
  } else {
    const std::int32_t cause = PreviousInstruction();
    if (IsIoInstruction(cause)) {
      Priority = BasePriority + cause;
      sim.ReportProcess(EventKind::PriorityRaised, *this, -1, cause);
    }
  }
  if (Priority > 15) {
    Priority = 15;
    sim.ReportProcess(EventKind::PriorityCapped, *this, -1, 15);
  }
  if (BasePriority < threshold && Priority >= threshold) {
    Priority = threshold - 1;
    sim.ReportProcess(EventKind::PriorityCapped, *this, -1, threshold);
  }
}

const std::string& StateName(const TMessages& msg, ProcessState state) {
  return msg.StateName(static_cast<int>(state));
}

std::string LocationName(const TMessages& msg, PageLocation location) {
  return msg.LocationName(static_cast<int>(location));
}

}  // namespace kelpa
