#pragma once
// The charset canvas: the grid of all 256 glyphs with the checkerboard cursor on the current
// character, selection by click and arrow keys, glyph drags, and the chain that redraws every view
// after a change.

#include "app/app.h"
#include "model/colour.h"

namespace fontarel {

constexpr Colour kHoverColour = rgb(0, 255, 0); // outline of the cell under the pointer
constexpr Colour kDragColour = rgb(255, 0, 0);  // the same outline while a glyph is dragged

// Re-renders the charset image, then paints the canvas: image plus cursor.
void draw_charset_view(App& app);
// The checkerboard cursor on the current cell, into the picture drawing has begun on.
void draw_cursor(App& app);
// Moves the selection with wrap-around, redraws both views and retitles the main window.
void move_cursor(App& app, int dx, int dy);
// draw_charset_view, then draw_glyph_editor.
void refresh_charset_views(App& app);
// Handler of every control event of the charset canvas.
void charset_canvas_event(App& app);

} // namespace fontarel
