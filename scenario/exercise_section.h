// SPDX-License-Identifier: MIT
// The [EXERCICIO] section of a scenario: which ticks a run in the windows asks about, which kinds
// of question it may ask, and the answers given so far (a saved run keeps its score). The runner
// ignores it; reading it is as strict as the rest of the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelpa {

class ScenarioValues;
struct TMessages;

// What a question asks about the tick about to run.
enum class QuestionKind : std::uint8_t {
  Runs,   // which process runs after the tick, or none
  State,  // the state of a named process after the tick
  Page,   // which page the memory manager takes in the tick, and from which process
  Queue,  // the order of the ready queue after the tick (the textbook policies)
};
inline constexpr int kQuestionKindCount = 4;
// As PERGUNTAS and RESPOSTAS name them, in QuestionKind order.
inline constexpr std::string_view kQuestionKindNames[] = {"EXECUTA", "ESTADO", "PAGINA", "FILA"};

struct TickRange {
  std::int64_t First = 0;
  std::int64_t Last = 0;
  friend bool operator==(const TickRange&, const TickRange&) = default;
};

// One answer given: the tick it was about, the kind of question, and whether it was right.
struct AnswerMark {
  std::int64_t Tick = 0;
  QuestionKind Kind = QuestionKind::Runs;
  bool Right = false;
  friend bool operator==(const AnswerMark&, const AnswerMark&) = default;
};

struct ExerciseSection {
  std::vector<TickRange> Ticks;     // TICKS; empty: every tick
  std::vector<QuestionKind> Kinds;  // PERGUNTAS; empty: every kind
  std::vector<AnswerMark> Answers;  // RESPOSTAS, by tick, one per tick
  friend bool operator==(const ExerciseSection&, const ExerciseSection&) = default;

  bool Asks(std::int64_t tick) const;
  bool Allows(QuestionKind kind) const;
};

// The section's values, each refused with the reason in values.Error.
std::optional<std::vector<TickRange>> ParseTickRanges(ScenarioValues& values, const TMessages& msg,
                                                      std::string_view key, std::string_view text);
std::optional<std::vector<QuestionKind>> ParseQuestionKinds(ScenarioValues& values,
                                                            const TMessages& msg,
                                                            std::string_view key,
                                                            std::string_view text);
std::optional<std::vector<AnswerMark>> ParseAnswerMarks(ScenarioValues& values,
                                                        const TMessages& msg, std::string_view key,
                                                        std::string_view text);

// The values as the writer gives them: "3,5,10-20", "EXECUTA,FILA",
// "3:EXECUTA:CERTO,5:FILA:ERRADO".
std::string TickRangesText(const std::vector<TickRange>& ranges);
std::string QuestionKindsText(const std::vector<QuestionKind>& kinds);
std::string AnswerMarksText(const std::vector<AnswerMark>& answers);

}  // namespace kelpa
