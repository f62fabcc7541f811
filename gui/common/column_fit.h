// SPDX-License-Identifier: MIT
// Column widths for the fixed-size grids: each column keeps its designed width where it can, but
// never less than its texts need, and the columns together stay inside the grid's visible width
// (so the last one is not hidden under the scroll bar).
#pragma once

#include <span>
#include <vector>

class QTableView;

namespace kelpa {

// Every column first gets the larger of its preferred and needed widths; what the total then
// exceeds `available` by is taken back a pixel at a time from the column with the most width to
// spare (the first of equals), never below what it needs. When no column has any to spare, the
// total stays over.
std::vector<int> FitColumnWidths(std::span<const int> preferred, std::span<const int> needed,
                                 int available);

// Applies FitColumnWidths to a grid without a row header, within the width inside its frame and
// beside its vertical scroll bar when that is always shown.
void FitGridColumns(QTableView* grid, std::span<const int> preferred, std::span<const int> needed);

}  // namespace kelpa
