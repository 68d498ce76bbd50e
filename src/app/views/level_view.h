#pragma once
// The Level window and the Tiles window. Each is a canvas no larger than the window with scroll
// bars beside it: the canvas shows only the part of the level (or of the tile set) that is in view,
// drawn like the map at 16 x 16 pixels a character, so its cost follows the window, never the
// level's size.

#include "app/app.h"

namespace fontarel {

// Level > "Show level" and "Show tiles": open the window the first time, show it after.
void show_level_window(App& app);
void show_tiles_window(App& app);
// The windows' close boxes hide them.
void hide_level_window(App& app, int window);

// Control events of the two canvases and their scroll bars.
void level_canvas_event(App& app, const Event& event);
void level_scroll_event(App& app, const Event& event);
void tiles_canvas_event(App& app, const Event& event);
void tiles_scroll_event(App& app, const Event& event);

// Brings both windows' pictures and scroll bars up to date with the data; nothing while hidden.
void present_level_views(App& app);

// Tiles in a row of the Tiles window, and the tile at a character cell of its view (-1 none).
int tiles_per_row(const App& app);
int tile_at_view_cell(const App& app, int column, int row);

} // namespace fontarel
