#include "model/glyph_use.h"

#include <algorithm>
#include <functional>
#include <numeric>

#include "model/map_colours.h"

namespace fontarel {

namespace {

// Adds (sign 1) or takes away (sign -1) one tile's cells within the tile size.
void count_tile(GlyphUse& use, const Tile& tile, int width, int height, const CharMap& map,
                int sign) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TileCell cell = tile.at(x, y);
            use.cells[cell.code] += static_cast<uint32_t>(sign);
            use.multicolour[cell.code] +=
                is_multicolour_cell(map, cell.attr) ? static_cast<uint32_t>(sign) : 0;
        }
}

} // namespace

void GlyphUse::add(const GlyphUse& other) {
    std::transform(cells.begin(), cells.end(), other.cells.begin(), cells.begin(), std::plus<>());
    std::transform(multicolour.begin(), multicolour.end(), other.multicolour.begin(),
                   multicolour.begin(), std::plus<>());
}

GlyphUse map_glyph_use(const CharMap& map) {
    GlyphUse use;
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.cols; ++c) {
            const auto code = static_cast<uint8_t>(map.at(c, r));
            ++use.cells[code];
            use.multicolour[code] += is_multicolour_cell(map, map.attr(c, r)) ? 1 : 0;
        }
    return use;
}

GlyphUse tile_glyph_use(const TileSet& tiles, const CharMap& map) {
    GlyphUse use;
    for (int t = 0; t < tiles.count(); ++t)
        count_tile(use, tiles.tile(t), tiles.width(), tiles.height(), map, 1);
    return use;
}

std::bitset<256> multicolour_glyph_set(const CharMap& map, const GlyphUse& use) {
    std::bitset<256> shown;
    if (map.look.atari_four())
        return shown.set(); // every cell shows bit pairs
    if (!map.look.c64_multicolour())
        return shown;
    const uint64_t cells = std::accumulate(use.cells.begin(), use.cells.end(), uint64_t{0});
    const uint64_t multicolour =
        std::accumulate(use.multicolour.begin(), use.multicolour.end(), uint64_t{0});
    const bool unused_shown = 2 * multicolour > cells;
    for (size_t g = 0; g < shown.size(); ++g)
        shown[g] = use.cells[g] == 0 ? unused_shown : 2 * use.multicolour[g] > use.cells[g];
    return shown;
}

const GlyphUse& TileGlyphUse::of(const TileSet& tiles, const CharMap& map) {
    const bool multicolour = map.look.c64_multicolour();
    if (multicolour != multicolour_ || tiles.width() != width_ || tiles.height() != height_) {
        counted_.clear();
        total_ = {};
        multicolour_ = multicolour;
        width_ = tiles.width();
        height_ = tiles.height();
    }
    // A tile's piece never changes once made: the piece counted tells what to take away.
    const auto count = static_cast<size_t>(tiles.count());
    for (size_t t = count; t < counted_.size(); ++t)
        count_tile(total_, *counted_[t], width_, height_, map, -1);
    counted_.resize(count);
    for (size_t t = 0; t < count; ++t) {
        const TileSet::Piece& piece = tiles.piece(static_cast<int>(t));
        if (counted_[t] == piece)
            continue;
        if (counted_[t])
            count_tile(total_, *counted_[t], width_, height_, map, -1);
        count_tile(total_, *piece, width_, height_, map, 1);
        counted_[t] = piece;
    }
    return total_;
}

} // namespace fontarel
