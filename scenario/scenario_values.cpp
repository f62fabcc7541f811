// SPDX-License-Identifier: MIT
#include "scenario/scenario_values.h"

#include <charconv>

#include "catalogue/messages.h"
#include "catalogue/shown_text.h"
#include "platform/ini_text.h"
#include "simulation/process.h"

namespace kelpa {
namespace {

std::string Number(std::int64_t value) {
  return std::to_string(value);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

}  // namespace

std::optional<std::int64_t> ScenarioValues::Integer(std::string_view key, std::string_view text,
                                                    std::int64_t lo, std::int64_t hi) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  const bool digits = !text.empty() && text.front() != '+' && stop == end;
  if (error == std::errc::result_out_of_range && digits) {
    Error = FillInShown(msg_.MsgCenForaDoIntervalo, {key, text, Number(lo), Number(hi)});
    return std::nullopt;
  }
  if (error != std::errc{} || !digits) {
    Error = FillInShown(msg_.MsgCenNumeroMalformado, {key, text});
    return std::nullopt;
  }
  if (value < lo || value > hi) {
    Error = FillInShown(msg_.MsgCenForaDoIntervalo, {key, text, Number(lo), Number(hi)});
    return std::nullopt;
  }
  return value;
}

std::optional<bool> ScenarioValues::Flag(std::string_view key, std::string_view text) {
  const auto value = Integer(key, text, 0, 1);
  return value ? std::optional<bool>(*value == 1) : std::nullopt;
}

std::optional<int> ScenarioValues::Kind(std::string_view key, std::string_view text) {
  for (int kind = 0; kind < static_cast<int>(std::size(kScenarioKindNames)); ++kind) {
    if (SameName(text, kScenarioKindNames[kind])) {
      return kind;
    }
  }
  Error = FillInShown(msg_.MsgCenTipoDesconhecido, {key, text});
  return std::nullopt;
}

std::optional<std::vector<int>> ScenarioValues::Kinds(std::string_view key, std::string_view text) {
  const auto items = Items(key, text);
  if (!items) {
    return std::nullopt;
  }
  if (items->empty()) {
    Error = FillInShown(msg_.MsgCenListaMalformada, {key, text});
    return std::nullopt;
  }
  std::vector<int> kinds;
  for (const std::string_view item : *items) {
    const auto kind = Kind(key, item);
    if (!kind) {
      return std::nullopt;
    }
    kinds.push_back(*kind);
  }
  return kinds;
}

std::optional<bool> ScenarioValues::AnticipatedFetch(std::string_view key, std::string_view text) {
  if (SameName(text, "ANTECIPADA")) {
    return true;
  }
  if (SameName(text, "DEMANDA")) {
    return false;
  }
  Error = FillInShown(msg_.MsgCenBuscaDesconhecida, {key, text});
  return std::nullopt;
}

std::optional<int> ScenarioValues::Choice(const OptionRow& row, std::string_view text) {
  if (const auto index = ChoiceOf(row, text)) {
    return index;
  }
  std::string names;
  for (const std::string_view name : row.Names) {
    names.append(names.empty() ? "" : ", ").append(name);
  }
  Error = FillInShown(msg_.MsgCenEscolhaDesconhecida, {row.Key, text, names});
  return std::nullopt;
}

std::optional<TColor> ScenarioValues::Colour(std::string_view key, std::string_view text) {
  int channels[3] = {0, 0, 0};
  bool wellFormed = text.size() == 7 && text[0] == '#';
  for (std::size_t i = 0; wellFormed && i < 3; ++i) {
    const int high = HexDigit(text[1 + 2 * i]);
    const int low = HexDigit(text[2 + 2 * i]);
    wellFormed = high >= 0 && low >= 0;
    channels[i] = high * 16 + low;
  }
  if (!wellFormed) {
    Error = FillInShown(msg_.MsgCenCorMalformada, {key, text});
    return std::nullopt;
  }
  return MakeColor(channels[0], channels[1], channels[2]);
}

std::optional<std::vector<std::string_view>> ScenarioValues::Items(std::string_view key,
                                                                   std::string_view text) {
  std::vector<std::string_view> items;
  if (text.empty()) {
    return items;
  }
  for (std::size_t begin = 0;;) {
    const auto comma = text.find(',', begin);
    const auto item = TrimBlanks(text.substr(begin, comma - begin));
    if (item.empty()) {
      Error = FillInShown(msg_.MsgCenListaMalformada, {key, text});
      return std::nullopt;
    }
    items.push_back(item);
    if (comma == std::string_view::npos) {
      return items;
    }
    begin = comma + 1;
  }
}

bool ScenarioValues::Ascending(std::string_view key, const std::vector<std::int64_t>& ticks) {
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    if (ticks[i] <= ticks[i - 1]) {
      Error =
          FillInShown(msg_.MsgCenListaNaoCrescente, {key, Number(ticks[i]), Number(ticks[i - 1])});
      return false;
    }
  }
  return true;
}

std::optional<std::vector<std::int64_t>> ScenarioValues::Ticks(std::string_view key,
                                                               std::string_view text) {
  const auto items = Items(key, text);
  if (!items) {
    return std::nullopt;
  }
  std::vector<std::int64_t> ticks;
  for (const std::string_view item : *items) {
    const auto tick = Integer(key, item, 0, kMaxScenarioTick);
    if (!tick) {
      return std::nullopt;
    }
    ticks.push_back(*tick);
  }
  if (!Ascending(key, ticks)) {
    return std::nullopt;
  }
  return ticks;
}

std::optional<std::vector<PriorityChange>> ScenarioValues::PriorityChanges(std::string_view key,
                                                                           std::string_view text) {
  const auto items = Items(key, text);
  if (!items) {
    return std::nullopt;
  }
  std::vector<PriorityChange> changes;
  std::vector<std::int64_t> ticks;
  for (const std::string_view item : *items) {
    const auto colon = item.find(':');
    if (colon == std::string_view::npos) {
      Error = FillInShown(msg_.MsgCenListaMalformada, {key, text});
      return std::nullopt;
    }
    const auto tick = Integer(key, TrimBlanks(item.substr(0, colon)), 0, kMaxScenarioTick);
    const auto priority =
        tick ? Integer(key, TrimBlanks(item.substr(colon + 1)), 0, 15) : std::nullopt;
    if (!priority) {
      return std::nullopt;
    }
    changes.push_back({*tick, static_cast<int>(*priority)});
    ticks.push_back(*tick);
  }
  if (!Ascending(key, ticks)) {
    return std::nullopt;
  }
  return changes;
}

std::optional<std::optional<std::int64_t>> ScenarioValues::OptionalTick(std::string_view key,
                                                                        std::string_view text) {
  if (text.empty()) {
    return std::optional<std::int64_t>();
  }
  const auto tick = Integer(key, text, 0, kMaxScenarioTick);
  return tick ? std::optional<std::optional<std::int64_t>>(tick) : std::nullopt;
}

std::optional<std::vector<std::int32_t>> ScenarioValues::Program(std::string_view key,
                                                                 std::string_view text) {
  const ProgramParse parse = ParseProgram(text, kInstructionCount, kPagesPerProcess);
  switch (parse.Fault) {
    case ProgramFault::None:
      return parse.Codes;
    case ProgramFault::Empty:
      Error = FillInShown(msg_.MsgCenProgramaVazio, {key});
      break;
    case ProgramFault::BadInstruction:
      Error = FillInShown(msg_.MsgCenInstrucaoDesconhecida, {key, parse.Item});
      break;
    case ProgramFault::BadPage:
      Error = FillInShown(msg_.MsgCenPaginaInexistente,
                          {key, parse.Item, std::to_string(kPagesPerProcess - 1)});
      break;
    case ProgramFault::TooLong:
      Error = FillInShown(msg_.MsgCenProgramaLongo,
                          {key, std::to_string(parse.Length), std::to_string(kInstructionCount)});
      break;
  }
  return std::nullopt;
}

std::optional<std::pair<std::int64_t, std::int64_t>> ScenarioValues::Range(std::string_view key,
                                                                           std::string_view text,
                                                                           std::int64_t lo,
                                                                           std::int64_t hi) {
  // The dash after the first character, so that "-1" reads as a (refused) single value.
  const auto dash = text.find('-', 1);
  const auto first = TrimBlanks(text.substr(0, dash));
  const auto last = dash == std::string_view::npos ? first : TrimBlanks(text.substr(dash + 1));
  if (first.empty() || last.empty()) {
    Error = FillInShown(msg_.MsgCenIntervaloMalformado, {key, text});
    return std::nullopt;
  }
  const auto min = Integer(key, first, lo, hi);
  const auto max = min ? Integer(key, last, lo, hi) : std::nullopt;
  if (!max) {
    return std::nullopt;
  }
  if (*min > *max) {
    Error = FillInShown(msg_.MsgCenIntervaloInvertido, {key, Number(*min), Number(*max)});
    return std::nullopt;
  }
  return std::pair{*min, *max};
}

std::string ColourText(TColor colour) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "#";
  for (const int channel : {RedOf(colour), GreenOf(colour), BlueOf(colour)}) {
    text += kDigits[channel / 16];
    text += kDigits[channel % 16];
  }
  return text;
}

}  // namespace kelpa
