// SPDX-License-Identifier: MIT
#include "exports/run_header.h"

#include <string_view>

#include "scenario/scenario_reader.h"

namespace kelpa {

void WriteCommentHeader(OutputBuffer& out, const RunHeader& header, const TMessages& msg) {
  out << "# Kelpa " << header.Version << '\n';
  out << "# " << msg.MsgRunCenario << ": " << header.File << '\n';
  out << "# SHA-256: " << header.Sha256 << '\n';
  out << "# " << msg.MsgRunCatalogo << ": "
      << (header.CatalogueFromFile ? std::string_view("kelpa.ini") : msg.MsgRunEmbutido) << '\n';
  if (header.Resolved == nullptr) {
    return;
  }
  const std::string scenario = WriteScenario(*header.Resolved);
  std::string_view rest = scenario;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    out << (line.empty() ? "#" : "# ") << line << '\n';
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
}

void WriteCommentStatistics(OutputBuffer& out, const std::vector<StatisticRow>& rows) {
  for (const StatisticRow& row : rows) {
    out << "# " << row.Key << '=' << row.Value.value_or("") << '\n';
  }
}

}  // namespace kelpa
