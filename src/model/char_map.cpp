#include "model/char_map.h"

namespace fontarel {

namespace {

// The spare column W and the spare row H must lie inside the fixed array.
bool size_fits(const CharMap& map) {
    return map.cols >= 1 && map.rows >= 1 && map.cols < kMapCapacityCols &&
           map.rows < kMapCapacityRows;
}

void shift_row_right(CharMap& map, int x, int y) {
    for (int t = map.cols - 1; t >= x; --t) {
        map.at(t + 1, y) = map.at(t, y);
    }
    map.at(x, y) = 0;
}

void shift_row_left(CharMap& map, int x, int y) {
    for (int t = x; t <= map.cols - 1; ++t) {
        map.at(t, y) = map.at(t + 1, y);
    }
    map.at(map.cols - 1, y) = 0;
}

} // namespace

void fill_map_cells(CharMap& map, int32_t code) {
    if (!size_fits(map)) {
        return;
    }
    for (int r = 0; r < map.rows; ++r) {
        for (int c = 0; c < map.cols; ++c) {
            map.at(c, r) = code;
        }
    }
}

bool insert_map_char(CharMap& map, int x, int y) {
    if (!size_fits(map) || !map.in_use(x, y)) {
        return false;
    }
    shift_row_right(map, x, y);
    return true;
}

bool delete_map_char(CharMap& map, int x, int y) {
    if (!size_fits(map) || !map.in_use(x, y)) {
        return false;
    }
    shift_row_left(map, x, y);
    return true;
}

bool insert_map_line(CharMap& map, int y) {
    if (!size_fits(map) || !map.in_use(0, y)) {
        return false;
    }
    for (int r = map.rows; r >= y; --r) {
        for (int c = 0; c <= map.cols; ++c) {
            map.at(c, r) = (r == y) ? 0 : map.at(c, r - 1);
        }
    }
    return true;
}

bool delete_map_line(CharMap& map, int y) {
    if (!size_fits(map) || !map.in_use(0, y)) {
        return false;
    }
    for (int r = y; r <= map.rows - 1; ++r) {
        for (int c = 0; c <= map.cols; ++c) {
            map.at(c, r) = (r < map.rows - 1) ? map.at(c, r + 1) : 0;
        }
    }
    return true;
}

bool insert_map_column(CharMap& map, int x) {
    if (!size_fits(map) || !map.in_use(x, 0)) {
        return false;
    }
    for (int r = 0; r < map.rows; ++r) {
        shift_row_right(map, x, r);
    }
    return true;
}

bool delete_map_column(CharMap& map, int x) {
    if (!size_fits(map) || !map.in_use(x, 0)) {
        return false;
    }
    for (int r = 0; r < map.rows; ++r) {
        shift_row_left(map, x, r);
    }
    return true;
}

} // namespace fontarel
