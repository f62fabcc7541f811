// SPDX-License-Identifier: MIT
// What the windows export as csv: the events of a run they followed, in exactly the runner's
// csv format, and the statistics window's figures.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"
#include "timeline/timeline_model.h"

namespace kelpa {

// The header, a row per event, then the statistics, as --format csv writes them.
std::string EventsCsv(const RunHeader& header, const std::deque<RecordedEvent>& events,
                      const StatisticsNumbers& statistics, const TMessages& msg,
                      const StatisticsCaptionTexts& captions);

// key,caption,value: a row per figure, in the window's reading order.
std::string StatisticsCsv(const std::vector<StatisticRow>& rows);

}  // namespace kelpa
