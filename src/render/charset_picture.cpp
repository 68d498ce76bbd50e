#include "render/charset_picture.h"

#include <cstring>

#include "render/geometry.h"

namespace fontarel {

bool CharsetGridRenderer::render(Raster& target, const CharsetStore& store,
                                 const GlyphLook& look) {
    if (target.width() < kGridPixels || target.height() < kGridPixels) {
        return false;
    }
    bool wrote = false;
    const bool all = target_ != target.identity() || look != look_;
    pixels_.use(look);
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
        wrote = true;
    }
    target_ = target.identity();
    look_ = look;
    version_ += wrote ? 1 : 0;
    return wrote;
}

bool CharsetGridRenderer::up_to_date(const Raster& target, const CharsetStore& store,
                                     const GlyphLook& look) const {
    if (target.width() < kGridPixels || target.height() < kGridPixels) {
        return true; // nothing is ever drawn on it
    }
    return target_ == target.identity() && look == look_ &&
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
