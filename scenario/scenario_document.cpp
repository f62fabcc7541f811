// SPDX-License-Identifier: MIT
#include "scenario/scenario_document.h"

#include <algorithm>
#include <map>
#include <utility>

#include "catalogue/messages.h"
#include "catalogue/shown_text.h"
#include "platform/ini_text.h"
#include "platform/text_encoding.h"
#include "scenario/scenario_values.h"
#include "simulation/run_options.h"

namespace kelpa {
namespace {

using Kind = ScenarioSectionKind;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct SectionNameForm {
  Kind Section;
  std::string_view Name;
};
constexpr SectionNameForm kSectionNames[] = {
    {Kind::Scenario, "CENARIO"}, {Kind::Global, "GLOBAL"},     {Kind::Memory, "MEMORIA"},
    {Kind::Process, "PROCESSO"}, {Kind::Draw, "GERAR"},        {Kind::Change, "MUDANCA"},
    {Kind::Homework, "TAREFA"},  {Kind::Exercise, "EXERCICIO"}};

std::string_view Unquote(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string ValueOf(std::string_view raw) {
  return std::string(Unquote(TrimBlanks(raw)));
}

// Reads "NAME" or "PROCESSO N" into section; the reason when it names no section.
std::optional<std::string> ParseSectionName(std::string_view name, const TMessages& msg,
                                            ScenarioSection& section) {
  const auto blank = name.find_first_of(kIniBlanks);
  const std::string_view word = name.substr(0, blank);
  const std::string_view rest =
      blank == std::string_view::npos ? std::string_view() : TrimBlanks(name.substr(blank));
  for (const SectionNameForm& form : kSectionNames) {
    if (!SameName(word, form.Name)) {
      continue;
    }
    section.Kind = form.Section;
    if (!IsNumberedSection(form.Section)) {
      if (rest.empty()) {
        return std::nullopt;
      }
      break;
    }
    ScenarioValues values(msg);
    const auto number = values.Integer(form.Name, rest, 1, 999);
    if (!number) {
      return values.Error;
    }
    section.Number = static_cast<int>(*number);
    return std::nullopt;
  }
  return FillInShown(msg.MsgCenSecaoDesconhecida, {name});
}

// The known spelling of key in a section of kind; none when unknown.
std::optional<std::string_view> KnownKey(Kind kind, std::string_view key) {
  for (const std::string_view known : ScenarioKeys(kind)) {
    if (SameName(known, key)) {
      return known;
    }
  }
  return std::nullopt;
}

class DocumentReader {
 public:
  DocumentReader(const std::string& fileName, const TMessages& msg, ScenarioDocument& doc)
      : fileName_(fileName), msg_(msg), doc_(doc) {}

  std::optional<ScenarioError> Read(std::string_view text) {
    int lineNumber = 0;
    for (std::size_t pos = 0; pos < text.size();) {
      const TLineSpan span = LineAt(text, pos);
      pos = span.Next;
      ++lineNumber;
      if (auto reason =
              ReadLine(TrimBlanks(text.substr(span.Begin, span.End - span.Begin)), lineNumber)) {
        return ScenarioError{fileName_, lineNumber, std::move(*reason)};
      }
    }
    return std::nullopt;
  }

 private:
  std::optional<std::string> ReadLine(std::string_view line, int lineNumber) {
    if (line.empty() || line.front() == ';' || line.front() == '#') {
      return std::nullopt;
    }
    if (line.front() == '[' && line.back() == ']') {
      return OpenSection(TrimBlanks(line.substr(1, line.size() - 2)), lineNumber);
    }
    const auto equals = line.find('=');
    const std::string_view key =
        equals == std::string_view::npos ? std::string_view() : TrimBlanks(line.substr(0, equals));
    if (key.empty()) {
      return msg_.MsgCenLinhaInvalida;
    }
    if (doc_.Sections.empty()) {
      return msg_.MsgCenChaveSemSecao;
    }
    return AddKey(key, line.substr(equals + 1), lineNumber);
  }

  std::optional<std::string> OpenSection(std::string_view name, int lineNumber) {
    ScenarioSection section;
    section.Line = lineNumber;
    if (auto reason = ParseSectionName(name, msg_, section)) {
      return reason;
    }
    const auto [seen, added] = opened_.try_emplace({section.Kind, section.Number}, lineNumber);
    if (!added) {
      return FillInShown(msg_.MsgCenSecaoRepetida,
                         {ScenarioSectionName(section), std::to_string(seen->second)});
    }
    doc_.Sections.push_back(std::move(section));
    return std::nullopt;
  }

  std::optional<std::string> AddKey(std::string_view key, std::string_view raw, int lineNumber) {
    ScenarioSection& section = doc_.Sections.back();
    const auto known = KnownKey(section.Kind, key);
    if (!known) {
      return FillInShown(msg_.MsgCenChaveDesconhecida, {key, ScenarioSectionName(section)});
    }
    for (const ScenarioEntry& entry : section.Entries) {
      if (entry.Key == *known) {
        return FillInShown(msg_.MsgCenChaveRepetida, {*known, std::to_string(entry.Line)});
      }
    }
    section.Entries.push_back({std::string(*known), ValueOf(raw), lineNumber, {}, {}});
    return std::nullopt;
  }

  const std::string& fileName_;
  const TMessages& msg_;
  ScenarioDocument& doc_;
  std::map<std::pair<Kind, int>, int> opened_;  // each section's header line
};

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

std::string AsUtf8(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

// The keys of a section's options, in the table's order; a change's are the changeable ones.
std::vector<std::string_view> OptionKeys(OptionSection section, bool changeableOnly) {
  std::vector<std::string_view> keys;
  for (const OptionRow& row : kOptionTable) {
    if (row.Section == section && (row.Changeable || !changeableOnly)) {
      keys.push_back(row.Key);
    }
  }
  return keys;
}

}  // namespace

const std::vector<std::string_view>& ScenarioKeys(ScenarioSectionKind kind) {
  static const std::vector<std::string_view> scenario = {"FORMATO", "TITULO", "TICKS", "PAUSAS"};
  static const std::vector<std::string_view> global = OptionKeys(OptionSection::Global, false);
  static const std::vector<std::string_view> memory = OptionKeys(OptionSection::Memory, false);
  static const std::vector<std::string_view> process = {
      "TIPO",   "PRIORIDADE",      "FRAMES", "COR",      "CHEGADA", "SUSPENDE",
      "RETOMA", "NOVA_PRIORIDADE", "FIM",    "PROGRAMA", "REPETE"};
  static const std::vector<std::string_view> draw = {"SEMENTE", "PROCESSOS", "TIPOS", "PRIORIDADE",
                                                     "FRAMES",  "CHEGADA",   "RAJADA"};
  static const std::vector<std::string_view> homework = {"TICKS", "FIGURAS", "FALHAS"};
  // A change gives the options that may change while a run goes on, in either section.
  static const std::vector<std::string_view> change = [] {
    std::vector<std::string_view> keys = {"TICK"};
    for (const OptionSection section : {OptionSection::Global, OptionSection::Memory}) {
      const auto some = OptionKeys(section, true);
      keys.insert(keys.end(), some.begin(), some.end());
    }
    return keys;
  }();
  static const std::vector<std::string_view> exercise = {"TICKS", "PERGUNTAS", "RESPOSTAS"};
  switch (kind) {
    case Kind::Scenario:
      return scenario;
    case Kind::Exercise:
      return exercise;
    case Kind::Global:
      return global;
    case Kind::Memory:
      return memory;
    case Kind::Process:
      return process;
    case Kind::Draw:
      return draw;
    case Kind::Change:
      return change;
    case Kind::Homework:
      return homework;
  }
  return scenario;
}

bool IsNumberedSection(ScenarioSectionKind kind) {
  return kind == Kind::Process || kind == Kind::Change;
}

std::string ScenarioSectionName(const ScenarioSection& section) {
  for (const SectionNameForm& form : kSectionNames) {
    if (form.Section == section.Kind) {
      return IsNumberedSection(section.Kind)
                 ? std::string(form.Name) + " " + std::to_string(section.Number)
                 : std::string(form.Name);
    }
  }
  return {};
}

std::optional<ScenarioError> ReadScenarioDocument(std::string_view bytes,
                                                  const std::string& fileName, const TMessages& msg,
                                                  ScenarioDocument& doc) {
  if (bytes.size() > kMaxIniFileSize) {
    return ScenarioError{fileName, 0, msg.MsgCenArquivoGrande};
  }
  // Without a byte-order mark UTF-16 still shows: a text character's other byte is zero, and a
  // UTF-8 file never holds a zero byte.
  const bool zeroPaired = bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0');
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") || zeroPaired) {
    return ScenarioError{fileName, 0, msg.MsgCenArquivoUtf16};
  }
  if (bytes.starts_with(kUtf8Bom)) {
    bytes.remove_prefix(kUtf8Bom.size());
  }
  const std::string text = AsUtf8(bytes);
  return DocumentReader(fileName, msg, doc).Read(text);
}

std::optional<ScenarioError> ApplyOverrides(const std::vector<ScenarioOverride>& overrides,
                                            const TMessages& msg, ScenarioDocument& doc) {
  for (const ScenarioOverride& given : overrides) {
    const std::string text = given.Section + "." + given.Key + "=" + given.Value;
    const auto refuse = [&](const std::string& reason) {
      return ScenarioError{given.Option, 0, ShownValue(text) + ": " + reason};
    };
    ScenarioSection wanted;
    if (auto reason = ParseSectionName(TrimBlanks(AsUtf8(given.Section)), msg, wanted)) {
      return refuse(*reason);
    }
    const auto known = KnownKey(wanted.Kind, TrimBlanks(given.Key));
    if (!known) {
      return refuse(FillInShown(msg.MsgCenChaveDesconhecida,
                                {AsUtf8(given.Key), ScenarioSectionName(wanted)}));
    }
    auto section = std::find_if(doc.Sections.begin(), doc.Sections.end(), [&](const auto& s) {
      return s.Kind == wanted.Kind && s.Number == wanted.Number;
    });
    if (section == doc.Sections.end()) {
      doc.Sections.push_back(std::move(wanted));
      section = doc.Sections.end() - 1;
    }
    ScenarioEntry entry{std::string(*known), ValueOf(OneLine(AsUtf8(given.Value))), 0, text,
                        given.Option};
    auto& entries = section->Entries;
    const auto same = std::find_if(entries.begin(), entries.end(),
                                   [&](const ScenarioEntry& e) { return e.Key == entry.Key; });
    if (same != entries.end()) {
      *same = std::move(entry);
    } else {
      entries.push_back(std::move(entry));
    }
  }
  return std::nullopt;
}

}  // namespace kelpa
