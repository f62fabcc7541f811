#include "gui/common/readable_text.h"

#include <cmath>

namespace kelpa {
namespace {

// An 8-bit sRGB component in linear light.
double Linear(int component) {
  const double value = component / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(const QColor& background) {
  const QColor rgb = background.toRgb();
  return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

QColor ReadableTextColour(const QColor& background) {
  // Contrast ratios (L1 + 0.05) / (L2 + 0.05) against black (L = 0) and white (L = 1).
  const double luminance = RelativeLuminance(background);
  const double againstBlack = (luminance + 0.05) / 0.05;
  const double againstWhite = 1.05 / (luminance + 0.05);
  return againstBlack >= againstWhite ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace kelpa
