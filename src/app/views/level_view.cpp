#include "app/views/level_view.h"

#include <algorithm>
#include <string>

#include "app/commands/colour_commands.h"
#include "app/ids.h"
#include "model/map_colours.h"
#include "render/geometry.h"

namespace fontarel {

namespace {

constexpr int kWindowFlags = kWindowTitleBar | kWindowSystemMenu | kWindowMinimiseButton;
constexpr int kBarPixels = 16;      // the width of a scroll bar
constexpr int kWindowOffset = 80;   // the level windows open this far right of and below the main
constexpr int kWheelCharacters = 3; // characters one wheel step scrolls
// The Tiles window's view, in characters.
constexpr int kTilesViewCols = 40;
constexpr int kTilesViewRows = 25;

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

// A composed view takes the map's look.
void take_machine(CharMap& view, const CharMap& map, int cols, int rows) {
    view.cols = cols;
    view.rows = rows;
    view.look = map.look;
}

// A cell outside the level or the tile set: a blank glyph in the machine's blank colours.
TileCell empty_cell(const App& app) {
    return {blank_code(*app.s.charset), blank_attribute(app.s.map->look.machine)};
}

void put(CharMap& view, int column, int row, TileCell cell) {
    view.at(column, row) = cell.code;
    view.attr(column, row) = cell.attr;
}

int scroll_max_x(const App& app) {
    return std::max(0, level_chars_wide(app) - app.level_views.view_cols);
}
int scroll_max_y(const App& app) {
    return std::max(0, level_chars_high(app) - app.level_views.view_rows);
}

// Tile rows of the set, and how many the Tiles window shows at once.
int tile_rows(const App& app) {
    const int per_row = tiles_per_row(app);
    return (app.s.levels.tiles().count() + per_row - 1) / per_row;
}
int tile_rows_in_view(const App& app) {
    return std::max(1, kTilesViewRows / app.s.levels.tiles().height());
}
int tiles_scroll_max(const App& app) {
    return std::max(0, tile_rows(app) - tile_rows_in_view(app));
}

void set_bar(Toolkit& tk, int bar, int maximum, int page, int position) {
    tk.set_track_bar_range(bar, 0, maximum, page);
    tk.set_control_state(bar, position);
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

// What Ctrl and the left button write into a tile cell: the current glyph and the pen's colour,
// as painting the map writes them in the paint mode.
TileCell painted(const App& app, TileCell cell) {
    const CharMap& map = *app.s.map;
    const PaintMode mode =
        map.look.machine == MapMachine::Mono ? PaintMode::CodesOnly : app.s.paint_mode;
    if (mode != PaintMode::ColoursOnly)
        cell.code = app.s.current_char;
    if (mode != PaintMode::CodesOnly)
        cell.attr = compose_attribute(map, app.s.pen_colour, app.s.paper_colour,
                                      app.s.pen_marker && marker_name(map) != nullptr);
    return cell;
}

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

// "Tiles", with the tile under the pointer ("Tiles: tile 7") and the current tile's name and tag
// when it has either (" - current tile 3 "water", tag 2").
std::string tiles_title(const App& app) {
    const LevelViews& v = app.level_views;
    std::string title = "Tiles";
    if (const int t = tile_at_view_cell(app, v.tiles_hover.column, v.tiles_hover.row); t >= 0)
        title += ": tile " + std::to_string(t);
    const Tile& current = app.s.levels.tiles().tile(app.s.current_tile);
    if (current.tag != 0 || !current.name.empty())
        title += " - current tile " + std::to_string(app.s.current_tile) +
                 (current.name.empty() ? "" : " \"" + current.name + "\"") + ", tag " +
                 std::to_string(current.tag);
    return title;
}

void present_tiles(App& app) {
    Toolkit& tk = app.tk;
    LevelViews& v = app.level_views;
    const AppState& s = app.s;
    if (!v.tiles_open || !v.tiles_shown)
        return;
    v.tiles_scroll = std::clamp(v.tiles_scroll, 0, tiles_scroll_max(app));
    set_bar(tk, kTilesScroll, tiles_scroll_max(app), tile_rows_in_view(app), v.tiles_scroll);
    CharMap& view = *v.tile_cells;
    take_machine(view, *s.map, kTilesViewCols, kTilesViewRows);
    const TileSet& tiles = s.levels.tiles();
    const TileCell empty = empty_cell(app);
    for (int r = 0; r < kTilesViewRows; ++r)
        for (int c = 0; c < kTilesViewCols; ++c) {
            const int t = tile_at_view_cell(app, c, r);
            put(view, c, r, t < 0 ? empty : tiles.cell(t, c % tiles.width(), r % tiles.height()));
        }
    // The current tile framed, where it is in view.
    CellRect current;
    const int per_row = tiles_per_row(app);
    const int row_of_current = s.current_tile / per_row - v.tiles_scroll;
    if (row_of_current >= 0 && row_of_current < tile_rows_in_view(app))
        current = {s.current_tile % per_row * tiles.width(), row_of_current * tiles.height(),
                   tiles.width(), tiles.height()};
    const MapCell hover = tile_at_view_cell(app, v.tiles_hover.column, v.tiles_hover.row) >= 0
                              ? v.tiles_hover
                              : MapCell{};
    tk.set_window_title(kTilesWindow, tiles_title(app));
    const Raster* picture = tk.canvas_picture(kTilesCanvas);
    if (picture == nullptr || v.tiles_picture.up_to_date(*picture, view, *s.charset, s.color_bit0,
                                                         s.color_bit1, false, hover, current))
        return;
    if (!tk.begin_drawing(tk.canvas_target(kTilesCanvas)))
        return;
    v.tiles_picture.render(*tk.drawing_raster(), view, *s.charset, s.color_bit0, s.color_bit1,
                           false, hover, current);
    tk.end_drawing();
}

void add_history_shortcuts(Toolkit& tk, int window) {
    if (!tk.menu_exists(kMenuBar))
        return;
    tk.add_shortcut(window, kComboUndo, id(MenuId::Undo));
    tk.add_shortcut(window, kComboRedo, id(MenuId::Redo));
    tk.add_shortcut(window, kComboRedoShifted, id(MenuId::Redo));
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

} // namespace

int tiles_per_row(const App& app) {
    return std::max(1, kTilesViewCols / app.s.levels.tiles().width());
}

int tile_at_view_cell(const App& app, int column, int row) {
    const TileSet& tiles = app.s.levels.tiles();
    if (column < 0 || row < 0 || row >= kTilesViewRows)
        return -1;
    const int per_row = tiles_per_row(app);
    const int in_row = column / tiles.width();
    const int tile_row = row / tiles.height();
    if (in_row >= per_row || tile_row >= tile_rows_in_view(app))
        return -1;
    const int t = (app.level_views.tiles_scroll + tile_row) * per_row + in_row;
    return t < tiles.count() ? t : -1;
}

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

void show_tiles_window(App& app) {
    LevelViews& v = app.level_views;
    if (!v.tiles_open) {
        const int w = kCellPixels * kTilesViewCols, h = kCellPixels * kTilesViewRows;
        if (!open_level_window(app, kTilesWindow, "Tiles", w + kBarPixels, h))
            return;
        Toolkit& tk = app.tk;
        tk.create_canvas(kTilesCanvas, 0, 0, w, h, kCanvasFocusable);
        tk.create_track_bar(kTilesScroll, w, 0, kBarPixels, h, 0, 0, kTrackBarScroll);
        v.tiles_open = true;
    } else {
        app.tk.set_window_hidden(kTilesWindow, 0);
    }
    v.tiles_shown = true;
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

void tiles_canvas_event(App& app, const Event& event) {
    LevelViews& v = app.level_views;
    const int kind = event.kind;
    const int column = event.x < 0 ? -1 : cell_of(event.x);
    const int row = event.y < 0 ? -1 : cell_of(event.y);
    const int t = tile_at_view_cell(app, column, row);
    if (kind == kKindMouseMove || kind == kKindLeftDown)
        v.tiles_hover = t >= 0 ? MapCell{column, row} : MapCell{};
    if (kind == kKindMouseLeave)
        v.tiles_hover = {};
    const bool left_held = (event.buttons & kButtonLeft) != 0;
    const bool ctrl = (event.modifiers & kModCtrl) != 0;
    if (t >= 0 && (kind == kKindLeftDown || (kind == kKindMouseMove && left_held))) {
        if (ctrl) {
            const TileSet& tiles = app.s.levels.tiles();
            const int x = column % tiles.width(), y = row % tiles.height();
            app.s.levels.set_tile_cell(t, x, y, painted(app, tiles.cell(t, x, y)));
        }
        app.s.current_tile = t;
    }
    if (kind == kKindWheel)
        v.tiles_scroll = std::clamp(v.tiles_scroll - event.wheel, 0, tiles_scroll_max(app));
    app.tk.set_window_title(kTilesWindow, tiles_title(app));
}

void tiles_scroll_event(App& app, const Event& event) {
    app.level_views.tiles_scroll =
        std::clamp(app.tk.control_state(event.source), 0, tiles_scroll_max(app));
    app.level_views.tiles_hover = {};
}

void present_level_views(App& app) {
    AppState& s = app.s;
    s.current_tile = std::clamp(s.current_tile, 0, s.levels.tiles().count() - 1);
    present_level(app);
    present_tiles(app);
}

} // namespace fontarel
