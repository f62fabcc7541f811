// SPDX-License-Identifier: MIT
#include "gui/common/palette_follower.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <utility>

namespace kelpa {

PaletteFollower::PaletteFollower(QWidget* widget, std::function<void()> paint)
    : QObject(widget), paint_(std::move(paint)) {
  paint_();
  // The application itself hears of every change of its palette, whichever widget is shown.
  QCoreApplication::instance()->installEventFilter(this);
}

bool PaletteFollower::eventFilter(QObject* watched, QEvent* event) {
  if (watched == QCoreApplication::instance() &&
      event->type() == QEvent::ApplicationPaletteChange) {
    paint_();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kelpa
