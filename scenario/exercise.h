// SPDX-License-Identifier: MIT
// Predicting the next tick of an opened scenario: before the tick about to run (every tick, or
// those its [EXERCICIO] section lists) one question about it, its answer judged against what the
// tick will do (ExerciseOracle), and the score. The question is chosen from the tick alone, so a
// replay asks the same one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scenario/exercise_oracle.h"
#include "scenario/exercise_score.h"
#include "scenario/exercise_section.h"
#include "scenario/scenario.h"

namespace kelpa {

class ScenarioPlayer;
class Simulation;
struct TMessages;

struct ExerciseQuestion {
  std::int64_t Tick = 0;
  QuestionKind Kind = QuestionKind::Runs;
  std::int32_t Pid = 0;                // State: the process asked about
  std::vector<ProcessFact> Processes;  // the processes an answer may name
  std::vector<std::int32_t> Queue;     // Queue: the processes to put in order, as they stand now
  std::string Text;
};

// What the student gives: the process (Runs, Page; none for "no process"), the state (State,
// ProcessState's number), the page (Page), the order (Queue, first to be dispatched first).
struct ExerciseAnswer {
  std::optional<std::int32_t> Pid;
  int State = -1;
  int Page = -1;
  std::vector<std::int32_t> Order;
};

struct ExerciseVerdict {
  bool Right = false;
  std::string RightAnswer;  // the right answer, as the panel shows it
  std::string LogLine;      // the tick's log line that explains it; empty when none does
  std::string Text;         // "Certo!", or the right answer with the line
};

class Exercise {
 public:
  // sim is the simulation player plays: the processes and the queue before a tick are read there,
  // as the windows show them.
  Exercise(Simulation& sim, ScenarioPlayer& player, const TMessages& msg);

  // Takes the opened scenario's section (every tick and kind without one) and its score.
  void Opened();
  // The question about the tick about to run; none when that tick is not asked, was answered, or
  // no allowed kind applies to it.
  std::optional<ExerciseQuestion> Question();
  // Judges the answer to the question about the tick about to run and scores it.
  ExerciseVerdict Answer(const ExerciseQuestion& question, const ExerciseAnswer& answer);
  // Going back to `tick`: the answers about it and later ticks are taken back.
  void TakeBackTo(std::int64_t tick) { score_.TakeBackTo(tick); }
  ExerciseScore& Score() { return score_; }
  const ExerciseScore& Score() const { return score_; }
  // scenario with the exercise's section and its answers, as a saved run keeps them.
  Scenario WithScore(Scenario scenario) const;

  const TMessages& Msg() const { return msg_; }
  // The answer's text: a process, "no process", a state, a page of a process, an order.
  std::string AnswerText(QuestionKind kind, const ExerciseAnswer& answer) const;

 private:
  const TickFacts& Facts();
  ExerciseAnswer RightAnswer(const ExerciseQuestion& question, const TickFacts& facts) const;
  std::string Explanation(const ExerciseQuestion& question, const TickFacts& facts) const;

  Simulation& sim_;
  ScenarioPlayer& player_;
  const TMessages& msg_;
  ExerciseOracle oracle_;
  ExerciseSection section_;
  bool sectionGiven_ = false;
  ExerciseScore score_;
};

}  // namespace kelpa
