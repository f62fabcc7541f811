// SPDX-License-Identifier: MIT
#include "scenario/exercise.h"

#include <algorithm>
#include <functional>
#include <map>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "scenario/scenario_player.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

std::string Number(std::int64_t value) {
  return std::to_string(value);
}

bool Has(const std::vector<ProcessFact>& processes, std::int32_t pid) {
  return std::any_of(processes.begin(), processes.end(),
                     [pid](const ProcessFact& p) { return p.Pid == pid; });
}

bool IsChoice(EventKind kind) {
  return kind == EventKind::Dispatched || kind == EventKind::ChosenFirstCome ||
         kind == EventKind::ChosenInTurn || kind == EventKind::ChosenShortestBurst ||
         kind == EventKind::ChosenShortestRemaining || kind == EventKind::ChosenTopLevel;
}

bool IsQueueChange(EventKind kind) {
  return IsChoice(kind) || kind == EventKind::Preempted || kind == EventKind::PreemptedForShorter ||
         kind == EventKind::SliceEnded || kind == EventKind::LevelLowered;
}

bool IsFault(EventKind kind) {
  return kind == EventKind::PageReplaced || kind == EventKind::PageFaultRaised ||
         kind == EventKind::HardFaultFromImage || kind == EventKind::SoftFaultFromFreeList ||
         kind == EventKind::SoftFaultFromModifiedList || kind == EventKind::HardFaultFromPageFile;
}

}  // namespace

Exercise::Exercise(Simulation& sim, ScenarioPlayer& player, const TMessages& msg)
    : sim_(sim), player_(player), msg_(msg), oracle_(msg) {}

void Exercise::Opened() {
  const std::optional<ExerciseSection>& given = player_.Opened().Exercise;
  sectionGiven_ = given.has_value();
  section_ = given.value_or(ExerciseSection{});
  score_.Restore(section_.Answers);
  section_.Answers.clear();
}

const TickFacts& Exercise::Facts() {
  return oracle_.Facts(player_.WithHandActions(), player_.Tick());
}

std::optional<ExerciseQuestion> Exercise::Question() {
  const std::int64_t tick = player_.Tick();
  if (!section_.Asks(tick) || score_.Answered(tick)) {
    return std::nullopt;
  }
  std::vector<ProcessFact> before;
  std::map<ShapeId, std::int32_t> pidOf;
  for (const ProcessRow& row : SnapshotProcessRows(sim_)) {
    before.push_back({row.PID, row.Color, row.State});
    pidOf[row.Shape] = row.PID;
  }
  std::vector<DiscPlace> discs = SnapshotReadyDiscs(sim_);
  std::stable_sort(discs.begin(), discs.end(),
                   [](const DiscPlace& a, const DiscPlace& b) { return a.Queue > b.Queue; });
  std::vector<std::int32_t> readyBefore;
  for (const DiscPlace& d : discs) {
    readyBefore.push_back(pidOf[d.Shape]);
  }
  const TickFacts& facts = Facts();
  // The processes the state may be asked of: there before the tick and still there after it.
  std::vector<std::int32_t> named;
  for (const ProcessFact& p : facts.After) {
    if (Has(before, p.Pid)) {
      named.push_back(p.Pid);
    }
  }
  std::vector<QuestionKind> kinds;
  const auto consider = [&](QuestionKind kind, bool applies) {
    if (applies && section_.Allows(kind)) {
      kinds.push_back(kind);
    }
  };
  consider(QuestionKind::Runs, true);
  consider(QuestionKind::State, !named.empty());
  consider(QuestionKind::Page, facts.Taken.has_value());
  consider(QuestionKind::Queue, facts.Textbook && facts.ReadyOrder.size() >= 2);
  if (kinds.empty()) {
    return std::nullopt;
  }
  const auto count = static_cast<std::int64_t>(kinds.size());
  ExerciseQuestion q;
  q.Tick = tick;
  q.Kind = kinds[static_cast<std::size_t>(tick % count)];
  q.Processes = before;
  for (const ProcessFact& p : facts.After) {
    if (!Has(q.Processes, p.Pid)) {
      q.Processes.push_back(p);
    }
  }
  switch (q.Kind) {
    case QuestionKind::Runs:
      q.Text = FillIn(msg_.MsgExPerguntaExecuta, {Number(tick)});
      break;
    case QuestionKind::State:
      q.Pid =
          named[static_cast<std::size_t>((tick / count) % static_cast<std::int64_t>(named.size()))];
      q.Text = FillIn(msg_.MsgExPerguntaEstado, {Number(tick), Number(q.Pid)});
      break;
    case QuestionKind::Page:
      q.Text = FillIn(msg_.MsgExPerguntaPagina, {Number(tick)});
      break;
    case QuestionKind::Queue:
      // As the queue stands now; those that join it in the tick after them.
      for (const std::int32_t pid : readyBefore) {
        if (std::find(facts.ReadyOrder.begin(), facts.ReadyOrder.end(), pid) !=
            facts.ReadyOrder.end()) {
          q.Queue.push_back(pid);
        }
      }
      for (const ProcessFact& p : q.Processes) {
        if (std::find(facts.ReadyOrder.begin(), facts.ReadyOrder.end(), p.Pid) !=
                facts.ReadyOrder.end() &&
            std::find(q.Queue.begin(), q.Queue.end(), p.Pid) == q.Queue.end()) {
          q.Queue.push_back(p.Pid);
        }
      }
      q.Text = FillIn(msg_.MsgExPerguntaFila, {Number(tick)});
      break;
  }
  return q;
}

ExerciseAnswer Exercise::RightAnswer(const ExerciseQuestion& question,
                                     const TickFacts& facts) const {
  ExerciseAnswer right;
  switch (question.Kind) {
    case QuestionKind::Runs:
      right.Pid = facts.Running;
      break;
    case QuestionKind::State:
      for (const ProcessFact& p : facts.After) {
        if (p.Pid == question.Pid) {
          right.State = static_cast<int>(p.State);
        }
      }
      break;
    case QuestionKind::Page:
      if (facts.Taken) {
        right.Pid = facts.Taken->Pid;
        right.Page = facts.Taken->Page;
      }
      break;
    case QuestionKind::Queue:
      right.Order = facts.ReadyOrder;
      break;
  }
  return right;
}

std::string Exercise::AnswerText(QuestionKind kind, const ExerciseAnswer& answer) const {
  switch (kind) {
    case QuestionKind::Runs:
      return answer.Pid ? FillIn(msg_.MsgExProcesso, {Number(*answer.Pid)})
                        : msg_.MsgExNenhumProcesso;
    case QuestionKind::State:
      return msg_.StateName(answer.State);
    case QuestionKind::Page:
      // No page taken: what was done by hand since the question changed the tick.
      return answer.Pid
                 ? FillIn(msg_.MsgExPaginaDoProcesso, {Number(answer.Page), Number(*answer.Pid)})
                 : msg_.MsgExNenhumProcesso;
    case QuestionKind::Queue: {
      std::string text;
      for (const std::int32_t pid : answer.Order) {
        text += text.empty() ? "" : ", ";
        text += Number(pid);
      }
      return text;
    }
  }
  return {};
}

std::string Exercise::Explanation(const ExerciseQuestion& question, const TickFacts& facts) const {
  // The last line of the tick that an event of the kind wanted writes.
  const auto last = [&](const std::function<bool(const SimEvent&)>& wanted) -> std::string {
    for (auto e = facts.Events.rbegin(); e != facts.Events.rend(); ++e) {
      if (wanted(*e)) {
        if (auto line = EventLine(*e, msg_)) {
          return *line;
        }
      }
    }
    return {};
  };
  switch (question.Kind) {
    case QuestionKind::Runs:
      if (facts.Running) {
        const std::int32_t pid = *facts.Running;
        return last([pid](const SimEvent& e) { return e.Pid == pid && IsChoice(e.Kind); });
      }
      return last([](const SimEvent& e) { return AboutAProcess(e.Kind); });
    case QuestionKind::State: {
      const std::int32_t pid = question.Pid;
      return last([pid](const SimEvent& e) { return e.Pid == pid && AboutAProcess(e.Kind); });
    }
    case QuestionKind::Page: {
      const std::int32_t pid = facts.Taken ? facts.Taken->Pid : 0;
      const std::string replaced = last(
          [pid](const SimEvent& e) { return e.Pid == pid && e.Kind == EventKind::PageReplaced; });
      return replaced.empty()
                 ? last([pid](const SimEvent& e) { return e.Pid == pid && IsFault(e.Kind); })
                 : replaced;
    }
    case QuestionKind::Queue:
      return last([](const SimEvent& e) { return IsQueueChange(e.Kind); });
  }
  return {};
}

ExerciseVerdict Exercise::Answer(const ExerciseQuestion& question, const ExerciseAnswer& answer) {
  // Asked again: something done by hand since the question may have changed the tick.
  const TickFacts& facts = Facts();
  const ExerciseAnswer right = RightAnswer(question, facts);
  ExerciseVerdict verdict;
  switch (question.Kind) {
    case QuestionKind::Runs:
      verdict.Right = answer.Pid == right.Pid;
      break;
    case QuestionKind::State:
      verdict.Right = answer.State == right.State;
      break;
    case QuestionKind::Page:
      verdict.Right = answer.Pid == right.Pid && answer.Page == right.Page;
      break;
    case QuestionKind::Queue:
      verdict.Right = answer.Order == right.Order;
      break;
  }
  verdict.RightAnswer = AnswerText(question.Kind, right);
  verdict.LogLine = Explanation(question, facts);
  if (verdict.Right) {
    verdict.Text = msg_.MsgExCerto;
  } else {
    verdict.Text =
        FillIn(msg_.MsgExErrado, {verdict.RightAnswer}) + "\n" +
        (verdict.LogLine.empty() ? msg_.MsgExSemLinha : FillIn(msg_.MsgExNoLog, {verdict.LogLine}));
  }
  score_.Record({question.Tick, question.Kind, verdict.Right});
  return verdict;
}

Scenario Exercise::WithScore(Scenario scenario) const {
  if (!sectionGiven_ && score_.Answers().empty()) {
    return scenario;
  }
  ExerciseSection section = section_;
  section.Answers = score_.Answers();
  scenario.Exercise = std::move(section);
  return scenario;
}

}  // namespace kelpa
