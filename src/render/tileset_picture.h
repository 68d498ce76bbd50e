#pragma once
// The tile set as one picture, the tiles in a grid (formats/export_tmx.h's tileset_layout): the
// picture a TMX map's tileset names, so that a tile drawn from it is pixel for pixel the tile as
// the level picture draws it.

#include "formats/export_tmx.h"
#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/colour.h"
#include "model/level.h"
#include "toolkit/raster.h"

namespace fontarel {

// The tile set's picture, tileset_layout(tiles).width() x height() pixels: every tile drawn as
// render_level_screen draws it with `screen`'s machine, background and registers; the cells of the
// last row past the last tile stay black.
Raster render_tileset_picture(const TileSet& tiles, const CharMap& screen,
                              const CharsetStore& store, Colour colour0, Colour colour1);

} // namespace fontarel
