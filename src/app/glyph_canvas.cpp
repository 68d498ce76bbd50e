#include "app/glyph_canvas.h"

#include "render/geometry.h"

namespace fontarel {

namespace {

constexpr int kGlyphCells = 8; // glyph pixels per row and column

void paint_pixel(App& app, int x, int y, bool set) {
    const int column = cell_of(x);
    const int row = cell_of(y);
    if (column < 0 || column >= kGlyphCells || row < 0 || row >= kGlyphCells) {
        return; // outside the 8 x 8 cells during a stroke
    }
    uint8_t& bits = app.store().glyph(app.s.current_char)[row];
    const uint8_t mask = static_cast<uint8_t>(0x80 >> column);
    bits = set ? (bits | mask) : (bits & ~mask & 0xFF);
}

} // namespace

void glyph_canvas_event(App& app, const Event& event) {
    const int kind = event.kind;
    if (kind == kKindLeftDown || (kind == kKindMouseMove && (event.buttons & kButtonLeft))) {
        paint_pixel(app, event.x, event.y, true);
    } else if (kind == kKindRightDown ||
               (kind == kKindMouseMove && (event.buttons & kButtonRight))) {
        paint_pixel(app, event.x, event.y, false);
    }
}

} // namespace fontarel
