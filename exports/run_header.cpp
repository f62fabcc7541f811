// SPDX-License-Identifier: MIT
#include "exports/run_header.h"

#include <string_view>

#include "scenario/scenario_reader.h"

namespace kelpa {

std::vector<std::string> HeaderLines(const RunHeader& header, const TMessages& msg) {
  std::vector<std::string> lines = {
      "Kelpa " + header.Version, msg.MsgRunCenario + ": " + header.File,
      "SHA-256: " + header.Sha256,
      msg.MsgRunCatalogo + ": " +
          (header.CatalogueFromFile ? std::string("kelpa.ini") : msg.MsgRunEmbutido)};
  if (header.Resolved == nullptr) {
    return lines;
  }
  const std::string scenario = WriteScenario(*header.Resolved);
  std::string_view rest = scenario;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    lines.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return lines;
}

void WriteCommentHeader(OutputBuffer& out, const RunHeader& header, const TMessages& msg) {
  for (const std::string& line : HeaderLines(header, msg)) {
    out << (line.empty() ? "#" : "# ") << line << '\n';
  }
}

void WriteCommentStatistics(OutputBuffer& out, const std::vector<StatisticRow>& rows) {
  for (const StatisticRow& row : rows) {
    out << "# " << row.Key << '=' << row.Value.value_or("") << '\n';
  }
}

}  // namespace kelpa
