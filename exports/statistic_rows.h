// SPDX-License-Identifier: MIT
// The statistics window's figures as rows: a stable key for machine-readable output, the
// window's caption for text, and the value with '.' decimals.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/statistics_captions.h"
#include "simulation/statistics.h"

namespace kelpa {

using StatisticsCaptionTexts = std::array<std::string, kStatisticsCaptions.size()>;

// The window's captions: kelpa.ini's [STAT] texts when fromFile, else the built-in ones; trimmed.
StatisticsCaptionTexts LoadStatisticsCaptions(bool fromFile);

struct StatisticRow {
  std::string_view Key;
  const std::string* Caption = nullptr;
  std::optional<std::string> Value;  // none: nothing to divide by yet
  bool Number = true;                // false: a time, written as a string
  bool Percent = false;              // text shows a '%' after it
};

// The row's value as text tables show it: its '%' after it, "-" when there is none.
std::string StatisticText(const StatisticRow& row);

// In the window's reading order.
std::vector<StatisticRow> StatisticRows(const StatisticsNumbers& n,
                                        const StatisticsCaptionTexts& captions);

}  // namespace kelpa
