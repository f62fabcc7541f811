// SPDX-License-Identifier: MIT
// The header of an exported timeline: the run's title, then its options as the scenario file
// writes them, so a picture says how it was made.
#pragma once

#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace kelpa {

std::vector<std::string> TimelineHeader(const Scenario& scenario, const std::string& optionsLabel);

}  // namespace kelpa
