// SPDX-License-Identifier: MIT
// Feeds a timeline from a simulation: its events as they come, and a look at the processor and
// the I/O device at the end of every tick. Everything here runs with the simulation lock held;
// the timeline belongs to the lock too.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "simulation/simulation.h"
#include "timeline/timeline_model.h"

namespace kelpa {

class TimelineRecorder final : public IEventSink {
 public:
  // Fills model (kept by the caller); nowMs: the time of an event, in ms, as the timeline keeps
  // it.
  TimelineRecorder(const Simulation& sim, TimelineModel& model, std::function<std::int64_t()> nowMs)
      : sim_(sim), model_(model), nowMs_(std::move(nowMs)) {}

  // A tick ends (TickEnded) after a scenario tick's last pass, or after a live processor cycle;
  // the other changes taken are no part of the picture.
  void Report(const SimEvent& event) override {
    if (event.Kind == EventKind::TickEnded) {
      EndTick();
    } else if (!IsControlEvent(event.Kind)) {
      model_.Report(event, nowMs_());
    }
  }
  // What the processor did in its last cycle and whom the device serves now.
  static TickSample SampleTick(const Simulation& sim);

 private:
  void EndTick() { model_.EndTick(SampleTick(sim_)); }

  const Simulation& sim_;
  TimelineModel& model_;
  std::function<std::int64_t()> nowMs_;
};

}  // namespace kelpa
