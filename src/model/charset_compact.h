#pragma once
// Fitting a charset to what uses it: "Compact charset" makes glyphs with the same bytes and
// material one, drops the glyphs no map cell and no tile cell uses and moves the rest to the front,
// and "Expand tiles" gives every tile cell a glyph of its own. Both renumber the map's cells and
// the tiles' cells so that nothing shown changes by a pixel. They never look at the level: it holds
// tile numbers, which neither changes.
//
// A cell's glyph is its code & mask, where the mask is 63 on a C64 in extended background colour
// mode (the code's top two bits choose the background, and stay) and 255 elsewhere; so there are
// mask + 1 glyph places.

#include <string>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/level.h"

namespace fontarel {

struct CompactCounts {
    int in_use = 0;  // glyph places holding a glyph afterwards (kept ones included)
    int merged = 0;  // glyphs in use made one with an earlier one of the same bytes and material
    int dropped = 0; // glyphs that nothing used, blank ones included
    int free = 0;    // glyph places free afterwards: kGlyphCount - in_use
};

// "212 glyphs in use: 31 duplicates merged, 13 unused dropped, 44 free".
std::string compact_report(const CompactCounts& counts);

// Compacts the charset for the map's cells in use and every cell of every tile (within the tile
// size); with no tiles (null), for the map alone, the tiles then left out of the renumbering too. Glyphs keep_first..keep_last (both inclusive; none when keep_first > keep_last) stay where
// they are and are never dropped; a glyph in use like one of them becomes that one. The others in
// use take the free places from 0 up in the order first met: the map row by row, then the tiles
// in order, each row by row. Places left over become blank glyphs of material 0. The map's cells
// outside its size in use whose glyph stays are renumbered too; the others are left as they are.
CompactCounts compact_charset(CharsetStore& store, CharMap& map, TileSet* tiles, int keep_first,
                              int keep_last);

// Gives cell i of tile t (row by row within the tile size) glyph t * w * h + i, a copy of the glyph
// it showed, and the map's cells in use the glyphs they show, each the first glyph of the same
// bytes and material, else one of the places after the tiles'. The charset holds nothing else
// afterwards. Returns an empty text, or (changing nothing) why not:
// "needs 340 glyphs; 256 fit: compact or delete tiles first".
std::string expand_tiles(CharsetStore& store, CharMap& map, TileSet& tiles);

} // namespace fontarel
