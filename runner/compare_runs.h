// SPDX-License-Identifier: MIT
// --compare: every combination of the --vary values run on the same workload, and one table of
// the statistics with a column per combination.
#pragma once

#include <string>
#include <vector>

#include "runner/output_buffer.h"
#include "runner/runner_options.h"
#include "runner/statistic_rows.h"

namespace kelpa {

struct Combination {
  std::string Label;                        // "SECTION.KEY=V SECTION.KEY=V"
  std::vector<ScenarioOverride> Overrides;  // one per --vary, in the order given
};

// The cartesian product in the order given: the first --vary changes slowest.
std::vector<Combination> Combinations(const std::vector<VaryOption>& varies);

// Text: a table captioned as the statistics window; csv: a row of keys per statistic.
void WriteComparison(OutputBuffer& out, TraceFormat format,
                     const std::vector<Combination>& combinations,
                     const std::vector<StatisticsNumbers>& results,
                     const StatisticsCaptionTexts& captions);

}  // namespace kelpa
