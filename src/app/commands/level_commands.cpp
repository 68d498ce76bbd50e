#include "app/commands/level_commands.h"

#include <string>

#include "model/charset_compact.h"

#include "app/ids.h"
#include "app/views/level_view.h"
#include "app/views/map_canvas.h"

namespace fontarel {

namespace {

constexpr const char* kNewLevelStart = "4x4, 64x32";

TileCell blank_tile_cell(const App& app) {
    return {blank_code(*app.s.charset), blank_attribute(app.s.map->look.machine)};
}

// A set of one tile whose cells all hold the same: nothing to lose by replacing it.
bool tiles_are_blank(const TileSet& tiles) {
    if (tiles.count() != 1 || tiles.tile(0).tag != 0 || !tiles.tile(0).name.empty())
        return false;
    const TileCell first = tiles.cell(0, 0, 0);
    for (int y = 0; y < tiles.height(); ++y)
        for (int x = 0; x < tiles.width(); ++x)
            if (tiles.cell(0, x, y) != first)
                return false;
    return true;
}

// The level edit `edit(level, at)` at the last hovered tile's column or row. An insert into a
// level at its largest is refused with one line, changing nothing: no tile is pushed out.
template <typename Edit> void at_last_hovered(App& app, bool column, bool insert, Edit edit) {
    const LevelViews& v = app.level_views;
    if (v.last_x < 0 || v.last_y < 0)
        return;
    if (insert &&
        (column ? app.s.levels.level().cols() : app.s.levels.level().rows()) >= kMaxLevelSide) {
        app.tk.message_box("fontarel", "The level is " + std::to_string(kMaxLevelSide) +
                                           (column ? " tiles wide: delete a column first"
                                                   : " tiles high: delete a row first"));
        return;
    }
    Level level = app.s.levels.level();
    if (edit(level, column ? v.last_x : v.last_y))
        app.s.levels.replace_level(std::move(level));
}

bool add_tile(App& app, const Tile& tile) {
    TileSet tiles = app.s.levels.tiles();
    if (!tiles.append(tile)) {
        app.tk.message_box("fontarel",
                           "The tile set is full: " + std::to_string(kMaxTiles) + " tiles");
        return false;
    }
    app.s.current_tile = tiles.count() - 1;
    app.s.levels.replace_tiles(std::move(tiles));
    return true;
}

} // namespace

void new_level(App& app) {
    Toolkit& tk = app.tk;
    const std::string text =
        tk.ask_text("New level", "Tile size, level size (in tiles):", kNewLevelStart);
    if (text.empty())
        return;
    int tw = 0, th = 0, cols = 0, rows = 0;
    if (!parse_level_size(text, tw, th, cols, rows)) {
        tk.message_box("fontarel", "\"" + text + "\" is not a tile size 1-8 and a level size 1-" +
                                       std::to_string(kMaxLevelSide) + " such as " +
                                       kNewLevelStart);
        return;
    }
    const TileSet& tiles = app.s.levels.tiles();
    if (tw == tiles.width() && th == tiles.height()) {
        // The tiles of this size stay (an imported set is work); only the level is cut or grown.
        app.s.levels.replace_level(resized_level(app.s.levels.level(), cols, rows));
    } else {
        if (!tiles_are_blank(tiles) &&
            !tk.ask_yes_no("New level", "The " + std::to_string(tiles.count()) + " tiles of " +
                                            std::to_string(tiles.width()) + "x" +
                                            std::to_string(tiles.height()) +
                                            " are replaced by one blank tile of " +
                                            std::to_string(tw) + "x" + std::to_string(th) +
                                            ". Go on?"))
            return;
        app.s.levels.replace_tiles(TileSet(tw, th, 1, blank_tile_cell(app)));
        app.s.levels.replace_level(Level(cols, rows));
        app.s.current_tile = 0;
    }
    app.level_views.scroll_x = app.level_views.scroll_y = 0;
    app.level_views.last_x = app.level_views.last_y = -1;
    show_level_window(app);
}

void level_insert_column(App& app) {
    at_last_hovered(app, true, true, insert_level_column);
}
void level_delete_column(App& app) {
    at_last_hovered(app, true, false, delete_level_column);
}
void level_insert_row(App& app) {
    at_last_hovered(app, false, true, insert_level_row);
}
void level_delete_row(App& app) {
    at_last_hovered(app, false, false, delete_level_row);
}

void new_tile(App& app) {
    const TileCell blank = blank_tile_cell(app);
    Tile tile;
    tile.cells.fill(blank);
    add_tile(app, tile);
}

void set_tile_label(App& app) {
    const int t = app.s.current_tile;
    const Tile& tile = app.s.levels.tiles().tile(t);
    const std::string text = app.tk.ask_text(
        "Tile name and tag", "Tile " + std::to_string(t) + ": its tag (0-255), then its name:",
        std::to_string(tile.tag) + (tile.name.empty() ? "" : " " + tile.name));
    if (text.empty())
        return;
    uint8_t tag = 0;
    std::string name;
    if (!parse_tile_label(text, tag, name)) {
        app.tk.message_box("fontarel", "\"" + text +
                                           "\" is not a tag 0-255 and a name of at most " +
                                           std::to_string(kMaxTileName) + " characters");
        return;
    }
    app.s.levels.set_tile_label(t, tag, name);
}

void expand_level_tiles(App& app) {
    TileSet tiles = app.s.levels.tiles();
    if (const std::string why = expand_tiles(app.store(), *app.s.map, tiles); !why.empty()) {
        app.tk.message_box("Expand tiles", why);
        return;
    }
    app.s.levels.replace_tiles(std::move(tiles));
}

void duplicate_tile(App& app) {
    add_tile(app, app.s.levels.tiles().tile(app.s.current_tile));
}

void delete_unused_tiles(App& app) {
    TileSet tiles = app.s.levels.tiles();
    Level level = app.s.levels.level();
    const int removed = fontarel::delete_unused_tiles(tiles, level);
    if (removed > 0) {
        app.s.levels.replace_tiles(std::move(tiles));
        app.s.levels.replace_level(std::move(level));
        app.s.current_tile = 0;
    }
    app.tk.message_box("fontarel", removed == 1
                                       ? std::string("Deleted 1 unused tile")
                                       : "Deleted " + std::to_string(removed) + " unused tiles");
}

void make_tiles_from_map(App& app) {
    TileSet tiles = app.s.levels.tiles();
    Level level = app.s.levels.level();
    const int count = fontarel::make_tiles_from_map(*app.s.map, tiles, level);
    const int cells = level.cols() * level.rows();
    app.s.levels.replace_tiles(std::move(tiles));
    app.s.levels.replace_level(std::move(level));
    app.s.current_tile = 0;
    app.level_views.scroll_x = app.level_views.scroll_y = 0;
    app.level_views.last_x = app.level_views.last_y = -1;
    show_level_window(app);
    app.tk.message_box("fontarel", std::to_string(cells) + " cells in " + std::to_string(count) +
                                       (count == 1 ? " tile" : " tiles"));
}

void level_screen_to_map(App& app) {
    const LevelViews& v = app.level_views;
    const TileSet& tiles = app.s.levels.tiles();
    const int x = v.last_x >= 0 ? v.last_x * tiles.width() : v.scroll_x;
    const int y = v.last_y >= 0 ? v.last_y * tiles.height() : v.scroll_y;
    fontarel::level_screen_to_map(tiles, app.s.levels.level(), x, y, *app.s.map);
    set_map_size(app, app.s.map->cols, app.s.map->rows); // shows the map window
}

} // namespace fontarel
