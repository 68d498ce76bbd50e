#pragma once
// The glyph editor: the current glyph enlarged 16 times on the glyph canvas with a dotted grid, the
// glyph data text, and pixel painting with the mouse.

#include <cstdint>
#include <span>
#include <string>

namespace fontarel {

struct App;

constexpr int kGlyphCanvasPixels = 128;

// Repaints the glyph canvas, rewrites the glyph data text, then redraws the map.
void draw_glyph_editor(App& app);
// Handler of every control event of the glyph canvas.
void glyph_canvas_event(App& app);
// The eight row bytes in decimal joined by single commas: "24,60,102,102,126,102,102,0".
std::string glyph_data_text(std::span<const uint8_t, 8> glyph);

} // namespace fontarel
