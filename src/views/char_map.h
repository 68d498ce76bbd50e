#pragma once
// The character map: a screen of character codes drawn with the charset being edited.

#include <array>
#include <cstdint>

namespace fontarel {

struct App;

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

// Repaints the map canvas from the cells in use; nothing when the map window does not exist.
void draw_char_map(App& app);
// Handler of every control event of the map canvas.
void map_canvas_event(App& app);
// Sets the size in use, fits canvas and window to it, redraws and shows the map window.
void set_map_size(App& app, int columns, int rows);
// Every cell in use := current_char, then the map redraw.
void fill_map(App& app);
// Popup commands; they act on the cell remembered when the map popup opened.
void insert_map_char(App& app);
void delete_map_char(App& app);
void insert_map_line(App& app);
void delete_map_line(App& app);
void insert_map_column(App& app);
void delete_map_column(App& app);

} // namespace fontarel
