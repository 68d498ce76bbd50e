#pragma once
// The character map: a screen of character codes drawn with the charset being edited. A fixed array
// of 81 x 51 cells with a size in use; cells outside it keep their codes. Beside each code the
// cell has a colour attribute byte, whose meaning the map's machine gives.

#include <array>
#include <cstdint>

#include "model/screen_look.h"

namespace fontarel {

// The fixed cell array: one spare column and one spare row beyond the largest map size (80 x 50).
constexpr int kMapCapacityCols = 81;
constexpr int kMapCapacityRows = 51;

// The attribute a cleared cell gets on each machine: C64 light blue, Spectrum black on white, PC
// light grey on black; 0 on Mono.
uint8_t blank_attribute(MapMachine machine);
// The background (C64) or border (Spectrum) a machine starts with: blue, white; 0 otherwise.
uint8_t start_background(MapMachine machine);

struct CharMap {
    // cells[row][column]; every stored code is 0-255.
    std::array<std::array<int32_t, kMapCapacityCols>, kMapCapacityRows> cells{};
    // attrs[row][column]: each cell's colour attribute, kept as loaded; drawing masks it.
    std::array<std::array<uint8_t, kMapCapacityCols>, kMapCapacityRows> attrs{};
    int32_t cols = 40; // columns in use
    int32_t rows = 24; // rows in use
    ScreenLook look;   // the machine, its text mode and its colour registers

    int32_t& at(int column, int row) { return cells[row][column]; }
    int32_t at(int column, int row) const { return cells[row][column]; }
    uint8_t& attr(int column, int row) { return attrs[row][column]; }
    uint8_t attr(int column, int row) const { return attrs[row][column]; }
    // Whether (column, row) lies in the size in use.
    bool in_use(int column, int row) const {
        return column >= 0 && row >= 0 && column < cols && row < rows;
    }
};

// The sizes a map is used in (columns x rows), as the map menu offers them.
struct MapSize {
    int cols, rows;
};
inline constexpr MapSize kMapSizes[] = {{32, 24}, {40, 24}, {40, 25}, {80, 50}, {64, 30}};
constexpr bool is_map_size(int cols, int rows) {
    for (const MapSize& s : kMapSizes)
        if (s.cols == cols && s.rows == rows)
            return true;
    return false;
}

// Pure cores of the map commands on the size in use (W = cols, H = rows). Each takes the cell the
// command acts on and returns false, changing nothing, when that cell lies outside the map in use
// or the size in use does not leave room for the spare column and row; so no call writes outside
// the array, whatever the coordinates. The attributes move with the codes; a cell whose code
// becomes 0 gets blank_attribute(map.look.machine).

// Every cell in use := code.
void fill_map_cells(CharMap& map, int32_t code);
// Every attribute in use := attr.
void fill_map_attributes(CharMap& map, uint8_t attr);
// Makes `machine` the map's machine. When every attribute of the array is the old machine's blank
// one (nothing was coloured), they all become the new machine's blank attribute, so that a first
// choice of a machine shows a readable screen; coloured cells keep their bytes. The background
// becomes the new machine's start background.
void set_map_machine(CharMap& map, MapMachine machine);
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
