// Compacting and expanding: against what every cell showed before, on random charsets, maps and
// tiles with duplicates, materials, kept ranges and extended background colours.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "model/charset_compact.h"

namespace fontarel {
namespace {

// What a cell shows: its glyph's bytes, the glyph's material and the code's bits above the mask.
struct Shown {
    uint64_t bytes;
    int material, high;
    bool operator==(const Shown&) const = default;
};

struct Scene {
    CharsetStore store;
    CharMap map;
    TileSet tiles;
    // The glyph bits of a code: ECM shows code & 63, the Atari code & 127.
    int mask() const {
        return map.look.c64_extended() ? 63 : map.look.machine == MapMachine::Atari ? 127 : 255;
    }
    Shown shown(int code) const {
        Shown s = glyph(code & mask());
        s.high = code & ~mask() & 255;
        return s;
    }
    Shown glyph(int g) const {
        Shown s{0, store.materials[static_cast<size_t>(g)], 0};
        std::memcpy(&s.bytes, store.glyph(g).data(), kGlyphRows);
        return s;
    }
    // Every cell in use of the map, then every tile cell, as shown.
    std::vector<Shown> picture() const {
        std::vector<Shown> all;
        for (int r = 0; r < map.rows; ++r)
            for (int c = 0; c < map.cols; ++c)
                all.push_back(shown(map.at(c, r)));
        for (int t = 0; t < tiles.count(); ++t)
            for (int y = 0; y < tiles.height(); ++y)
                for (int x = 0; x < tiles.width(); ++x)
                    all.push_back(shown(tiles.cell(t, x, y).code));
        return all;
    }
};

// Glyphs from a small pool of patterns and materials, so that many are alike; codes from a few
// dozen glyphs, so that many are unused.
// `kind`: 0 a map without glyph bits of its own, 1 the C64's extended background mode, 2 the Atari.
Scene random_scene(std::mt19937& random, int kind) {
    Scene s;
    for (int g = 0; g < kGlyphCount; ++g) {
        s.store.glyph(g)[static_cast<size_t>(random() % 8)] = static_cast<uint8_t>(random() % 3);
        s.store.materials[static_cast<size_t>(g)] = static_cast<uint8_t>(random() % 2);
    }
    if (kind == 1) {
        s.map.look.machine = MapMachine::C64;
        s.map.look.mode = TextMode::ExtendedBackground;
    } else if (kind == 2) {
        s.map.look.machine = MapMachine::Atari;
    }
    s.map.cols = 1 + static_cast<int>(random() % 40);
    s.map.rows = 1 + static_cast<int>(random() % 25);
    const int spread = 2 + static_cast<int>(random() % 60);
    const int base = static_cast<int>(random() % 200);
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            s.map.at(c, r) = (base + static_cast<int>(random() % spread)) % 256;
    s.tiles = TileSet(1 + static_cast<int>(random() % 4), 1 + static_cast<int>(random() % 4),
                      1 + static_cast<int>(random() % 20));
    for (int t = 0; t < s.tiles.count(); ++t)
        for (int y = 0; y < s.tiles.height(); ++y)
            for (int x = 0; x < s.tiles.width(); ++x)
                s.tiles.set_cell(t, x, y,
                                 {static_cast<uint8_t>((base + random() % spread) % 256),
                                  static_cast<uint8_t>(random())});
    return s;
}

TEST(CharsetCompact, NothingShownChangesAndTheGlyphsInUseComeFirst) {
    std::mt19937 random(39);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        Scene s = random_scene(random, round % 5 == 4 ? 1 : round % 5 == 3 ? 2 : 0);
        const int keep_first = round % 3 == 0 ? static_cast<int>(random() % 64) : 1;
        const int keep_last = round % 3 == 0 ? keep_first + static_cast<int>(random() % 8) : 0;
        const std::vector<Shown> before = s.picture();
        const Scene old = s;
        const CompactCounts n = compact_charset(s.store, s.map, &s.tiles, keep_first, keep_last);
        ASSERT_EQ(s.picture(), before);
        EXPECT_EQ(n.in_use + n.merged + n.dropped, kGlyphCount);
        EXPECT_EQ(n.free, kGlyphCount - n.in_use);
        // Kept glyphs stay; the places in use are the kept ones and the first others, each glyph
        // unlike every other placed one; the rest are blank.
        std::set<std::pair<uint64_t, int>> seen;
        int others = 0;
        for (int g = 0; g < kGlyphCount; ++g) {
            const Shown now = s.glyph(g), then = old.glyph(g);
            const bool kept = g >= keep_first && g <= keep_last && g <= s.mask();
            if (kept) {
                EXPECT_EQ(now, then) << g;
                seen.insert({now.bytes, now.material});
                continue;
            }
            if (others < n.in_use - std::max(0, std::min(keep_last, s.mask()) - keep_first + 1)) {
                ++others;
                EXPECT_TRUE(seen.insert({now.bytes, now.material}).second) << "glyph " << g;
            } else {
                EXPECT_EQ(now.bytes, 0u) << g;
                EXPECT_EQ(now.material, 0) << g;
            }
        }
        // Compacting again changes nothing but what it reports.
        const Scene once = s;
        const CompactCounts again =
            compact_charset(s.store, s.map, &s.tiles, keep_first, keep_last);
        EXPECT_EQ(again.in_use, n.in_use);
        EXPECT_EQ(again.merged, 0);
        EXPECT_EQ(s.store.bytes, once.store.bytes);
        EXPECT_EQ(s.map.cells, once.map.cells);
    }
}

// The first glyphs met take the first places: the map's row by row, then the tiles'.
TEST(CharsetCompact, GlyphsInUseAreNumberedInTheOrderFirstMet) {
    Scene s;
    for (int g = 0; g < kGlyphCount; ++g)
        s.store.glyph(g)[0] = static_cast<uint8_t>(g);
    s.map.cols = 3;
    s.map.rows = 1;
    s.map.at(0, 0) = 200;
    s.map.at(1, 0) = 7;
    s.map.at(2, 0) = 200;
    s.map.at(3, 0) = 90; // outside the size in use: not a use, left as it is
    s.map.at(0, 1) = 91; // the row below it too
    s.tiles = TileSet(2, 1, 1);
    s.tiles.set_cell(0, 0, 0, {9, 1});
    s.tiles.set_cell(0, 1, 0, {7, 2});
    s.store.glyph(9)[0] = 7; // like glyph 7
    // Expanding gives the tile's cells glyphs 0 and 1, then the map's 200 the next place; the
    // codes outside the size in use are no use, so no place holds their glyphs.
    Scene expanded = s;
    ASSERT_EQ(expand_tiles(expanded.store, expanded.map, expanded.tiles), "");
    EXPECT_EQ(expanded.map.at(0, 0), 2);
    for (int g = 3; g < kGlyphCount; ++g)
        EXPECT_EQ(expanded.store.glyph(g)[0], 0) << g;
    const CompactCounts n = compact_charset(s.store, s.map, &s.tiles, 1, 0);
    EXPECT_EQ(compact_report(n),
              "2 glyphs in use: 1 duplicates merged, 253 unused dropped, 254 free");
    EXPECT_EQ(s.map.at(0, 0), 0);
    EXPECT_EQ(s.map.at(1, 0), 1);
    EXPECT_EQ(s.map.at(3, 0), 90);
    EXPECT_EQ(s.map.at(0, 1), 91);
    EXPECT_EQ(s.tiles.cell(0, 0, 0), (TileCell{1, 1}));
    EXPECT_EQ(s.store.glyph(0)[0], 200);
    EXPECT_EQ(s.store.glyph(1)[0], 7);
}

// Expanding gives tile cell i of tile t glyph t w h + i and shows the same; compacting after it
// gives back what compacting before it gave. Too many cells are refused, nothing changed.
TEST(CharsetCompact, ExpandedTilesHaveAGlyphACellAndCompactBack) {
    std::mt19937 random(40);
    int refused = 0;
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        Scene s = random_scene(random, round % 5 == 4 ? 1 : round % 5 == 3 ? 2 : 0);
        const std::vector<Shown> before = s.picture();
        const Scene old = s;
        const std::string why = expand_tiles(s.store, s.map, s.tiles);
        const int cells = s.tiles.count() * s.tiles.width() * s.tiles.height();
        if (!why.empty()) {
            ++refused;
            EXPECT_EQ(why.rfind("needs ", 0), 0u) << why;
            EXPECT_NE(
                why.find(std::to_string(s.mask() + 1) + " fit: compact or delete tiles first"),
                std::string::npos);
            EXPECT_EQ(s.store.bytes, old.store.bytes);
            EXPECT_TRUE(s.tiles == old.tiles);
            continue;
        }
        ASSERT_EQ(s.picture(), before);
        for (int t = 0, i = 0; t < s.tiles.count(); ++t)
            for (int y = 0; y < s.tiles.height(); ++y)
                for (int x = 0; x < s.tiles.width(); ++x, ++i)
                    EXPECT_EQ(s.tiles.cell(t, x, y).code & s.mask(), i);
        EXPECT_LE(cells, s.mask() + 1);
        Scene a = old;
        compact_charset(a.store, a.map, &a.tiles, 1, 0);
        compact_charset(s.store, s.map, &s.tiles, 1, 0);
        EXPECT_EQ(s.picture(), a.picture());
    }
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, 180);
}

} // namespace
} // namespace fontarel
