#pragma once
// The one loop over events. The menus and the dispatch tables it hands events to come with it.

#include "app/app.h"
#include "app/commands.h"
#include "app/menus.h"

namespace fontarel {

// Waits for and handles events until the program is to end.
void run_event_loop(App& app);
// Whether Escape, held as an event arrives, ends the program. While text is typed on the map it
// ends the typing instead, and the program goes on; Escape counts again once it is released.
bool escape_ends_program(App& app);
// Handles one event just returned by wait_event, then, when no event is left in the queue,
// presents the pictures; false when the loop is to end.
bool dispatch_event(App& app, int code);

} // namespace fontarel
