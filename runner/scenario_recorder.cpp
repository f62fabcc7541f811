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
        ticks_(writer != nullptr && writer->WantsTicks()) {
    for (const ScenarioProcess& s : scenario.Processes) {
      ProcessFigures& f = figures_.emplace_back();
      f.Number = s.Number;
      f.Kind = s.Kind;
      f.Priority = s.Priority;
    }
    since_.resize(figures_.size());
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
    if (IsControlEvent(event.Kind)) {
      return;
    }
    Follow(event, ms / periodMs_);
    if (writer_ != nullptr) {
      writer_->Event(event, ms / periodMs_, ms);
    }
  }

  // Counts the ticks of the processes still alive after `ticks` ticks.
  std::vector<ProcessFigures>& FiguresAfter(std::int64_t ticks) {
    for (const Live& live : live_) {
      CountTicks(live.Index, ticks);
    }
    return figures_;
  }

 private:
  struct Live {
    std::int32_t Pid = 0;
    std::size_t Index = 0;
  };

  // A state held from tick since_ to the end of tick `tick` - 1 counts for each of those ticks,
  // as a look at every process after every tick would count it.
  void CountTicks(std::size_t index, std::int64_t tick) {
    ProcessFigures& f = figures_[index];
    if (f.State) {
      f.TicksIn[static_cast<std::size_t>(*f.State)] += tick - since_[index];
    }
    since_[index] = tick;
  }

  void Follow(const SimEvent& event, std::int64_t tick) {
    if (event.Kind == EventKind::Created || event.Kind == EventKind::CreationFailed) {
      if (nextCreation_ >= creationOrder_.size()) {
        return;
      }
      const std::size_t index = creationOrder_[nextCreation_++];
      ProcessFigures& f = figures_[index];
      if (event.Kind == EventKind::CreationFailed) {
        f.Refused = true;
        return;
      }
      f.Created = true;
      f.Pid = event.Pid;
      f.State = event.To;
      since_[index] = tick;
      live_.push_back({event.Pid, index});
      return;
    }
    if (!AboutAProcess(event.Kind)) {
      return;
    }
    // No two live processes share an identifier, and there are at most twenty of them.
    const auto found = std::find_if(live_.begin(), live_.end(),
                                    [&](const Live& live) { return live.Pid == event.Pid; });
    if (found == live_.end()) {
      return;
    }
    const std::size_t index = found->Index;
    ProcessFigures& f = figures_[index];
    if (event.Kind == EventKind::StateChanged) {
      CountTicks(index, tick);
      f.State = event.To;
    } else if (event.Kind == EventKind::TimesReported) {
      CountTicks(index, tick);
      f.Ended = true;
      f.State.reset();
      f.CpuMs = SpanMs(event.CpuTime);
      f.TurnaroundMs = SpanMs(event.Lifetime);
      live_.erase(found);
    }
  }

  const VirtualClock& clock_;
  const TCPU& cpu_;
  const std::int64_t periodMs_;
  TraceWriter* writer_;
  const bool ticks_;  // the writer follows the states tick by tick
  std::vector<ProcessFigures> figures_;
  std::vector<std::int64_t> since_;  // the first tick of each process's present state
  std::vector<std::size_t> creationOrder_;
  std::size_t nextCreation_ = 0;
  std::vector<Live> live_;
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
  std::vector<ProcessFigures>& processes = recorder.FiguresAfter(run.Tick());
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
