// Black or white, whichever reads better on a given background: process colours run from black
// to white, and a caption drawn on one must stay legible on every one of them.
#pragma once

#include <QColor>

namespace kelpa {

// The background's relative luminance, 0 (black) to 1 (white), from its linear-light
// red, green and blue.
double RelativeLuminance(const QColor& background);

// White on dark backgrounds, black on light ones: the one of the two with the higher contrast.
QColor ReadableTextColour(const QColor& background);

}  // namespace kelpa
