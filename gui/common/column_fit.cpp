// SPDX-License-Identifier: MIT
#include "gui/common/column_fit.h"

#include <QScrollBar>
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

void FitGridColumns(QTableView* grid, std::span<const int> preferred, std::span<const int> needed) {
  // Worked out from the frame and the scroll bar rather than read from the viewport, which is
  // laid out only when the grid is first shown (a grid on a hidden tab page may never have been).
  grid->ensurePolished();
  int available = grid->width() - 2 * grid->frameWidth();
  if (grid->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
    available -= grid->verticalScrollBar()->sizeHint().width();
  }
  const std::vector<int> widths = FitColumnWidths(preferred, needed, available);
  for (std::size_t column = 0; column < widths.size(); ++column) {
    grid->setColumnWidth(static_cast<int>(column), widths[column]);
  }
}

}  // namespace kelpa
