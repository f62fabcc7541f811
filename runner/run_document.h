// SPDX-License-Identifier: MIT
// A scenario run to its document to print (--pdf): the run's header, its timeline, its figures
// and its table of states, from one run of its own.
#pragma once

#include <string>

#include "catalogue/messages.h"
#include "exports/print_document.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"

namespace kelpa {

// header.Resolved is the scenario run; name is the one the title gives.
PrintDocument ScenarioRunDocument(const RunHeader& header, const std::string& name,
                                  const TMessages& msg, const StatisticsCaptionTexts& captions);

}  // namespace kelpa
