// SPDX-License-Identifier: MIT
// The table of states, the answer key: one row per tick, one column per process giving its state
// code, and one for what the processor did in the tick. The runner's states format writes it as
// csv; the printed run shows it as a table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exports/print_document.h"
#include "exports/run_figures.h"
#include "exports/trace_writer.h"
#include "scenario/scenario.h"
#include "timeline/timeline_model.h"

namespace kelpa {

// tick, P<n> for each of the scenario's processes (none without one), cpu.
std::vector<std::string> StatesColumns(const Scenario* resolved);
// "P" and the process's number, as the states table names its column.
std::string ProcessColumn(std::int64_t number);
std::vector<std::string> StatesRow(std::int64_t tick, const std::vector<ProcessFigures>& processes,
                                   const TCPU::CycleOutcome& cycle);

// Keeps a scenario run's table and figures, for a document of the run.
class StatesTableRecorder final : public TraceWriter {
 public:
  void Begin(const RunHeader& header) override;
  void Event(const SimEvent&, std::int64_t, std::int64_t) override {}
  bool WantsTicks() const override { return true; }
  void Tick(std::int64_t tick, const std::vector<ProcessFigures>& processes,
            const TCPU::CycleOutcome& cycle) override;
  void End(const RunFigures& figures) override { figures_ = figures; }

  PrintTable& Table() { return table_; }
  const RunFigures& Figures() const { return figures_; }

 private:
  PrintTable table_;
  RunFigures figures_;
};

// The same table from a recorded timeline (the windows'), over the ticks it keeps: a column per
// lane living in them, P and its number in the order of creation; the processor's column gives the
// pid it ran, INT for an interrupt served (the timeline does not keep which) or IDLE.
PrintTable StatesTableOf(const TimelineModel& model);

}  // namespace kelpa
