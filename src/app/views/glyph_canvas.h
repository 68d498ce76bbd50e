#pragma once
// The glyph canvas: the current glyph enlarged 16 times with a dotted grid, the glyph data text,
// and pixel painting with the mouse. In multicolour (see multicolour_glyphs) a double-wide pixel
// is painted with the brush, one of the four bit pairs, shown on the brush canvas beside the glyph
// editor and chosen there or with the keys 1-4 while the pointer is over the glyph editor.

#include "app/app.h"

namespace fontarel {

// Handler of every control event of the glyph canvas.
void glyph_canvas_event(App& app, const Event& event);
// A left press on a swatch of the brush canvas makes it the brush.
void brush_canvas_event(App& app, const Event& event);
// Keys 1-4 (the key's code, '1'-'4') choose the bit pair 00, 01, 10 or 11 as the brush while the
// glyph editor shows multicolour and the pointer is over it; false, choosing nothing, otherwise.
bool brush_key(App& app, int key);
// Shows the brush canvas while the glyph views show multicolour, hides it otherwise, and draws its
// four swatches (the bit pairs' colours top to bottom, the brush's framed in red) when they
// changed.
void present_brush(App& app);

} // namespace fontarel
