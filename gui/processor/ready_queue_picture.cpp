// SPDX-License-Identifier: MIT
#include "gui/processor/ready_queue_picture.h"

#include <QPainter>
#include <algorithm>

namespace kelpa {

ReadyQueuePicture::ReadyQueuePicture(QWidget* parent) : QWidget(parent) {}

void ReadyQueuePicture::SetRows(int rows) {
  rows = std::clamp(rows, 1, kCells);
  if (rows != rows_) {
    rows_ = rows;
    update();
  }
}

int ReadyQueuePicture::TopOfRows() const {
  return (kCells - rows_) * height() / kCells;
}

void ReadyQueuePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(QColor(0, 0, 96), 1));
  painter.setBrush(QColor(0, 0, 255));
  const int w = width();
  const int h = height();
  for (int cell = kCells - rows_; cell < kCells; ++cell) {
    // Cell edges are spread over the height so the column fills it exactly when stretched.
    const int top = cell * h / kCells;
    const int bottom = (cell + 1) * h / kCells;
    painter.drawRect(0, top, w - 1, bottom - top - 1);
  }
}

}  // namespace kelpa
