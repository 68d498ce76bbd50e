// Which glyphs the glyph views show in multicolour: by the cells that use them, and the tile set's
// count kept up to date tile by tile.

#include <gtest/gtest.h>

#include <random>

#include "model/glyph_use.h"

namespace fontarel {
namespace {

CharMap multicolour_map(int cols, int rows) {
    CharMap map;
    map.look.machine = MapMachine::C64;
    map.look.set_multicolour(true);
    map.cols = cols;
    map.rows = rows;
    return map;
}

TEST(GlyphUse, AGlyphIsShownAsMostOfItsCellsShowIt) {
    CharMap map = multicolour_map(5, 1);
    // Glyph 1 in two multicolour cells and one hi-res one; glyph 2 in one of each (a tie: hi-res).
    const int codes[] = {1, 1, 1, 2, 2}, attrs[] = {8, 15, 7, 9, 3};
    for (int c = 0; c < 5; ++c) {
        map.at(c, 0) = codes[c];
        map.attr(c, 0) = static_cast<uint8_t>(attrs[c]);
    }
    TileSet tiles(2, 1, 1);
    tiles.set_cell(0, 0, 0, {2, 12});
    tiles.set_cell(0, 1, 0, {4, 1});
    const GlyphUse tile_use = tile_glyph_use(tiles, map);
    EXPECT_EQ(tile_use.cells[0], 0u) << "the cells outside the tile size are not counted";
    GlyphUse ends; // the first and the last glyph add up too
    ends.cells[0] = 1;
    ends.multicolour[255] = 2;
    ends.add(ends);
    EXPECT_EQ(ends.cells[0] * 10 + ends.multicolour[255], 24u);
    GlyphUse use = map_glyph_use(map);
    std::bitset<256> shown = multicolour_glyph_set(map, use);
    EXPECT_TRUE(shown[1]);
    EXPECT_FALSE(shown[2]);
    EXPECT_TRUE(shown[3]) << "unused: as most cells, three of five multicolour";
    use.add(tile_glyph_use(tiles, map)); // glyph 2: two of three multicolour
    shown = multicolour_glyph_set(map, use);
    EXPECT_TRUE(shown[2]);
    EXPECT_FALSE(shown[4]);
    EXPECT_TRUE(shown[0]) << "the cells outside the tile size (code 0) are not counted";
    // Two multicolour cells of five: an unused glyph follows the three hi-res ones.
    map.attr(0, 0) = 0;
    EXPECT_FALSE(multicolour_glyph_set(map, map_glyph_use(map))[3]);
    map.look.set_multicolour(false);
    EXPECT_TRUE(multicolour_glyph_set(map, use).none()) << "hi-res mode";
    map.look.set_multicolour(true);
    map.look.machine = MapMachine::ZxSpectrum;
    EXPECT_TRUE(multicolour_glyph_set(map, use).none()) << "another machine";
}

// Random edits of a tile set, its count kept tile by tile against one counted afresh.
TEST(GlyphUse, TheTileCountFollowsEveryEditAsACountAfresh) {
    std::mt19937 random(7);
    CharMap map = multicolour_map(40, 25);
    TileGlyphUse kept;
    TileSet tiles(3, 2, 5);
    for (int step = 0; step < 400; ++step) {
        const int what = static_cast<int>(random() % 10);
        if (what < 6) {
            tiles.set_cell(
                static_cast<int>(random() % tiles.count()),
                static_cast<int>(random() % tiles.width()),
                static_cast<int>(random() % tiles.height()),
                {static_cast<uint8_t>(random() % 6), static_cast<uint8_t>(random() % 16)});
        } else if (what < 8) {
            Tile tile;
            tile.at(0, 0) = {static_cast<uint8_t>(random() % 6), 9};
            tiles.append(tile);
        } else if (what == 8 && tiles.count() > 1) {
            std::vector<bool> keep(static_cast<size_t>(tiles.count()), true);
            keep[random() % keep.size()] = false;
            tiles.keep_only(keep);
        } else {
            map.look.set_multicolour(
                !map.look.multicolour()); // the rule changes: everything counted again
        }
        const GlyphUse& got = kept.of(tiles, map);
        const GlyphUse want = tile_glyph_use(tiles, map);
        ASSERT_EQ(got.cells, want.cells) << "step " << step;
        ASSERT_EQ(got.multicolour, want.multicolour) << "step " << step;
    }
}

} // namespace
} // namespace fontarel
