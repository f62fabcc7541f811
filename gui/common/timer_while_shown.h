// SPDX-License-Identifier: MIT
// Keeps a window's refresh timer running only while the window is shown: a hidden or minimised
// window has nothing to repaint, and its ticks would wake an idle program for nothing. Showing the
// window refreshes it at once, so it never shows figures from before it was hidden, then starts the
// timer again.
#pragma once

#include <QObject>
#include <functional>

class QTimer;
class QWidget;

namespace kelpa {

class TimerWhileShown : public QObject {
 public:
  // Belongs to `timer`; `refresh` (may be empty) runs on every show before the timer restarts.
  TimerWhileShown(QWidget* window, QTimer* timer, std::function<void()> refresh = {});

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTimer* timer_;
  std::function<void()> refresh_;
};

}  // namespace kelpa
