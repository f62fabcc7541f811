// SPDX-License-Identifier: MIT
#include "gui/processor/process_shape.h"

#include <QPainter>
#include <stdexcept>

#include "gui/common/qt_convert.h"
#include "simulation/process.h"

namespace kelpa {

TShpProcesso::TShpProcesso(QWidget* parent) : QWidget(parent) {
  resize(kSize, kSize);
  setAttribute(Qt::WA_TranslucentBackground);
}

void TShpProcesso::SetProcesso(const std::any& object) {
  if (const auto* process = std::any_cast<TProcesso*>(&object)) {
    Processo = *process;
  } else if (const auto* constProcess = std::any_cast<const TProcesso*>(&object)) {
    Processo = *constProcess;
  } else {
    throw std::invalid_argument("Não é um Processo");
  }
}

void TShpProcesso::SetPid(std::int32_t pid) {
  setToolTip(QString::number(pid));
}

void TShpProcesso::SetFillColor(TColor color) {
  if (color != fill_) {
    fill_ = color;
    update();
  }
}

void TShpProcesso::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(ToQColor(fill_));
  // The pen straddles the outline, so the circle is drawn one pixel inside the square.
  painter.drawEllipse(QRect(0, 0, width() - 1, height() - 1));
}

}  // namespace kelpa
