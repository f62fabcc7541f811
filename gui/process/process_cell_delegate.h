// SPDX-License-Identifier: MIT
// Draws the cells of the process list: the colour column as a disc of the process's colour (or a
// cell in the text colour when the process is to be terminated), the other columns as text at the
// top-left of the cell, in the theme's text and base colours (black on white in a light look);
// the chosen row in the selection colours.
#pragma once

#include <QStyledItemDelegate>

namespace kelpa {

class ProcessCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  // Item data of a colour cell.
  static constexpr int ColourRole = Qt::UserRole;
  static constexpr int KillRole = Qt::UserRole + 1;

  using QStyledItemDelegate::QStyledItemDelegate;

  struct CellColours {
    QColor Background;
    QColor Text;
  };
  // The colours of a cell as option stands (chosen or not, in its palette).
  static CellColours Colours(const QStyleOptionViewItem& option);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  static void PaintColourCell(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index);
  static void PaintTextCell(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index);
};

}  // namespace kelpa
