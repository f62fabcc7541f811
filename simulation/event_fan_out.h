// SPDX-License-Identifier: MIT
// Hands every event to several sinks in turn: the simulation has one sink, and more than one
// view of a run may follow its events.
#pragma once

#include <algorithm>
#include <vector>

#include "simulation/sim_event.h"

namespace kelpa {

class EventFanOut final : public IEventSink {
 public:
  // Sinks are added before the simulation's threads start and outlive the fan-out's use.
  void Add(IEventSink* sink) { sinks_.push_back(sink); }
  void Remove(IEventSink* sink) { std::erase(sinks_, sink); }
  void Report(const SimEvent& event) override {
    for (IEventSink* sink : sinks_) {
      sink->Report(event);
    }
  }

 private:
  std::vector<IEventSink*> sinks_;
};

}  // namespace kelpa
