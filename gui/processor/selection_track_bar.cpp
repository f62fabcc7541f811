// SPDX-License-Identifier: MIT
#include "gui/processor/selection_track_bar.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include "gui/common/palette_follower.h"

namespace kelpa {

SelectionTrackBar::SelectionTrackBar(QWidget* parent) : TickedSlider(parent) {
  new PaletteFollower(this, [this] { TakeColours(); });
}

void SelectionTrackBar::TakeColours() {
  const QPalette theme = QApplication::palette(this);
  bandColour_ = theme.color(QPalette::Highlight);
  // Some styles fill the groove up to the thumb in the highlight colour, which would read as a
  // second band; the groove keeps its plain colour and only the selection is highlighted.
  QPalette plain = palette();
  plain.setColor(QPalette::Highlight, theme.color(QPalette::Button));
  setPalette(plain);
  update();
}

void SelectionTrackBar::SetSelection(int start, int end) {
  if (start != selStart_ || end != selEnd_) {
    selStart_ = start;
    selEnd_ = end;
    update();
  }
}

QRect SelectionTrackBar::BandRect() const {
  const int top = Groove().center().y() - 2;
  return QRect(QPoint(ValueX(selStart_), top), QPoint(ValueX(selEnd_), top + 4));
}

void SelectionTrackBar::paintEvent(QPaintEvent* event) {
  TickedSlider::paintEvent(event);
  // A start past the end selects nothing.
  if (selStart_ > selEnd_) {
    return;
  }
  QPainter painter(this);
  painter.setPen(Qt::NoPen);
  painter.setBrush(bandColour_);
  painter.drawRect(BandRect());
  // Repaint the handle over the band so the thumb stays on top.
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.subControls = QStyle::SC_SliderHandle;
  style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

}  // namespace kelpa
