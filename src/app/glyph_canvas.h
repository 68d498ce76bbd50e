#pragma once
// The glyph canvas: the current glyph enlarged 16 times with a dotted grid, the glyph data text,
// and pixel painting with the mouse.

#include "app/app.h"

namespace fontarel {

// Handler of every control event of the glyph canvas.
void glyph_canvas_event(App& app, const Event& event);

} // namespace fontarel
