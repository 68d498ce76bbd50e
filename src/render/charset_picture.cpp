#include "render/charset_picture.h"

#include <cstring>

#include "render/geometry.h"

namespace fontarel {

void CharsetGridRenderer::render(Raster& target, const CharsetStore& store, int colour0,
                                 int colour1) {
    if (target.width() < kGridPixels || target.height() < kGridPixels) {
        return;
    }
    const bool all = target_ != target.identity() || colour0 != colour0_ || colour1 != colour1_;
    pixels_.use_colours(colour0, colour1);
    for (int g = 0; g < kGlyphCount; ++g) {
        auto glyph = store.glyph(g);
        uint8_t* drawn = drawn_.data() + kGlyphRows * g;
        if (!all && std::memcmp(drawn, glyph.data(), kGlyphRows) == 0) {
            continue;
        }
        std::memcpy(drawn, glyph.data(), kGlyphRows);
        const int left = kCellPixels * (g % kGridCells);
        const int top = kCellPixels * (g / kGridCells);
        for (int y = 0; y < kGlyphRows; ++y) {
            const uint32_t* run = pixels_.row(glyph[y]);
            std::memcpy(target.row(top + 2 * y) + left, run, DoubledRowPixels::kBytes);
            std::memcpy(target.row(top + 2 * y + 1) + left, run, DoubledRowPixels::kBytes);
        }
        target.mark_dirty(left, top, kCellPixels, kCellPixels);
    }
    target_ = target.identity();
    colour0_ = colour0;
    colour1_ = colour1;
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
