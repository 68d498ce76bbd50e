#include "app/charset_canvas.h"

#include "app/glyph_canvas.h"
#include "app/glyph_commands.h"
#include "app/ids.h"
#include "model/labels.h"
#include "render/charset_picture.h"
#include "render/geometry.h"

namespace fontarel {

namespace {

bool in_grid(int column, int row) {
    return column >= 0 && column < kGridCells && row >= 0 && row < kGridCells;
}

// Canvas picture, then cursor, then the frame that a mouse move adds. False when drawing on the
// canvas cannot begin; the frame is then skipped without a message.
bool begin_canvas_frame(App& app) {
    Toolkit& tk = app.tk;
    if (!tk.begin_drawing(tk.canvas_target(kCharsetCanvas))) {
        return false;
    }
    tk.draw_image(kCharsetImage, 0, 0);
    draw_cursor(app);
    return true;
}

void outline_cell(Toolkit& tk, int x, int y, int colour) {
    tk.set_draw_mode(kDrawOutline);
    tk.draw_box(kCellPixels * cell_of(x), kCellPixels * cell_of(y), kCellPixels, kCellPixels,
                colour);
}

void hover_frame(App& app, int x, int y) {
    if (!begin_canvas_frame(app)) {
        return;
    }
    outline_cell(app.tk, x, y, kHoverColour);
    app.tk.end_drawing();
}

// The source glyph's cell as last rendered follows the pointer, its top-left corner at the pointer.
void drag_frame(App& app, int x, int y) {
    Toolkit& tk = app.tk;
    const int source = app.s.drag_source;
    tk.grab_image(kCharsetImage, kDragImage, kCellPixels * (source % kGridCells),
                  kCellPixels * (source / kGridCells), kCellPixels, kCellPixels);
    if (begin_canvas_frame(app)) {
        tk.draw_image(kDragImage, x, y);
        outline_cell(tk, x, y, kDragColour);
        tk.end_drawing();
    }
    tk.free_image(kDragImage);
}

void select_cell(App& app, int x, int y) {
    app.s.current_column = cell_of(x);
    app.s.current_row = cell_of(y);
    move_cursor(app, 0, 0);
}

void start_drag(App& app, int x, int y) {
    AppState& s = app.s;
    // A press always lands on the surface; one that does not cannot name a glyph to drag.
    if (s.drag_active || !in_grid(cell_of(x), cell_of(y))) {
        return;
    }
    s.drag_active = 1;
    s.drag_source = kGridCells * cell_of(y) + cell_of(x);
}

// The drop copies or swaps the source glyph by the check mark of "Drag mode:swap". A release 1-15
// pixels left of or above the surface still truncates to column or row 0 and drops there.
void drop(App& app, int x, int y) {
    AppState& s = app.s;
    if (!s.drag_active) {
        return;
    }
    s.drag_active = 0;
    const int row = cell_of(y);
    const int column = cell_of(x);
    // Worked out wide: a release far outside the canvas must not overflow. Only drops inside the
    // grid name a glyph; the stored value of any other is never used to index.
    s.drag_target = static_cast<int32_t>(int64_t{kGridCells} * row + column);
    if (s.drag_target == s.drag_source) {
        return;
    }
    s.drag_swap = app.tk.item_checked(kMenuBar, id(MenuId::DragSwap));
    if (!in_grid(column, row)) {
        return;
    }
    auto source = app.store().glyph(s.drag_source);
    auto target = app.store().glyph(s.drag_target);
    for (int i = 0; i < kGlyphRows; ++i) {
        const uint8_t a = source[i];
        const uint8_t b = target[i];
        target[i] = a;
        if (s.drag_swap) {
            source[i] = b;
        }
    }
    refresh_charset_views(app);
}

void key_released(App& app, int key) {
    switch (key) {
    case kKeyUp:
        move_cursor(app, 0, -1);
        break;
    case kKeyDown:
        move_cursor(app, 0, 1);
        break;
    case kKeyLeft:
        move_cursor(app, -1, 0);
        break;
    case kKeyRight:
        move_cursor(app, 1, 0);
        break;
    case kKeyInsert:
        insert_glyph(app);
        break;
    case kKeyDelete:
        delete_glyph(app);
        break;
    default:
        break;
    }
}

} // namespace

void draw_charset_view(App& app) {
    Toolkit& tk = app.tk;
    if (tk.begin_drawing(tk.image_target(kCharsetImage))) {
        app.views.grid.render(*tk.drawing_raster(), app.store(), app.s.color_bit0,
                              app.s.color_bit1);
        tk.end_drawing();
    } else {
        tk.message_box("fontarel", "draw image char error!");
    }
    if (!tk.begin_drawing(tk.canvas_target(kCharsetCanvas))) {
        tk.message_box("fontarel", "draw cursor error!");
        return;
    }
    tk.draw_image(kCharsetImage, 0, 0);
    draw_cursor(app);
    tk.end_drawing();
}

void draw_cursor(App& app) {
    if (Raster* picture = app.tk.drawing_raster()) {
        render_cursor(*picture, app.s.current_column, app.s.current_row);
    }
}

void move_cursor(App& app, int dx, int dy) {
    AppState& s = app.s;
    s.current_column = (s.current_column + dx) & 15;
    s.current_row = (s.current_row + dy) & 15;
    s.current_char = static_cast<uint8_t>(s.current_column + kGridCells * s.current_row);
    draw_charset_view(app);
    draw_glyph_editor(app);
    app.tk.set_window_title(kMainWindow, char_title(s.window_title, s.current_char));
}

void refresh_charset_views(App& app) {
    draw_charset_view(app);
    draw_glyph_editor(app);
}

void charset_canvas_event(App& app) {
    Toolkit& tk = app.tk;
    const int x = tk.control_attribute(kCharsetCanvas, kAttrMouseX);
    const int y = tk.control_attribute(kCharsetCanvas, kAttrMouseY);
    switch (tk.event_kind()) {
    case kKindRightClick:
        select_cell(app, x, y);
        if (tk.menu_exists(kCharsetPopup)) {
            tk.show_popup_menu(kCharsetPopup, kMainWindow);
        }
        break;
    case kKindKeyUp:
        key_released(app, tk.control_attribute(kCharsetCanvas, kAttrKey));
        break;
    case kKindMouseMove:
        if (app.s.drag_active) {
            drag_frame(app, x, y);
        } else {
            hover_frame(app, x, y);
        }
        break;
    case kKindLeftClick:
        select_cell(app, x, y);
        break;
    case kKindLeftDown:
        start_drag(app, x, y);
        break;
    case kKindLeftUp:
        drop(app, x, y);
        break;
    default:
        break;
    }
}

} // namespace fontarel
