#include "model/char_map.h"

namespace fontarel {

namespace {

// The spare column W and the spare row H must lie inside the fixed array.
bool size_fits(const CharMap& map) {
    return map.cols >= 1 && map.rows >= 1 && map.cols < kMapCapacityCols &&
           map.rows < kMapCapacityRows;
}

// Cell (to) := cell (from), code and attribute.
void move_cell(CharMap& map, int to_x, int to_y, int from_x, int from_y) {
    map.at(to_x, to_y) = map.at(from_x, from_y);
    map.attr(to_x, to_y) = map.attr(from_x, from_y);
}

void clear_cell(CharMap& map, int x, int y) {
    map.at(x, y) = 0;
    map.attr(x, y) = blank_attribute(map.look.machine);
}

void shift_row_right(CharMap& map, int x, int y) {
    for (int t = map.cols - 1; t >= x; --t) {
        move_cell(map, t + 1, y, t, y);
    }
    clear_cell(map, x, y);
}

void shift_row_left(CharMap& map, int x, int y) {
    for (int t = x; t <= map.cols - 1; ++t) {
        move_cell(map, t, y, t + 1, y);
    }
    clear_cell(map, map.cols - 1, y);
}

} // namespace

uint8_t blank_attribute(MapMachine machine) {
    switch (machine) {
    case MapMachine::C64:
        return 14; // light blue
    case MapMachine::ZxSpectrum:
        return 7 << 3; // black ink on white paper
    case MapMachine::PcText:
        return 7; // light grey on black
    case MapMachine::Atari:
    case MapMachine::Mono:
        break;
    }
    return 0;
}

uint8_t start_background(MapMachine machine) {
    switch (machine) {
    case MapMachine::C64:
        return 6; // blue
    case MapMachine::ZxSpectrum:
        return 7; // white
    default:
        return 0;
    }
}

void fill_map_attributes(CharMap& map, uint8_t attr) {
    if (!size_fits(map)) {
        return;
    }
    for (int r = 0; r < map.rows; ++r) {
        for (int c = 0; c < map.cols; ++c) {
            map.attr(c, r) = attr;
        }
    }
}

void set_map_machine(CharMap& map, MapMachine machine) {
    const uint8_t old_blank = blank_attribute(map.look.machine);
    bool blank = true;
    for (const auto& row : map.attrs) {
        for (const uint8_t a : row) {
            blank = blank && a == old_blank;
        }
    }
    if (blank) {
        for (auto& row : map.attrs) {
            row.fill(blank_attribute(machine));
        }
    }
    map.look.machine = machine;
    map.look.background = start_background(machine);
}

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
            if (r == y) {
                clear_cell(map, c, r);
            } else {
                move_cell(map, c, r, c, r - 1);
            }
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
            if (r < map.rows - 1) {
                move_cell(map, c, r, c, r + 1);
            } else {
                clear_cell(map, c, r);
            }
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
