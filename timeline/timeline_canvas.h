// SPDX-License-Identifier: MIT
// What the timeline picture is drawn with: a few shapes and texts in pixels. The window paints
// through a QPainter, the exports through the same drawing onto an image or into SVG text, so
// the three always agree.
#pragma once

#include <string>
#include <vector>

#include "simulation/colour.h"

namespace kelpa {

// How a span is filled: each state of a process has its own, readable without colour.
enum class SpanFill : std::uint8_t {
  Solid,     // running
  Tint,      // ready: a light tint of the colour
  Diagonal,  // I/O wait: diagonal hatch
  Cross,     // page-fault wait: cross-hatch
  Grey,      // suspended: kSuspendedGrey, whatever the colour
};

struct CanvasPoint {
  double X = 0;
  double Y = 0;
};

class TimelineCanvas {
 public:
  virtual ~TimelineCanvas() = default;
  // A filled box; a dashed border marks a span spent swapped out.
  virtual void Box(double x, double y, double w, double h, SpanFill fill, TColor colour,
                   bool dashed) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, TColor colour) = 0;
  // A closed shape filled with fill and outlined with stroke.
  virtual void Shape(const std::vector<CanvasPoint>& points, TColor fill, TColor stroke) = 0;
  // UTF-8 text, its baseline starting at (x, y), in the picture's one font size.
  virtual void Text(double x, double y, const std::string& text, bool bold) = 0;
  // Groups what follows under a name (a row of the picture), for formats that keep structure.
  virtual void BeginGroup(const std::string& /*name*/) {}
  virtual void EndGroup() {}
};

// The colour a tint of c is drawn with: c mixed with three parts of white.
constexpr TColor TintOf(TColor c) {
  return MakeColor((RedOf(c) + 3 * 255) / 4, (GreenOf(c) + 3 * 255) / 4, (BlueOf(c) + 3 * 255) / 4);
}

// The colour hatch lines of c are drawn with: darker, so that the hatch of a light colour
// still reads on white.
constexpr TColor HatchOf(TColor c) {
  return MakeColor(RedOf(c) * 3 / 4, GreenOf(c) * 3 / 4, BlueOf(c) * 3 / 4);
}

inline constexpr TColor kSuspendedGrey = MakeColor(176, 176, 176);
inline constexpr TColor kIdleGrey = MakeColor(160, 160, 160);
inline constexpr TColor kGridGrey = MakeColor(220, 220, 220);
inline constexpr TColor kWhite = MakeColor(255, 255, 255);
inline constexpr int kPictureFontPx = 11;

}  // namespace kelpa
