// SPDX-License-Identifier: MIT
#include "timeline/svg_canvas.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/text_encoding.h"

namespace kelpa {
namespace {

// Six significant digits are plenty within a million pixels; past that (a whole run at a high
// zoom) they would round positions to tens of pixels, so those are written in full, without an
// exponent.
std::string Number(double v) {
  if (std::fabs(v) < 1e6) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", v);
    return buffer;
  }
  std::array<char, 400> buffer{};  // the longest double in fixed notation fits
  const auto end =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, std::chars_format::fixed);
  return std::string(buffer.data(), end.ptr);
}

// What XML 1.0 allows in a document: a text from a hand-edited settings file may hold any other
// control character, and a single one makes the whole picture unreadable.
bool XmlAllows(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The markup characters escaped, the characters XML cannot hold at all (not even as references)
// dropped, and malformed UTF-8 shown as the replacement character.
std::string Escaped(const std::string& text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = NextCodePoint(text, pos).value_or(U'\uFFFD');
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (XmlAllows(c)) {
          AppendUtf8(out, c);
        }
    }
  }
  return out;
}

}  // namespace

std::string HexColour(TColor colour) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", RedOf(colour), GreenOf(colour),
                BlueOf(colour));
  return buffer;
}

SvgCanvas::SvgCanvas(double width, double height) {
  out_ =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      Number(width) + "\" height=\"" + Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " +
      Number(height) + "\" font-family=\"sans-serif\" font-size=\"" +
      std::to_string(kPictureFontPx) +
      "\">\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
}

std::string SvgCanvas::Pattern(SpanFill fill, TColor colour) {
  const std::string hex = HexColour(HatchOf(colour)).substr(1);
  const bool cross = fill == SpanFill::Cross;
  std::string id(cross ? "x" : "d");
  id += hex;
  if (defined_.insert(id).second) {
    out_ += "<defs><pattern id=\"" + id +
            "\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\">"
            "<rect width=\"6\" height=\"6\" fill=\"#ffffff\"/>"
            "<path d=\"M0,6 L6,0" +
            std::string(cross ? " M0,0 L6,6" : "") + "\" stroke=\"#" + hex +
            "\" stroke-width=\"1.2\"/></pattern></defs>\n";
  }
  return id;
}

void SvgCanvas::Box(double x, double y, double w, double h, SpanFill fill, TColor colour,
                    bool dashed) {
  std::string paint;
  switch (fill) {
    case SpanFill::Solid:
      paint = HexColour(colour);
      break;
    case SpanFill::Grey:
      paint = HexColour(kSuspendedGrey);
      break;
    case SpanFill::Tint:
      paint = HexColour(TintOf(colour));
      break;
    case SpanFill::Diagonal:
    case SpanFill::Cross:
      paint = "url(#" + Pattern(fill, colour) + ")";
      break;
  }
  out_ += "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" + Number(w) +
          "\" height=\"" + Number(h) + "\" fill=\"" + paint + "\"";
  if (dashed) {
    out_ += " stroke=\"#000000\" stroke-width=\"1\" stroke-dasharray=\"3,2\"";
  }
  out_ += "/>\n";
}

void SvgCanvas::Line(double x1, double y1, double x2, double y2, TColor colour) {
  out_ += "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) +
          "\" y2=\"" + Number(y2) + "\" stroke=\"" + HexColour(colour) + "\"/>\n";
}

void SvgCanvas::Shape(const std::vector<CanvasPoint>& points, TColor fill, TColor stroke) {
  out_ += "<polygon points=\"";
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) {
      out_ += ' ';
    }
    out_ += Number(points[i].X);
    out_ += ',';
    out_ += Number(points[i].Y);
  }
  out_ += "\" fill=\"" + HexColour(fill) + "\" stroke=\"" + HexColour(stroke) + "\"/>\n";
}

void SvgCanvas::Text(double x, double y, const std::string& text, bool bold) {
  out_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\"" +
          (bold ? " font-weight=\"bold\"" : "") + ">" + Escaped(text) + "</text>\n";
}

std::string TimelineSvg(const TimelineModel& model, const TimelineFrame& frame,
                        const TimelineTexts& texts) {
  const TimelineLayout layout(frame, model);
  SvgCanvas canvas(layout.Width(), layout.Height());
  DrawTimeline(model, frame, texts, canvas);
  return canvas.Document();
}

}  // namespace kelpa
