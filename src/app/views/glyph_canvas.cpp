#include "app/views/glyph_canvas.h"

#include "app/commands/colour_commands.h"
#include "app/ids.h"
#include "render/geometry.h"

namespace fontarel {

namespace {

constexpr int kGlyphCells = 8; // glyph pixels per row and column
constexpr int kSwatch = 32;    // height of a brush swatch, and the brush canvas's width

void paint_pixel(App& app, int x, int y, bool set) {
    const int column = cell_of(x);
    const int row = cell_of(y);
    if (column < 0 || column >= kGlyphCells || row < 0 || row >= kGlyphCells) {
        return; // outside the 8 x 8 cells during a stroke
    }
    uint8_t& bits = app.store().glyph(edited_glyph(app))[row];
    if (multicolour_glyphs(app)) {
        // A double-wide pixel spans two cells; the right button paints its 00.
        const int shift = 6 - 2 * (column / 2);
        const int pair = set ? app.s.brush & 3 : 0;
        bits = static_cast<uint8_t>((bits & ~(3 << shift)) | (pair << shift));
        return;
    }
    const uint8_t mask = static_cast<uint8_t>(0x80 >> column);
    bits = set ? (bits | mask) : (bits & ~mask & 0xFF);
}

} // namespace

void glyph_canvas_event(App& app, const Event& event) {
    const int kind = event.kind;
    if (kind == kKindMouseMove) {
        app.views.glyph_hovered = true;
    } else if (kind == kKindMouseLeave) {
        app.views.glyph_hovered = false;
    }
    if (kind == kKindLeftDown || (kind == kKindMouseMove && (event.buttons & kButtonLeft))) {
        paint_pixel(app, event.x, event.y, true);
    } else if (kind == kKindRightDown ||
               (kind == kKindMouseMove && (event.buttons & kButtonRight))) {
        paint_pixel(app, event.x, event.y, false);
    }
}

void brush_canvas_event(App& app, const Event& event) {
    if (event.kind == kKindLeftDown && event.y >= 0 && event.y < 4 * kSwatch) {
        app.s.brush = event.y / kSwatch;
    }
}

bool brush_key(App& app, int key) {
    if (key < '1' || key > '4' || !app.views.glyph_hovered || !multicolour_glyphs(app)) {
        return false;
    }
    app.s.brush = key - '1';
    return true;
}

void present_brush(App& app) {
    Toolkit& tk = app.tk;
    Views& v = app.views;
    const bool shown = multicolour_glyphs(app);
    if (shown != v.brush_shown) {
        tk.show_control(kBrushCanvas, shown);
        v.brush_shown = shown;
        v.brush_drawn = {};
    }
    if (!shown) {
        return;
    }
    const auto colours = pen_multicolours(app);
    const BrushLook look{{colours[0], colours[1], colours[2], colours[3]}, app.s.brush & 3};
    if (look == v.brush_drawn || !tk.begin_drawing(tk.canvas_target(kBrushCanvas))) {
        return;
    }
    Raster& r = *tk.drawing_raster();
    for (int pair = 0; pair < 4; ++pair) {
        // The current swatch framed in red, the others in grey, 2 pixels wide.
        const int frame = pair == look.brush ? rgb(255, 0, 0) : rgb(128, 128, 128);
        const int top = kSwatch * pair;
        r.fill_rect(0, top, kSwatch, kSwatch, frame);
        r.fill_rect(3, top + 3, kSwatch - 6, kSwatch - 6, look.colours[static_cast<size_t>(pair)]);
    }
    tk.end_drawing(); // fill_rect marked what it wrote
    v.brush_drawn = look;
}

} // namespace fontarel
