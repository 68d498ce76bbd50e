#pragma once
// The charset canvas: the grid of all 256 glyphs with the checkerboard cursor on the current
// character, selection by click and arrow keys, glyph drags, and the frames the pointer adds.

#include "app/app.h"

namespace fontarel {

// Moves the selection with wrap-around and retitles the main window.
void move_cursor(App& app, int dx, int dy);
// Handler of every control event of the charset canvas.
void charset_canvas_event(App& app, const Event& event);

} // namespace fontarel
