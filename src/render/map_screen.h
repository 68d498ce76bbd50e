#pragma once
// The map as the machine's screen shows it, one glyph pixel a picture pixel: the picture a map
// export writes as PNG.

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/colour.h"
#include "toolkit/raster.h"

namespace fontarel {

// Pixels of the cells in use, 8 x 8 a cell (320 x 200 for a 40 x 25 map); 8 x 16 on an Atari in
// the tall mode, which shows each glyph row twice.
inline int map_screen_cell_height(const CharMap& map) {
    return map.look.atari_tall() ? 16 : 8;
}
inline int map_screen_width(const CharMap& map) {
    return 8 * map.cols;
}
inline int map_screen_height(const CharMap& map) {
    return map_screen_cell_height(map) * map.rows;
}

// Draws the cells in use into the top-left map_screen_width x map_screen_height pixels: on Mono
// set pixels in colour1 and clear ones in colour0; on a machine's map each cell in its attribute's
// ink and paper (cell_colours; FLASH and blink as at the start of their cycle), and the bit pairs
// of a C64 multicolour cell or an Atari four-colour cell as 2 x 1 pixels in pair_colours (2 x 2
// in the Atari's tall mode). Clipped to the picture.
void render_map_screen(Raster& target, const CharMap& map, const CharsetStore& store,
                       Colour colour0, Colour colour1);

} // namespace fontarel
