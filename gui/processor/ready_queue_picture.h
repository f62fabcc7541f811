// SPDX-License-Identifier: MIT
// The ready-queue ladder of the processor window: a column of sixteen blue cells with dark
// borders, one per priority, stretched over the widget. A policy with fewer queues draws only its
// queues' cells, the lowest ones, where their discs stand; the cells above stay empty.
#pragma once

#include <QWidget>

namespace kelpa {

class ReadyQueuePicture : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCells = 16;

  explicit ReadyQueuePicture(QWidget* parent = nullptr);

  // How many cells are drawn, from the bottom (1..16).
  void SetRows(int rows);
  int Rows() const { return rows_; }
  // The top of the highest cell drawn, in the widget's coordinates.
  int TopOfRows() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int rows_ = kCells;
};

}  // namespace kelpa
