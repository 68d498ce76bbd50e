#pragma once
// The menu bar, the two popup menus and the shortcuts of both windows.

#include "app/app.h"

namespace fontarel {

// Builds the menu bar with its shortcuts, then both popup menus.
void build_menus(App& app);
// Undo and redo from the map window's keyboard; once that window is open.
void add_map_window_shortcuts(App& app);

} // namespace fontarel
