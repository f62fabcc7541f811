// SPDX-License-Identifier: MIT
#include "runner/scenario_recorder.h"

#include <algorithm>
#include <mutex>
#include <numeric>
#include <optional>

#include "scenario/scenario_run.h"
#include "simulation/event_fan_out.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"
#include "simulation/virtual_clock.h"
#include "timeline/timeline_recorder.h"

namespace kelpa {
namespace {

class Recorder final : public IEventSink {
 public:
  Recorder(const Scenario& scenario, const VirtualClock& clock, const TCPU& cpu,
           TraceWriter* writer)
      : clock_(clock),
        cpu_(cpu),
        periodMs_(scenario.ClockPeriodMs()),
        writer_(writer),
        ticks_(writer != nullptr && writer->WantsTicks()),
        follower_([this]() -> ProcessTicks* {
          return nextCreation_ < creationOrder_.size() ? &figures_[creationOrder_[nextCreation_++]]
                                                       : nullptr;
        }) {
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
    // A tick ends at its last pass, within the tick.
    if (event.Kind == EventKind::TickEnded && ticks_) {
      writer_->Tick(ms / periodMs_, figures_, cpu_.LastCycle);
    }
    follower_.Report(event);
    if (IsControlEvent(event.Kind)) {
      return;
    }
    if (event.Kind == EventKind::TimesReported) {
      for (ProcessFigures& f : figures_) {
        if (f.Created && f.Pid == event.Pid && f.Ended && !f.TurnaroundMs) {
          f.CpuMs = SpanMs(event.CpuTime);
          f.TurnaroundMs = SpanMs(event.Lifetime);
        }
      }
    }
    if (writer_ != nullptr) {
      writer_->Event(event, ms / periodMs_, ms);
    }
  }

  // The figures after the last tick, the live processes' counted up to it (sim's lock held).
  std::vector<ProcessFigures>& FiguresAtEnd(const Simulation& sim) {
    follower_.CountLive(sim);
    return figures_;
  }

 private:
  const VirtualClock& clock_;
  const TCPU& cpu_;
  const std::int64_t periodMs_;
  TraceWriter* writer_;
  const bool ticks_;                     // the writer follows the states tick by tick
  std::vector<ProcessFigures> figures_;  // never grows once made: the follower keeps places in it
  std::vector<std::size_t> creationOrder_;
  std::size_t nextCreation_ = 0;
  ProcessTickFollower follower_;
};

}  // namespace

RunFigures RunScenario(const Scenario& scenario, const TMessages& msg, TraceWriter* writer,
                       TimelineModel* timeline) {
  NullLog log;  // the trace is built from the events
  NullDisplay display;
  VirtualClock clock;
  Simulation sim(clock, log, display, msg);
  Recorder recorder(scenario, clock, sim.Cpu, writer);
  EventFanOut events;
  events.Add(&recorder);
  sim.SetEvents(&events);
  std::optional<TimelineRecorder> drawn;
  if (timeline != nullptr) {
    drawn.emplace(sim, *timeline, [&clock] { return clock.Ms(); });
    events.Add(&*drawn);
  }
  ScenarioRun run(sim, clock, scenario);
  run.RunTo(scenario.Ticks);
  // The run ends with its last tick, not at that tick's last pass.
  clock.SetMs(run.Tick() * run.PeriodMs());

  RunFigures figures;
  figures.Statistics = ComputeStatisticsNumbers(SnapshotStatistics(sim));
  std::lock_guard lock(sim.Lock);
  std::vector<ProcessFigures>& processes = recorder.FiguresAtEnd(sim);
  for (ProcessFigures& f : processes) {
    if (f.State) {
      if (const TProcesso* p = sim.Kernel.FindByPID(f.Pid)) {
        f.CpuMs = SpanMs(sim.Cpu.CpuTimeSoFar(*p));
      }
    }
  }
  figures.Processes = std::move(processes);
  return figures;
}

}  // namespace kelpa
