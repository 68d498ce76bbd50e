// The map's six shift commands and fill on the fixed 81 x 51 array: what moves, what the spare
// column and spare row receive, and that no coordinate reaches outside the array.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <utility>

#include "model/char_map.h"

namespace fontarel {
namespace {

// Every cell of the array, spare column and row and beyond included, holds its own code.
std::unique_ptr<CharMap> numbered_map(int cols, int rows) {
    auto map = std::make_unique<CharMap>();
    map->cols = cols;
    map->rows = rows;
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            map->at(c, r) = (3 * c + 7 * r) & 0xFF;
    return map;
}

// Cells of `after` that differ from `before` outside the box (0..max_col, 0..max_row).
int changes_outside(const CharMap& before, const CharMap& after, int max_col, int max_row) {
    int n = 0;
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            if ((c > max_col || r > max_row) && before.at(c, r) != after.at(c, r))
                ++n;
    return n;
}

TEST(CharMapShifts, CharCommandsMoveOneRowThroughTheSpareColumn) {
    const auto start = numbered_map(40, 24);
    auto map = std::make_unique<CharMap>(*start);
    ASSERT_TRUE(insert_map_char(*map, 5, 2));
    for (int c = 6; c <= 40; ++c)
        EXPECT_EQ(map->at(c, 2), start->at(c - 1, 2)) << c; // (39, 2) lands in spare column 40
    EXPECT_EQ(map->at(5, 2), 0);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(map->at(c, 2), start->at(c, 2));
    for (int r = 0; r < kMapCapacityRows; ++r) {
        if (r != 2) {
            EXPECT_EQ(map->cells[r], start->cells[r]) << "row " << r;
        }
    }

    // Delete reads the spare column but overwrites what it brings with 0: the pushed-out code never
    // comes back, and the spare column keeps it.
    ASSERT_TRUE(delete_map_char(*map, 5, 2));
    for (int c = 5; c < 39; ++c)
        EXPECT_EQ(map->at(c, 2), start->at(c, 2)) << c;
    EXPECT_EQ(map->at(39, 2), 0);
    EXPECT_EQ(map->at(40, 2), start->at(39, 2));
}

TEST(CharMapShifts, ColumnCommandsActOnEveryRowInUseOnly) {
    const auto start = numbered_map(40, 24);
    auto map = std::make_unique<CharMap>(*start);
    ASSERT_TRUE(delete_map_column(*map, 0));
    for (int r = 0; r < 24; ++r) {
        for (int c = 0; c < 39; ++c)
            ASSERT_EQ(map->at(c, r), start->at(c + 1, r)) << c << "," << r;
        EXPECT_EQ(map->at(39, r), 0);
    }
    EXPECT_EQ(map->cells[24], start->cells[24]); // the spare row is not a row in use

    map = std::make_unique<CharMap>(*start);
    ASSERT_TRUE(insert_map_column(*map, 39));
    for (int r = 0; r < 24; ++r) {
        EXPECT_EQ(map->at(39, r), 0);
        EXPECT_EQ(map->at(40, r), start->at(39, r));
        EXPECT_EQ(map->at(38, r), start->at(38, r));
    }
    EXPECT_EQ(changes_outside(*start, *map, 40, 23), 0);
}

TEST(CharMapShifts, LineCommandsCarryTheSpareColumnAndUseTheSpareRow) {
    const auto start = numbered_map(40, 24);
    auto map = std::make_unique<CharMap>(*start);
    ASSERT_TRUE(insert_map_line(*map, 0));
    for (int c = 0; c <= 40; ++c)
        EXPECT_EQ(map->at(c, 0), 0) << c;
    for (int r = 1; r <= 24; ++r) // old row 23 is now the spare row 24
        for (int c = 0; c <= 40; ++c)
            ASSERT_EQ(map->at(c, r), start->at(c, r - 1)) << c << "," << r;
    EXPECT_EQ(changes_outside(*start, *map, 40, 24), 0);

    // Delete line on the last row clears just that row, columns 0..W, and leaves the spare row.
    map = std::make_unique<CharMap>(*start);
    ASSERT_TRUE(delete_map_line(*map, 23));
    for (int c = 0; c <= 40; ++c)
        EXPECT_EQ(map->at(c, 23), 0) << c;
    EXPECT_EQ(map->cells[24], start->cells[24]);
    for (int r = 0; r < 23; ++r)
        EXPECT_EQ(map->cells[r], start->cells[r]) << "row " << r;

    // Delete line in the middle pulls the rows below up and never reads the spare row.
    map = std::make_unique<CharMap>(*start);
    ASSERT_TRUE(delete_map_line(*map, 10));
    for (int r = 10; r < 23; ++r)
        for (int c = 0; c <= 40; ++c)
            ASSERT_EQ(map->at(c, r), start->at(c, r + 1)) << c << "," << r;
    EXPECT_EQ(map->at(0, 23), 0);
    EXPECT_EQ(map->at(41, 15), start->at(41, 15)); // beyond the spare column: untouched
}

TEST(CharMapShifts, CellsOutsideTheMapInUseChangeNothingAtAnySize) {
    for (auto [cols, rows] : {std::pair{32, 24}, {40, 24}, {40, 25}, {80, 50}, {64, 30}}) {
        const auto start = numbered_map(cols, rows);
        auto map = std::make_unique<CharMap>(*start);
        for (auto [x, y] : {std::pair{-1, 0},
                            {0, -1},
                            {cols, 0},
                            {0, rows},
                            {100000, 5},
                            {5, -100000},
                            {INT32_MIN, INT32_MAX}}) {
            EXPECT_FALSE(insert_map_char(*map, x, y));
            EXPECT_FALSE(delete_map_char(*map, x, y));
            if (x >= cols || x < 0) {
                EXPECT_FALSE(insert_map_column(*map, x));
                EXPECT_FALSE(delete_map_column(*map, x));
            }
            if (y >= rows || y < 0) {
                EXPECT_FALSE(insert_map_line(*map, y));
                EXPECT_FALSE(delete_map_line(*map, y));
            }
        }
        EXPECT_EQ(map->cells, start->cells);
        // The last cell of the largest map pushes into the last column and row of the array.
        ASSERT_TRUE(insert_map_char(*map, cols - 1, rows - 1));
        ASSERT_TRUE(insert_map_line(*map, rows - 1));
        EXPECT_EQ(map->at(cols, rows), start->at(cols - 1, rows - 1));
    }
}

TEST(CharMapShifts, FillTouchesOnlyTheCellsInUse) {
    const auto start = numbered_map(64, 30);
    auto map = std::make_unique<CharMap>(*start);
    fill_map_cells(*map, 65);
    for (int r = 0; r < 30; ++r)
        for (int c = 0; c < 64; ++c)
            ASSERT_EQ(map->at(c, r), 65);
    EXPECT_EQ(changes_outside(*start, *map, 63, 29), 0);
}

} // namespace
} // namespace fontarel

namespace fontarel {
namespace {

// Each shift moves a cell's attribute with its code, and a cleared cell (code 0) gets the
// machine's blank attribute.
TEST(CharMapShifts, AttributesTravelWithTheirCodes) {
    const auto attr_of = [](int code) { return static_cast<uint8_t>(code * 5 + 1); };
    const std::pair<const char*, bool (*)(CharMap&)> shifts[] = {
        {"insert char", [](CharMap& m) { return insert_map_char(m, 5, 2); }},
        {"delete char", [](CharMap& m) { return delete_map_char(m, 5, 2); }},
        {"insert line", [](CharMap& m) { return insert_map_line(m, 3); }},
        {"delete line", [](CharMap& m) { return delete_map_line(m, 3); }},
        {"insert column", [](CharMap& m) { return insert_map_column(m, 7); }},
        {"delete column", [](CharMap& m) { return delete_map_column(m, 7); }},
    };
    for (const auto& [name, shift] : shifts) {
        auto map = numbered_map(40, 24);
        map->look.machine = MapMachine::C64;
        for (int r = 0; r < kMapCapacityRows; ++r)
            for (int c = 0; c < kMapCapacityCols; ++c)
                map->attr(c, r) = attr_of(map->at(c, r));
        ASSERT_TRUE(shift(*map)) << name;
        int cleared = 0;
        for (int r = 0; r < kMapCapacityRows; ++r)
            for (int c = 0; c < kMapCapacityCols; ++c) {
                const bool blank = map->at(c, r) == 0 && map->attr(c, r) == 14;
                cleared += blank;
                EXPECT_TRUE(map->attr(c, r) == attr_of(map->at(c, r)) || blank)
                    << name << " at (" << c << "," << r << ")";
            }
        EXPECT_GT(cleared, 0) << name;
    }
}

} // namespace
} // namespace fontarel
