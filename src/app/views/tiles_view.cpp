// The Tiles window (level_view.h): the tile set, as many tiles a row as fit, scrolled by rows.

#include <algorithm>
#include <string>

#include "app/ids.h"
#include "app/views/level_view.h"
#include "app/views/level_view_parts.h"
#include "render/geometry.h"

namespace fontarel {

using namespace level_windows;

namespace {

// The Tiles window's view, in characters.
constexpr int kTilesViewCols = 40;
constexpr int kTilesViewRows = 25;

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

namespace level_windows {

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

} // namespace level_windows

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

} // namespace fontarel
