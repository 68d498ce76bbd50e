#pragma once
// The glyph editor's picture: the current glyph enlarged 16 times with a dotted grid.

#include <array>
#include <cstdint>
#include <span>

#include "render/glyph_pixels.h"
#include "toolkit/raster.h"

namespace fontarel {

// Each set pixel a 15 x 15 box at the top-left of its 16 x 16 cell on a colour-0 background, then
// the dotted grid on the lines x, y = 0, 16, ..., 112 (white at even positions along a line, black
// at odd ones). A multicolour look shows 4 x 8 double-wide pixels instead: each bit pair a 31 x 15
// box in its colour at the top-left of its 32 x 16 cell on the 00 colour, the vertical grid lines
// only at x = 0, 32, 64, 96. Nothing on a picture smaller than 128 x 128. Remembers what it
// drew: rendering the same glyph in the same look onto the same picture again writes nothing.
class GlyphEditorRenderer {
  public:
    void render(Raster& picture, std::span<const uint8_t, 8> glyph, const GlyphLook& look);
    void render(Raster& picture, std::span<const uint8_t, 8> glyph, int colour0, int colour1) {
        render(picture, glyph, GlyphLook::two(colour0, colour1));
    }
    // True when a render would write nothing.
    bool up_to_date(const Raster& picture, std::span<const uint8_t, 8> glyph,
                    const GlyphLook& look) const;
    bool up_to_date(const Raster& picture, std::span<const uint8_t, 8> glyph, int colour0,
                    int colour1) const {
        return up_to_date(picture, glyph, GlyphLook::two(colour0, colour1));
    }
    void invalidate() { target_ = 0; }

  private:
    std::array<uint8_t, 8> drawn_{};
    GlyphLook look_;
    uint64_t target_ = 0;
};

} // namespace fontarel
