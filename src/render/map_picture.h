#pragma once
// The character map's picture: every cell in use as its glyph in 2 x 2 pixel blocks, 16 x 16 pixels
// a cell, with an optional dotted grid in the two glyph colours.

#include "model/char_map.h"
#include "model/charset_store.h"
#include "toolkit/raster.h"

namespace fontarel {

constexpr int kMapHoverColour = 0x0000FF; // rgb(255, 0, 0): the outline of the hovered cell

// Renders cells (0..cols-1, 0..rows-1) into the top-left 16 * cols x 16 * rows pixels, clipped to
// the picture; pixels beyond are not touched. With `grid`, each cell gets a dotted top edge
// (colour1 at even offsets, colour0 at odd) and then a dotted left edge (colour0 at even offsets,
// colour1 at odd), so its top-left pixel is colour0. Codes are taken modulo 256.
void render_char_map(Raster& target, const CharMap& map, const CharsetStore& store, int colour0,
                     int colour1, bool grid);

} // namespace fontarel
