#pragma once
// The map as the machine's screen shows it, one glyph pixel a picture pixel: the picture a map
// export writes as PNG.

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/colour.h"
#include "toolkit/raster.h"

namespace fontarel {

// Pixels of the cells in use, 8 x 8 a cell (320 x 200 for a 40 x 25 map).
inline int map_screen_width(const CharMap& map) {
    return 8 * map.cols;
}
inline int map_screen_height(const CharMap& map) {
    return 8 * map.rows;
}

// Draws the cells in use into the top-left map_screen_width x map_screen_height pixels: on Mono
// set pixels in colour1 and clear ones in colour0; on a machine's map each cell in its attribute's
// ink and paper (cell_colours; FLASH and blink as at the start of their cycle), and a C64
// multicolour cell's bit pairs as 2 x 1 pixels in multicolour_colours. Clipped to the picture.
void render_map_screen(Raster& target, const CharMap& map, const CharsetStore& store,
                       Colour colour0, Colour colour1);

} // namespace fontarel
