// SPDX-License-Identifier: MIT
// Runs a scenario to its last tick on a virtual clock, with no display and a log that keeps
// nothing, following each scenario process through the events and the ticks.
#pragma once

#include "catalogue/messages.h"
#include "exports/run_figures.h"
#include "exports/trace_writer.h"
#include "scenario/scenario.h"
#include "timeline/timeline_model.h"

namespace kelpa {

// Runs scenario.Ticks ticks; writer (may be null) sees every event and tick, and timeline (may
// be null) is filled with the run. The statistics are read at the end of the last tick.
RunFigures RunScenario(const Scenario& scenario, const TMessages& msg, TraceWriter* writer,
                       TimelineModel* timeline = nullptr);

}  // namespace kelpa
