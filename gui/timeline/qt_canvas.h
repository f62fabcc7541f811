// SPDX-License-Identifier: MIT
// The timeline canvas on a QPainter: the window's paint and the PNG export draw through it.
#pragma once

#include <QFont>

#include "timeline/timeline_canvas.h"

class QPainter;

namespace kelpa {

class QtCanvas final : public TimelineCanvas {
 public:
  explicit QtCanvas(QPainter& painter);
  void Box(double x, double y, double w, double h, SpanFill fill, TColor colour,
           bool dashed) override;
  void Line(double x1, double y1, double x2, double y2, TColor colour) override;
  void Shape(const std::vector<CanvasPoint>& points, TColor fill, TColor stroke) override;
  void Text(double x, double y, const std::string& text, bool bold) override;

 private:
  QPainter& painter_;
  QFont font_;
  QFont bold_;
};

}  // namespace kelpa
