// SPDX-License-Identifier: MIT
#include "gui/process/process_cell_delegate.h"

#include <QPainter>

#include "gui/common/readable_text.h"

namespace kelpa {
namespace {

// The chosen row in the palette's selection colours, active even while the grid has no focus
// (the user's eyes are then on a button): a dim inactive selection is lost on a projector.
bool Selected(const QStyleOptionViewItem& option) {
  return (option.state & QStyle::State_Selected) != 0;
}

}  // namespace

ProcessCellDelegate::CellColours ProcessCellDelegate::Colours(const QStyleOptionViewItem& option) {
  // The rows are the theme's text on its base, as any list of it: white and black in a light
  // look.
  if (Selected(option)) {
    const QColor highlight = option.palette.color(QPalette::Active, QPalette::Highlight);
    const QColor text = option.palette.color(QPalette::Active, QPalette::HighlightedText);
    // Some themes put white on a middling blue, too faint for a projector: then black.
    return {highlight, ContrastRatio(text, highlight) >= kReadableContrast
                           ? text
                           : ReadableTextColour(highlight)};
  }
  return {option.palette.color(QPalette::Active, QPalette::Base),
          option.palette.color(QPalette::Active, QPalette::Text)};
}

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
    // In the text colour (black in a light look) whether chosen or not: the rest of the row shows
    // the choice.
    painter->fillRect(cell, option.palette.color(QPalette::Active, QPalette::Text));
    return;
  }
  const QColor background = Colours(option).Background;
  painter->fillRect(cell, background);
  painter->setRenderHint(QPainter::Antialiasing, false);
  // Outlined in black on a light row, in white on a dark one, so a disc as dark as the row (a
  // black process in a dark look) keeps its edge.
  painter->setPen(ReadableTextColour(background));
  painter->setBrush(index.data(ColourRole).value<QColor>());
  painter->drawEllipse(cell.adjusted(2, 2, -3, -3));
}

void ProcessCellDelegate::PaintTextCell(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) {
  const CellColours colours = Colours(option);
  painter->fillRect(option.rect, colours.Background);
  painter->setPen(colours.Text);
  painter->setFont(option.font);
  painter->drawText(option.rect.adjusted(2, 1, -1, 0), Qt::AlignLeft | Qt::AlignTop,
                    index.data(Qt::DisplayRole).toString());
}

}  // namespace kelpa
