#include "app/glyph_canvas.h"

#include "app/charset_canvas.h"
#include "app/ids.h"
#include "app/map_canvas.h"
#include "model/labels.h"
#include "render/geometry.h"
#include "render/glyph_editor_picture.h"

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
    refresh_charset_views(app); // even when the pixel already had the wanted value
}

} // namespace

void draw_glyph_editor(App& app) {
    Toolkit& tk = app.tk;
    if (!tk.begin_drawing(tk.canvas_target(kGlyphCanvas))) {
        tk.message_box("fontarel", "draw character error!");
        return;
    }
    auto glyph = app.store().glyph(app.s.current_char);
    app.views.editor.render(*tk.drawing_raster(), glyph, app.s.color_bit0, app.s.color_bit1);
    tk.set_control_text(kGlyphDataText, glyph_data_text(glyph));
    tk.end_drawing();
    draw_char_map(app);
}

void glyph_canvas_event(App& app) {
    Toolkit& tk = app.tk;
    const int x = tk.control_attribute(kGlyphCanvas, kAttrMouseX);
    const int y = tk.control_attribute(kGlyphCanvas, kAttrMouseY);
    const int buttons = tk.control_attribute(kGlyphCanvas, kAttrButtons);
    const int kind = tk.event_kind();
    if (kind == kKindLeftDown || (kind == kKindMouseMove && (buttons & kButtonLeft))) {
        paint_pixel(app, x, y, true);
    } else if (kind == kKindRightDown || (kind == kKindMouseMove && (buttons & kButtonRight))) {
        paint_pixel(app, x, y, false);
    }
}

} // namespace fontarel
