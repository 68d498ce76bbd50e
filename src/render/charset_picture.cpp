#include "render/charset_picture.h"

#include <cstring>

#include "render/geometry.h"
#include "render/glyph_pixels.h"

namespace fontarel {

void render_charset_grid(Raster& target, const CharsetStore& store, int colour0, int colour1) {
    if (target.width() < kGridPixels || target.height() < kGridPixels) {
        return;
    }
    static DoubledRowPixels pixels;
    pixels.use_colours(colour0, colour1);
    for (int g = 0; g < kGlyphCount; ++g) {
        const int left = 3 * kCellPixels * (g % kGridCells);
        const int top = kCellPixels * (g / kGridCells);
        auto glyph = store.glyph(g);
        for (int y = 0; y < kGlyphRows; ++y) {
            const uint8_t* run = pixels.row(glyph[y]);
            std::memcpy(target.row(top + 2 * y) + left, run, DoubledRowPixels::kBytes);
            std::memcpy(target.row(top + 2 * y + 1) + left, run, DoubledRowPixels::kBytes);
        }
    }
}

void render_cursor(Raster& target, int column, int row) {
    const int left = kCellPixels * column;
    const int top = kCellPixels * row;
    for (int i = 0; i < kCellPixels; ++i) {
        for (int j = (i & 1) ? 0 : 1; j < kCellPixels; j += 2) {
            target.set_pixel(left + j, top + i, kCursorColour);
        }
    }
}

} // namespace fontarel
