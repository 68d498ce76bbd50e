#pragma once
// The character map: a screen of character codes drawn with the charset being edited. A fixed array
// of 81 x 51 cells with a size in use; cells outside it keep their codes.

#include <array>
#include <cstdint>

namespace fontarel {

// The fixed cell array: one spare column and one spare row beyond the largest map size (80 x 50).
constexpr int kMapCapacityCols = 81;
constexpr int kMapCapacityRows = 51;

struct CharMap {
    // cells[row][column]; every stored code is 0-255.
    std::array<std::array<int32_t, kMapCapacityCols>, kMapCapacityRows> cells{};
    int32_t cols = 40; // columns in use
    int32_t rows = 24; // rows in use

    int32_t& at(int column, int row) { return cells[row][column]; }
    int32_t at(int column, int row) const { return cells[row][column]; }
    // Whether (column, row) lies in the size in use.
    bool in_use(int column, int row) const {
        return column >= 0 && row >= 0 && column < cols && row < rows;
    }
};

// Pure cores of the map commands on the size in use (W = cols, H = rows). Each takes the cell the
// command acts on and returns false, changing nothing, when that cell lies outside the map in use
// or the size in use does not leave room for the spare column and row; so no call writes outside
// the array, whatever the coordinates.

// Every cell in use := code.
void fill_map_cells(CharMap& map, int32_t code);
// Row y from x on moves one place right; the row's last code goes into the spare column (W, y);
// (x, y) := 0.
bool insert_map_char(CharMap& map, int x, int y);
// Row y after x moves one place left, reading the spare column; (W - 1, y) := 0.
bool delete_map_char(CharMap& map, int x, int y);
// Rows y..H-1 move one row down, spare column included, the last into the spare row; row y := 0 in
// columns 0..W.
bool insert_map_line(CharMap& map, int y);
// Rows after y move one row up, spare column included; the last row := 0 in columns 0..W. The
// spare row is neither read nor written.
bool delete_map_line(CharMap& map, int y);
// insert_map_char at column x of every row in use.
bool insert_map_column(CharMap& map, int x);
// delete_map_char at column x of every row in use.
bool delete_map_column(CharMap& map, int x);

} // namespace fontarel
