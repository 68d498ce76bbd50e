#include "render/glyph_editor_picture.h"

#include <cstring>

#include "render/geometry.h"

namespace fontarel {

namespace {

constexpr int kGlyphCells = 8; // glyph pixels per row and column
constexpr int kBoxPixels = 15; // a set pixel's box; the cell's last row and column stay colour 0
constexpr int kGridWhite = 0xFFFFFF;
constexpr int kGridBlack = 0x000000;

void render_glyph_cells(Raster& picture, std::span<const uint8_t, 8> glyph, int colour0,
                        int colour1) {
    uint8_t blank[3 * kGlyphCanvasPixels];
    for (int x = 0; x < kGlyphCanvasPixels; ++x) {
        store_colour(blank + 3 * x, colour0);
    }
    for (int gy = 0; gy < kGlyphCells; ++gy) {
        uint8_t line[3 * kGlyphCanvasPixels];
        std::memcpy(line, blank, sizeof line);
        for (int gx = 0; gx < kGlyphCells; ++gx) {
            if (glyph[gy] & (0x80 >> gx)) {
                for (int i = 0; i < kBoxPixels; ++i) {
                    store_colour(line + 3 * (kCellPixels * gx + i), colour1);
                }
            }
        }
        for (int i = 0; i < kCellPixels; ++i) {
            std::memcpy(picture.row(kCellPixels * gy + i), i < kBoxPixels ? line : blank,
                        sizeof line);
        }
    }
}

// The lines x = 0, 16, ..., 112 and y = 0, 16, ..., 112. Where two lines cross, both coordinates
// are even, so the result does not depend on which line is drawn first.
void render_dotted_grid(Raster& picture) {
    for (int k = 0; k < kGlyphCells; ++k) {
        const int line = kCellPixels * k;
        for (int s = 0; s < kGlyphCanvasPixels; ++s) {
            const int colour = (s & 1) ? kGridBlack : kGridWhite;
            picture.set_pixel(line, s, colour);
            picture.set_pixel(s, line, colour);
        }
    }
}

} // namespace

void render_glyph_editor(Raster& picture, std::span<const uint8_t, 8> glyph, int colour0,
                         int colour1) {
    if (picture.width() < kGlyphCanvasPixels || picture.height() < kGlyphCanvasPixels) {
        return;
    }
    render_glyph_cells(picture, glyph, colour0, colour1);
    render_dotted_grid(picture);
}

} // namespace fontarel
