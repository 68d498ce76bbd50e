#pragma once
// The map canvas and the map commands: drawing the map with the current charset, hover and
// painting, the map sizes, fill, and the six popup commands.

#include "app/app.h"

namespace fontarel {

// Repaints the map canvas from the cells in use; nothing when the map window does not exist.
void draw_char_map(App& app);
// Handler of every control event of the map canvas.
void map_canvas_event(App& app);
// Fits canvas and window to the size in use and redraws the map when it is shown; a hidden map
// window stays hidden.
void fit_map_window(App& app);
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
