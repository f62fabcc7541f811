// SPDX-License-Identifier: MIT
#include "gui/memory/cell_grid.h"

#include <QPainter>
#include <cmath>
#include <utility>

#include "gui/common/live_zoom.h"
#include "gui/common/qt_convert.h"

namespace kelpa {
namespace {

const QColor kGridLineColour(192, 192, 192);
const QColor kBorderColour(128, 128, 128);
// Where the "R" of a reserved block starts, from the cell's top-left corner.
constexpr int kMarkOffset = 10;

}  // namespace

TCellGrid::TCellGrid(std::function<GridCells()> source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
  setObjectName(QStringLiteral("stg1"));
  setFont(ClassicPixelFont(QStringLiteral("Small Fonts"), 8));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect TCellGrid::CellRect(int column, int row) {
  const int pitch = kCellSize + kLineWidth;
  return QRect(kLineWidth + column * pitch, kLineWidth + row * pitch, kCellSize, kCellSize);
}

void TCellGrid::paintEvent(QPaintEvent*) {
  // One snapshot per paint: the window copies the tables under the lock and releases it before
  // anything is drawn.
  const GridCells cells = source_ ? source_() : GridCells{};

  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  // The cells are laid out in designed pixels; a zoom chosen while running scales the drawing.
  const double zoom = ZoomOf(this);
  painter.scale(zoom, zoom);
  const int designedWidth = static_cast<int>(std::lround(width() / zoom));
  const int designedHeight = static_cast<int>(std::lround(height() / zoom));
  painter.setPen(kGridLineColour);
  const int pitch = kCellSize + kLineWidth;
  for (int i = 1; i <= kGridColumns; ++i) {
    const int line = i * pitch;
    painter.drawLine(line, 0, line, designedHeight - 1);
    painter.drawLine(0, line, designedWidth - 1, line);
  }
  painter.setPen(kBorderColour);
  painter.drawRect(0, 0, designedWidth - 1, designedHeight - 1);

  // In designed points: the painter's scale enlarges it with the cells.
  QFont cellFont = font();
  cellFont.setPointSize(6);
  painter.setFont(cellFont);
  for (int column = 0; column < kGridColumns; ++column) {
    for (int row = 0; row < kGridRows; ++row) {
      const int item = ItemAt(column, row);
      PaintCell(painter, CellRect(column, row), item, cells[static_cast<std::size_t>(item)]);
    }
  }
}

void TCellGrid::PaintCell(QPainter& painter, const QRect& cell, int number,
                          const GridCell& content) const {
  if (!content.Painted) {
    return;
  }
  painter.save();
  painter.setClipRect(cell);
  painter.fillRect(cell, content.Background);
  if (content.ReservedMark) {
    painter.setPen(Qt::red);
    painter.drawText(cell.adjusted(kMarkOffset, kMarkOffset, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("R"));
  }
  painter.setPen(content.NumberColour);
  painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop, QString::number(number));
  if (content.Disc) {
    painter.setPen(Qt::black);
    painter.setBrush(*content.Disc);
    painter.drawEllipse(cell.adjusted(kDiscInset, kDiscInset, -kDiscInset - 1, -kDiscInset - 1));
  }
  painter.restore();
}

}  // namespace kelpa
