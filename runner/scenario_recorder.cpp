#include "runner/scenario_recorder.h"

#include <algorithm>
#include <mutex>
#include <numeric>
#include <unordered_map>

#include "scenario/scenario_run.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"
#include "simulation/virtual_clock.h"

namespace kelpa {
namespace {

// The trace is built from the events, so the log's lines would only be thrown away.
class DiscardingLog final : public ILog {
 public:
  void AddLine(const std::string&, TColor) override {}
  bool Discards() const override { return true; }
};

class Recorder final : public IEventSink {
 public:
  Recorder(const Scenario& scenario, const VirtualClock& clock, TraceWriter* writer)
      : clock_(clock), periodMs_(scenario.ClockPeriodMs()), writer_(writer) {
    for (const ScenarioProcess& s : scenario.Processes) {
      ProcessFigures& f = figures_.emplace_back();
      f.Number = s.Number;
      f.Kind = s.Kind;
      f.Priority = s.Priority;
    }
    // The run creates the processes by arrival tick, then in the scenario's order; each creation
    // reports exactly one Created or CreationFailed event.
    creationOrder_.resize(figures_.size());
    std::iota(creationOrder_.begin(), creationOrder_.end(), std::size_t{0});
    std::stable_sort(creationOrder_.begin(), creationOrder_.end(),
                     [&](std::size_t a, std::size_t b) {
                       return scenario.Processes[a].Arrival < scenario.Processes[b].Arrival;
                     });
  }

  void Report(const SimEvent& event) override {
    const std::int64_t ms = clock_.Ms();
    Follow(event);
    if (writer_ != nullptr) {
      writer_->Event(event, ms / periodMs_, ms);
    }
  }

  void AfterTick(std::int64_t tick) {
    for (ProcessFigures& f : figures_) {
      if (f.State) {
        ++f.TicksIn[static_cast<std::size_t>(*f.State)];
      }
    }
    if (writer_ != nullptr) {
      writer_->Tick(tick, figures_);
    }
  }

  std::vector<ProcessFigures>& Figures() { return figures_; }

 private:
  void Follow(const SimEvent& event) {
    if (event.Kind == EventKind::Created || event.Kind == EventKind::CreationFailed) {
      if (nextCreation_ >= creationOrder_.size()) {
        return;
      }
      ProcessFigures& f = figures_[creationOrder_[nextCreation_++]];
      if (event.Kind == EventKind::CreationFailed) {
        f.Refused = true;
        return;
      }
      f.Created = true;
      f.Pid = event.Pid;
      f.State = event.To;
      live_[event.Pid] = &f;
      return;
    }
    const auto found = live_.find(event.Pid);
    if (found == live_.end()) {
      return;
    }
    ProcessFigures& f = *found->second;
    if (event.Kind == EventKind::StateChanged) {
      f.State = event.To;
    } else if (event.Kind == EventKind::TimesReported) {
      f.Ended = true;
      f.State.reset();
      f.CpuMs = SpanMs(event.CpuTime);
      f.TurnaroundMs = SpanMs(event.Lifetime);
      live_.erase(found);
    }
  }

  const VirtualClock& clock_;
  const std::int64_t periodMs_;
  TraceWriter* writer_;
  std::vector<ProcessFigures> figures_;
  std::vector<std::size_t> creationOrder_;
  std::size_t nextCreation_ = 0;
  // Live processes by identifier: no two live processes share one.
  std::unordered_map<std::int32_t, ProcessFigures*> live_;
};

}  // namespace

RunFigures RunScenario(const Scenario& scenario, const TMessages& msg, TraceWriter* writer) {
  DiscardingLog log;
  NullDisplay display;
  VirtualClock clock;
  Simulation sim(clock, log, display, msg);
  Recorder recorder(scenario, clock, writer);
  sim.Events = &recorder;
  ScenarioRun run(sim, clock, scenario);
  run.AfterTick = [&recorder](std::int64_t tick) { recorder.AfterTick(tick); };
  run.RunTo(scenario.Ticks);
  // The run ends with its last tick, not at that tick's last pass.
  clock.SetMs(run.Tick() * run.PeriodMs());

  RunFigures figures;
  figures.Statistics = ComputeStatisticsNumbers(SnapshotStatistics(sim));
  std::lock_guard lock(sim.Lock);
  for (ProcessFigures& f : recorder.Figures()) {
    if (f.State) {
      if (const TProcesso* p = sim.Kernel.FindByPID(f.Pid)) {
        f.CpuMs = SpanMs(p->CpuTime);
      }
    }
  }
  figures.Processes = std::move(recorder.Figures());
  return figures;
}

}  // namespace kelpa
