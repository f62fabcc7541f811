// SPDX-License-Identifier: MIT
#include "gui/timeline/qt_canvas.h"

#include <QPainter>
#include <QPolygonF>

namespace kelpa {
namespace {

QColor ToQColor(TColor c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
  font_.setFamily(QStringLiteral("sans-serif"));
  font_.setPixelSize(kPictureFontPx);
  bold_ = font_;
  bold_.setBold(true);
  // The picture's palette is its own: black on white in any theme, as the exports are.
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void QtCanvas::Box(double x, double y, double w, double h, SpanFill fill, TColor colour,
                   bool dashed) {
  const QRectF rect(x, y, w, h);
  switch (fill) {
    case SpanFill::Solid:
      painter_.fillRect(rect, ToQColor(colour));
      break;
    case SpanFill::Grey:
      painter_.fillRect(rect, ToQColor(kSuspendedGrey));
      break;
    case SpanFill::Tint:
      painter_.fillRect(rect, ToQColor(TintOf(colour)));
      break;
    case SpanFill::Diagonal:
    case SpanFill::Cross:
      painter_.fillRect(rect, Qt::white);
      painter_.fillRect(rect,
                        QBrush(ToQColor(HatchOf(colour)),
                               fill == SpanFill::Cross ? Qt::DiagCrossPattern : Qt::BDiagPattern));
      break;
  }
  if (dashed) {
    painter_.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
  }
}

void QtCanvas::Line(double x1, double y1, double x2, double y2, TColor colour) {
  painter_.setPen(QPen(ToQColor(colour), 1));
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtCanvas::Shape(const std::vector<CanvasPoint>& points, TColor fill, TColor stroke) {
  QPolygonF polygon;
  for (const CanvasPoint& p : points) {
    polygon << QPointF(p.X, p.Y);
  }
  painter_.setPen(QPen(ToQColor(stroke), 1));
  painter_.setBrush(ToQColor(fill));
  painter_.drawPolygon(polygon);
}

void QtCanvas::Text(double x, double y, const std::string& text, bool bold) {
  painter_.setFont(bold ? bold_ : font_);
  painter_.setPen(Qt::black);
  painter_.drawText(QPointF(x, y), QString::fromStdString(text));
}

}  // namespace kelpa
