// SPDX-License-Identifier: MIT
#include "runner/states_trace.h"

#include "exports/run_header.h"

namespace kelpa {

void StatesTrace::Begin(const RunHeader& header) {
  WriteCommentHeader(out_, header, msg_);
  out_ << "tick";
  if (header.Resolved != nullptr) {
    for (const ScenarioProcess& p : header.Resolved->Processes) {
      out_ << ",P";
      out_.Int(p.Number);
    }
  }
  out_ << ",cpu\n";
}

void StatesTrace::Tick(std::int64_t tick, const std::vector<ProcessFigures>& processes,
                       const TCPU::CycleOutcome& cycle) {
  out_.Int(tick);
  for (const ProcessFigures& f : processes) {
    out_ << ',' << StateCode(f.State);
  }
  out_ << ',' << ProcessorCode(cycle) << '\n';
}

void StatesTrace::End(const RunFigures& figures) {
  WriteCommentStatistics(out_, StatisticRows(figures.Statistics, captions_));
}

}  // namespace kelpa
