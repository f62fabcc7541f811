// SPDX-License-Identifier: MIT
// The console's strip under its menu: the status text, the run lamp, the tick, and the "Passo"
// and run/stop buttons, which call the console's handlers of the same name.
#pragma once

#include <QSize>

class QLabel;
class QToolButton;

namespace kelpa {

class TForm1;
class TRunLamp;

inline constexpr QSize kConsoleStripSize(419, 43);

struct TConsoleStrip {
  QLabel* StaticText1 = nullptr;
  TRunLamp* Lamp = nullptr;
  // Written by the program: the tick, in virtual time only.
  QLabel* Tick = nullptr;
  QToolButton* SpeedButton2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  // "Exercício", shown in virtual time only, checked while the exercise is on.
  QToolButton* SpeedButton3 = nullptr;
};

// Builds the strip as console's central widget.
TConsoleStrip BuildConsoleStrip(TForm1& console);

}  // namespace kelpa
