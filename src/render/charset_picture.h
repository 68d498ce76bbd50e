#pragma once
// The charset grid: all 256 glyphs in 16 x 16 cells of 16 pixels, each glyph pixel a 2 x 2 block,
// and the checkerboard cursor drawn over it on the canvas.

#include <array>
#include <bitset>
#include <cstdint>

#include "model/charset_store.h"
#include "model/colour.h"
#include "render/glyph_pixels.h"
#include "toolkit/raster.h"

namespace fontarel {

constexpr Colour kCursorColour = rgb(0, 255, 127);   // the checkerboard pixels of the cursor
constexpr Colour kHoverColour = rgb(0, 255, 0);      // the outline of the hovered cell
constexpr Colour kDragColour = rgb(255, 0, 0);       // the outline of a drag's target cell
constexpr Colour kGreyedColour = rgb(128, 128, 128); // what a greyed glyph's colours go halfway to

// A look with each colour halfway to kGreyedColour.
GlyphLook greyed_look(const GlyphLook& look);

// Renders the grid into the top-left 256 x 256 pixels of a picture (nothing on a smaller one),
// remembering what it drew: the next render onto the same picture writes only the cells whose
// glyph bytes changed, or all of them when the colours or the picture changed. A multicolour look
// draws every glyph as 4 x 8 double-wide pixels.
class CharsetGridRenderer {
  public:
    // True when it wrote any pixel. Glyph g is drawn in `multicolour_look` where `multicolour[g]`
    // holds, else in `look`; where `greyed[g]` holds, its colours halfway to kGreyedColour.
    bool render(Raster& target, const CharsetStore& store, const GlyphLook& look,
                const GlyphLook& multicolour_look, const std::bitset<256>& multicolour,
                const std::bitset<256>& greyed = {});
    bool render(Raster& target, const CharsetStore& store, const GlyphLook& look) {
        return render(target, store, look, look, {});
    }
    bool render(Raster& target, const CharsetStore& store, int colour0, int colour1) {
        return render(target, store, GlyphLook::two(colour0, colour1));
    }
    // True when a render would write nothing.
    bool up_to_date(const Raster& target, const CharsetStore& store, const GlyphLook& look,
                    const GlyphLook& multicolour_look, const std::bitset<256>& multicolour,
                    const std::bitset<256>& greyed = {}) const;
    bool up_to_date(const Raster& target, const CharsetStore& store, const GlyphLook& look) const {
        return up_to_date(target, store, look, look, {});
    }
    bool up_to_date(const Raster& target, const CharsetStore& store, int colour0,
                    int colour1) const {
        return up_to_date(target, store, GlyphLook::two(colour0, colour1));
    }
    // Counts the renders that wrote anything: whoever copies the picture can tell it changed.
    uint64_t version() const { return version_; }
    // Forget what was drawn: the next render writes every cell.
    void invalidate() { target_ = 0; }

  private:
    uint64_t version_ = 0;
    DoubledRowPixels pixels_, multicolour_pixels_, greyed_pixels_, greyed_multicolour_pixels_;
    std::array<uint8_t, kCharsetBytes> drawn_{};
    GlyphLook look_, multicolour_look_;
    std::bitset<256> multicolour_, greyed_;
    uint64_t target_ = 0; // identity of the picture drawn on; 0 = nothing drawn
};

// The checkerboard cursor on cell (column, row): every pixel whose x + y within the cell is odd.
void render_cursor(Raster& target, int column, int row);

// What the pointer adds over the grid and the cursor on the charset canvas. Positions are pixels
// of the canvas's drawing surface, as the mouse events give them.
struct CharsetOverlay {
    enum class Kind { None, Hover, Drag };
    Kind kind = Kind::None;
    int x = 0, y = 0;
    int drag_source = 0; // during a drag: the glyph whose cell follows the pointer
    bool operator==(const CharsetOverlay&) const = default;
};

// The charset canvas: the grid picture, the cursor over it, then the overlay: a hover outlines
// the cell under the pointer in kHoverColour; a drag draws the source glyph's 16 x 16 cell of the
// grid picture with its top-left corner at the pointer and outlines the cell under the pointer in
// kDragColour (clipped at the edges). Rewrites the canvas only when the grid picture changed (its
// `grid_version`, see CharsetGridRenderer::version), the cursor or the overlay moved, or the canvas
// is another picture.
class CharsetCanvasRenderer {
  public:
    void render(Raster& canvas, const Raster& grid, uint64_t grid_version, int cursor_column,
                int cursor_row, const CharsetOverlay& overlay);
    bool up_to_date(const Raster& canvas, uint64_t grid_version, int cursor_column, int cursor_row,
                    const CharsetOverlay& overlay) const {
        return target_ == canvas.identity() && grid_version == grid_version_ &&
               cursor_column == cursor_column_ && cursor_row == cursor_row_ && overlay == overlay_;
    }
    void invalidate() { target_ = 0; }

  private:
    uint64_t grid_version_ = 0;
    int cursor_column_ = -1, cursor_row_ = -1;
    CharsetOverlay overlay_;
    uint64_t target_ = 0;
};

} // namespace fontarel
