#include "formats/map_bytes.h"

#include <algorithm>

namespace fontarel {

namespace {

// The size in use, kept inside the cell array whatever the fields hold.
int used_cols(const CharMap& map) {
    return std::clamp<int>(map.cols, 0, kMapCapacityCols);
}
int used_rows(const CharMap& map) {
    return std::clamp<int>(map.rows, 0, kMapCapacityRows);
}

// The cells in use in file order, `at(column, row)` read into a byte each.
template <typename Read> std::vector<uint8_t> cell_bytes(const CharMap& map, Read at) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(int64_t{used_cols(map)} * used_rows(map)));
    for (int row = 0; row < used_rows(map); ++row)
        for (int column = 0; column < used_cols(map); ++column)
            out.push_back(static_cast<uint8_t>(at(column, row)));
    return out;
}

// The cells in use in file order get `set(column, row, byte)` until either runs out.
template <typename Write>
void place_cell_bytes(const CharMap& map, std::span<const uint8_t> bytes, Write set) {
    const int cols = used_cols(map);
    const size_t count =
        std::min(bytes.size(), static_cast<size_t>(int64_t{cols} * used_rows(map)));
    for (size_t i = 0; i < count; ++i)
        set(static_cast<int>(i % cols), static_cast<int>(i / cols), bytes[i]);
}

} // namespace

int64_t map_file_length(const CharMap& map) {
    return int64_t{used_cols(map)} * used_rows(map);
}

std::vector<uint8_t> map_file_bytes(const CharMap& map) {
    return cell_bytes(map, [&](int column, int row) { return map.at(column, row); });
}

void place_map_bytes(CharMap& map, std::span<const uint8_t> bytes) {
    place_cell_bytes(map, bytes, [&](int column, int row, uint8_t b) { map.at(column, row) = b; });
}

std::vector<uint8_t> map_colour_file_bytes(const CharMap& map) {
    return cell_bytes(map, [&](int column, int row) { return map.attr(column, row); });
}

void place_map_colour_bytes(CharMap& map, std::span<const uint8_t> bytes) {
    place_cell_bytes(map, bytes,
                     [&](int column, int row, uint8_t b) { map.attr(column, row) = b; });
}

} // namespace fontarel
