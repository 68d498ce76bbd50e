#include "app/map_canvas.h"

#include "app/ids.h"
#include "model/labels.h"
#include "render/geometry.h"
#include "render/map_picture.h"

namespace fontarel {

namespace {

void render_map(App& app) {
    const AppState& s = app.s;
    app.views.map.render(*app.tk.drawing_raster(), *s.map, app.store(), s.color_bit0, s.color_bit1,
                         s.grid_on != 0);
}

// The 1-pixel red outline of the hovered cell, over the freshly drawn map.
void outline_cell(App& app, int column, int row) {
    Toolkit& tk = app.tk;
    if (!tk.begin_drawing(tk.canvas_target(kMapCanvas))) {
        return;
    }
    tk.set_draw_mode(kDrawOutline);
    tk.draw_box(kCellPixels * column, kCellPixels * row, kCellPixels, kCellPixels, kMapHoverColour);
    tk.end_drawing();
    app.views.map.invalidate_cell(column, row); // the next map redraw takes the outline away
}

// The popup commands share their frame: nothing without a remembered cell, then the shift, the
// redraw, and the remembered cell forgotten.
template <typename Shift> void popup_command(App& app, Shift shift) {
    AppState& s = app.s;
    if (s.popup_cell_x < 0 || s.popup_cell_y < 0) {
        return;
    }
    shift(*s.map, s.popup_cell_x, s.popup_cell_y);
    draw_char_map(app);
    s.popup_cell_x = -1;
    s.popup_cell_y = -1;
}

} // namespace

void draw_char_map(App& app) {
    // While the window is hidden nobody sees the map: the size command that shows it draws it.
    if (app.s.map_window_open == 0 || !app.views.map_shown) {
        return;
    }
    Toolkit& tk = app.tk;
    if (!tk.begin_drawing(tk.canvas_target(kMapCanvas))) {
        tk.message_box("fontarel", "draw char map error!");
        return;
    }
    render_map(app);
    tk.end_drawing();
}

void map_canvas_event(App& app) {
    Toolkit& tk = app.tk;
    AppState& s = app.s;
    const int x = tk.control_attribute(kMapCanvas, kAttrMouseX);
    const int y = tk.control_attribute(kMapCanvas, kAttrMouseY);
    const int column = cell_of(x);
    const int row = cell_of(y);
    const int kind = tk.event_kind();
    const bool on_map = s.map->in_use(column, row);

    if (kind == kKindRightClick && tk.menu_exists(kMapPopup)) {
        s.popup_cell_x = column;
        s.popup_cell_y = row;
        tk.show_popup_menu(kMapPopup, kMapWindow);
    }
    if (kind == kKindMouseMove && on_map) {
        draw_char_map(app);
        outline_cell(app, column, row);
        tk.set_window_title(kMapWindow, map_title(column, row, s.map->at(column, row)));
    }
    const bool left_held = (tk.control_attribute(kMapCanvas, kAttrButtons) & kButtonLeft) != 0;
    if ((kind == kKindLeftDown || (kind == kKindMouseMove && left_held)) && on_map) {
        s.map->at(column, row) = s.current_char;
        draw_char_map(app);
    }
}

void fit_map_window(App& app) {
    Toolkit& tk = app.tk;
    tk.resize_control(kMapCanvas, 0, 0, kCellPixels * app.s.map->cols,
                      kCellPixels * app.s.map->rows);
    tk.resize_window(kMapWindow, kKeep, kKeep, tk.control_width(kMapCanvas),
                     tk.control_height(kMapCanvas));
    draw_char_map(app);
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
    draw_char_map(app);
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
