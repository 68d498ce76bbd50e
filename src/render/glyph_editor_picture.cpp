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
void render_rows(Raster& picture, std::span<const uint8_t, 8> glyph, const GlyphLook& look) {
    std::array<uint32_t, 4> p{};
    for (size_t i = 0; i < 4; ++i) {
        p[i] = to_pixel(look.colours[i]);
    }
    const uint32_t p0 = p[0];
    // A multicolour pixel spans two cells, and so does the gap between grid lines.
    const int step = look.multicolour ? 2 * kCellPixels : kCellPixels;
    Line blank;
    blank.fill(p0);
    Line dotted; // a horizontal grid line
    for (int s = 0; s < kGlyphCanvasPixels; ++s) {
        dotted[s] = (s & 1) ? kGridBlack : kGridWhite;
    }
    for (int gy = 0; gy < kGlyphCells; ++gy) {
        Line line;
        line.fill(p0);
        if (look.multicolour) {
            for (int pair = 0; pair < kGlyphCells / 2; ++pair) {
                std::fill_n(line.begin() + step * pair, step - 1, p[glyph[gy] >> (6 - 2 * pair) & 3]);
            }
        } else {
            for (int gx = 0; gx < kGlyphCells; ++gx) {
                if (glyph[gy] & (0x80 >> gx)) {
                    std::fill_n(line.begin() + kCellPixels * gx, kBoxPixels, p[1]);
                }
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
            for (int x = 0; x < kGlyphCanvasPixels; x += step) {
                out[x] = dot;
            }
        }
    }
}

} // namespace

bool GlyphEditorRenderer::up_to_date(const Raster& picture, std::span<const uint8_t, 8> glyph,
                                     const GlyphLook& look) const {
    if (picture.width() < kGlyphCanvasPixels || picture.height() < kGlyphCanvasPixels) {
        return true; // nothing is ever drawn on it
    }
    return target_ == picture.identity() && look == look_ &&
           std::equal(glyph.begin(), glyph.end(), drawn_.begin());
}

void GlyphEditorRenderer::render(Raster& picture, std::span<const uint8_t, 8> glyph,
                                 const GlyphLook& look) {
    if (up_to_date(picture, glyph, look)) {
        return;
    }
    render_rows(picture, glyph, look);
    picture.mark_dirty(0, 0, kGlyphCanvasPixels, kGlyphCanvasPixels);
    std::copy(glyph.begin(), glyph.end(), drawn_.begin());
    look_ = look;
    target_ = picture.identity();
}

} // namespace fontarel
