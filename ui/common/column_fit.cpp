#include "ui/common/column_fit.h"

#include <QTableView>
#include <algorithm>
#include <cstddef>
#include <numeric>

namespace kelpa {

std::vector<int> FitColumnWidths(std::span<const int> preferred, std::span<const int> needed,
                                 int available) {
  std::vector<int> widths(preferred.size());
  for (std::size_t column = 0; column < widths.size(); ++column) {
    const int need = column < needed.size() ? needed[column] : 0;
    widths[column] = std::max(preferred[column], need);
  }
  int excess = std::accumulate(widths.begin(), widths.end(), 0) - available;
  while (excess > 0) {
    std::size_t widest = widths.size();
    int mostSpare = 0;
    for (std::size_t column = 0; column < widths.size(); ++column) {
      const int need = column < needed.size() ? needed[column] : 0;
      if (widths[column] - need > mostSpare) {
        mostSpare = widths[column] - need;
        widest = column;
      }
    }
    if (widest == widths.size()) {
      break;
    }
    --widths[widest];
    --excess;
  }
  return widths;
}

void FitGridColumns(QTableView* grid, std::span<const int> preferred,
                    std::span<const int> needed) {
  // The viewport's width with the scroll bars the grid's policies always show; independent of
  // whether the grid has been laid out or shown yet.
  const int available = grid->maximumViewportSize().width();
  const std::vector<int> widths = FitColumnWidths(preferred, needed, available);
  for (std::size_t column = 0; column < widths.size(); ++column) {
    grid->setColumnWidth(static_cast<int>(column), widths[column]);
  }
}

}  // namespace kelpa
