// SPDX-License-Identifier: MIT
#include "scenario/scenario_builder.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <tuple>

#include "catalogue/messages.h"
#include "catalogue/shown_text.h"
#include "scenario/scenario_generator.h"
#include "scenario/scenario_values.h"
#include "simulation/process.h"

namespace kelpa {
namespace {

using Kind = ScenarioSectionKind;

// Stores a parsed value; false when the parser refused it.
template <typename Field, typename Parsed>
bool Store(Field& field, const std::optional<Parsed>& parsed) {
  if (parsed) {
    field = static_cast<Field>(*parsed);
  }
  return parsed.has_value();
}

class ScenarioBuilder {
 public:
  ScenarioBuilder(const std::string& fileName, const TMessages& msg)
      : fileName_(fileName), msg_(msg), values_(msg) {}

  ScenarioReading Build(const ScenarioDocument& doc) {
    for (const ScenarioSection& section : doc.Sections) {
      if (!ReadSection(section)) {
        return {std::nullopt, error_};
      }
    }
    auto& processes = scenario_.Processes;
    std::stable_sort(processes.begin(), processes.end(),
                     [](const auto& a, const auto& b) { return a.Number < b.Number; });
    if (draw_ && !AppendDrawn()) {
      return {std::nullopt, error_};
    }
    if (processes.empty()) {
      return {std::nullopt, ScenarioError{fileName_, 0, msg_.MsgCenSemProcesso}};
    }
    if (!HomeworkWithinRun()) {
      return {std::nullopt, error_};
    }
    // Changes at the same tick keep the order of their numbers.
    auto& changes = scenario_.Changes;
    std::sort(changes.begin(), changes.end(), [](const auto& a, const auto& b) {
      return std::tie(a.Tick, a.Number) < std::tie(b.Tick, b.Number);
    });
    for (std::size_t i = 0; i < processes.size(); ++i) {
      if (!coloured_.contains(processes[i].Number)) {
        processes[i].Color = kProcessPalette[i % kProcessPalette.size()];
      }
    }
    return {scenario_, std::nullopt};
  }

 private:
  bool ReadSection(const ScenarioSection& section) {
    switch (section.Kind) {
      case Kind::Scenario:
        return ReadEach(section, &ScenarioBuilder::ScenarioKey);
      case Kind::Global:
      case Kind::Memory:
        return ReadSettings(section);
      case Kind::Process:
        return ReadProcess(section);
      case Kind::Change:
        return ReadChange(section);
      case Kind::Exercise:
        scenario_.Exercise.emplace();
        return ReadEach(section, &ScenarioBuilder::ExerciseKey);
      case Kind::Draw:
        draw_.emplace();
        drawSection_ = &section;
        return ReadEach(section, &ScenarioBuilder::DrawKey);
      case Kind::Homework:
        scenario_.Homework.emplace();
        homeworkSection_ = &section;
        return ReadEach(section, &ScenarioBuilder::HomeworkKey);
    }
    return true;
  }

  template <typename Reader>
  bool ReadEach(const ScenarioSection& section, Reader reader) {
    for (const ScenarioEntry& entry : section.Entries) {
      if (!(this->*reader)(entry.Key, entry.Value)) {
        return Refuse(entry, values_.Error);
      }
    }
    return true;
  }

  bool Refuse(const ScenarioEntry& entry, const std::string& reason) {
    error_ = entry.Override.empty()
                 ? ScenarioError{fileName_, entry.Line, reason}
                 : ScenarioError{entry.Option, 0, ShownValue(entry.Override) + ": " + reason};
    return false;
  }

  bool ScenarioKey(std::string_view key, std::string_view value) {
    Scenario& s = scenario_;
    if (key == "FORMATO") {
      // Any other number, however large, is a format this program does not know.
      const auto digits = value.substr(value.starts_with('-') ? 1 : 0);
      const bool number = !digits.empty() && digits.find_first_not_of("0123456789") == digits.npos;
      const auto format = values_.Integer(key, value, INT64_MIN, INT64_MAX);
      if (number && format != 1) {
        values_.Error = FillInShown(msg_.MsgCenFormatoInvalido, {value});
        return false;
      }
      return Store(s.Format, format);
    }
    if (key == "TITULO") {
      s.Title = value;
      return true;
    }
    if (key == "TICKS") {
      return Store(s.Ticks, values_.Integer(key, value, 1, kMaxScenarioTick));
    }
    return Store(s.PauseAt, values_.Ticks(key, value));
  }

  bool ExerciseKey(std::string_view key, std::string_view value) {
    ExerciseSection& e = *scenario_.Exercise;
    if (key == "TICKS") {
      return Store(e.Ticks, ParseTickRanges(values_, msg_, key, value));
    }
    if (key == "PERGUNTAS") {
      return Store(e.Kinds, ParseQuestionKinds(values_, msg_, key, value));
    }
    return Store(e.Answers, ParseAnswerMarks(values_, msg_, key, value));
  }

  // A key of [GLOBAL], [MEMORIA] or a change (the document has refused keys that are not theirs),
  // read as its row of the option table says.
  std::optional<int> OptionValue(const ScenarioSection& section, std::string_view key,
                                 std::string_view value) {
    const OptionRow* row = RowOfKey(key);
    if (row == nullptr) {
      values_.Error =
          FillInShown(msg_.MsgCenChaveDesconhecida, {key, ScenarioSectionName(section)});
      return std::nullopt;
    }
    std::optional<bool> flag;
    switch (row->Kind) {
      case OptionKind::Flag:
        flag = values_.Flag(key, value);
        break;
      case OptionKind::Fetch:
        flag = values_.AnticipatedFetch(key, value);
        break;
      case OptionKind::Choice:
        return values_.Choice(*row, value);
      case OptionKind::Number: {
        const auto number = values_.Integer(key, value, row->Min, row->Max);
        return number ? std::optional<int>(static_cast<int>(*number)) : std::nullopt;
      }
    }
    return flag ? std::optional<int>(*flag ? 1 : 0) : std::nullopt;
  }

  bool ReadSettings(const ScenarioSection& section) {
    for (const ScenarioEntry& entry : section.Entries) {
      const auto read = OptionValue(section, entry.Key, entry.Value);
      if (!read) {
        return Refuse(entry, values_.Error);
      }
      RowOfKey(entry.Key)->Set(scenario_.Options, *read);
    }
    return true;
  }

  // A change's options are read as their [GLOBAL] and [MEMORIA] keys are.
  bool ChangeKey(const ScenarioSection& section, OptionChange& c, std::string_view key,
                 std::string_view value) {
    if (key == "TICK") {
      return Store(c.Tick, values_.Integer(key, value, 0, kMaxScenarioTick));
    }
    const auto read = OptionValue(section, key, value);
    if (read) {
      c.Options.Set(RowOfKey(key)->Id, *read);
    }
    return read.has_value();
  }

  bool ReadChange(const ScenarioSection& section) {
    OptionChange c;
    c.Number = section.Number;
    bool timed = false;
    for (const ScenarioEntry& entry : section.Entries) {
      if (!ChangeKey(section, c, entry.Key, entry.Value)) {
        return Refuse(entry, values_.Error);
      }
      timed = timed || entry.Key == "TICK";
    }
    if (!timed) {
      const std::string reason =
          FillInShown(msg_.MsgCenMudancaSemTick, {ScenarioSectionName(section)});
      // A section that only an override opened is the override's fault.
      if (section.Line == 0 && !section.Entries.empty()) {
        return Refuse(section.Entries.front(), reason);
      }
      error_ = ScenarioError{fileName_, section.Line, reason};
      return false;
    }
    scenario_.Changes.push_back(c);
    return true;
  }

  bool ProcessKey(ScenarioProcess& p, std::string_view key, std::string_view value) {
    if (key == "TIPO") {
      return Store(p.Kind, values_.Kind(key, value));
    }
    if (key == "PRIORIDADE") {
      return Store(p.Priority, values_.Integer(key, value, 0, 15));
    }
    if (key == "FRAMES") {
      return Store(p.FrameLimit, values_.Integer(key, value, 1, 5));
    }
    if (key == "COR") {
      coloured_.insert(p.Number);
      return Store(p.Color, values_.Colour(key, value));
    }
    if (key == "CHEGADA") {
      return Store(p.Arrival, values_.Integer(key, value, 0, kMaxScenarioTick));
    }
    if (key == "SUSPENDE") {
      return Store(p.SuspendAt, values_.Ticks(key, value));
    }
    if (key == "RETOMA") {
      return Store(p.ResumeAt, values_.Ticks(key, value));
    }
    if (key == "NOVA_PRIORIDADE") {
      return Store(p.PriorityAt, values_.PriorityChanges(key, value));
    }
    if (key == "PROGRAMA") {
      return Store(p.Program.Codes, values_.Program(key, value));
    }
    if (key == "REPETE") {
      return Store(p.Program.Repeats, values_.Flag(key, value));
    }
    return Store(p.EndAt, values_.OptionalTick(key, value));
  }

  bool ReadProcess(const ScenarioSection& section) {
    ScenarioProcess p;
    p.Number = section.Number;
    for (const ScenarioEntry& entry : section.Entries) {
      if (!ProcessKey(p, entry.Key, entry.Value)) {
        return Refuse(entry, values_.Error);
      }
    }
    for (const ScenarioEntry& entry : section.Entries) {
      if (const auto early = FirstRequestBeforeArrival(p, entry.Key)) {
        return Refuse(entry,
                      FillInShown(msg_.MsgCenAntesDaChegada,
                                  {entry.Key, std::to_string(*early), std::to_string(p.Arrival)}));
      }
    }
    scenario_.Processes.push_back(std::move(p));
    return true;
  }

  // The first tick the request key names before p arrives; none when all are in time.
  static std::optional<std::int64_t> FirstRequestBeforeArrival(const ScenarioProcess& p,
                                                               std::string_view key) {
    std::vector<std::int64_t> ticks;
    if (key == "SUSPENDE") {
      ticks = p.SuspendAt;
    } else if (key == "RETOMA") {
      ticks = p.ResumeAt;
    } else if (key == "NOVA_PRIORIDADE") {
      for (const PriorityChange& change : p.PriorityAt) {
        ticks.push_back(change.Tick);
      }
    } else if (key == "FIM" && p.EndAt) {
      ticks.push_back(*p.EndAt);
    }
    // Every list is ascending: its first tick is its earliest.
    if (!ticks.empty() && ticks.front() < p.Arrival) {
      return ticks.front();
    }
    return std::nullopt;
  }

  bool DrawKey(std::string_view key, std::string_view value) {
    ScenarioDraw& d = *draw_;
    if (key == "SEMENTE") {
      return Store(d.Seed, values_.Integer(key, value, 0, UINT32_MAX));
    }
    if (key == "PROCESSOS") {
      return Store(d.Count, values_.Integer(key, value, 1, 100));
    }
    if (key == "TIPOS") {
      return Store(d.Kinds, values_.Kinds(key, value));
    }
    if (key == "PRIORIDADE") {
      return StoreRange(d.PriorityMin, d.PriorityMax, values_.Range(key, value, 0, 15));
    }
    if (key == "FRAMES") {
      return StoreRange(d.FramesMin, d.FramesMax, values_.Range(key, value, 1, 5));
    }
    if (key == "RAJADA") {
      d.Burst.emplace();
      return StoreRange(d.Burst->first, d.Burst->second,
                        values_.Range(key, value, 1, kInstructionCount));
    }
    return StoreRange(d.ArrivalMin, d.ArrivalMax, values_.Range(key, value, 0, kMaxScenarioTick));
  }

  bool HomeworkKey(std::string_view key, std::string_view value) {
    HomeworkQuestions& h = *scenario_.Homework;
    if (key == "TICKS") {
      ticksEntry_ = &CurrentEntry(key);
      return Store(h.Ticks, values_.Range(key, value, 0, kMaxScenarioTick));
    }
    if (key == "FIGURAS") {
      return Store(h.Figures, values_.Flag(key, value));
    }
    return Store(h.Faults, values_.Flag(key, value));
  }

  // The entry of key in the section being read (ReadEach reads one section at a time).
  const ScenarioEntry& CurrentEntry(std::string_view key) const {
    return *std::find_if(homeworkSection_->Entries.begin(), homeworkSection_->Entries.end(),
                         [&](const ScenarioEntry& e) { return e.Key == key; });
  }

  // The ticks asked must be ticks of the run: [CENARIO] TICKS may come after [TAREFA], or from
  // --ticks, so they are checked once everything is read.
  bool HomeworkWithinRun() {
    const auto& homework = scenario_.Homework;
    if (!homework || !homework->Ticks || homework->Ticks->second < scenario_.Ticks) {
      return true;
    }
    return Refuse(*ticksEntry_, FillInShown(msg_.MsgTarTicksForaDoCenario,
                                            {std::to_string(homework->Ticks->second),
                                             std::to_string(scenario_.Ticks - 1)}));
  }

  template <typename Field>
  static bool StoreRange(Field& min, Field& max,
                         const std::optional<std::pair<std::int64_t, std::int64_t>>& range) {
    if (range) {
      min = static_cast<Field>(range->first);
      max = static_cast<Field>(range->second);
    }
    return range.has_value();
  }

  // Drawn processes are numbered after the highest written one and must stay within 999.
  bool AppendDrawn() {
    auto& processes = scenario_.Processes;
    const int first = processes.empty() ? 1 : processes.back().Number + 1;
    const int room = 1000 - first;
    if (room <= 0) {
      return Refuse(ScenarioEntry{"PROCESSOS", "1", drawSection_->Line, {}, {}},
                    FillInShown(msg_.MsgCenSemNumerosSorteio, {std::to_string(first - 1)}));
    }
    if (draw_->Count > room) {
      const auto entry = std::find_if(drawSection_->Entries.begin(), drawSection_->Entries.end(),
                                      [](const auto& e) { return e.Key == "PROCESSOS"; });
      const ScenarioEntry at = entry != drawSection_->Entries.end()
                                   ? *entry
                                   : ScenarioEntry{"PROCESSOS", "1", drawSection_->Line, {}, {}};
      return Refuse(
          at, FillInShown(msg_.MsgCenForaDoIntervalo,
                          {"PROCESSOS", std::to_string(draw_->Count), "1", std::to_string(room)}));
    }
    for (ScenarioProcess& p : DrawProcesses(*draw_, first)) {
      processes.push_back(std::move(p));
    }
    return true;
  }

  const std::string& fileName_;
  const TMessages& msg_;
  ScenarioValues values_;
  Scenario scenario_;
  std::optional<ScenarioDraw> draw_;
  const ScenarioSection* drawSection_ = nullptr;
  const ScenarioSection* homeworkSection_ = nullptr;
  const ScenarioEntry* ticksEntry_ = nullptr;  // [TAREFA]'s TICKS
  std::set<int> coloured_;  // the numbers of the processes whose section gave a colour
  std::optional<ScenarioError> error_;
};

}  // namespace

ScenarioReading BuildScenario(const ScenarioDocument& doc, const std::string& fileName,
                              const TMessages& msg) {
  return ScenarioBuilder(fileName, msg).Build(doc);
}

}  // namespace kelpa
