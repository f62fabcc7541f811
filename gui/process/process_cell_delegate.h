// SPDX-License-Identifier: MIT
// Draws the cells of the process list: the colour column as a disc of the process's colour (or a
// black cell when the process is to be terminated), the other columns as black text at the
// top-left of a white cell; the chosen row in the selection colours.
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

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  static void PaintColourCell(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index);
  static void PaintTextCell(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index);
};

}  // namespace kelpa
