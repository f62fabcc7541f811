// SPDX-License-Identifier: MIT
#include "scenario/timeline_header.h"

#include "scenario/scenario_reader.h"

namespace kelpa {

std::vector<std::string> TimelineHeader(const Scenario& scenario, const std::string& optionsLabel) {
  // The keys of [GLOBAL] and [MEMORIA] as the writer spells them, one line per section.
  std::vector<std::string> lines{scenario.Title};
  for (const OptionSection part : {OptionSection::Global, OptionSection::Memory}) {
    const ScenarioKeyValues section = OptionKeyValues(scenario.Options, part);
    std::string options = optionsLabel;
    for (std::size_t i = 0; i < section.size(); ++i) {
      options += i == 0 ? " " : "  ";
      options += section[i].first;
      options += '=';
      options += section[i].second;
    }
    lines.push_back(std::move(options));
  }
  return lines;
}

}  // namespace kelpa
