#include "app/views/present.h"

#include <algorithm>

#include "app/commands/block_commands.h"
#include "app/commands/colour_commands.h"
#include "app/ids.h"
#include "app/views/glyph_canvas.h"
#include "app/views/level_view.h"
#include "app/views/map_title.h"
#include "model/labels.h"

namespace fontarel {

namespace {

// The glyph views' colours: the glyph colours, or the pen's four for a glyph shown in multicolour.
struct GlyphLooks {
    GlyphLook two, multicolour;
    std::bitset<256> shown_in_multicolour;
    std::bitset<256> unused; // greyed in the grid: only while "Show unused glyphs" is on

    explicit GlyphLooks(const App& app)
        : two(GlyphLook::two(app.s.color_bit0, app.s.color_bit1)),
          shown_in_multicolour(multicolour_glyph_set(app)) {
        const auto c = pen_multicolours(app);
        multicolour = {{c[0], c[1], c[2], c[3]}, true};
        if (app.s.show_unused) {
            GlyphUse use = map_glyph_use(*app.s.map);
            use.add(app.views.tile_use.of(app.s.levels.tiles(), *app.s.map));
            for (size_t code = 0; code < use.cells.size(); ++code)
                unused[code] = use.cells[code] == 0;
        }
    }
    const GlyphLook& of(int code) const {
        return shown_in_multicolour[static_cast<size_t>(code & 255)] ? multicolour : two;
    }
};

// The glyphs the grid shows, code by code: in the extended background colour mode code c shows
// glyph c & 63, so the grid holds glyphs 0-63 four times over, as the screen can show them.
const CharsetStore& grid_glyphs(App& app) {
    if (!app.s.map->look.c64_extended())
        return app.store();
    CharsetStore& shown = app.views.extended_glyphs;
    for (int code = 0; code < kGlyphCount; ++code)
        std::copy_n(app.store().glyph(code & 63).begin(), kGlyphRows, shown.glyph(code).begin());
    return shown;
}

// The image of the grid without cursor; true when it is stale, also after a failed attempt.
bool grid_stale(App& app, const GlyphLooks& looks) {
    const Raster* image = app.tk.image(kCharsetImage);
    return image != nullptr &&
           !app.views.grid.up_to_date(*image, grid_glyphs(app), looks.two, looks.multicolour,
                                      looks.shown_in_multicolour, looks.unused);
}

// Renders the charset image when it is stale.
void render_grid(App& app, const GlyphLooks& looks) {
    Toolkit& tk = app.tk;
    if (!grid_stale(app, looks)) {
        return;
    }
    if (!tk.begin_drawing(tk.image_target(kCharsetImage))) {
        tk.message_box("fontarel", "draw image char error!");
        return;
    }
    app.views.grid.render(*tk.drawing_raster(), grid_glyphs(app), looks.two, looks.multicolour,
                          looks.shown_in_multicolour, looks.unused);
    tk.end_drawing();
}

// The image with the cursor and the pointer's frame over it.
void present_charset_canvas(App& app, const GlyphLooks& looks) {
    Toolkit& tk = app.tk;
    const AppState& s = app.s;
    Views& v = app.views;
    const Raster* grid = tk.image(kCharsetImage);
    const Raster* canvas = tk.canvas_picture(kCharsetCanvas);
    if (grid == nullptr || canvas == nullptr) {
        return;
    }
    // An image that could not be rendered keeps the canvas due too, so both are tried again.
    if (!grid_stale(app, looks) && v.canvas.up_to_date(*canvas, v.grid.version(), s.current_column,
                                                       s.current_row, v.charset_overlay)) {
        return;
    }
    if (!tk.begin_drawing(tk.canvas_target(kCharsetCanvas))) {
        tk.message_box("fontarel", "draw cursor error!");
        return;
    }
    v.canvas.render(*tk.drawing_raster(), *grid, v.grid.version(), s.current_column, s.current_row,
                    v.charset_overlay);
    tk.end_drawing();
}

void present_glyph_editor(App& app, const GlyphLooks& looks) {
    Toolkit& tk = app.tk;
    const AppState& s = app.s;
    const Raster* picture = tk.canvas_picture(kGlyphCanvas);
    const auto glyph = app.store().glyph(edited_glyph(app));
    const GlyphLook& look = looks.of(s.current_char);
    if (picture == nullptr || app.views.editor.up_to_date(*picture, glyph, look)) {
        return;
    }
    if (!tk.begin_drawing(tk.canvas_target(kGlyphCanvas))) {
        tk.message_box("fontarel", "draw character error!");
        return;
    }
    app.views.editor.render(*tk.drawing_raster(), glyph, look);
    tk.set_control_text(kGlyphDataText, glyph_data_text(glyph));
    tk.end_drawing();
}

void present_map(App& app) {
    Toolkit& tk = app.tk;
    const AppState& s = app.s;
    // While the window is hidden nobody sees the map: the size command that shows it draws it.
    if (s.map_window_open == 0 || !app.views.map_shown) {
        return;
    }
    const Raster* picture = tk.canvas_picture(kMapCanvas);
    const bool grid = s.grid_on != 0;
    // While typing, the text cursor takes the hover outline's place.
    const MapTyping& typing = app.blocks.typing;
    const MapCell marked = typing.active ? typing.cursor : app.views.map_hover;
    const Colour marked_colour = typing.active ? kMapCursorColour : kMapHoverColour;
    if (picture == nullptr ||
        app.views.map.up_to_date(*picture, *s.map, app.store(), s.color_bit0, s.color_bit1, grid,
                                 marked, app.blocks.selection, marked_colour)) {
        return;
    }
    if (!tk.begin_drawing(tk.canvas_target(kMapCanvas))) {
        tk.message_box("fontarel", "draw char map error!");
        return;
    }
    app.views.map.render(*tk.drawing_raster(), *s.map, app.store(), s.color_bit0, s.color_bit1,
                         grid, marked, app.blocks.selection, marked_colour);
    tk.end_drawing();
}

} // namespace

void present_charset_image(App& app) {
    render_grid(app, GlyphLooks(app));
}

void present(App& app) {
    const GlyphLooks looks(app);
    render_grid(app, looks);
    present_charset_canvas(app, looks);
    present_glyph_editor(app, looks);
    present_brush(app);
    present_map(app);
    refresh_map_title(app);
    present_level_views(app);
    show_block_state(app);
    show_colour_state(app);
}

} // namespace fontarel
