// SPDX-License-Identifier: MIT
#include "gui/process/process_cell_delegate.h"

#include <QPainter>

namespace kelpa {
namespace {

// The chosen row in the palette's selection colours, active even while the grid has no focus
// (the user's eyes are then on a button): a dim inactive selection is lost on a projector.
bool Selected(const QStyleOptionViewItem& option) {
  return (option.state & QStyle::State_Selected) != 0;
}

QColor Background(const QStyleOptionViewItem& option) {
  return Selected(option) ? option.palette.color(QPalette::Active, QPalette::Highlight)
                          : QColor(Qt::white);
}

}  // namespace

void ProcessCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  painter->save();
  if (index.data(ColourRole).isValid()) {
    PaintColourCell(painter, option, index);
  } else {
    PaintTextCell(painter, option, index);
  }
  painter->restore();
}

void ProcessCellDelegate::PaintColourCell(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) {
  const QRect& cell = option.rect;
  if (index.data(KillRole).toBool()) {
    // Black whether chosen or not: the rest of the row shows the choice.
    painter->fillRect(cell, Qt::black);
    return;
  }
  painter->fillRect(cell, Background(option));
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(Qt::black);
  painter->setBrush(index.data(ColourRole).value<QColor>());
  painter->drawEllipse(cell.adjusted(2, 2, -3, -3));
}

void ProcessCellDelegate::PaintTextCell(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) {
  painter->fillRect(option.rect, Background(option));
  painter->setPen(Selected(option)
                      ? option.palette.color(QPalette::Active, QPalette::HighlightedText)
                      : QColor(Qt::black));
  painter->setFont(option.font);
  painter->drawText(option.rect.adjusted(2, 1, -1, 0), Qt::AlignLeft | Qt::AlignTop,
                    index.data(Qt::DisplayRole).toString());
}

}  // namespace kelpa
