#pragma once
// The level as a map of the Tiled editor's TMX format: an XML file that names the tileset picture
// beside it (drawn by render/tileset_picture.h), its tile grid as CSV of tile numbers plus one
// (0 is "no tile" in TMX), and the machine and its colour registers as map properties.

#include <string>
#include <string_view>

#include "model/level.h"
#include "model/screen_look.h"

namespace fontarel {

// Tiles a row of the tileset picture, at most: 16 keeps a full set of 4,096 tiles of 8 x 8
// characters at 1,024 x 16,384 pixels.
constexpr int kTilesetPictureMostColumns = 16;

// Where each tile lies in the tileset picture: tile t at column t % columns, row t / columns, each
// tile 8 x width by 8 x height pixels. Sizes in tiles and in pixels.
struct TilesetLayout {
    int columns = 1, rows = 1;
    int tile_width = 8, tile_height = 8; // pixels
    int width() const { return columns * tile_width; }
    int height() const { return rows * tile_height; }
};
TilesetLayout tileset_layout(const TileSet& tiles);

// The path of the tileset picture written beside the map at `tmx_path`: the path with a final
// ".tmx" (any case) replaced by ".tiles.png", or with ".tiles.png" added when it has none.
std::string tileset_picture_path(std::string_view tmx_path);

// The whole TMX text of the level, its tileset image named `image_source` (a path
// relative to the map, as written into the file; escaped here). The map's properties are the
// machine (its menu name), the background on every machine but Mono, and on a C64 the
// multicolour and extended background switches and their registers.
std::string tmx_text(const TileSet& tiles, const Level& level, const ScreenLook& look,
                     std::string_view image_source);

} // namespace fontarel
