// SPDX-License-Identifier: MIT
#include "exports/csv_exports.h"

#include <sstream>

#include "exports/csv_trace.h"
#include "exports/output_buffer.h"

namespace kelpa {

std::string EventsCsv(const RunHeader& header, const std::deque<RecordedEvent>& events,
                      const StatisticsNumbers& statistics, const TMessages& msg,
                      const StatisticsCaptionTexts& captions) {
  std::ostringstream text;
  {
    OutputBuffer out(text);
    CsvTrace trace(out, msg, captions);
    trace.Begin(header);
    for (const RecordedEvent& e : events) {
      trace.Event(e.Event, e.Tick, e.Ms);
    }
    RunFigures figures;
    figures.Statistics = statistics;
    trace.End(figures);
  }
  return text.str();
}

std::string StatisticsCsv(const std::vector<StatisticRow>& rows) {
  std::ostringstream text;
  {
    OutputBuffer out(text);
    out << "key,caption,value\n";
    for (const StatisticRow& row : rows) {
      out << row.Key << ',';
      out.CsvField(row.Caption != nullptr ? *row.Caption : std::string()) << ',';
      out << row.Value.value_or("") << '\n';
    }
  }
  return text.str();
}

}  // namespace kelpa
