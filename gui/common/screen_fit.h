// SPDX-License-Identifier: MIT
// Keeps every window inside its screen's available area (the screen less the task bar and
// panels), whatever the zoom and the screen: a projector of 768 lines, or 200 % on a laptop, has
// less room than the windows' designed places assume. A window is moved first, and shrunk only
// if it still does not fit; a window of fixed size is moved so that its title bar stays on the
// screen. The user's own moves are kept as long as the window fits.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace kelpa {

// Where a window whose client area is `client`, framed by `frame` (title bar and borders), goes
// to lie inside `area`: moved the least, then cut to the area but not below `least` (its
// minimum size) nor above its current size. The client area returned.
QRect FitIntoArea(const QRect& client, const QMargins& frame, const QRect& area,
                  const QSize& least);

// Fits window into the available area of the screen it is on (or would be on).
void FitOnScreen(QWidget* window);

// The zoom chosen while the program runs (a factor on top of the start's): every window kept on
// screen that is shown now is scaled to it and fitted again; the others are as they are shown.
void ZoomShownWindows(double factor);

// Fits window each time it is shown, and brings it to the program's live zoom first (see
// live_zoom.h). Belongs to the window.
class KeepOnScreen : public QObject {
  Q_OBJECT
 public:
  explicit KeepOnScreen(QWidget* window);
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kelpa
