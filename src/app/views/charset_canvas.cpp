#include "app/views/charset_canvas.h"

#include "app/commands/glyph_commands.h"
#include "app/ids.h"
#include "app/views/glyph_canvas.h"
#include "model/labels.h"
#include "render/geometry.h"

namespace fontarel {

namespace {

bool in_grid(int column, int row) {
    return column >= 0 && column < kGridCells && row >= 0 && row < kGridCells;
}

// A selection, a key or a drop takes the pointer's frame away until the pointer moves again.
void drop_overlay(App& app) {
    app.views.charset_overlay = {};
}

void select_cell(App& app, int x, int y) {
    app.s.current_column = cell_of(x);
    app.s.current_row = cell_of(y);
    move_cursor(app, 0, 0);
    drop_overlay(app);
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
    drop_overlay(app);
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
        return;
    }
    drop_overlay(app);
}

} // namespace

void move_cursor(App& app, int dx, int dy) {
    AppState& s = app.s;
    s.current_column = (s.current_column + dx) & 15;
    s.current_row = (s.current_row + dy) & 15;
    s.current_char = static_cast<uint8_t>(s.current_column + kGridCells * s.current_row);
    app.tk.set_window_title(kMainWindow, char_title(s.window_title, s.current_char));
}

void charset_canvas_event(App& app, const Event& event) {
    Toolkit& tk = app.tk;
    const int x = event.x;
    const int y = event.y;
    switch (event.kind) {
    case kKindRightClick:
        select_cell(app, x, y);
        if (tk.menu_exists(kCharsetPopup)) {
            tk.show_popup_menu(kCharsetPopup, kMainWindow);
        }
        break;
    case kKindKeyUp:
        if (!brush_key(app, event.key)) {
            key_released(app, event.key);
        }
        break;
    case kKindMouseMove:
        if (app.s.drag_active) {
            app.views.charset_overlay = {CharsetOverlay::Kind::Drag, x, y, app.s.drag_source};
        } else {
            app.views.charset_overlay = {CharsetOverlay::Kind::Hover, x, y};
        }
        break;
    case kKindMouseLeave:
        // The hover frame goes with the pointer; a drag's frame stays until the drop.
        if (!app.s.drag_active) {
            drop_overlay(app);
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
