#include "render/glyph_pixels.h"

#include "toolkit/raster.h"

namespace fontarel {

void DoubledRowPixels::use_colours(int colour0, int colour1) {
    if (colour0 == colour0_ && colour1 == colour1_) {
        return;
    }
    colour0_ = colour0;
    colour1_ = colour1;
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
