// SPDX-License-Identifier: MIT
#include "gui/process/process_cell_delegate.h"

#include <QPainter>

namespace kelpa {

void ProcessCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  painter->save();
  if (index.data(ColourRole).isValid()) {
    PaintColourCell(painter, option.rect, index);
  } else {
    PaintTextCell(painter, option, index);
  }
  if (option.state & QStyle::State_HasFocus) {
    // The selected cell keeps its colours; a dotted frame shows which one it is.
    painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
  }
  painter->restore();
}

void ProcessCellDelegate::PaintColourCell(QPainter* painter, const QRect& cell,
                                          const QModelIndex& index) {
  if (index.data(KillRole).toBool()) {
    painter->fillRect(cell, Qt::black);
    return;
  }
  painter->fillRect(cell, Qt::white);
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(Qt::black);
  painter->setBrush(index.data(ColourRole).value<QColor>());
  painter->drawEllipse(cell.adjusted(2, 2, -3, -3));
}

void ProcessCellDelegate::PaintTextCell(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) {
  painter->fillRect(option.rect, Qt::white);
  painter->setPen(Qt::black);
  painter->setFont(option.font);
  painter->drawText(option.rect.adjusted(2, 1, -1, 0), Qt::AlignLeft | Qt::AlignTop,
                    index.data(Qt::DisplayRole).toString());
}

}  // namespace kelpa
