#include "render/glyph_pixels.h"

#include "toolkit/raster.h"

namespace fontarel {

void DoubledRowPixels::use_colours(int colour0, int colour1) {
    if (colour0 == colour0_ && colour1 == colour1_) {
        return;
    }
    colour0_ = colour0;
    colour1_ = colour1;
    for (int bits = 0; bits < 256; ++bits) {
        uint8_t* p = table_[bits].data();
        for (int x = 0; x < 8; ++x) {
            const int colour = (bits & (0x80 >> x)) ? colour1 : colour0;
            store_colour(p, colour);
            store_colour(p + 3, colour);
            p += 6;
        }
    }
}

} // namespace fontarel
