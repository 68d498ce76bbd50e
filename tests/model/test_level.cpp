#include <gtest/gtest.h>

#include <random>

#include "model/history.h"
#include "model/level.h"

namespace fontarel {
namespace {

// The level as rows of tile numbers, for readable expectations.
std::vector<std::vector<int>> rows_of(const Level& level) {
    std::vector<std::vector<int>> out(static_cast<size_t>(level.rows()));
    for (int y = 0; y < level.rows(); ++y)
        for (int x = 0; x < level.cols(); ++x)
            out[static_cast<size_t>(y)].push_back(level.at(x, y));
    return out;
}

Level level_of(const std::vector<std::vector<int>>& rows) {
    Level level(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            level.set(static_cast<int>(x), static_cast<int>(y), static_cast<uint16_t>(rows[y][x]));
    return level;
}

// Random edits in steps, every kind mixed; undoing them all and redoing them all passes through
// exactly the states each step left, and the pieces a step keeps are the ones it wrote.
TEST(LevelDoc, UndoAndRedoPassThroughEveryStepsState) {
    std::mt19937 random(30);
    LevelDoc doc;
    doc.replace_tiles(TileSet(2, 3, 5));
    doc.replace_level(Level(100, 70));
    History history;
    const EditState same{};
    ASSERT_TRUE(history.record(same, same, doc.take_change()));
    std::vector<std::pair<TileSet, Level>> states{{doc.tiles(), doc.level()}};
    for (int step = 0; step < 60; ++step) {
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            switch (random() % 7) {
            case 0: {
                Level l = doc.level();
                insert_level_column(l, static_cast<int>(random() % l.cols()));
                doc.replace_level(l);
                break;
            }
            case 1: {
                TileSet t = doc.tiles();
                t.append(t.tile(0));
                doc.replace_tiles(t);
                break;
            }
            case 2:
                doc.set_tile_cell(static_cast<int>(random() % doc.tiles().count()),
                                  static_cast<int>(random() % 2), static_cast<int>(random() % 3),
                                  {static_cast<uint8_t>(random()), static_cast<uint8_t>(random())});
                break;
            case 3:
                EXPECT_TRUE(doc.set_tile_label(static_cast<int>(random() % doc.tiles().count()),
                                               static_cast<uint8_t>(random()),
                                               random() % 2 ? "" : "rock"));
                break;
            default:
                doc.set_level_tile(static_cast<int>(random() % doc.level().cols()),
                                   static_cast<int>(random() % doc.level().rows()),
                                   static_cast<int>(random() % doc.tiles().count()));
            }
        }
        if (history.record(same, same, doc.take_change()))
            states.emplace_back(doc.tiles(), doc.level());
    }
    ASSERT_GT(states.size(), 40u);
    EditState state;
    for (size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_TRUE(history.undo(state, &doc));
        ASSERT_TRUE(doc.tiles() == states[k - 1].first) << k;
        ASSERT_TRUE(doc.level() == states[k - 1].second) << k;
    }
    for (size_t k = 1; k < states.size(); ++k) {
        ASSERT_TRUE(history.redo(state, &doc));
        ASSERT_TRUE(doc.tiles() == states[k].first && doc.level() == states[k].second) << k;
    }
    EXPECT_TRUE(doc.take_change().empty()) << "undo and redo are no edits of their own";
}

TEST(LevelDoc, AStepHoldsWhatItChangedNotTheLevel) {
    LevelDoc doc;
    doc.replace_level(Level(kMaxLevelSide, kMaxLevelSide));
    const LevelChange made = doc.take_change();
    EXPECT_LT(made.bytes(), size_t{1} << 20) << "a blank level shares one block";
    // A stroke across three blocks keeps three old blocks.
    for (int x = 30; x < 70; ++x)
        ASSERT_TRUE(doc.set_level_tile(x, 5, 0) && doc.set_level_tile(x, 6, 0));
    EXPECT_TRUE(doc.take_change().empty()) << "writing what was there changes nothing";
    doc.replace_tiles(TileSet(4, 4, 2));
    doc.take_change();
    for (int x = 30; x < 70; ++x)
        ASSERT_TRUE(doc.set_level_tile(x, 5, 1));
    const LevelChange stroke = doc.take_change();
    EXPECT_EQ(stroke.blocks.index.size(), 3u);
    EXPECT_EQ(stroke.bytes(), 3 * sizeof(Level::Block));
    // Out of range: refused, nothing recorded.
    EXPECT_FALSE(doc.set_level_tile(kMaxLevelSide, 0, 1));
    EXPECT_FALSE(doc.set_level_tile(0, 0, 2));
    EXPECT_FALSE(doc.set_tile_cell(0, 4, 0, {1, 1}));
    EXPECT_FALSE(doc.set_tile_cell(2, 0, 0, {1, 1}));
    EXPECT_TRUE(doc.take_change().empty());
}

TEST(Level, ColumnsAndRowsInsertedAndDeleted) {
    const std::vector<std::vector<int>> start = {{1, 2, 3}, {4, 5, 6}};
    struct Case {
        bool (*edit)(Level&, int);
        int at;
        std::vector<std::vector<int>> expected;
    };
    const Case cases[] = {
        {insert_level_column, 0, {{0, 1, 2, 3}, {0, 4, 5, 6}}},
        {insert_level_column, 2, {{1, 2, 0, 3}, {4, 5, 0, 6}}},
        {delete_level_column, 1, {{1, 3}, {4, 6}}},
        {insert_level_row, 1, {{1, 2, 3}, {0, 0, 0}, {4, 5, 6}}},
        {delete_level_row, 0, {{4, 5, 6}}},
        {insert_level_column, 3, start}, // outside: refused
        {insert_level_row, 2, start},
        {delete_level_row, -1, start},
    };
    for (const Case& c : cases) {
        Level level = level_of(start);
        const bool inside = c.expected != start;
        EXPECT_EQ(c.edit(level, c.at), inside);
        EXPECT_EQ(rows_of(level), c.expected);
    }
    // The last column or row goes to tile 0 rather than to nothing.
    Level one = level_of({{7}, {8}});
    ASSERT_TRUE(delete_level_column(one, 0));
    EXPECT_EQ(rows_of(one), (std::vector<std::vector<int>>{{0}, {0}}));
    // A level as wide (high) as allowed refuses an insert and keeps its last column (row).
    Level wide(kMaxLevelSide, 2);
    wide.set(kMaxLevelSide - 1, 1, 9);
    Level high(2, kMaxLevelSide);
    high.set(1, kMaxLevelSide - 1, 9);
    const Level wide_before = wide, high_before = high;
    EXPECT_FALSE(insert_level_column(wide, 0));
    EXPECT_FALSE(insert_level_row(high, 1));
    EXPECT_TRUE(wide == wide_before && high == high_before);
    // The other way they still grow.
    EXPECT_TRUE(insert_level_row(wide, 0));
    EXPECT_TRUE(insert_level_column(high, 1));
    EXPECT_EQ(wide.at(kMaxLevelSide - 1, 2), 9);
    EXPECT_EQ(high.at(2, kMaxLevelSide - 1), 9);
    // Cut or grown: what lies in both stays, new cells are tile 0.
    EXPECT_EQ(rows_of(resized_level(level_of(start), 2, 3)),
              (std::vector<std::vector<int>>{{1, 2}, {4, 5}, {0, 0}}));
    EXPECT_EQ(rows_of(resized_level(level_of(start), 4, 1)),
              (std::vector<std::vector<int>>{{1, 2, 3, 0}}));
    EXPECT_EQ(rows_of(resized_level(level_of(start), 1, 1)), (std::vector<std::vector<int>>{{1}}));
}

TEST(Level, UnusedTilesGoAndTheLevelIsRenumbered) {
    TileSet tiles(1, 1, 5);
    for (int t = 0; t < 5; ++t)
        tiles.set_cell(t, 0, 0, {static_cast<uint8_t>(10 + t), 0});
    Level level = level_of({{4, 1}, {1, 4}});
    EXPECT_EQ(delete_unused_tiles(tiles, level), 3);
    EXPECT_EQ(rows_of(level), (std::vector<std::vector<int>>{{1, 0}, {0, 1}}));
    ASSERT_EQ(tiles.count(), 2);
    EXPECT_EQ(tiles.cell(0, 0, 0).code, 11);
    EXPECT_EQ(tiles.cell(1, 0, 0).code, 14);
    EXPECT_EQ(delete_unused_tiles(tiles, level), 0);
}

// Cut into tiles and put back: the same map, for tile sizes that divide it and those that do not.
TEST(Level, MapToTilesAndBackGivesTheSameMap) {
    std::mt19937 random(31);
    for (const auto& [w, h] : {std::pair{4, 4}, {1, 1}, {3, 5}, {8, 8}, {2, 1}}) {
        CharMap map;
        map.look.machine = MapMachine::C64;
        map.cols = 40;
        map.rows = 25;
        for (int r = 0; r < map.rows; ++r)
            for (int c = 0; c < map.cols; ++c) {
                // Few different glyphs, so that blocks repeat.
                map.at(c, r) = static_cast<int32_t>(random() % 3 == 0 ? random() % 256 : 32);
                map.attr(c, r) = static_cast<uint8_t>(random() % 2);
            }
        TileSet tiles(w, h);
        Level level;
        const int count = make_tiles_from_map(map, tiles, level);
        EXPECT_EQ(count, tiles.count());
        EXPECT_EQ(level.cols(), (40 + w - 1) / w);
        EXPECT_EQ(level.rows(), (25 + h - 1) / h);
        for (int a = 0; a < count; ++a)
            for (int b = a + 1; b < count; ++b)
                ASSERT_FALSE(tiles.tile(a) == tiles.tile(b)) << "identical tiles are one";
        CharMap back;
        back.look.machine = MapMachine::C64;
        back.cols = 40;
        back.rows = 25;
        level_screen_to_map(tiles, level, 0, 0, back);
        for (int r = 0; r < 25; ++r)
            for (int c = 0; c < 40; ++c)
                ASSERT_TRUE(back.at(c, r) == map.at(c, r) && back.attr(c, r) == map.attr(c, r))
                    << w << "x" << h << " at " << c << "," << r;
    }
}

TEST(Level, SizesOfNewLevelParse) {
    struct Case {
        const char* text;
        bool ok;
        int tw = 0, th = 0, cols = 0, rows = 0;
    };
    const Case cases[] = {
        {"4x4, 64x32", true, 4, 4, 64, 32},
        {" 1 X 8 ,4096x 1 ", true, 1, 8, 4096, 1},
        {"4x4,64x32", true, 4, 4, 64, 32},
        {"9x4, 64x32", false},
        {"4x0, 64x32", false},
        {"4x4, 4097x1", false},
        {"4x4 64x32", false},
        {"4x4, 64x32x", false},
        {"4x4, 9999999999x1", false},
        {"", false},
    };
    for (const Case& c : cases) {
        int tw = -1, th = -1, cols = -1, rows = -1;
        EXPECT_EQ(parse_level_size(c.text, tw, th, cols, rows), c.ok) << c.text;
        if (c.ok)
            EXPECT_TRUE(tw == c.tw && th == c.th && cols == c.cols && rows == c.rows) << c.text;
        else
            EXPECT_EQ(tw, -1) << "unchanged: " << c.text;
    }
}

} // namespace
// Names are UTF-8 of at most 32 characters (not bytes), without controls; a refused label
// changes nothing.
TEST(LevelDoc, TileLabelsTakeNamesOfAtMost32Characters) {
    const struct {
        std::string name;
        bool fits;
    } names[] = {
        {"", true},
        {std::string(32, 'a'), true},
        {std::string(33, 'a'), false},
        {[] {
             std::string s;
             for (int i = 0; i < 32; ++i)
                 s += "\xC3\xBC"; // u-umlaut, two bytes
             return s;
         }(),
         true},
        {"\xE2\x86\x92 \xF0\x9F\x8C\x8A", true}, // three- and four-byte characters
        {"a\tb", false},
        {"a\x7F", false},
        {"\xC2\x85", false},         // a C1 control
        {"\xC3", false},             // cut short
        {"\xC3(", false},            // not a continuation
        {"\xC0\x80", false},         // overlong
        {"\xF5\x80\x80\x80", false}, // past U+10FFFF
    };
    for (const auto& [name, fits] : names) {
        EXPECT_EQ(tile_name_fits(name), fits) << name;
        LevelDoc doc;
        EXPECT_EQ(doc.set_tile_label(0, 7, name), fits) << name;
        EXPECT_EQ(doc.tiles().tile(0).tag, fits ? 7 : 0);
        EXPECT_EQ(doc.tiles().tile(0).name, fits ? name : "");
    }
    LevelDoc doc;
    EXPECT_FALSE(doc.set_tile_label(1, 7, "x")) << "past the set";
    EXPECT_FALSE(doc.set_tile_label(-1, 7, "x"));
    EXPECT_TRUE(doc.take_change().empty());
}

} // namespace fontarel
