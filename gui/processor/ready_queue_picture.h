// SPDX-License-Identifier: MIT
// The ready-queue ladder of the processor window: a column of sixteen blue cells with dark
// borders, one per priority, stretched over the widget.
#pragma once

#include <QWidget>

namespace kelpa {

class ReadyQueuePicture : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCells = 16;

  explicit ReadyQueuePicture(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kelpa
