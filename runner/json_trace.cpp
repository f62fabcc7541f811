// SPDX-License-Identifier: MIT
#include "runner/json_trace.h"

#include "scenario/scenario_values.h"

namespace kelpa {
namespace {

std::string_view Bool(bool value) {
  return value ? "true" : "false";
}

}  // namespace

void JsonTrace::Key(std::string_view key) {
  out_.JsonString(key) << ':';
}

void JsonTrace::Ticks(const std::vector<std::int64_t>& ticks) {
  out_ << '[';
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    out_ << (i > 0 ? "," : "");
    out_.Int(ticks[i]);
  }
  out_ << ']';
}

void JsonTrace::Begin(const RunHeader& header) {
  out_ << "{\n";
  Key("program");
  out_.JsonString("Kelpa") << ",\n";
  Key("version");
  out_.JsonString(header.Version) << ",\n";
  Key("file");
  out_.JsonString(header.File) << ",\n";
  Key("sha256");
  out_.JsonString(header.Sha256) << ",\n";
  Key("catalogue");
  out_.JsonString(header.CatalogueFromFile ? "kelpa.ini" : "built-in") << ",\n";
  if (header.Resolved != nullptr) {
    Key("scenario");
    WriteScenario(*header.Resolved);
    out_ << ",\n";
  }
  Key("events");
  out_ << '[';
}

void JsonTrace::WriteScenario(const Scenario& s) {
  out_ << '{';
  Key("title");
  out_.JsonString(s.Title) << ',';
  Key("ticks");
  out_.Int(s.Ticks) << ',';
  Key("pause_at");
  Ticks(s.PauseAt);
  out_ << ',';
  for (const OptionRow& row : kOptionTable) {
    if (!OptionListed(row, row.Get(s.Options))) {
      continue;
    }
    Option(row, row.Get(s.Options));
    out_ << ',';
    // What the wait's position means follows it: the clock period and the wait length.
    if (row.Id == OptionId::IoWaitPosition) {
      Key("clock_period_ms");
      out_.Int(s.ClockPeriodMs()) << ',';
      Key("wait_length");
      out_.Int(s.Options.WaitLength()) << ',';
    }
  }
  Key("changes");
  out_ << '[';
  for (std::size_t i = 0; i < s.Changes.size(); ++i) {
    out_ << (i > 0 ? ",\n" : "\n");
    WriteChange(s.Changes[i]);
  }
  out_ << "],";
  Key("processes");
  out_ << "[\n";
  for (std::size_t i = 0; i < s.Processes.size(); ++i) {
    WriteProcess(s.Processes[i]);
    out_ << (i + 1 < s.Processes.size() ? ",\n" : "\n");
  }
  out_ << "]}";
}

void JsonTrace::WriteProcess(const ScenarioProcess& p) {
  out_ << '{';
  Key("number");
  out_.Int(p.Number) << ',';
  Key("kind");
  out_.JsonString(KindName(p.Kind)) << ',';
  Key("priority");
  out_.Int(p.Priority) << ',';
  Key("frame_limit");
  out_.Int(p.FrameLimit) << ',';
  Key("colour");
  out_.JsonString(ColourText(p.Color)) << ',';
  Key("arrival");
  out_.Int(p.Arrival) << ',';
  Key("suspend_at");
  Ticks(p.SuspendAt);
  out_ << ',';
  Key("resume_at");
  Ticks(p.ResumeAt);
  out_ << ',';
  Key("priority_at");
  out_ << '[';
  for (std::size_t i = 0; i < p.PriorityAt.size(); ++i) {
    out_ << (i > 0 ? ",{" : "{");
    Key("tick");
    out_.Int(p.PriorityAt[i].Tick) << ',';
    Key("priority");
    out_.Int(p.PriorityAt[i].Priority) << '}';
  }
  out_ << "],";
  Key("end_at");
  if (p.EndAt) {
    out_.Int(*p.EndAt);
  } else {
    out_ << "null";
  }
  out_ << '}';
}

// Only the options the change gives, under the names of the scenario's own.
void JsonTrace::WriteChange(const OptionChange& c) {
  out_ << '{';
  Key("number");
  out_.Int(c.Number) << ',';
  Key("tick");
  out_.Int(c.Tick);
  for (const OptionRow& row : kOptionTable) {
    if (const auto value = c.Options.Get(row.Id)) {
      out_ << ',';
      Option(row, *value);
    }
  }
  out_ << '}';
}

void JsonTrace::Option(const OptionRow& row, int value) {
  Key(row.Json);
  if (row.Kind == OptionKind::Number) {
    out_.Int(value);
  } else if (row.Kind == OptionKind::Choice) {
    out_.JsonString(OptionText(row, value));
  } else {
    out_ << Bool(value != 0);
  }
}

void JsonTrace::Event(const SimEvent& event, std::int64_t tick, std::int64_t ms) {
  out_ << (firstEvent_ ? "\n{" : ",\n{");
  firstEvent_ = false;
  Key("tick");
  out_.Int(tick) << ',';
  Key("ms");
  out_.Int(ms) << ',';
  Key("event");
  out_.JsonString(EventName(event.Kind)) << ',';
  // An event about no process has no pid and no states.
  const bool process = AboutAProcess(event.Kind);
  Key("pid");
  if (process) {
    out_.Int(event.Pid) << ',';
    Key("from");
    out_.JsonString(StateCode(event.From)) << ',';
    Key("to");
    out_.JsonString(StateCode(event.To)) << ',';
  } else {
    out_ << "null,";
    Key("from");
    out_ << "null,";
    Key("to");
    out_ << "null,";
  }
  Key("page");
  if (event.Page >= 0) {
    out_.Int(event.Page);
  } else {
    out_ << "null";
  }
  out_ << ',';
  Key("value");
  out_.Int(event.Value);
  if (event.Kind == EventKind::TimesReported) {
    out_ << ',';
    Key("cpu_ms");
    out_.Int(SpanMs(event.CpuTime)) << ',';
    Key("lifetime_ms");
    out_.Int(SpanMs(event.Lifetime));
  }
  if (const auto line = EventLine(event, msg_)) {
    out_ << ',';
    Key("line");
    out_.JsonString(*line);
  }
  out_ << '}';
}

void JsonTrace::WriteFigures(const ProcessFigures& f) {
  out_ << '{';
  Key("number");
  out_.Int(f.Number) << ',';
  Key("pid");
  if (f.Created) {
    out_.Int(f.Pid);
  } else {
    out_ << "null";
  }
  out_ << ',';
  Key("kind");
  out_.JsonString(KindName(f.Kind)) << ',';
  Key("priority");
  out_.Int(f.Priority) << ',';
  Key("refused");
  out_ << Bool(f.Refused) << ',';
  Key("ended");
  out_ << Bool(f.Ended) << ',';
  Key("cpu_ms");
  out_.Int(f.CpuMs) << ',';
  Key("ticks_in_state");
  out_ << '{';
  for (std::size_t s = 0; s < f.TicksIn.size(); ++s) {
    out_ << (s > 0 ? "," : "");
    Key(StateCode(static_cast<ProcessState>(s)));
    out_.Int(f.TicksIn[s]);
  }
  out_ << "},";
  Key("turnaround_ms");
  if (f.TurnaroundMs) {
    out_.Int(*f.TurnaroundMs);
  } else {
    out_ << "null";
  }
  TickFields(ProcessTickFields(f, msg_));
  out_ << '}';
}

// Each after a comma, numbers as they are, null for none.
void JsonTrace::TickFields(const std::vector<TickField>& fields) {
  for (const TickField& field : fields) {
    out_ << ',';
    Key(field.Key);
    out_ << field.Value.value_or("null");
  }
}

void JsonTrace::End(const RunFigures& figures) {
  out_ << "\n],\n";
  Key("figures");
  out_ << "[\n";
  for (std::size_t i = 0; i < figures.Processes.size(); ++i) {
    WriteFigures(figures.Processes[i]);
    out_ << (i + 1 < figures.Processes.size() ? ",\n" : "\n");
  }
  out_ << "],\n";
  Key("statistics");
  out_ << "{\n";
  const auto rows = StatisticRows(figures.Statistics, captions_);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Key(rows[i].Key);
    if (!rows[i].Value) {
      out_ << "null";
    } else if (rows[i].Number) {
      out_ << *rows[i].Value;
    } else {
      out_.JsonString(*rows[i].Value);
    }
    out_ << (i + 1 < rows.size() ? ",\n" : "\n");
  }
  out_ << "},\n";
  Key("ticks");
  std::vector<const ProcessTicks*> all;
  for (const ProcessFigures& f : figures.Processes) {
    all.push_back(&f);
  }
  std::vector<TickField> summary = SummaryTickFields(SummariseTicks(all), msg_);
  out_ << '{';
  Key(summary.front().Key);
  out_ << summary.front().Value.value_or("null");
  summary.erase(summary.begin());
  TickFields(summary);
  out_ << "}\n}\n";
}

}  // namespace kelpa
