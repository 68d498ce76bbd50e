#include "app/views/map_canvas.h"

#include "app/commands/block_commands.h"
#include "app/commands/colour_commands.h"
#include "app/ids.h"
#include "app/views/map_title.h"
#include "app/views/map_typing.h"
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

// A Shift-press starts a selection at its cell; moves with the button held stretch it to the
// cell under the pointer (kept to the map in use); the release ends it. True when the event was
// the selection's.
bool select_cells(App& app, const Event& event, int column, int row, bool on_map) {
    MapBlocks& b = app.blocks;
    const CharMap& map = *app.s.map;
    const bool left_held = (event.buttons & kButtonLeft) != 0;
    if (event.kind == kKindLeftDown && on_map && (event.modifiers & kModShift)) {
        b.selecting = true;
        b.anchor_column = column;
        b.anchor_row = row;
    } else if (event.kind == kKindMouseMove && b.selecting && left_held) {
        // Stretched below; kept inside the map, so a drag past its edge selects up to the edge.
    } else if (event.kind == kKindLeftUp && b.selecting) {
        b.selecting = false;
        return true;
    } else if (event.kind == kKindLeftClick && (event.modifiers & kModShift)) {
        return true; // the click after a Shift-press keeps what it selected
    } else {
        return b.selecting && (event.kind == kKindLeftClick || event.kind == kKindMouseMove);
    }
    const int c = column < 0 ? 0 : column >= map.cols ? map.cols - 1 : column;
    const int r = row < 0 ? 0 : row >= map.rows ? map.rows - 1 : row;
    b.selection = cells_between(map, b.anchor_column, b.anchor_row, c, r);
    title_map(app, selection_title(b.selection));
    return true;
}

} // namespace

void map_canvas_event(App& app, const Event& event) {
    Toolkit& tk = app.tk;
    AppState& s = app.s;
    const int column = cell_of(event.x);
    const int row = cell_of(event.y);
    const int kind = event.kind;
    const bool on_map = s.map->in_use(column, row);
    if (map_typing_event(app, event) || select_cells(app, event, column, row, on_map)) {
        return;
    }

    if (kind == kKindRightClick && tk.menu_exists(kMapPopup)) {
        s.popup_cell_x = column;
        s.popup_cell_y = row;
        tk.show_popup_menu(kMapPopup, kMapWindow);
    }
    if (kind == kKindMouseMove && on_map) {
        app.views.map_hover = {column, row};
        title_map_cell(app, column, row);
    }
    if (kind == kKindMouseLeave) {
        app.views.map_hover = {}; // the outline goes with the pointer; the title stays
    }
    const bool left_held = (event.buttons & kButtonLeft) != 0;
    if ((kind == kKindLeftDown || (kind == kKindMouseMove && left_held)) && on_map) {
        paint_cell(app, column, row, s.current_char);
        title_map_cell(app, column, row); // the title names the cell with what it now holds
        app.views.map_hover = {};         // a painted cell shows its new glyph without the outline
        app.blocks.selection = {};
    }
    if (kind == kKindLeftClick) {
        app.blocks.selection = {};
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
    app.blocks.selection = {};
    app.s.map->cols = columns;
    app.s.map->rows = rows;
    app.views.map_shown = true;
    fit_map_window(app);
    app.tk.set_window_hidden(kMapWindow, 0);
}

void fill_map(App& app) {
    app.blocks.selection = {};
    CharMap& map = *app.s.map;
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.cols; ++c)
            paint_cell(app, c, r, app.s.current_char);
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
