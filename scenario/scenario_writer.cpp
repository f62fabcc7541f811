// SPDX-License-Identifier: MIT
// WriteScenario: every key of every section (of a change, the options it gives), in the order the
// documentation lists them, so the text is both the scenario with its defaults filled in and a
// file that reads back the same.
#include <string>

#include "platform/ini_text.h"
#include "scenario/scenario_reader.h"
#include "scenario/scenario_values.h"

namespace kelpa {
namespace {

std::string TickList(const std::vector<std::int64_t>& ticks) {
  std::string text;
  for (const std::int64_t tick : ticks) {
    if (!text.empty()) {
      text += ',';
    }
    text += std::to_string(tick);
  }
  return text;
}

std::string PriorityList(const std::vector<PriorityChange>& changes) {
  std::string text;
  for (const PriorityChange& change : changes) {
    if (!text.empty()) {
      text += ',';
    }
    text += std::to_string(change.Tick);
    text += ':';
    text += std::to_string(change.Priority);
  }
  return text;
}

// The reader trims a value and removes one pair of enclosing quotes: a title that would lose
// either is written between quotes.
std::string Quoted(const std::string& text) {
  const bool blankEnd = TrimBlanks(text).size() != text.size();
  const bool quoteEnds = text.size() > 1 && (text.front() == '"' || text.front() == '\'') &&
                         text.back() == text.front();
  if (!blankEnd && !quoteEnds) {
    return text;
  }
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

void Key(std::string& out, std::string_view key, const std::string& value) {
  out += key;
  out += '=';
  out += value;
  out += '\n';
}

void WriteProcess(std::string& out, const ScenarioProcess& p) {
  out += "\n[PROCESSO " + std::to_string(p.Number) + "]\n";
  const auto kind = static_cast<std::size_t>(p.Kind);
  Key(out, "TIPO",
      kind < std::size(kScenarioKindNames) ? std::string(kScenarioKindNames[kind]) : "");
  Key(out, "PRIORIDADE", std::to_string(p.Priority));
  Key(out, "FRAMES", std::to_string(p.FrameLimit));
  Key(out, "COR", ColourText(p.Color));
  Key(out, "CHEGADA", std::to_string(p.Arrival));
  Key(out, "SUSPENDE", TickList(p.SuspendAt));
  Key(out, "RETOMA", TickList(p.ResumeAt));
  Key(out, "NOVA_PRIORIDADE", PriorityList(p.PriorityAt));
  Key(out, "FIM", p.EndAt ? std::to_string(*p.EndAt) : "");
  // Only a process that has them: the kinds' scenarios stay as they were written.
  if (!p.Program.Codes.empty()) {
    Key(out, "PROGRAMA", ProgramText(p.Program.Codes));
  }
  if (!p.Program.Repeats) {
    Key(out, "REPETE", "0");
  }
}

// Only the options the change gives: the others stay as they are at its tick.
void WriteChange(std::string& out, const OptionChange& c) {
  out += "\n[MUDANCA " + std::to_string(c.Number) + "]\n";
  Key(out, "TICK", std::to_string(c.Tick));
  for (const OptionRow& row : kOptionTable) {
    if (const auto value = c.Options.Get(row.Id)) {
      Key(out, row.Key, OptionText(row, *value));
    }
  }
}

}  // namespace

ScenarioKeyValues OptionKeyValues(const RunOptions& options, OptionSection section) {
  ScenarioKeyValues values;
  for (const OptionRow& row : kOptionTable) {
    if (row.Section == section && OptionListed(row, row.Get(options))) {
      values.emplace_back(row.Key, OptionText(row, row.Get(options)));
    }
  }
  return values;
}

std::string WriteScenario(const Scenario& s) {
  std::string out = "[CENARIO]\n";
  Key(out, "FORMATO", std::to_string(s.Format));
  Key(out, "TITULO", Quoted(s.Title));
  Key(out, "TICKS", std::to_string(s.Ticks));
  Key(out, "PAUSAS", TickList(s.PauseAt));
  for (const OptionSection section : {OptionSection::Global, OptionSection::Memory}) {
    out += "\n[";
    out += SectionName(section);
    out += "]\n";
    for (const auto& [key, value] : OptionKeyValues(s.Options, section)) {
      Key(out, key, value);
    }
  }
  for (const OptionChange& c : s.Changes) {
    WriteChange(out, c);
  }
  for (const ScenarioProcess& p : s.Processes) {
    WriteProcess(out, p);
  }
  if (s.Homework) {
    out += "\n[TAREFA]\n";
    if (s.Homework->Ticks) {
      Key(out, "TICKS",
          std::to_string(s.Homework->Ticks->first) + '-' +
              std::to_string(s.Homework->Ticks->second));
    }
    Key(out, "FIGURAS", s.Homework->Figures ? "1" : "0");
    Key(out, "FALHAS", s.Homework->Faults ? "1" : "0");
  }
  if (s.Exercise) {
    out += "\n[EXERCICIO]\n";
    Key(out, "TICKS", TickRangesText(s.Exercise->Ticks));
    Key(out, "PERGUNTAS", QuestionKindsText(s.Exercise->Kinds));
    Key(out, "RESPOSTAS", AnswerMarksText(s.Exercise->Answers));
  }
  return out;
}

}  // namespace kelpa
