// SPDX-License-Identifier: MIT
// The score of an exercise: one answer per tick asked, right or wrong, counted per kind of
// question. Going back to a tick takes back the answers about that tick and the later ones.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "scenario/exercise_section.h"

namespace kelpa {

class ExerciseScore {
 public:
  // An answer about `mark.Tick`, replacing one given before about that tick.
  void Record(const AnswerMark& mark);
  // Keeps only the answers about ticks before `tick`.
  void TakeBackTo(std::int64_t tick);
  void Reset() { answers_.clear(); }
  void Restore(std::vector<AnswerMark> answers);

  bool Answered(std::int64_t tick) const;
  int Right() const;
  int Wrong() const;
  int Right(QuestionKind kind) const;
  int Wrong(QuestionKind kind) const;
  const std::vector<AnswerMark>& Answers() const { return answers_; }

 private:
  int Count(bool right, const QuestionKind* kind) const;

  std::vector<AnswerMark> answers_;  // by tick
};

}  // namespace kelpa
