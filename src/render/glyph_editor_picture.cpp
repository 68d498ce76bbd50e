#include "render/glyph_editor_picture.h"

#include <algorithm>
#include <cstring>

#include "model/colour.h"
#include "render/geometry.h"

namespace fontarel {

namespace {

constexpr int kGlyphCells = 8; // glyph pixels per row and column
constexpr int kBoxPixels = 15; // a set pixel's box; the cell's last row and column stay colour 0
constexpr uint32_t kGridWhite = to_pixel(rgb(255, 255, 255));
constexpr uint32_t kGridBlack = to_pixel(rgb(0, 0, 0));

using Line = std::array<uint32_t, kGlyphCanvasPixels>;

// Where two grid lines cross both coordinates are even, so the result does not depend on which
// line is drawn first.
void render_rows(Raster& picture, std::span<const uint8_t, 8> glyph, uint32_t p0, uint32_t p1) {
    Line blank;
    blank.fill(p0);
    Line dotted; // a horizontal grid line
    for (int s = 0; s < kGlyphCanvasPixels; ++s) {
        dotted[s] = (s & 1) ? kGridBlack : kGridWhite;
    }
    for (int gy = 0; gy < kGlyphCells; ++gy) {
        Line line;
        line.fill(p0);
        for (int gx = 0; gx < kGlyphCells; ++gx) {
            if (glyph[gy] & (0x80 >> gx)) {
                std::fill_n(line.begin() + kCellPixels * gx, kBoxPixels, p1);
            }
        }
        for (int i = 0; i < kCellPixels; ++i) {
            uint32_t* out = picture.row(kCellPixels * gy + i);
            if (i == 0) {
                std::memcpy(out, dotted.data(), sizeof(Line));
                continue;
            }
            const Line& from = i < kBoxPixels ? line : blank;
            std::memcpy(out, from.data(), sizeof(Line));
            const uint32_t dot = (i & 1) ? kGridBlack : kGridWhite;
            for (int k = 0; k < kGlyphCells; ++k) {
                out[kCellPixels * k] = dot;
            }
        }
    }
}

} // namespace

bool GlyphEditorRenderer::up_to_date(const Raster& picture, std::span<const uint8_t, 8> glyph,
                                     int colour0, int colour1) const {
    if (picture.width() < kGlyphCanvasPixels || picture.height() < kGlyphCanvasPixels) {
        return true; // nothing is ever drawn on it
    }
    return target_ == picture.identity() && colour0 == colour0_ && colour1 == colour1_ &&
           std::equal(glyph.begin(), glyph.end(), drawn_.begin());
}

void GlyphEditorRenderer::render(Raster& picture, std::span<const uint8_t, 8> glyph, int colour0,
                                 int colour1) {
    if (up_to_date(picture, glyph, colour0, colour1)) {
        return;
    }
    render_rows(picture, glyph, to_pixel(colour0), to_pixel(colour1));
    picture.mark_dirty(0, 0, kGlyphCanvasPixels, kGlyphCanvasPixels);
    std::copy(glyph.begin(), glyph.end(), drawn_.begin());
    colour0_ = colour0;
    colour1_ = colour1;
    target_ = picture.identity();
}

} // namespace fontarel
