// SPDX-License-Identifier: MIT
// A horizontal track bar that highlights a selection band along its groove, from a start
// position to an end position (nothing when the start lies past the end).
#pragma once

#include "gui/processor/ticked_slider.h"

namespace kelpa {

class SelectionTrackBar : public TickedSlider {
  Q_OBJECT

 public:
  explicit SelectionTrackBar(QWidget* parent = nullptr);

  void SetSelection(int start, int end);
  int SelStart() const { return selStart_; }
  int SelEnd() const { return selEnd_; }
  QColor BandColour() const { return bandColour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect BandRect() const;
  // The band in the theme's highlight, the groove in its button colour, as the palette stands.
  void TakeColours();

  QColor bandColour_;
  int selStart_ = 0;
  int selEnd_ = 0;
};

}  // namespace kelpa
