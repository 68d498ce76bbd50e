#pragma once
// The one loop over events and the dispatch tables.

#include "app/app.h"

namespace fontarel {

// Builds the menu bar with its shortcuts, then both popup menus.
void build_menus(App& app);
// Undo and redo from the map window's keyboard; once that window is open.
void add_map_window_shortcuts(App& app);
// Waits for and handles events until the program is to end.
void run_event_loop(App& app);
// Handles one event just returned by wait_event, then, when no event is left in the queue,
// presents the pictures; false when the loop is to end.
bool dispatch_event(App& app, int code);
// The command of a menu item id; false when the command ends the program ("Quit").
bool dispatch_menu(App& app, int item);
// The handler of a control event.
void dispatch_control(App& app, const Event& event);

} // namespace fontarel
