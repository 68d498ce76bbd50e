#pragma once
// Typing text onto the map: "Type text" (or T over the map) puts a text cursor in a cell, and
// typed characters write their codes there, moving right and wrapping at the map's edge.
// Backspace steps back and writes a space, Return goes to the next row under where typing began,
// the arrow keys move the cursor. A click anywhere, any menu command or "Type text" again leaves
// typing; everything typed in between is one undo step.

#include "app/app.h"

namespace fontarel {

// "Type text": starts typing at the hovered cell (or the selection's top-left, or the first
// cell), or leaves typing when it is under way.
void type_text(App& app);
// "Type with screen codes": typed characters write C64 screen codes instead of code-page codes.
void toggle_screen_codes(App& app);
void stop_typing(App& app);
// The map canvas's keys and clicks while typing, and the T that starts it; true when the event
// was typing's and nothing else is to handle it.
bool map_typing_event(App& app, const Event& event);
// True when the event ends typing before it is handled: a click on another canvas, a menu command
// other than "Type text", a drop, the map window closing.
bool event_ends_typing(const Event& event);

} // namespace fontarel
