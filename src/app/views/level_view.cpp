#include "app/views/level_view.h"

#include <algorithm>
#include <string>

#include "app/commands/colour_commands.h"
#include "app/ids.h"
#include "app/views/level_view_parts.h"
#include "model/map_colours.h"
#include "render/geometry.h"

namespace fontarel {

using namespace level_windows;

namespace {

constexpr int kWindowFlags = kWindowTitleBar | kWindowSystemMenu | kWindowMinimiseButton;
constexpr int kWindowOffset = 80;   // the level windows open this far right of and below the main
constexpr int kWheelCharacters = 3; // characters one wheel step scrolls

void allocate_cells(LevelViews& v) {
    if (!v.level_cells)
        v.level_cells = std::make_unique<CharMap>();
    if (!v.tile_cells)
        v.tile_cells = std::make_unique<CharMap>();
}

// The level's size in characters.
int level_chars_wide(const App& app) {
    return app.s.levels.level().cols() * app.s.levels.tiles().width();
}
int level_chars_high(const App& app) {
    return app.s.levels.level().rows() * app.s.levels.tiles().height();
}

int scroll_max_x(const App& app) {
    return std::max(0, level_chars_wide(app) - app.level_views.view_cols);
}
int scroll_max_y(const App& app) {
    return std::max(0, level_chars_high(app) - app.level_views.view_rows);
}

// The level view takes the map's size in use; canvas, bars and window follow it.
void fit_level_window(App& app) {
    Toolkit& tk = app.tk;
    LevelViews& v = app.level_views;
    v.view_cols = app.s.map->cols;
    v.view_rows = app.s.map->rows;
    const int w = kCellPixels * v.view_cols, h = kCellPixels * v.view_rows;
    tk.resize_control(kLevelCanvas, 0, 0, w, h);
    tk.resize_control(kLevelScrollX, 0, h, w, kBarPixels);
    tk.resize_control(kLevelScrollY, w, 0, kBarPixels, h);
    tk.resize_window(kLevelWindow, kKeep, kKeep, w + kBarPixels, h + kBarPixels);
}

std::string level_title(const App& app) {
    const LevelViews& v = app.level_views;
    if (v.hover_x < 0)
        return "Level";
    return "Level (" + std::to_string(v.hover_x) + "," + std::to_string(v.hover_y) + "): tile " +
           std::to_string(app.s.levels.level().at(v.hover_x, v.hover_y));
}

// The level's tile under a pixel of the level canvas, or false when none is there.
bool level_tile_at(const App& app, int px, int py, int& tx, int& ty) {
    const LevelViews& v = app.level_views;
    if (px < 0 || py < 0)
        return false;
    const int column = cell_of(px), row = cell_of(py);
    if (column >= v.view_cols || row >= v.view_rows)
        return false;
    const int x = v.scroll_x + column, y = v.scroll_y + row;
    if (x < 0 || y < 0 || x >= level_chars_wide(app) || y >= level_chars_high(app))
        return false;
    tx = x / app.s.levels.tiles().width();
    ty = y / app.s.levels.tiles().height();
    return true;
}

void add_history_shortcuts(Toolkit& tk, int window) {
    if (!tk.menu_exists(kMenuBar))
        return;
    tk.add_shortcut(window, kComboUndo, id(MenuId::Undo));
    tk.add_shortcut(window, kComboRedo, id(MenuId::Redo));
    tk.add_shortcut(window, kComboRedoShifted, id(MenuId::Redo));
}

} // namespace

namespace level_windows {

void take_machine(CharMap& view, const CharMap& map, int cols, int rows) {
    view.cols = cols;
    view.rows = rows;
    view.look = map.look;
}

TileCell empty_cell(const App& app) {
    return {blank_code(*app.s.charset), blank_attribute(app.s.map->look.machine)};
}

void put(CharMap& view, int column, int row, TileCell cell) {
    view.at(column, row) = cell.code;
    view.attr(column, row) = cell.attr;
}

void set_bar(Toolkit& tk, int bar, int maximum, int page, int position) {
    tk.set_track_bar_range(bar, 0, maximum, page);
    tk.set_control_state(bar, position);
}

TileCell painted(const App& app, TileCell cell) {
    const CharMap& map = *app.s.map;
    const PaintMode mode =
        map.look.machine == MapMachine::Mono ? PaintMode::CodesOnly : app.s.paint_mode;
    if (map.look.machine == MapMachine::Atari) {
        cell.code = static_cast<uint8_t>(
            atari_painted_code(cell.code, app.s.current_char, mode, app.s.pen_marker));
        return cell;
    }
    if (mode != PaintMode::ColoursOnly)
        cell.code = app.s.current_char;
    if (mode != PaintMode::CodesOnly)
        cell.attr = compose_attribute(map, app.s.pen_colour, app.s.paper_colour,
                                      app.s.pen_marker && marker_name(map) != nullptr);
    return cell;
}

bool open_level_window(App& app, int window, const char* title, int width, int height) {
    Toolkit& tk = app.tk;
    const int x = tk.window_left(kMainWindow) + kWindowOffset * (window == kLevelWindow ? 1 : 2);
    const int y = tk.window_top(kMainWindow) + kWindowOffset;
    if (!tk.open_window(window, x, y, width, height, title, kWindowFlags)) {
        tk.message_box("fontarel", std::string(title) + " window not available");
        return false;
    }
    allocate_cells(app.level_views);
    add_history_shortcuts(tk, window);
    return true;
}

} // namespace level_windows


namespace {

void present_level(App& app) {
    Toolkit& tk = app.tk;
    LevelViews& v = app.level_views;
    const AppState& s = app.s;
    if (!v.level_open || !v.level_shown)
        return;
    if (v.view_cols != s.map->cols || v.view_rows != s.map->rows)
        fit_level_window(app);
    v.scroll_x = std::clamp(v.scroll_x, 0, scroll_max_x(app));
    v.scroll_y = std::clamp(v.scroll_y, 0, scroll_max_y(app));
    set_bar(tk, kLevelScrollX, scroll_max_x(app), v.view_cols, v.scroll_x);
    set_bar(tk, kLevelScrollY, scroll_max_y(app), v.view_rows, v.scroll_y);
    if (v.hover_x >= 0 && !s.levels.level().contains(v.hover_x, v.hover_y))
        v.hover_x = v.hover_y = -1;

    // Only the characters in view are looked up: the cost follows the window.
    CharMap& view = *v.level_cells;
    take_machine(view, *s.map, v.view_cols, v.view_rows);
    const TileSet& tiles = s.levels.tiles();
    const Level& level = s.levels.level();
    const int wide = level_chars_wide(app), high = level_chars_high(app);
    const TileCell empty = empty_cell(app);
    for (int r = 0; r < v.view_rows; ++r) {
        const int y = v.scroll_y + r;
        for (int c = 0; c < v.view_cols; ++c) {
            const int x = v.scroll_x + c;
            put(view, c, r, x < wide && y < high ? level_char(tiles, level, x, y) : empty);
        }
    }
    CellRect hovered;
    if (v.hover_x >= 0)
        hovered = {v.hover_x * tiles.width() - v.scroll_x, v.hover_y * tiles.height() - v.scroll_y,
                   tiles.width(), tiles.height()};
    const Raster* picture = tk.canvas_picture(kLevelCanvas);
    if (picture == nullptr || v.level_picture.up_to_date(*picture, view, *s.charset, s.color_bit0,
                                                         s.color_bit1, false, {}, hovered))
        return;
    if (!tk.begin_drawing(tk.canvas_target(kLevelCanvas)))
        return;
    v.level_picture.render(*tk.drawing_raster(), view, *s.charset, s.color_bit0, s.color_bit1,
                           false, {}, hovered);
    tk.end_drawing();
    tk.set_window_title(kLevelWindow, level_title(app));
}

} // namespace

void show_level_window(App& app) {
    LevelViews& v = app.level_views;
    if (!v.level_open) {
        const int w = kCellPixels * app.s.map->cols, h = kCellPixels * app.s.map->rows;
        if (!open_level_window(app, kLevelWindow, "Level", w + kBarPixels, h + kBarPixels))
            return;
        Toolkit& tk = app.tk;
        tk.create_canvas(kLevelCanvas, 0, 0, w, h, kCanvasFocusable);
        tk.create_track_bar(kLevelScrollX, 0, h, w, kBarPixels, 0, 0, kTrackBarScroll);
        tk.create_track_bar(kLevelScrollY, w, 0, kBarPixels, h, 0, 0, kTrackBarScroll);
        v.view_cols = app.s.map->cols;
        v.view_rows = app.s.map->rows;
        v.level_open = true;
    } else {
        app.tk.set_window_hidden(kLevelWindow, 0);
    }
    v.level_shown = true;
}

void hide_level_window(App& app, int window) {
    app.tk.set_window_hidden(window, 1);
    (window == kLevelWindow ? app.level_views.level_shown : app.level_views.tiles_shown) = false;
}

namespace {

// The wheel, the arrow keys (a tile at a time), Page Up and Page Down (a window's height), Home and
// End (the top-left and the bottom-right corner) scroll the Level window, kept in range at once:
// the next event may come before the window is drawn again. True when the event was one of them.
bool scroll_level(App& app, const Event& event) {
    LevelViews& v = app.level_views;
    const TileSet& tiles = app.s.levels.tiles();
    if (event.kind == kKindWheel) {
        int& scroll = (event.modifiers & kModShift) ? v.scroll_x : v.scroll_y;
        scroll -= kWheelCharacters * event.wheel;
    } else if (event.kind != kKindKeyDown) {
        return false;
    } else {
        switch (event.key) {
        case kKeyRight:
            v.scroll_x += tiles.width();
            break;
        case kKeyLeft:
            v.scroll_x -= tiles.width();
            break;
        case kKeyDown:
            v.scroll_y += tiles.height();
            break;
        case kKeyUp:
            v.scroll_y -= tiles.height();
            break;
        case kKeyPageDown:
            v.scroll_y += v.view_rows;
            break;
        case kKeyPageUp:
            v.scroll_y -= v.view_rows;
            break;
        case kKeyHome:
            v.scroll_x = v.scroll_y = 0;
            break;
        case kKeyEnd:
            v.scroll_x = scroll_max_x(app);
            v.scroll_y = scroll_max_y(app);
            break;
        default:
            return false;
        }
    }
    v.scroll_x = std::clamp(v.scroll_x, 0, scroll_max_x(app));
    v.scroll_y = std::clamp(v.scroll_y, 0, scroll_max_y(app));
    return true;
}

} // namespace

void level_canvas_event(App& app, const Event& event) {
    LevelViews& v = app.level_views;
    const int kind = event.kind;
    const bool hovering = v.hover_x >= 0;
    // Scrolled first, so that the tile under the pointer (and the title) is the one now there.
    const bool scrolled = scroll_level(app, event);
    int tx = -1, ty = -1;
    const bool on_level = level_tile_at(app, event.x, event.y, tx, ty);
    if (scrolled && (kind == kKindWheel || hovering)) {
        v.hover_x = on_level ? tx : -1;
        v.hover_y = on_level ? ty : -1;
    }
    if (kind == kKindMouseMove || kind == kKindLeftDown || kind == kKindRightDown) {
        v.hover_x = on_level ? tx : -1;
        v.hover_y = on_level ? ty : -1;
        if (on_level) {
            v.last_x = tx;
            v.last_y = ty;
        }
    }
    if (kind == kKindMouseLeave)
        v.hover_x = v.hover_y = -1;
    const bool left_held = (event.buttons & kButtonLeft) != 0;
    if (on_level && (kind == kKindLeftDown || (kind == kKindMouseMove && left_held)))
        app.s.levels.set_level_tile(tx, ty, app.s.current_tile);
    if (on_level && kind == kKindRightDown)
        app.s.current_tile = app.s.levels.level().at(tx, ty);
    app.tk.set_window_title(kLevelWindow, level_title(app));
}

void level_scroll_event(App& app, const Event& event) {
    LevelViews& v = app.level_views;
    (event.source == kLevelScrollX ? v.scroll_x : v.scroll_y) = app.tk.control_state(event.source);
    v.scroll_x = std::clamp(v.scroll_x, 0, scroll_max_x(app));
    v.scroll_y = std::clamp(v.scroll_y, 0, scroll_max_y(app));
    v.hover_x = v.hover_y = -1; // the pointer is on the bar, not over a tile
}

void present_level_views(App& app) {
    AppState& s = app.s;
    s.current_tile = std::clamp(s.current_tile, 0, s.levels.tiles().count() - 1);
    present_level(app);
    present_tiles(app);
}

} // namespace fontarel
