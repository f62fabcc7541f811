// SPDX-License-Identifier: MIT
// Turns a checked scenario document into a Scenario: reads every value strictly, checks each
// process's requests against its arrival, draws the [GERAR] processes after the written ones and
// gives every process without a colour the palette's colour of its position.
#pragma once

#include <string>

#include "scenario/scenario_document.h"
#include "scenario/scenario_reader.h"

namespace kelpa {

ScenarioReading BuildScenario(const ScenarioDocument& doc, const std::string& fileName,
                              const TMessages& msg);

}  // namespace kelpa
