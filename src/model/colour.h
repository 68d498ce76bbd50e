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

// The squared distance of two colours in RGB: the sum over red, green and blue of the
// difference squared, 0 to 195,075.
constexpr int colour_distance(Colour a, Colour b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = (a >> shift & 0xFF) - (b >> shift & 0xFF);
        sum += d * d;
    }
    return sum;
}

// The glyph colours a program starts with, and the converter draws with when given none.
inline constexpr Colour kStartClearColour = rgb(0, 0, 0);     // clear pixels
inline constexpr Colour kStartSetColour = rgb(255, 255, 255); // set pixels

} // namespace fontarel
