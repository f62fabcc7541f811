// SPDX-License-Identifier: MIT
// Colours as 24-bit values with red in the low byte, then green, then blue; 0 is black.
#pragma once

#include <array>
#include <cstdint>

namespace kelpa {

using TColor = std::uint32_t;

constexpr TColor MakeColor(int red, int green, int blue) {
  return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(TColor c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr TColor kBlack = 0;

// The colours the creation window offers in turn, first to last.
inline constexpr std::array<TColor, 10> kProcessPalette = {
    MakeColor(0, 255, 0),   MakeColor(255, 0, 0),   MakeColor(255, 255, 0),
    MakeColor(128, 0, 255), MakeColor(0, 0, 255),   MakeColor(0, 255, 255),
    MakeColor(0, 0, 0),     MakeColor(255, 128, 0), MakeColor(255, 128, 192),
    MakeColor(0, 128, 0),
};

}  // namespace kelpa
