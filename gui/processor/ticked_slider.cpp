// SPDX-License-Identifier: MIT
#include "gui/processor/ticked_slider.h"

#include <algorithm>

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include "gui/common/readable_text.h"

namespace kelpa {
namespace {

// How far a mark reaches up from the bar's bottom edge, in designed pixels.
constexpr int kTickLength = 4;

}  // namespace

TickedSlider::TickedSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

QColor TickedSlider::TickColour() const {
  const QColor window = palette().color(QPalette::Window);
  return ReadableShade(window.darker(140), window);
}

void TickedSlider::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  QStyleOptionSlider option;
  initStyleOption(&option);
  // The groove and the handle as the style draws them; the marks are this bar's own.
  option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
  if (isSliderDown()) {
    option.activeSubControls = QStyle::SC_SliderHandle;
    option.state |= QStyle::State_Sunken;
  }
  style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
  if (tickPosition() != NoTicks) {
    PaintTicks(painter);
  }
}

QRect TickedSlider::Groove() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

int TickedSlider::ValueX(int value) const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = Groove();
  const QRect handle =
      style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  return groove.left() + handle.width() / 2 +
         QStyle::sliderPositionFromValue(minimum(), maximum(), value,
                                         groove.width() - handle.width());
}

void TickedSlider::PaintTicks(QPainter& painter) const {
  // A mark stands under the handle's centre at each value.
  const int interval = tickInterval() > 0 ? tickInterval() : std::max(1, singleStep());
  painter.setPen(QPen(TickColour(), 1));
  const int bottom = rect().bottom();
  const int top = bottom - kTickLength + 1;
  for (int value = minimum(); value <= maximum(); value += interval) {
    const int x = ValueX(value);
    if (tickPosition() & TicksAbove) {
      painter.drawLine(x, rect().top(), x, rect().top() + kTickLength - 1);
    }
    if (tickPosition() & TicksBelow) {
      painter.drawLine(x, top, x, bottom);
    }
  }
}

}  // namespace kelpa
