// SPDX-License-Identifier: MIT
#include "gui/common/timer_while_shown.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace kelpa {

TimerWhileShown::TimerWhileShown(QWidget* window, QTimer* timer, std::function<void()> refresh)
    : QObject(timer), timer_(timer), refresh_(std::move(refresh)) {
  window->installEventFilter(this);
  if (!window->isVisible()) {
    timer_->stop();
  }
}

bool TimerWhileShown::eventFilter(QObject* watched, QEvent* event) {
  // Minimising and restoring send these too, while the window stays "visible".
  if (event->type() == QEvent::Show) {
    if (refresh_) {
      refresh_();
    }
    timer_->start();
  } else if (event->type() == QEvent::Hide) {
    timer_->stop();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kelpa
