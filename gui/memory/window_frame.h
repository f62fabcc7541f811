// SPDX-License-Identifier: MIT
// Windows whose outer size is given: the client area is the outer size less a classic single
// frame (4 pixels on every side) and its caption (19 pixels).
#pragma once

#include <QSize>

namespace kelpa {

inline constexpr int kFrameSides = 2 * 4;
inline constexpr int kFrameCaptionAndSides = 19 + 2 * 4;

constexpr QSize ClientForOuter(int width, int height) {
  return QSize(width - kFrameSides, height - kFrameCaptionAndSides);
}

}  // namespace kelpa
