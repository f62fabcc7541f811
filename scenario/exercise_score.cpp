// SPDX-License-Identifier: MIT
#include "scenario/exercise_score.h"

#include <algorithm>

namespace kelpa {
namespace {

bool Earlier(const AnswerMark& a, const AnswerMark& b) {
  return a.Tick < b.Tick;
}

}  // namespace

void ExerciseScore::Record(const AnswerMark& mark) {
  const auto at = std::lower_bound(answers_.begin(), answers_.end(), mark, Earlier);
  if (at != answers_.end() && at->Tick == mark.Tick) {
    *at = mark;
  } else {
    answers_.insert(at, mark);
  }
}

void ExerciseScore::TakeBackTo(std::int64_t tick) {
  std::erase_if(answers_, [tick](const AnswerMark& a) { return a.Tick >= tick; });
}

void ExerciseScore::Restore(std::vector<AnswerMark> answers) {
  answers_ = std::move(answers);
  std::stable_sort(answers_.begin(), answers_.end(), Earlier);
}

bool ExerciseScore::Answered(std::int64_t tick) const {
  return std::binary_search(answers_.begin(), answers_.end(), AnswerMark{tick}, Earlier);
}

int ExerciseScore::Count(bool right, const QuestionKind* kind) const {
  return static_cast<int>(std::count_if(answers_.begin(), answers_.end(), [&](const AnswerMark& a) {
    return a.Right == right && (kind == nullptr || a.Kind == *kind);
  }));
}

int ExerciseScore::Right() const {
  return Count(true, nullptr);
}

int ExerciseScore::Wrong() const {
  return Count(false, nullptr);
}

int ExerciseScore::Right(QuestionKind kind) const {
  return Count(true, &kind);
}

int ExerciseScore::Wrong(QuestionKind kind) const {
  return Count(false, &kind);
}

}  // namespace kelpa
