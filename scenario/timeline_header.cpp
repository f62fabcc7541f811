// SPDX-License-Identifier: MIT
#include "scenario/timeline_header.h"

#include <sstream>

#include "scenario/scenario_reader.h"

namespace kelpa {

std::vector<std::string> TimelineHeader(const Scenario& scenario, const std::string& optionsLabel) {
  // The keys of [GLOBAL] and [MEMORIA] as the writer spells them, one line per section.
  std::vector<std::string> lines{scenario.Title};
  std::istringstream written(WriteScenario(scenario));
  std::string line;
  std::string section;
  std::string options;
  while (std::getline(written, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.starts_with('[')) {
      if (!options.empty()) {
        lines.push_back(optionsLabel + " " + options);
        options.clear();
      }
      section = line;
    } else if ((section == "[GLOBAL]" || section == "[MEMORIA]") && line.find('=') != line.npos) {
      if (!options.empty()) {
        options += "  ";
      }
      options += line;
    }
  }
  if (!options.empty()) {
    lines.push_back(optionsLabel + " " + options);
  }
  return lines;
}

}  // namespace kelpa
