#pragma once
// Which glyphs a C64 multicolour screen shows in multicolour: a glyph is drawn by the cells that
// use it, and those cells are multicolour cells or not one by one. The glyph views show a glyph as
// most of its cells show it, so that an imported multicolour screen's glyphs look like its cells.

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/char_map.h"
#include "model/level.h"

namespace fontarel {

// Cells that use each glyph, and how many of them are multicolour cells.
struct GlyphUse {
    std::array<uint32_t, 256> cells{}, multicolour{};
    void add(const GlyphUse& other);
};

// The map's cells in use, on the map's machine and mode.
GlyphUse map_glyph_use(const CharMap& map);
// Every cell of every tile (within the tile size), read as `map`'s machine and mode read them.
GlyphUse tile_glyph_use(const TileSet& tiles, const CharMap& map);

// The glyphs shown in multicolour: on a C64 map with multicolour on, those used by more
// multicolour cells than other cells, and the unused ones when more cells are multicolour than
// not; on an Atari map in four colours, all; on any other map, none.
std::bitset<256> multicolour_glyph_set(const CharMap& map, const GlyphUse& use);

// The tile set's use, counted again only when a tile changed (tiles are shared pieces: a tile
// whose piece is the one counted is unchanged), so that the cost follows the tiles edited.
class TileGlyphUse {
  public:
    const GlyphUse& of(const TileSet& tiles, const CharMap& map);

  private:
    std::vector<TileSet::Piece> counted_; // the pieces that total_ counts, tile by tile
    GlyphUse total_;
    int width_ = 0, height_ = 0;
    bool multicolour_ = false;
};

} // namespace fontarel
