// SPDX-License-Identifier: MIT
#include "scenario/exercise_section.h"

#include <algorithm>

#include "catalogue/messages.h"
#include "catalogue/shown_text.h"
#include "platform/ini_text.h"
#include "scenario/scenario_values.h"

namespace kelpa {
namespace {

std::string KindNames() {
  std::string names;
  for (const std::string_view name : kQuestionKindNames) {
    names += names.empty() ? "" : ", ";
    names += name;
  }
  return names;
}

std::optional<QuestionKind> KindOf(ScenarioValues& values, const TMessages& msg,
                                   std::string_view key, std::string_view text) {
  for (int kind = 0; kind < kQuestionKindCount; ++kind) {
    if (SameName(text, kQuestionKindNames[kind])) {
      return static_cast<QuestionKind>(kind);
    }
  }
  values.Error = FillInShown(msg.MsgCenEscolhaDesconhecida, {key, text, KindNames()});
  return std::nullopt;
}

std::string_view NameOf(QuestionKind kind) {
  return kQuestionKindNames[static_cast<int>(kind)];
}

constexpr std::string_view kRight = "CERTO";
constexpr std::string_view kWrong = "ERRADO";

}  // namespace

bool ExerciseSection::Asks(std::int64_t tick) const {
  return Ticks.empty() || std::any_of(Ticks.begin(), Ticks.end(), [tick](const TickRange& r) {
           return tick >= r.First && tick <= r.Last;
         });
}

bool ExerciseSection::Allows(QuestionKind kind) const {
  return Kinds.empty() || std::find(Kinds.begin(), Kinds.end(), kind) != Kinds.end();
}

std::optional<std::vector<TickRange>> ParseTickRanges(ScenarioValues& values, const TMessages& msg,
                                                      std::string_view key, std::string_view text) {
  const auto items = values.Items(key, text);
  if (!items) {
    return std::nullopt;
  }
  std::vector<TickRange> ranges;
  for (const std::string_view item : *items) {
    const auto range = values.Range(key, item, 0, kMaxScenarioTick);
    if (!range) {
      return std::nullopt;
    }
    if (!ranges.empty() && range->first <= ranges.back().Last) {
      values.Error =
          FillInShown(msg.MsgCenListaNaoCrescente, {key, item, std::to_string(ranges.back().Last)});
      return std::nullopt;
    }
    ranges.push_back({range->first, range->second});
  }
  return ranges;
}

std::optional<std::vector<QuestionKind>> ParseQuestionKinds(ScenarioValues& values,
                                                            const TMessages& msg,
                                                            std::string_view key,
                                                            std::string_view text) {
  const auto items = values.Items(key, text);
  if (!items) {
    return std::nullopt;
  }
  std::vector<QuestionKind> kinds;
  for (const std::string_view item : *items) {
    const auto kind = KindOf(values, msg, key, item);
    if (!kind) {
      return std::nullopt;
    }
    if (std::find(kinds.begin(), kinds.end(), *kind) != kinds.end()) {
      values.Error = FillInShown(msg.MsgCenListaMalformada, {key, text});
      return std::nullopt;
    }
    kinds.push_back(*kind);
  }
  return kinds;
}

std::optional<std::vector<AnswerMark>> ParseAnswerMarks(ScenarioValues& values,
                                                        const TMessages& msg, std::string_view key,
                                                        std::string_view text) {
  const auto items = values.Items(key, text);
  if (!items) {
    return std::nullopt;
  }
  std::vector<AnswerMark> answers;
  for (const std::string_view item : *items) {
    // TICK:KIND:CERTO or TICK:KIND:ERRADO
    const auto first = item.find(':');
    const auto second = first == std::string_view::npos ? first : item.find(':', first + 1);
    if (second == std::string_view::npos) {
      values.Error = FillInShown(msg.MsgCenListaMalformada, {key, item});
      return std::nullopt;
    }
    const auto tick = values.Integer(key, TrimBlanks(item.substr(0, first)), 0, kMaxScenarioTick);
    if (!tick) {
      return std::nullopt;
    }
    const auto kind =
        KindOf(values, msg, key, TrimBlanks(item.substr(first + 1, second - first - 1)));
    if (!kind) {
      return std::nullopt;
    }
    const std::string_view verdict = TrimBlanks(item.substr(second + 1));
    if (!SameName(verdict, kRight) && !SameName(verdict, kWrong)) {
      values.Error = FillInShown(msg.MsgCenEscolhaDesconhecida,
                                 {key, verdict, std::string(kRight) + ", " + std::string(kWrong)});
      return std::nullopt;
    }
    if (!answers.empty() && *tick <= answers.back().Tick) {
      values.Error = FillInShown(msg.MsgCenListaNaoCrescente,
                                 {key, std::to_string(*tick), std::to_string(answers.back().Tick)});
      return std::nullopt;
    }
    answers.push_back({*tick, *kind, SameName(verdict, kRight)});
  }
  return answers;
}

std::string TickRangesText(const std::vector<TickRange>& ranges) {
  std::string text;
  for (const TickRange& r : ranges) {
    text += text.empty() ? "" : ",";
    text += std::to_string(r.First);
    if (r.Last != r.First) {
      text += '-' + std::to_string(r.Last);
    }
  }
  return text;
}

std::string QuestionKindsText(const std::vector<QuestionKind>& kinds) {
  std::string text;
  for (const QuestionKind kind : kinds) {
    text += text.empty() ? "" : ",";
    text += NameOf(kind);
  }
  return text;
}

std::string AnswerMarksText(const std::vector<AnswerMark>& answers) {
  std::string text;
  for (const AnswerMark& a : answers) {
    text += text.empty() ? "" : ",";
    text += std::to_string(a.Tick) + ':' + std::string(NameOf(a.Kind)) + ':' +
            std::string(a.Right ? kRight : kWrong);
  }
  return text;
}

}  // namespace kelpa
