#include "views/glyph_editor.h"

#include <cstring>

#include "app/app.h"
#include "app/ids.h"
#include "views/char_map.h"
#include "views/charset_view.h"

namespace fontarel {

namespace {

constexpr int kGlyphCells = 8; // glyph pixels per row and column
constexpr int kBoxPixels = 15; // a set pixel's box; the cell's last row and column stay colour 0
constexpr int kGridWhite = 0xFFFFFF;
constexpr int kGridBlack = 0x000000;

// Each set pixel is a 15 x 15 box at the top-left of its 16 x 16 cell, on a colour-0 background.
void render_glyph_cells(Raster& picture, std::span<const uint8_t, 8> glyph, int colour0,
                        int colour1) {
    uint8_t blank[3 * kGlyphCanvasPixels];
    for (int x = 0; x < kGlyphCanvasPixels; ++x) {
        store_colour(blank + 3 * x, colour0);
    }
    for (int gy = 0; gy < kGlyphCells; ++gy) {
        uint8_t line[3 * kGlyphCanvasPixels];
        std::memcpy(line, blank, sizeof line);
        for (int gx = 0; gx < kGlyphCells; ++gx) {
            if (glyph[gy] & (0x80 >> gx)) {
                for (int i = 0; i < kBoxPixels; ++i) {
                    store_colour(line + 3 * (kCellPixels * gx + i), colour1);
                }
            }
        }
        for (int i = 0; i < kCellPixels; ++i) {
            std::memcpy(picture.row(kCellPixels * gy + i), i < kBoxPixels ? line : blank,
                        sizeof line);
        }
    }
}

// The dotted grid on the lines x = 0, 16, ..., 112 and y = 0, 16, ..., 112: white at even positions
// along a line, black at odd ones, whatever the glyph colours. Where two lines cross, both
// coordinates are even, so the result does not depend on which line is drawn first.
void render_dotted_grid(Raster& picture) {
    for (int k = 0; k < kGlyphCells; ++k) {
        const int line = kCellPixels * k;
        for (int s = 0; s < kGlyphCanvasPixels; ++s) {
            const int colour = (s & 1) ? kGridBlack : kGridWhite;
            picture.set_pixel(line, s, colour);
            picture.set_pixel(s, line, colour);
        }
    }
}

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

std::string glyph_data_text(std::span<const uint8_t, 8> glyph) {
    std::string t;
    for (int y = 0; y < kGlyphRows; ++y) {
        if (y > 0) {
            t += ',';
        }
        t += std::to_string(glyph[y]);
    }
    return t;
}

void draw_glyph_editor(App& app) {
    Toolkit& tk = app.tk;
    if (!tk.begin_drawing(tk.canvas_target(kGlyphCanvas))) {
        tk.message_box("fontarel", "draw character error!");
        return;
    }
    auto glyph = app.store().glyph(app.s.current_char);
    Raster& picture = *tk.drawing_raster();
    if (picture.width() >= kGlyphCanvasPixels && picture.height() >= kGlyphCanvasPixels) {
        render_glyph_cells(picture, glyph, app.s.color_bit0, app.s.color_bit1);
        render_dotted_grid(picture);
    }
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
