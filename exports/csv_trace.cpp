// SPDX-License-Identifier: MIT
#include "exports/csv_trace.h"

#include "exports/run_header.h"

namespace kelpa {

void CsvTrace::Begin(const RunHeader& header) {
  WriteCommentHeader(out_, header, msg_);
  out_ << "tick,ms,event,pid,from,to,page,value,cpu_ms,lifetime_ms,line\n";
}

void CsvTrace::Event(const SimEvent& event, std::int64_t tick, std::int64_t ms) {
  out_.Int(tick) << ',';
  out_.Int(ms) << ',' << EventName(event.Kind) << ',';
  if (AboutAProcess(event.Kind)) {
    out_.Int(event.Pid) << ',' << StateCode(event.From) << ',' << StateCode(event.To);
  } else {
    out_ << ",,";  // about no process: no pid and no states
  }
  out_ << ',';
  if (event.Page >= 0) {
    out_.Int(event.Page);
  }
  out_ << ',';
  out_.Int(event.Value) << ',';
  if (event.Kind == EventKind::TimesReported) {
    out_.Int(SpanMs(event.CpuTime)) << ',';
    out_.Int(SpanMs(event.Lifetime));
  } else {
    out_ << ',';
  }
  out_ << ',';
  if (const auto line = EventLine(event, msg_)) {
    out_.CsvField(*line);
  }
  out_ << '\n';
}

void CsvTrace::End(const RunFigures& figures) {
  WriteCommentStatistics(out_, StatisticRows(figures.Statistics, captions_));
  // Each process's life in ticks, the means and the totals, as more lines of the same kind; the
  // windows' export of the events, which has no scenario process to name, stops before them.
  if (figures.Processes.empty()) {
    return;
  }
  std::vector<const ProcessTicks*> all;
  for (const ProcessFigures& f : figures.Processes) {
    all.push_back(&f);
    for (const TickField& field : ProcessTickFields(f, msg_)) {
      out_ << "# process_";
      out_.Int(f.Number) << '_' << field.Key << '=' << field.Value.value_or("") << '\n';
    }
  }
  for (const TickField& field : SummaryTickFields(SummariseTicks(all), msg_)) {
    out_ << "# " << field.Key << '=' << field.Value.value_or("") << '\n';
  }
}

}  // namespace kelpa
