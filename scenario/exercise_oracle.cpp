// SPDX-License-Identifier: MIT
#include "scenario/exercise_oracle.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <utility>

#include "scenario/scenario_run.h"
#include "scenario/scenario_values.h"
#include "simulation/scheduling_policy.h"
#include "simulation/simulation.h"
#include "simulation/virtual_clock.h"

namespace kelpa {
namespace {

// Keeps the events of the tick being watched.
class TickEvents final : public IEventSink {
 public:
  void Report(const SimEvent& event) override {
    if (watching && !IsControlEvent(event.Kind) && event.Kind != EventKind::StateChanged) {
      kept.push_back(event);
    }
  }
  bool watching = false;
  std::vector<SimEvent> kept;
};

std::vector<ProcessFact> Processes(Simulation& sim) {
  std::vector<ProcessFact> facts;
  for (const auto& p : sim.Kernel.Processes) {
    facts.push_back({p->PID, p->Color, p->State});
  }
  return facts;
}

std::set<std::pair<std::int32_t, int>> ValidPages(Simulation& sim) {
  std::set<std::pair<std::int32_t, int>> pages;
  for (const auto& p : sim.Kernel.Processes) {
    for (int page = 0; page < kPagesPerProcess; ++page) {
      if (p->PageTable[page].Valid) {
        pages.insert({p->PID, page});
      }
    }
  }
  return pages;
}

// The ready processes, the first to be dispatched first: the highest queue is served first, each
// from its front.
std::vector<std::int32_t> ReadyOrder(Simulation& sim) {
  std::vector<DiscPlace> discs = sim.Kernel.ReadyDiscs();
  std::stable_sort(discs.begin(), discs.end(),
                   [](const DiscPlace& a, const DiscPlace& b) { return a.Queue > b.Queue; });
  std::vector<std::int32_t> order;
  for (const DiscPlace& d : discs) {
    if (const TProcesso* p = sim.Kernel.FindByShape(d.Shape)) {
      order.push_back(p->PID);
    }
  }
  return order;
}

}  // namespace

struct ExerciseOracle::Copy {
  Copy(const Scenario& scenario, const TMessages& msg)
      : sim(clock, log, display, msg), run(sim, clock, scenario) {
    sim.SetEvents(&events);
  }
  NullLog log;
  NullDisplay display;
  VirtualClock clock;
  Simulation sim;
  TickEvents events;
  ScenarioRun run;
};

ExerciseOracle::ExerciseOracle(const TMessages& msg) : msg_(msg) {}

ExerciseOracle::~ExerciseOracle() = default;

const TickFacts& ExerciseOracle::Facts(const Scenario& asked, std::int64_t tick) {
  // The copy runs for as long as it is asked; its own pauses and exercise are no part of a run.
  Scenario scenario = asked;
  scenario.Ticks = kMaxScenarioTick;
  scenario.PauseAt.clear();
  scenario.Exercise.reset();
  if (known_ && facts_.Tick == tick && scenario == scenario_) {
    return facts_;
  }
  if (!copy_ || !(scenario == scenario_) || copy_->run.Tick() > tick) {
    copy_.reset();
    scenario_ = std::move(scenario);
    copy_ = std::make_unique<Copy>(scenario_, msg_);
    ++restarts_;
  }
  Copy& c = *copy_;
  c.run.RunTo(tick);
  TickFacts facts;
  facts.Tick = tick;
  std::set<std::pair<std::int32_t, int>> before;
  {
    std::lock_guard lock(c.sim.Lock);
    before = ValidPages(c.sim);
  }
  c.events.kept.clear();
  c.events.watching = true;
  c.run.StepTick();
  c.events.watching = false;
  facts.Events = std::move(c.events.kept);

  std::lock_guard lock(c.sim.Lock);
  facts.After = Processes(c.sim);
  for (const ProcessFact& p : facts.After) {
    if (p.State == psRunning) {
      facts.Running = p.Pid;
    }
  }
  // A page taken by a replacement names itself; first-in-first-out takes one without a line, so
  // the pages of the live processes still in memory are compared.
  const auto replaced =
      std::find_if(facts.Events.begin(), facts.Events.end(),
                   [](const SimEvent& e) { return e.Kind == EventKind::PageReplaced; });
  if (replaced != facts.Events.end()) {
    facts.Taken = TakenPage{replaced->Pid, replaced->Page};
  } else {
    const auto after = ValidPages(c.sim);
    for (const auto& [pid, page] : before) {
      const TProcesso* p = c.sim.Kernel.FindByPID(pid);
      if (p != nullptr && !IsSwappedOut(p->State) && !after.contains({pid, page})) {
        facts.Taken = TakenPage{pid, page};
        break;
      }
    }
  }
  facts.ReadyOrder = ReadyOrder(c.sim);
  facts.Textbook = IsTextbookPolicy(static_cast<SchedulingPolicy>(c.sim.Options().Scheduler));
  facts_ = std::move(facts);
  known_ = true;
  return facts_;
}

}  // namespace kelpa
