// SPDX-License-Identifier: MIT
// The four output formats of --run.
#pragma once

#include <memory>

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"
#include "timeline/timeline_model.h"

namespace kelpa {

enum class TraceFormat { Text, Csv, Json, States };

// Runs the scenario with the format's writer: header, trace, figures; fills timeline (may be
// null) with the run. The formats:
// text: the log line of each event that has one, after its tick and virtual time; then each
//       process's figures and the statistics, captioned.
// csv:  one row per event, every event (state changes too), under a row of column names.
// json: one document: the scenario, the events, each process's figures, the statistics.
// states: one row per tick, one column per scenario process giving its state code.
void WriteRun(OutputBuffer& out, TraceFormat format, const RunHeader& header,
              const Scenario& scenario, const TMessages& msg,
              const StatisticsCaptionTexts& captions, TimelineModel* timeline = nullptr);

}  // namespace kelpa
