// SPDX-License-Identifier: MIT
#include "gui/common/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "gui/common/live_zoom.h"

namespace kelpa {
namespace {

// Where one edge of a span of `length` starting at `start` goes inside [low, high).
int FitSpan(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length));
}

// The frame a window will have: the window system's own once the window is on the screen,
// otherwise one as thick as the style's title bar, which is what a hidden window will get.
QMargins FrameOf(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  if (window->isVisible() && frame != client) {
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
  }
  const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
  const int border =
      window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
  return {border, title + border, border, border};
}

QScreen* ScreenOf(const QWidget* window) {
  if (QScreen* screen = QGuiApplication::screenAt(window->geometry().center())) {
    return screen;
  }
  return window->screen();
}

}  // namespace

QRect FitIntoArea(const QRect& client, const QMargins& frame, const QRect& area,
                  const QSize& least) {
  const QRect room = area.marginsRemoved(frame);
  // Shrunk only as far as the room, never below the least size nor above the size it had.
  const QSize size(std::min(client.width(), std::max(least.width(), room.width())),
                   std::min(client.height(), std::max(least.height(), room.height())));
  // Too large even so: its top-left corner (the title bar and the window menu) stays in.
  return {FitSpan(client.left(), size.width(), room.left(), room.right() + 1),
          FitSpan(client.top(), size.height(), room.top(), room.bottom() + 1), size.width(),
          size.height()};
}

void FitOnScreen(QWidget* window) {
  const QScreen* screen = ScreenOf(window);
  if (screen == nullptr) {
    return;
  }
  const QMargins frame = FrameOf(window);
  // move() places the frame's corner: a window not framed yet will have its client area that far
  // inside the place it was moved to.
  const QPoint inside(frame.left(), frame.top());
  const QRect before(window->pos(), window->size());
  const QRect client(before.topLeft() + inside, before.size());
  const QRect fitted =
      FitIntoArea(client, frame, screen->availableGeometry(), window->minimumSize());
  if (fitted.size() != client.size()) {
    window->resize(fitted.size());
  }
  if (fitted.topLeft() != client.topLeft()) {
    window->move(fitted.topLeft() - inside);
  }
  KeepDesignedPlace(window, before);
}

void ZoomShownWindows(double factor) {
  SetLiveZoom(factor);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() &&
        window->findChild<KeepOnScreen*>(QString(), Qt::FindDirectChildrenOnly)) {
      ZoomWindow(window, factor);
      FitOnScreen(window);
    }
  }
}

KeepOnScreen::KeepOnScreen(QWidget* window) : QObject(window) {
  window->installEventFilter(this);
}

bool KeepOnScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched == parent()) {
    auto* window = static_cast<QWidget*>(watched);
    ZoomWindow(window, LiveZoom());
    FitOnScreen(window);
  }
  return false;
}

}  // namespace kelpa
