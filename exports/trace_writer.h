// SPDX-License-Identifier: MIT
// One output format of a run: the header, each event as it happens, each tick's states, and the
// figures at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exports/run_figures.h"
#include "scenario/scenario.h"
#include "simulation/sim_event.h"

namespace kelpa {

// What the header names: the program, the file and its digest, where the texts came from, and the
// scenario as resolved.
struct RunHeader {
  std::string Version;
  std::string File;  // as given
  std::string Sha256;
  bool CatalogueFromFile = false;  // ./kelpa.ini, or the built-in texts
  const Scenario* Resolved = nullptr;
};

class TraceWriter {
 public:
  virtual ~TraceWriter() = default;
  virtual void Begin(const RunHeader& header) = 0;
  // tick: the tick being run; ms: the virtual time of the event.
  virtual void Event(const SimEvent& event, std::int64_t tick, std::int64_t ms) = 0;
  // Whether Tick is wanted: following every tick costs more than the rest of the run.
  virtual bool WantsTicks() const { return false; }
  // After each tick's last pass, when WantsTicks; processes in the scenario's order, with their
  // states (their tick counts are brought up to date only at the end), and what the processor
  // did in the tick.
  virtual void Tick(std::int64_t /*tick*/, const std::vector<ProcessFigures>& /*processes*/,
                    const TCPU::CycleOutcome& /*cycle*/) {}
  virtual void End(const RunFigures& figures) = 0;
};

}  // namespace kelpa
