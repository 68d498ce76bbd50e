#pragma once
// The map canvas and the map commands: hover and painting, the map sizes, fill, and the six popup
// commands.

#include "app/app.h"

namespace fontarel {

// Handler of every control event of the map canvas: hover (outline and title), painting, the
// popup menu.
void map_canvas_event(App& app, const Event& event);
// Fits canvas and window to the size in use; a hidden map window stays hidden.
void fit_map_window(App& app);
// Sets the size in use, fits canvas and window to it and shows the map window.
void set_map_size(App& app, int columns, int rows);
// Every cell in use := current_char.
void fill_map(App& app);
// Popup commands; they act on the cell remembered when the map popup opened.
void insert_map_char(App& app);
void delete_map_char(App& app);
void insert_map_line(App& app);
void delete_map_line(App& app);
void insert_map_column(App& app);
void delete_map_column(App& app);

} // namespace fontarel
