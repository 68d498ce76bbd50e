#include "render/charset_picture.h"

#include <cstring>

#include "render/geometry.h"

namespace fontarel {

GlyphLook greyed_look(const GlyphLook& look) {
    GlyphLook greyed = look;
    for (int& c : greyed.colours)
        c = rgb(((c & 255) + 128) / 2, ((c >> 8 & 255) + 128) / 2, ((c >> 16 & 255) + 128) / 2);
    return greyed;
}

bool CharsetGridRenderer::render(Raster& target, const CharsetStore& store, const GlyphLook& look,
                                 const GlyphLook& multicolour_look,
                                 const std::bitset<256>& multicolour,
                                 const std::bitset<256>& greyed) {
    if (target.width() < kGridPixels || target.height() < kGridPixels) {
        return false;
    }
    bool wrote = false;
    const bool all = target_ != target.identity() || look != look_;
    // Where the multicolour look changed, only the glyphs shown in it are drawn again; where a
    // glyph changed looks, it is too.
    const bool all_multicolour = all || multicolour_look != multicolour_look_;
    const std::bitset<256> switched = (multicolour ^ multicolour_) | (greyed ^ greyed_);
    pixels_.use(look);
    multicolour_pixels_.use(multicolour_look);
    if (greyed.any()) {
        greyed_pixels_.use(greyed_look(look));
        greyed_multicolour_pixels_.use(greyed_look(multicolour_look));
    }
    for (int g = 0; g < kGlyphCount; ++g) {
        auto glyph = store.glyph(g);
        uint8_t* drawn = drawn_.data() + kGlyphRows * g;
        const bool in_multicolour = multicolour[static_cast<size_t>(g)];
        if (!all && !(all_multicolour && in_multicolour) && !switched[static_cast<size_t>(g)] &&
            std::memcmp(drawn, glyph.data(), kGlyphRows) == 0) {
            continue;
        }
        std::memcpy(drawn, glyph.data(), kGlyphRows);
        const int left = kCellPixels * (g % kGridCells);
        const int top = kCellPixels * (g / kGridCells);
        const DoubledRowPixels& pixels =
            greyed[static_cast<size_t>(g)]
                ? (in_multicolour ? greyed_multicolour_pixels_ : greyed_pixels_)
                : (in_multicolour ? multicolour_pixels_ : pixels_);
        for (int y = 0; y < kGlyphRows; ++y) {
            const uint32_t* run = pixels.row(glyph[y]);
            std::memcpy(target.row(top + 2 * y) + left, run, DoubledRowPixels::kBytes);
            std::memcpy(target.row(top + 2 * y + 1) + left, run, DoubledRowPixels::kBytes);
        }
        target.mark_dirty(left, top, kCellPixels, kCellPixels);
        wrote = true;
    }
    target_ = target.identity();
    look_ = look;
    multicolour_look_ = multicolour_look;
    multicolour_ = multicolour;
    greyed_ = greyed;
    version_ += wrote ? 1 : 0;
    return wrote;
}

bool CharsetGridRenderer::up_to_date(const Raster& target, const CharsetStore& store,
                                     const GlyphLook& look, const GlyphLook& multicolour_look,
                                     const std::bitset<256>& multicolour,
                                     const std::bitset<256>& greyed) const {
    if (target.width() < kGridPixels || target.height() < kGridPixels) {
        return true; // nothing is ever drawn on it
    }
    return target_ == target.identity() && look == look_ && multicolour == multicolour_ &&
           greyed == greyed_ && (multicolour.none() || multicolour_look == multicolour_look_) &&
           std::memcmp(drawn_.data(), store.bytes.data(), kCharsetBytes) == 0;
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

void CharsetCanvasRenderer::render(Raster& canvas, const Raster& grid, uint64_t grid_version,
                                   int cursor_column, int cursor_row,
                                   const CharsetOverlay& overlay) {
    // Only the rows that differ are written, so a moved cursor or outline costs its rows alone.
    canvas.blit(grid, 0, 0);
    render_cursor(canvas, cursor_column, cursor_row);
    const int cell_x = kCellPixels * cell_of(overlay.x);
    const int cell_y = kCellPixels * cell_of(overlay.y);
    if (overlay.kind == CharsetOverlay::Kind::Hover) {
        canvas.outline_rect(cell_x, cell_y, kCellPixels, kCellPixels, kHoverColour);
    } else if (overlay.kind == CharsetOverlay::Kind::Drag) {
        const int source = overlay.drag_source & (kGlyphCount - 1);
        canvas.blit(grid.crop(kCellPixels * (source % kGridCells),
                              kCellPixels * (source / kGridCells), kCellPixels, kCellPixels),
                    overlay.x, overlay.y);
        canvas.outline_rect(cell_x, cell_y, kCellPixels, kCellPixels, kDragColour);
    }
    target_ = canvas.identity();
    grid_version_ = grid_version;
    cursor_column_ = cursor_column;
    cursor_row_ = cursor_row;
    overlay_ = overlay;
}

} // namespace fontarel
