// SPDX-License-Identifier: MIT
#include "gui/common/readable_text.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kelpa {
namespace {

// An 8-bit sRGB component in linear light.
double Linear(int component) {
  const double value = component / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// The colour scaled so that its strongest channel is top (0 ... its own strongest): the hue and
// saturation stay, only the value falls.
QColor Scaled(const QColor& colour, int top) {
  const int strongest = std::max({colour.red(), colour.green(), colour.blue()});
  const auto channel = [&](int value) {
    return static_cast<int>(std::lround(static_cast<double>(value) * top / strongest));
  };
  return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

// The colour moved step 255ths of the way towards white.
QColor TowardsWhite(const QColor& colour, int step) {
  const auto channel = [&](int value) {
    return value + static_cast<int>(std::lround((255.0 - value) * step / 255.0));
  };
  return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

// The first of first ... last (ascending) at which reaches holds, given that it holds at last and,
// once it holds, holds for every larger one.
int FirstReaching(int first, int last, const std::function<bool(int)>& reaches) {
  while (first < last) {
    const int middle = first + (last - first) / 2;
    if (reaches(middle)) {
      last = middle;
    } else {
      first = middle + 1;
    }
  }
  return last;
}

}  // namespace

double RelativeLuminance(const QColor& background) {
  const QColor rgb = background.toRgb();
  return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

double ContrastRatio(const QColor& first, const QColor& second) {
  const double a = RelativeLuminance(first);
  const double b = RelativeLuminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableTextColour(const QColor& background) {
  return ContrastRatio(background, Qt::black) >= ContrastRatio(background, Qt::white)
             ? QColor(Qt::black)
             : QColor(Qt::white);
}

QColor ReadableShade(const QColor& colour, const QColor& background, double minimum) {
  const QColor rgb = colour.toRgb();
  const auto reaches = [&](const QColor& candidate) {
    return ContrastRatio(candidate, background) >= minimum;
  };
  if (reaches(rgb)) {
    return rgb;
  }
  const int strongest = std::max({rgb.red(), rgb.green(), rgb.blue()});
  if (strongest > 0 && reaches(QColor(Qt::black))) {
    // Darker is further from a background on which black reaches the bar: the least darkening
    // that reaches it keeps the most of the colour.
    const int darkening = FirstReaching(
        0, strongest, [&](int steps) { return reaches(Scaled(rgb, strongest - steps)); });
    return Scaled(rgb, strongest - darkening);
  }
  // A dark background: lighter is further from it.
  const int step = FirstReaching(0, 255, [&](int s) { return reaches(TowardsWhite(rgb, s)); });
  return TowardsWhite(rgb, step);
}

}  // namespace kelpa
