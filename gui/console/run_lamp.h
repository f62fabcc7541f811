// SPDX-License-Identifier: MIT
// The console's run lamp: two pictures of a round red lamp at one place, one glowing and one
// dark, shown in turn as it blinks. Both are drawn at the console's pixel ratio and zoom, so the
// lamp is as sharp as the text beside it on a scaled screen.
#pragma once

#include <QObject>

class QLabel;
class QWidget;

namespace kelpa {

class TRunLamp : public QObject {
 public:
  // The pictures Image2 (dark) and Image1 (glowing, over it) on strip; console is the window
  // whose pixel ratio and zoom they follow, and which owns the lamp.
  TRunLamp(QWidget* strip, QWidget* console);

  // Draws both pictures again, as after a change of zoom.
  void Draw();
  // Shows the other picture, whether or not the console is on the screen.
  void Blink();

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* console_;
  QLabel* dark_;
  QLabel* lit_;
  bool screenWatched_ = false;
};

}  // namespace kelpa
