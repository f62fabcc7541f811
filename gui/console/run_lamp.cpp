// SPDX-License-Identifier: MIT
#include "gui/console/run_lamp.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <QScreen>
#include <QWindow>

#include "gui/common/live_zoom.h"

namespace kelpa {

namespace {

constexpr QSize kLampSize(17, 16);

// The lamp, 17 x 16 device-independent pixels at the windows' zoom, either glowing or dark.
QPixmap LampPicture(bool lit, qreal pixelRatio, qreal zoom) {
  QPixmap picture((QSizeF(kLampSize) * zoom * pixelRatio).toSize());
  picture.setDevicePixelRatio(pixelRatio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.scale(zoom, zoom);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF bulb(1.5, 1.0, 14.0, 14.0);
  QRadialGradient glow(bulb.center() - QPointF(2.5, 2.5), 9.0);
  if (lit) {
    glow.setColorAt(0.0, QColor(255, 200, 200));
    glow.setColorAt(0.35, QColor(255, 40, 40));
    glow.setColorAt(1.0, QColor(200, 0, 0));
  } else {
    glow.setColorAt(0.0, QColor(150, 40, 40));
    glow.setColorAt(0.5, QColor(110, 0, 0));
    glow.setColorAt(1.0, QColor(70, 0, 0));
  }
  painter.setBrush(glow);
  painter.setPen(QPen(QColor(64, 64, 64), 1.0));
  painter.drawEllipse(bulb);
  return picture;
}

QLabel* Picture(QWidget* parent, const char* name) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setGeometry(QRect(QPoint(184, 16), kLampSize));
  return picture;
}

}  // namespace

TRunLamp::TRunLamp(QWidget* strip, QWidget* console)
    : QObject(console),
      console_(console),
      dark_(Picture(strip, "Image2")),
      lit_(Picture(strip, "Image1")) {
  Draw();
  console->installEventFilter(this);
}

void TRunLamp::Draw() {
  const qreal ratio = console_->devicePixelRatioF();
  lit_->setPixmap(LampPicture(true, ratio, ZoomOf(console_)));
  dark_->setPixmap(LampPicture(false, ratio, ZoomOf(console_)));
}

void TRunLamp::Blink() {
  // isHidden, not isVisible: a tick alternates the two pictures whether or not the console shows.
  const bool lit = !lit_->isHidden();
  lit_->setVisible(!lit);
  dark_->setVisible(lit);
}

bool TRunLamp::eventFilter(QObject* watched, QEvent* event) {
  // The console's ratio is its screen's, known once it has a native window; a move to a screen
  // of another ratio draws the lamp again.
  if (watched == console_ && event->type() == QEvent::Show) {
    Draw();
    if (QWindow* window = console_->windowHandle(); window != nullptr && !screenWatched_) {
      screenWatched_ = true;
      connect(window, &QWindow::screenChanged, this, [this] { Draw(); });
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kelpa
