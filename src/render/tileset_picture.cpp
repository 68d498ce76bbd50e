// The tiles are laid out as a level of tile numbers 0, 1, 2, ... and drawn by render_level_screen,
// so a tile's pixels come from the one drawing of characters the level picture uses: the full rows
// as one level, the last, shorter row as a level of its own.

#include "render/tileset_picture.h"

#include "render/level_screen.h"

namespace fontarel {

namespace {

// The largest set's picture stays inside the level picture's limits, so no tile set is refused.
constexpr int64_t kMostSide = 8 * kMaxTileSide;
constexpr int64_t kMostRows =
    (kMaxTiles + kTilesetPictureMostColumns - 1) / kTilesetPictureMostColumns;
static_assert(kTilesetPictureMostColumns * kMostSide <= kLevelScreenMostSide &&
              kMostRows * kMostSide <= kLevelScreenMostSide &&
              kTilesetPictureMostColumns * kMostSide * kMostRows * kMostSide <=
                  kLevelScreenMostPixels);

// Tiles first, first + 1, ... as a level of cols x rows.
Level tile_grid(int first, int cols, int rows) {
    Level grid(cols, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.set(c, r, static_cast<uint16_t>(first + cols * r + c));
    return grid;
}

} // namespace

Raster render_tileset_picture(const TileSet& tiles, const CharMap& screen,
                              const CharsetStore& store, Colour colour0, Colour colour1) {
    const TilesetLayout layout = tileset_layout(tiles);
    Raster picture(layout.width(), layout.height());
    const int full_rows = tiles.count() / layout.columns;
    // The full rows fill the picture's top-left, drawn in place.
    if (full_rows > 0)
        render_level_screen(picture, tiles, tile_grid(0, layout.columns, full_rows), screen, store,
                            colour0, colour1);
    const int rest = tiles.count() - full_rows * layout.columns;
    if (rest > 0) {
        const Level last = tile_grid(full_rows * layout.columns, rest, 1);
        Raster piece(rest * layout.tile_width, layout.tile_height);
        render_level_screen(piece, tiles, last, screen, store, colour0, colour1);
        picture.blit(piece, 0, full_rows * layout.tile_height);
    }
    return picture;
}

} // namespace fontarel
