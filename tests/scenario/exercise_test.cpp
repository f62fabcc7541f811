// SPDX-License-Identifier: MIT
// Predicting the next tick: a scripted exercise over the lessons, each answer judged against what
// the run shown then does, the score taken back by going back and kept by a saved run; and the
// [EXERCICIO] section's refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "lesson_run.h"
#include "scenario/exercise.h"
#include "scenario/scenario_player.h"
#include "scenario/scenario_reader.h"
#include "simulation/snapshots.h"
#include "support/recording_display.h"
#include "support/recording_log.h"

namespace kelpa {
namespace {

const TMessages kMsg;

Scenario Lesson(const std::string& name) {
  ScenarioReading read = ReadScenarioFile((test::LessonFolder() / name).string(), kMsg);
  EXPECT_TRUE(read.Value) << (read.Error ? read.Error->Text() : name);
  return read.Value.value_or(Scenario{});
}

struct Played {
  Played()
      : sim(clock, log, display, kMsg), player(sim, clock, events), exercise(sim, player, kMsg) {
    sim.SetEvents(&events);
  }
  void Open(Scenario scenario) {
    player.Open(std::move(scenario));
    exercise.Opened();
  }
  VirtualClock clock;
  test::RecordingLog log;
  test::RecordingDisplay display;
  EventFanOut events;
  Simulation sim;
  ScenarioPlayer player;
  Exercise exercise;
};

// The run shown, read after a tick as the windows read it: the truth an answer is judged by.
struct Shown {
  std::optional<std::int32_t> Running;
  std::map<std::int32_t, int> States;
  std::set<std::pair<std::int32_t, int>> Pages;  // valid pages
  std::vector<std::int32_t> Ready;
};

Shown Read(Simulation& sim) {
  Shown shown;
  for (const ProcessRow& row : SnapshotProcessRows(sim)) {
    shown.States[row.PID] = static_cast<int>(row.State);
    if (row.State == psRunning) {
      shown.Running = row.PID;
    }
  }
  for (int i = 0; i < SnapshotProcessCount(sim); ++i) {
    const ProcessDetail p = *SnapshotProcess(sim, i);
    for (int page = 0; page < kPagesPerProcess; ++page) {
      if (p.Pages[page].Valid) {
        shown.Pages.insert({p.PID, page});
      }
    }
  }
  std::vector<DiscPlace> discs = SnapshotReadyDiscs(sim);
  std::stable_sort(discs.begin(), discs.end(),
                   [](const DiscPlace& a, const DiscPlace& b) { return a.Queue > b.Queue; });
  std::lock_guard lock(sim.Lock);
  for (const DiscPlace& d : discs) {
    shown.Ready.push_back(sim.Kernel.FindByShape(d.Shape)->PID);
  }
  return shown;
}

// The right answer to q, from the run shown before and after its tick.
ExerciseAnswer Truth(const ExerciseQuestion& q, const Shown& before, const Shown& after) {
  ExerciseAnswer a;
  switch (q.Kind) {
    case QuestionKind::Runs:
      a.Pid = after.Running;
      break;
    case QuestionKind::State:
      a.State = after.States.at(q.Pid);
      break;
    case QuestionKind::Page:
      for (const auto& [pid, page] : before.Pages) {
        if (!after.Pages.contains({pid, page})) {
          a.Pid = pid;
          a.Page = page;
          break;
        }
      }
      break;
    case QuestionKind::Queue:
      a.Order = after.Ready;
      break;
  }
  return a;
}

// An answer that is never right.
ExerciseAnswer Wrong() {
  ExerciseAnswer a;
  a.Pid = -1;
  return a;
}

struct Pass {
  std::map<std::int64_t, ExerciseQuestion> Asked;
  std::map<std::int64_t, ExerciseAnswer> Truths;
  int Explained = 0;  // answers shown with a log line
};

// Steps to `ticks`, answering every question asked with given(tick) (none: the truth of an
// earlier pass), and checks each verdict against the run shown.
Pass Answer(Played& run, std::int64_t ticks, const Pass* earlier) {
  Pass pass;
  while (run.player.Tick() < ticks) {
    const std::int64_t tick = run.player.Tick();
    const std::optional<ExerciseQuestion> q = run.exercise.Question();
    if (!q) {
      run.player.Step();
      continue;
    }
    EXPECT_EQ(q->Tick, tick);
    EXPECT_NE(q->Text.find(std::to_string(tick)), std::string::npos);
    const Shown before = Read(run.sim);
    const ExerciseAnswer given = earlier != nullptr ? earlier->Truths.at(tick) : Wrong();
    const ExerciseVerdict verdict = run.exercise.Answer(*q, given);
    const std::size_t lines = run.log.Size();
    run.player.Step();
    const ExerciseAnswer truth = Truth(*q, before, Read(run.sim));
    EXPECT_EQ(verdict.Right, earlier != nullptr) << "tick " << tick;
    EXPECT_EQ(verdict.RightAnswer, run.exercise.AnswerText(q->Kind, truth)) << "tick " << tick;
    // The line that explains it is one the tick wrote, shown with the right answer.
    const std::vector<std::string> texts = run.log.Texts();
    if (!verdict.LogLine.empty()) {
      ++pass.Explained;
      EXPECT_NE(std::find(texts.begin() + static_cast<std::ptrdiff_t>(lines), texts.end(),
                          verdict.LogLine),
                texts.end())
          << "tick " << tick << ": " << verdict.LogLine;
    }
    if (!verdict.Right) {
      EXPECT_NE(verdict.Text.find(verdict.RightAnswer), std::string::npos);
      EXPECT_NE(verdict.Text.find(verdict.LogLine.empty() ? kMsg.MsgExSemLinha : verdict.LogLine),
                std::string::npos);
    }
    pass.Asked[tick] = *q;
    pass.Truths[tick] = truth;
  }
  return pass;
}

int Count(const Pass& pass, QuestionKind kind) {
  return static_cast<int>(std::count_if(pass.Asked.begin(), pass.Asked.end(),
                                        [kind](const auto& q) { return q.second.Kind == kind; }));
}

TEST(Exercise, EveryAnswerIsJudgedByTheTickTheWindowsThenRun) {
  struct Case {
    const char* Lesson;
    std::vector<QuestionKind> Kinds;  // PERGUNTAS
    std::int64_t Ticks;
  };
  const std::vector<Case> cases = {
      {"06-fcfs-sjf-srtf.ini", {}, 36},
      {"09-substituicao.ini", {QuestionKind::Page}, 90},
      {"05-swapping.ini", {QuestionKind::State}, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Lesson);
    Scenario lesson = Lesson(c.Lesson);
    lesson.Exercise = ExerciseSection{{}, c.Kinds, {}};
    Played run;
    run.Open(lesson);
    const Pass wrong = Answer(run, c.Ticks, nullptr);
    ASSERT_FALSE(wrong.Asked.empty());
    EXPECT_GT(wrong.Explained, 0);
    for (int kind = 0; kind < kQuestionKindCount; ++kind) {
      const auto k = static_cast<QuestionKind>(kind);
      EXPECT_EQ(run.exercise.Score().Wrong(k), Count(wrong, k));
      EXPECT_EQ(run.exercise.Score().Right(k), 0);
      if (c.Kinds.empty() && k != QuestionKind::Page) {
        EXPECT_GT(Count(wrong, k), 0) << kQuestionKindNames[kind];
      }
    }

    // Going back takes the score back; the same questions come again and the truths are right.
    run.player.BackTo(0);
    run.exercise.TakeBackTo(0);
    EXPECT_EQ(run.exercise.Score().Right() + run.exercise.Score().Wrong(), 0);
    const Pass right = Answer(run, c.Ticks, &wrong);
    EXPECT_EQ(run.exercise.Score().Right(), static_cast<int>(wrong.Asked.size()));
    for (const auto& [tick, q] : right.Asked) {
      EXPECT_EQ(q.Kind, wrong.Asked.at(tick).Kind);
      EXPECT_EQ(q.Pid, wrong.Asked.at(tick).Pid);
    }
  }
}

TEST(Exercise, VoltarTakesBackTheLaterAnswersAndASavedRunKeepsItsScore) {
  Played run;
  Scenario lesson = Lesson("06-fcfs-sjf-srtf.ini");
  lesson.Exercise = ExerciseSection{{{2, 4}, {10, 12}}, {}, {}};
  run.Open(lesson);
  const Pass wrong = Answer(run, 11, nullptr);
  EXPECT_EQ(wrong.Asked.size(), 4u);  // 2, 3, 4 and 10
  run.player.BackTo(4);
  run.exercise.TakeBackTo(4);
  EXPECT_EQ(run.exercise.Score().Wrong(), 2);
  Answer(run, 5, &wrong);  // tick 4 again, right this time
  EXPECT_EQ(run.exercise.Score().Right(), 1);

  const Scenario saved = run.exercise.WithScore(run.player.WithHandActions());
  const std::string text = WriteScenario(saved);
  EXPECT_NE(text.find("[EXERCICIO]\nTICKS=2-4,10-12\nPERGUNTAS=\nRESPOSTAS=2:"), std::string::npos)
      << text;
  const ScenarioReading read = ParseScenario(text, "saved.ini", kMsg);
  ASSERT_TRUE(read.Value) << read.Error->Text();
  EXPECT_EQ(*read.Value, saved);
  Played again;
  again.Open(*read.Value);
  EXPECT_EQ(again.exercise.Score().Answers(), run.exercise.Score().Answers());
  EXPECT_FALSE(again.exercise.Question());  // tick 0 is not asked
  again.player.RunTo(4);
  EXPECT_FALSE(again.exercise.Question());  // tick 4 was answered
  again.player.RunTo(10);
  EXPECT_TRUE(again.exercise.Question());
}

TEST(Exercise, SteppingOnDoesNotStartTheCopyAgainButAHandActionDoes) {
  Played run;
  run.Open(Lesson("06-fcfs-sjf-srtf.ini"));
  ExerciseOracle oracle(kMsg);
  for (int tick = 0; tick < 20; ++tick) {
    oracle.Facts(run.player.WithHandActions(), tick);
    run.player.Step();
  }
  EXPECT_EQ(oracle.Restarts(), 1);
  run.sim.Apply(HandAction{HandActionKind::Create, 0, 0, 3, 2, 0x00FF00});
  oracle.Facts(run.player.WithHandActions(), run.player.Tick());
  EXPECT_EQ(oracle.Restarts(), 2);
  // The process made by hand may be named in an answer.
  const std::optional<ExerciseQuestion> q = run.exercise.Question();
  ASSERT_TRUE(q);
  EXPECT_EQ(static_cast<int>(q->Processes.size()), SnapshotProcessCount(run.sim));
}

struct BadCase {
  std::string Lines;
  std::string Error;
};

TEST(Exercise, TheSectionIsReadStrictly) {
  const std::vector<BadCase> cases = {
      {"TICKS=3,,5", "t.ini:3: TICKS: lista malformada \"3,,5\""},
      {"TICKS=5-3", "t.ini:3: TICKS: mínimo 5 maior que o máximo 3"},
      {"TICKS=3-5,4", "t.ini:3: TICKS: lista não crescente (4 depois de 5)"},
      {"TICKS=x", "t.ini:3: TICKS: número malformado \"x\""},
      {"PERGUNTAS=EXECUTA,QUEM",
       "t.ini:3: PERGUNTAS: valor desconhecido \"QUEM\" (um de EXECUTA, ESTADO, PAGINA, FILA)"},
      {"PERGUNTAS=FILA,fila", "t.ini:3: PERGUNTAS: lista malformada \"FILA,fila\""},
      {"RESPOSTAS=3:EXECUTA", "t.ini:3: RESPOSTAS: lista malformada \"3:EXECUTA\""},
      {"RESPOSTAS=3:EXECUTA:TALVEZ",
       "t.ini:3: RESPOSTAS: valor desconhecido \"TALVEZ\" (um de CERTO, ERRADO)"},
      {"RESPOSTAS=5:FILA:CERTO,5:ESTADO:ERRADO",
       "t.ini:3: RESPOSTAS: lista não crescente (5 depois de 5)"},
      {"RESPOSTAS=-1:FILA:CERTO", "t.ini:3: RESPOSTAS: -1 fora do intervalo 0..1000000000"},
      {"NOTA=10", "t.ini:3: chave desconhecida NOTA na seção [EXERCICIO]"},
  };
  for (const BadCase& c : cases) {
    const std::string text = "[PROCESSO 1]\n[EXERCICIO]\n" + c.Lines + "\n";
    const ScenarioReading read = ParseScenario(text, "t.ini", kMsg);
    ASSERT_TRUE(read.Error) << c.Lines;
    EXPECT_EQ(read.Error->Text(), c.Error);
  }
  const ScenarioReading unordered = ParseScenario(
      "[PROCESSO 1]\n[exercicio]\nticks=7, 1-3\nperguntas=fila\nrespostas=2:estado:certo\n",
      "t.ini", kMsg);
  EXPECT_TRUE(unordered.Error) << "ticks out of order";
  const ScenarioReading good = ParseScenario(
      "[PROCESSO 1]\n[exercicio]\nticks=1-3, 7\nperguntas=fila\nrespostas=2:estado:certo\n",
      "t.ini", kMsg);
  ASSERT_TRUE(good.Value);
  const ExerciseSection expected{
      {{1, 3}, {7, 7}}, {QuestionKind::Queue}, {{2, QuestionKind::State, true}}};
  EXPECT_EQ(good.Value->Exercise, expected);
}

}  // namespace
}  // namespace kelpa
