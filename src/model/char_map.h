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
};

} // namespace fontarel
