// SPDX-License-Identifier: MIT
#include "runner/states_trace.h"

#include "exports/run_header.h"
#include "exports/states_table.h"

namespace kelpa {

void StatesTrace::Begin(const RunHeader& header) {
  WriteCommentHeader(out_, header, msg_);
  WriteRow(StatesColumns(header.Resolved));
}

void StatesTrace::Tick(std::int64_t tick, const std::vector<ProcessFigures>& processes,
                       const TCPU::CycleOutcome& cycle) {
  WriteRow(StatesRow(tick, processes, cycle));
}

void StatesTrace::WriteRow(const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    out_ << (i == 0 ? "" : ",") << cells[i];
  }
  out_ << '\n';
}

void StatesTrace::End(const RunFigures& figures) {
  WriteCommentStatistics(out_, StatisticRows(figures.Statistics, captions_));
}

}  // namespace kelpa
