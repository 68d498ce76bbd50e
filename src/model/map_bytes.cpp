#include "model/map_bytes.h"

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

} // namespace

int64_t map_file_length(const CharMap& map) {
    return int64_t{used_cols(map)} * used_rows(map);
}

std::vector<uint8_t> map_file_bytes(const CharMap& map) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(map_file_length(map)));
    for (int row = 0; row < used_rows(map); ++row)
        for (int column = 0; column < used_cols(map); ++column)
            out.push_back(static_cast<uint8_t>(map.at(column, row)));
    return out;
}

void place_map_bytes(CharMap& map, std::span<const uint8_t> bytes) {
    const int cols = used_cols(map);
    const size_t count = std::min(bytes.size(), static_cast<size_t>(map_file_length(map)));
    for (size_t i = 0; i < count; ++i)
        map.at(static_cast<int>(i % cols), static_cast<int>(i / cols)) = bytes[i];
}

} // namespace fontarel
