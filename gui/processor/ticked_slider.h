// SPDX-License-Identifier: MIT
// A track bar whose tick marks read in any look. Styles draw the marks a little darker than the
// window, which is faint on a light window and all but gone on a dark one; these are drawn in a
// shade of that colour at a contrast of 4.5:1 or more against the window behind them.
#pragma once

#include <QSlider>

namespace kelpa {

class TickedSlider : public QSlider {
  Q_OBJECT

 public:
  explicit TickedSlider(QWidget* parent = nullptr);

  // The colour of the marks against the window colour as the palette gives it now.
  QColor TickColour() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Where the handle's centre stands at value: it travels the groove's length minus its width.
  int ValueX(int value) const;
  // The groove as the style draws it.
  QRect Groove() const;

 private:
  void PaintTicks(QPainter& painter) const;
};

}  // namespace kelpa
