#pragma once
// The charset grid: all 256 glyphs in 16 x 16 cells of 16 pixels on the charset canvas, with a
// checkerboard cursor on the current character, and the canvas's mouse and key handling.

#include <cstdint>
#include <string>

#include "charset/charset_store.h"
#include "toolkit/raster.h"

namespace fontarel {

struct App;

constexpr int kCellPixels = 16;  // a cell of the charset grid, the map and the glyph editor
constexpr int kGridPixels = 256; // the charset image and the charset canvas's surface
constexpr int kCursorColour = 0x7FFF00;
constexpr int kHoverColour = 0x00FF00; // rgb(0, 255, 0)
constexpr int kDragColour = 0x0000FF;  // rgb(255, 0, 0)

// Renders the 256 glyphs as 2 x 2 pixel blocks into a 256 x 256 picture.
void render_charset_grid(Raster& target, const CharsetStore& store, int colour0, int colour1);
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

// "<base> 65($41)'A'": decimal, two-digit hexadecimal and, above 31, the code page character.
std::string char_title(const std::string& base, uint8_t code);
// A pixel coordinate to a cell number: divided by 16, truncated toward zero (-15..-1 give 0).
constexpr int cell_of(int pixel) {
    return pixel / kCellPixels;
}

} // namespace fontarel
