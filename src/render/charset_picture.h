#pragma once
// The charset grid: all 256 glyphs in 16 x 16 cells of 16 pixels, each glyph pixel a 2 x 2 block,
// and the checkerboard cursor drawn over it on the canvas.

#include <array>
#include <cstdint>

#include "model/charset_store.h"
#include "model/colour.h"
#include "render/glyph_pixels.h"
#include "toolkit/raster.h"

namespace fontarel {

constexpr Colour kCursorColour = rgb(0, 255, 127); // the checkerboard pixels of the cursor

// Renders the grid into the top-left 256 x 256 pixels of a picture (nothing on a smaller one),
// remembering what it drew: the next render onto the same picture writes only the cells whose
// glyph bytes changed, or all of them when the colours or the picture changed.
class CharsetGridRenderer {
  public:
    void render(Raster& target, const CharsetStore& store, int colour0, int colour1);
    // Forget what was drawn: the next render writes every cell.
    void invalidate() { target_ = 0; }

  private:
    DoubledRowPixels pixels_;
    std::array<uint8_t, kCharsetBytes> drawn_{};
    int colour0_ = 0, colour1_ = 0;
    uint64_t target_ = 0; // identity of the picture drawn on; 0 = nothing drawn
};

// The checkerboard cursor on cell (column, row): every pixel whose x + y within the cell is odd.
void render_cursor(Raster& target, int column, int row);

} // namespace fontarel
