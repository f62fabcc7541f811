// SPDX-License-Identifier: MIT
// What the user does by hand to a process (from the creation window or the process list), taken
// through Simulation::Apply and reported to whoever follows the run, so that a deterministic run
// can be replayed with it.
#pragma once

#include <cstdint>

#include "simulation/colour.h"
#include "simulation/display.h"
#include "simulation/program.h"

namespace kelpa {

enum class HandActionKind : std::uint8_t { Create, Suspend, Resume, SetPriority, End };

struct HandAction {
  HandActionKind Kind = HandActionKind::Create;
  // The process created (0 when the page file refused it) or the one the request is about.
  ShapeId Shape = 0;
  int ProcessKind = 0;       // Create: ProcessKind order
  int Priority = 0;          // Create and SetPriority
  int FrameLimit = 5;        // Create
  TColor Color = 0;          // Create
  ProcessProgram Program{};  // Create: a program of one's own, or none for the kind's
  friend bool operator==(const HandAction&, const HandAction&) = default;
};

class Simulation;
class TProcesso;

// Creates a process and hands it to the kernel, as the creation window does; null when the page
// file refused it (the refusal is logged) or the simulation is shutting down (nothing is logged).
// The lock must be held.
TProcesso* AddNewProcess(Simulation& sim, int kind, int priority, int frameLimit, TColor colour,
                         const ProcessProgram& program = {});

// Takes a request (suspend, resume, new priority, end) of p as the process list's buttons take
// it; Create asks nothing of a live process. The lock must be held.
void TakeRequest(Simulation& sim, TProcesso& p, HandActionKind kind, int priority);

}  // namespace kelpa
