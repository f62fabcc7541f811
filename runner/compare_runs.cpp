// SPDX-License-Identifier: MIT
#include "runner/compare_runs.h"

#include "runner/text_table.h"

namespace kelpa {

std::vector<Combination> Combinations(const std::vector<VaryOption>& varies) {
  std::vector<Combination> combinations = {{}};
  for (const VaryOption& vary : varies) {
    std::vector<Combination> next;
    for (const Combination& base : combinations) {
      for (const std::string& value : vary.Values) {
        Combination c = base;
        c.Label += (c.Label.empty() ? "" : " ") + vary.Name + "=" + value;
        c.Overrides.push_back({vary.Key.Section, vary.Key.Key, value});
        next.push_back(std::move(c));
      }
    }
    combinations = std::move(next);
  }
  return combinations;
}

void WriteComparison(OutputBuffer& out, TraceFormat format,
                     const std::vector<Combination>& combinations,
                     const std::vector<StatisticsNumbers>& results,
                     const StatisticsCaptionTexts& captions) {
  std::vector<std::vector<StatisticRow>> columns;
  for (const StatisticsNumbers& n : results) {
    columns.push_back(StatisticRows(n, captions));
  }
  const std::size_t rowCount = kStatisticsCaptions.size();
  if (format == TraceFormat::Csv) {
    out << "statistic";
    for (const Combination& c : combinations) {
      out << ',';
      out.CsvField(c.Label);
    }
    out << '\n';
    for (std::size_t r = 0; r < rowCount; ++r) {
      out << columns.front()[r].Key;
      for (const auto& column : columns) {
        out << ',' << column[r].Value.value_or("");
      }
      out << '\n';
    }
    return;
  }
  std::vector<TextRow> rows(1, TextRow{""});
  for (const Combination& c : combinations) {
    rows.front().push_back(c.Label);
  }
  for (std::size_t r = 0; r < rowCount; ++r) {
    TextRow row = {captions[r]};
    for (const auto& column : columns) {
      const StatisticRow& cell = column[r];
      row.push_back(StatisticText(cell));
    }
    rows.push_back(std::move(row));
  }
  WriteTextTable(out, rows);
}

}  // namespace kelpa
