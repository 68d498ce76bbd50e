#pragma once
// The charset grid: all 256 glyphs in 16 x 16 cells of 16 pixels, each glyph pixel a 2 x 2 block,
// and the checkerboard cursor drawn over it on the canvas.

#include "model/charset_store.h"
#include "toolkit/raster.h"

namespace fontarel {

constexpr int kCursorColour = 0x7FFF00;

// Renders the 256 glyphs into the top-left 256 x 256 pixels; nothing on a smaller picture.
void render_charset_grid(Raster& target, const CharsetStore& store, int colour0, int colour1);
// The checkerboard cursor on cell (column, row): every pixel whose x + y within the cell is odd.
void render_cursor(Raster& target, int column, int row);

} // namespace fontarel
