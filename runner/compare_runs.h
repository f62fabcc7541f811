// SPDX-License-Identifier: MIT
// --compare: every combination of the --vary values run on the same workload, and one table of
// the statistics and of each scenario process's figures, with a column per combination.
#pragma once

#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "exports/run_figures.h"
#include "exports/statistic_rows.h"
#include "runner/runner_options.h"

namespace kelpa {

struct Combination {
  std::string Label;                        // "SECTION.KEY=V SECTION.KEY=V"
  std::vector<ScenarioOverride> Overrides;  // one per --vary, in the order given
};

// The cartesian product in the order given: the first --vary changes slowest.
std::vector<Combination> Combinations(const std::vector<VaryOption>& varies);

// What the table is made of: the --vary names (a heading row each, the values under them),
// the combinations and their runs, in the same order.
struct ComparisonTable {
  std::vector<std::string> VaryNames;
  std::vector<Combination> Combinations;
  std::vector<RunFigures> Results;
};

inline constexpr int kDefaultTextWidth = 80;

// Text: a row per figure captioned as the statistics window, then each process's processor time,
// ticks per state (the states no combination spent a tick in left out) and turnaround; the
// combinations' columns are split into as many tables, one under the other, as it takes to keep
// every line within width characters. Csv: a row of keys per figure, every state included.
void WriteComparison(OutputBuffer& out, TraceFormat format, const ComparisonTable& table,
                     const StatisticsCaptionTexts& captions, const TMessages& msg,
                     int width = kDefaultTextWidth);

}  // namespace kelpa
