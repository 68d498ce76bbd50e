#include "render/glyph_pixels.h"

#include "toolkit/raster.h"

namespace fontarel {

void DoubledRowPixels::use_multicolours(const std::array<int, 4>& colours) {
    if (colours == colours_) {
        return;
    }
    colours_ = colours;
    std::array<uint32_t, 4> p{};
    for (size_t i = 0; i < 4; ++i) {
        p[i] = to_pixel(colours[i]);
    }
    for (int bits = 0; bits < 256; ++bits) {
        uint32_t* out = table_[bits].data();
        for (int pair = 0; pair < 4; ++pair) {
            const uint32_t colour = p[(bits >> (6 - 2 * pair)) & 3];
            out[4 * pair] = out[4 * pair + 1] = out[4 * pair + 2] = out[4 * pair + 3] = colour;
        }
    }
}

void DoubledRowPixels::use_colours(int colour0, int colour1) {
    // Colour values are 24-bit, so -1 in [2] tells a two-colour table from a multicolour one.
    const std::array<int, 4> key{colour0, colour1, -1, -1};
    if (key == colours_) {
        return;
    }
    colours_ = key;
    const uint32_t p0 = to_pixel(colour0);
    const uint32_t p1 = to_pixel(colour1);
    for (int bits = 0; bits < 256; ++bits) {
        uint32_t* p = table_[bits].data();
        for (int x = 0; x < 8; ++x) {
            p[2 * x] = p[2 * x + 1] = (bits & (0x80 >> x)) ? p1 : p0;
        }
    }
}

} // namespace fontarel
