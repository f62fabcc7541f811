// SPDX-License-Identifier: MIT
// The 10 x 10 grid of the memory and page-file windows. It keeps no data: every paint asks its
// source for a snapshot of the 100 cells (taken under the simulation lock by the window) and draws
// it. Cell (column a, row b) shows item 10a + b, so the numbers run down the columns.
#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

namespace kelpa {

// What one cell shows, copied out of the memory manager's tables.
struct GridCell {
  // False: the cell is left as the grid paints an empty cell (white, no text).
  bool Painted = true;
  QColor Background = Qt::white;
  QColor NumberColour = Qt::black;
  // A red "R" inside the cell: a reserved page-file block.
  bool ReservedMark = false;
  // The colour of the page's owner; no disc when empty.
  std::optional<QColor> Disc;
};

inline constexpr int kGridColumns = 10;
inline constexpr int kGridRows = 10;
inline constexpr int kGridCells = kGridColumns * kGridRows;
using GridCells = std::array<GridCell, kGridCells>;

class TCellGrid : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCellSize = 24;
  static constexpr int kLineWidth = 1;
  static constexpr int kDiscInset = 6;

  TCellGrid(std::function<GridCells()> source, QWidget* parent);

  // The item shown in a cell, and the cell that shows an item.
  static int ItemAt(int column, int row) { return kGridRows * column + row; }
  // The rectangle of a cell in the grid's own coordinates.
  static QRect CellRect(int column, int row);
  static QRect ItemRect(int item) { return CellRect(item / kGridRows, item % kGridRows); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintCell(QPainter& painter, const QRect& cell, int number, const GridCell& content) const;

  std::function<GridCells()> source_;
};

}  // namespace kelpa
