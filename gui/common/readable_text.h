// SPDX-License-Identifier: MIT
// Colours that stay legible: black or white text on a process colour, and a process colour
// drawn as text on a window's background. Process colours run from black to white, and a
// projector washes the light ones out, so every text must keep a contrast of at least 4.5:1
// (the usual bar for body text, by the relative luminance of sRGB colours).
#pragma once

#include <QColor>

namespace kelpa {

// The least contrast a text keeps against its background.
inline constexpr double kReadableContrast = 4.5;

// The background's relative luminance, 0 (black) to 1 (white), from its linear-light
// red, green and blue.
double RelativeLuminance(const QColor& background);

// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter of the two: 1 for equal colours, 21 for black on
// white. Symmetric.
double ContrastRatio(const QColor& first, const QColor& second);

// White on dark backgrounds, black on light ones: the one of the two with the higher contrast.
QColor ReadableTextColour(const QColor& background);

// The colour itself when it reaches minimum against the background; otherwise the lightest
// darker shade of the same hue that does (every channel scaled down together), or, on a
// background too dark for that, the least mix with white that does.
QColor ReadableShade(const QColor& colour, const QColor& background,
                     double minimum = kReadableContrast);

}  // namespace kelpa
