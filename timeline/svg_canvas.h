// SPDX-License-Identifier: MIT
// A timeline canvas that writes an SVG document: the exports' vector picture, made without Qt
// so that the command-line runner can write it too; and the whole SVG text of a picture.
#pragma once

#include <set>
#include <string>

#include "timeline/timeline_canvas.h"
#include "timeline/timeline_picture.h"

namespace kelpa {

class SvgCanvas final : public TimelineCanvas {
 public:
  SvgCanvas(double width, double height);
  void Box(double x, double y, double w, double h, SpanFill fill, TColor colour,
           bool dashed) override;
  void Line(double x1, double y1, double x2, double y2, TColor colour) override;
  void Shape(const std::vector<CanvasPoint>& points, TColor fill, TColor stroke) override;
  void Text(double x, double y, const std::string& text, bool bold) override;
  void BeginGroup(const std::string& name) override { out_ += "<g id=\"" + name + "\">\n"; }
  void EndGroup() override { out_ += "</g>\n"; }
  // The document, closed.
  std::string Document() const { return out_ + "</svg>\n"; }

 private:
  // The id of a hatch pattern of a colour, defined on its first use.
  std::string Pattern(SpanFill fill, TColor colour);

  std::string out_;
  std::set<std::string> defined_;
};

// "#rrggbb".
std::string HexColour(TColor colour);

// The SVG text of a picture.
std::string TimelineSvg(const TimelineModel& model, const TimelineFrame& frame,
                        const TimelineTexts& texts);

}  // namespace kelpa
