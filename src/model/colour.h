#pragma once
// Colour values as the program and the toolkit pass them: one int, red in the low byte, then green,
// then blue, the top byte zero (red + 256 * green + 65536 * blue). The screen's pixel words order
// the bytes differently; the raster converts.

#include <cstdint>

namespace fontarel {

using Colour = int32_t;

// Each component 0-255; only its low 8 bits count.
constexpr Colour rgb(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

// The glyph colours a program starts with, and the converter draws with when given none.
inline constexpr Colour kStartClearColour = rgb(0, 0, 0);     // clear pixels
inline constexpr Colour kStartSetColour = rgb(255, 255, 255); // set pixels

} // namespace fontarel
