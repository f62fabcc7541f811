// SPDX-License-Identifier: MIT
// An event sink that keeps every event, for tests.
#pragma once

#include <vector>

#include "simulation/sim_event.h"

namespace kelpa::test {

class RecordingEvents final : public IEventSink {
 public:
  void Report(const SimEvent& event) override { events.push_back(event); }
  std::vector<SimEvent> events;
};

}  // namespace kelpa::test
