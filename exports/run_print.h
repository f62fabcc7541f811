// SPDX-License-Identifier: MIT
// The document of a run, to print: the scenario's header, the timeline of the whole run, the
// statistics, each process in ticks and the table of states, each whole over as many pages as
// it needs. The runner (--pdf) and the windows ("Exportar PDF...") build it the same way.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/messages.h"
#include "exports/print_document.h"
#include "exports/process_ticks.h"
#include "exports/statistic_rows.h"
#include "simulation/statistics.h"
#include "timeline/timeline_model.h"
#include "timeline/timeline_picture.h"

namespace kelpa {

// A process as the tables of ticks name it (its scenario number, or its place in the order of
// creation) and its ticks.
using NamedTicks = std::pair<std::string, const ProcessTicks*>;

// The table of each process in ticks as the runner's text shows it: the column names, a row per
// process, then the means under the columns they average and the totals under theirs.
std::vector<std::vector<std::string>> ProcessTickRows(const std::vector<NamedTicks>& processes,
                                                      const TMessages& msg);

struct RunPrint {
  std::string Name;                               // of the scenario, in the title
  std::vector<std::string> Header;                // the header lines the line formats write
  std::shared_ptr<const TimelineModel> Timeline;  // none: no timeline
  TimelineFrame Frame;                            // its ticks; its header is not drawn again
  const StatisticsNumbers* Statistics = nullptr;  // none: no statistics
  std::vector<NamedTicks> Processes;
  PrintTable States;  // no columns: no table
};

PrintDocument RunPrintDocument(const RunPrint& run, const TMessages& msg,
                               const StatisticsCaptionTexts& captions);

}  // namespace kelpa
