// SPDX-License-Identifier: MIT
#include "runner/text_trace.h"

#include "exports/run_header.h"
#include "exports/run_print.h"
#include "runner/text_table.h"
#include "simulation/process.h"

namespace kelpa {
namespace {

constexpr std::size_t kTurnaroundCaption = 8;  // Label11 in kStatisticsCaptions

}  // namespace

void TextTrace::Begin(const RunHeader& header) {
  WriteCommentHeader(out_, header, msg_);
}

void TextTrace::Event(const SimEvent& event, std::int64_t tick, std::int64_t ms) {
  if (const auto line = EventLine(event, msg_)) {
    out_.Int(tick) << ' ';
    out_.VirtualTime(ms) << ' ' << *line << '\n';
  }
}

void TextTrace::End(const RunFigures& figures) {
  out_ << '\n';
  WriteProcesses(figures.Processes);
  out_ << '\n' << msg_.MsgTitEstatisticas << '\n';
  std::vector<TextRow> rows;
  for (const StatisticRow& row : StatisticRows(figures.Statistics, captions_)) {
    rows.push_back({*row.Caption, StatisticText(row)});
  }
  WriteTextTable(out_, rows);
  out_ << '\n' << msg_.MsgTicksTitulo << '\n';
  WriteTicks(figures.Processes);
}

void TextTrace::WriteTicks(const std::vector<ProcessFigures>& processes) {
  std::vector<NamedTicks> named;
  for (const ProcessFigures& f : processes) {
    named.emplace_back(std::to_string(f.Number), &f);
  }
  WriteTextTable(out_, ProcessTickRows(named, msg_));
}

void TextTrace::WriteProcesses(const std::vector<ProcessFigures>& processes) {
  TextRow heading = {msg_.MsgRunProcesso, msg_.MsgColPID, msg_.MsgRunTipo, msg_.MsgColPrio,
                     msg_.MsgColUCP};
  for (int s = 0; s < kStateCount; ++s) {
    heading.push_back(StateName(msg_, static_cast<ProcessState>(s)));
  }
  heading.push_back(captions_[kTurnaroundCaption]);
  std::vector<TextRow> rows = {heading};
  for (const ProcessFigures& f : processes) {
    TextRow row = {std::to_string(f.Number), f.Created ? std::to_string(f.Pid) : "-",
                   std::string(KindName(f.Kind)), std::to_string(f.Priority),
                   VirtualTimeText(f.CpuMs)};
    for (const std::int64_t ticks : f.TicksIn) {
      row.push_back(std::to_string(ticks));
    }
    row.push_back(f.TurnaroundMs ? VirtualTimeText(*f.TurnaroundMs) : "-");
    rows.push_back(std::move(row));
  }
  WriteTextTable(out_, rows);
}

}  // namespace kelpa
