#pragma once
// The glyph editor's picture: the current glyph enlarged 16 times with a dotted grid.

#include <cstdint>
#include <span>

#include "toolkit/raster.h"

namespace fontarel {

// Each set pixel a 15 x 15 box at the top-left of its 16 x 16 cell on a colour-0 background, then
// the dotted grid (white at even positions along a line, black at odd ones). Nothing on a picture
// smaller than 128 x 128.
void render_glyph_editor(Raster& picture, std::span<const uint8_t, 8> glyph, int colour0,
                         int colour1);

} // namespace fontarel
