// SPDX-License-Identifier: MIT
// The windows' look, light, dark or the desktop's, applied to every window at once: at start and
// whenever the user picks another. Qt 6.4 cannot ask the desktop for its colour scheme, so the
// desktop's look is the style and palette Qt started with.
#pragma once

#include <QPalette>

#include "session/settings.h"

namespace kelpa {

// The dark look's colours: light grey text on near-black, every text role at a contrast of 4.5:1
// or more against the background it is drawn on.
QPalette DarkPalette();

// Whether a palette is dark: its window colour darker than its text.
bool IsDarkPalette(const QPalette& palette);

// Gives the application the look. The first call notes the style and palette Qt started with, the
// desktop's; a light or dark look on a desktop of the same kind is the desktop's own, any other
// is Qt's Fusion style with its light palette or with DarkPalette.
void ApplyLook(Look look);

}  // namespace kelpa
