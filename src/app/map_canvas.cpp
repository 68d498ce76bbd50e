#include "app/map_canvas.h"

#include "app/ids.h"
#include "model/labels.h"
#include "render/geometry.h"

namespace fontarel {

namespace {

// The popup commands share their frame: nothing without a remembered cell, then the shift and the
// remembered cell forgotten.
template <typename Shift> void popup_command(App& app, Shift shift) {
    AppState& s = app.s;
    if (s.popup_cell_x < 0 || s.popup_cell_y < 0) {
        return;
    }
    shift(*s.map, s.popup_cell_x, s.popup_cell_y);
    s.popup_cell_x = -1;
    s.popup_cell_y = -1;
}

} // namespace

void map_canvas_event(App& app, const Event& event) {
    Toolkit& tk = app.tk;
    AppState& s = app.s;
    const int column = cell_of(event.x);
    const int row = cell_of(event.y);
    const int kind = event.kind;
    const bool on_map = s.map->in_use(column, row);

    if (kind == kKindRightClick && tk.menu_exists(kMapPopup)) {
        s.popup_cell_x = column;
        s.popup_cell_y = row;
        tk.show_popup_menu(kMapPopup, kMapWindow);
    }
    if (kind == kKindMouseMove && on_map) {
        app.views.map_hover = {column, row};
        tk.set_window_title(kMapWindow, map_title(column, row, s.map->at(column, row)));
    }
    if (kind == kKindMouseLeave) {
        app.views.map_hover = {}; // the outline goes with the pointer; the title stays
    }
    const bool left_held = (event.buttons & kButtonLeft) != 0;
    if ((kind == kKindLeftDown || (kind == kKindMouseMove && left_held)) && on_map) {
        s.map->at(column, row) = s.current_char;
        app.views.map_hover = {}; // a painted cell shows its new glyph without the outline
    }
}

void fit_map_window(App& app) {
    Toolkit& tk = app.tk;
    tk.resize_control(kMapCanvas, 0, 0, kCellPixels * app.s.map->cols,
                      kCellPixels * app.s.map->rows);
    tk.resize_window(kMapWindow, kKeep, kKeep, tk.control_width(kMapCanvas),
                     tk.control_height(kMapCanvas));
}

void set_map_size(App& app, int columns, int rows) {
    app.s.map->cols = columns;
    app.s.map->rows = rows;
    app.views.map_shown = true;
    fit_map_window(app);
    app.tk.set_window_hidden(kMapWindow, 0);
}

void fill_map(App& app) {
    fill_map_cells(*app.s.map, app.s.current_char);
}

void insert_map_char(App& app) {
    popup_command(app, [](CharMap& m, int x, int y) { insert_map_char(m, x, y); });
}
void delete_map_char(App& app) {
    popup_command(app, [](CharMap& m, int x, int y) { delete_map_char(m, x, y); });
}
void insert_map_line(App& app) {
    popup_command(app, [](CharMap& m, int, int y) { insert_map_line(m, y); });
}
void delete_map_line(App& app) {
    popup_command(app, [](CharMap& m, int, int y) { delete_map_line(m, y); });
}
void insert_map_column(App& app) {
    popup_command(app, [](CharMap& m, int x, int) { insert_map_column(m, x); });
}
void delete_map_column(App& app) {
    popup_command(app, [](CharMap& m, int x, int) { delete_map_column(m, x); });
}

} // namespace fontarel
