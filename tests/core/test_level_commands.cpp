#include <gtest/gtest.h>

#include "app/commands/history_commands.h"
#include "app/views/level_view.h"
#include "app/views/present.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

class LevelTest : public ProgramTest {
  protected:
    void canvas_with(int control, int kind, int x, int y, int buttons, int modifiers,
                     int wheel = 0) {
        tk.inject_canvas(control, kind, x, y, buttons, 0, modifiers, wheel);
        handle();
    }
    void new_level(const std::string& sizes) {
        tk.text_answers.push_back(sizes);
        menu(MenuId::NewLevel);
    }
    const Level& level() const { return app.s.levels.level(); }
    const TileSet& tiles() const { return app.s.levels.tiles(); }
    std::string level_title() const { return tk.window(kLevelWindow)->title; }
};

// A new level, a tile drawn in the Tiles window, stamped with one stroke, picked back, undone.
TEST_F(LevelTest, TilesDrawnStampedPickedAndUndone) {
    new_level("2x2, 50x40");
    ASSERT_TRUE(app.level_views.level_shown);
    // The close box hides the window; "Show level" shows it again.
    tk.inject_close(kLevelWindow);
    handle();
    EXPECT_FALSE(app.level_views.level_shown);
    EXPECT_FALSE(tk.window(kLevelWindow)->visible);
    menu(MenuId::ShowLevel);
    ASSERT_TRUE(tk.window(kLevelWindow)->visible);
    EXPECT_EQ(level().cols(), 50);
    EXPECT_EQ(tiles().width(), 2);
    EXPECT_EQ(tiles().count(), 1);
    // The picture is the window's (the map's size), not the level's.
    EXPECT_EQ(picture(kLevelCanvas).width(), 16 * app.s.map->cols);

    menu(MenuId::ShowTiles);
    // The two windows open beside the main window, one step and two steps down and right of it;
    // the Tiles window's close box hides it too, and "Show tiles" shows it again.
    const auto* main_window = tk.window(kMainWindow);
    EXPECT_EQ(std::pair(tk.window(kLevelWindow)->x, tk.window(kTilesWindow)->x),
              std::pair(main_window->x + 80, main_window->x + 160));
    EXPECT_EQ(tk.window(kTilesWindow)->y, main_window->y + 80);
    for (const int window : {kLevelWindow, kTilesWindow}) // undo and redo work in both
        EXPECT_EQ(std::tuple(tk.shortcut(window, kComboUndo), tk.shortcut(window, kComboRedo),
                             tk.shortcut(window, kComboRedoShifted)),
                  std::tuple(std::optional(id(MenuId::Undo)), std::optional(id(MenuId::Redo)),
                             std::optional(id(MenuId::Redo))));
    // The scroll bars stand beside their canvases, and no drawing is left open.
    const auto place = [&](int control) {
        const auto* c = tk.control(control);
        return std::tuple(c->x, c->y, c->width, c->height);
    };
    EXPECT_EQ(place(kTilesScroll), std::tuple(16 * 40, 0, 16, 16 * 25));
    const int rows = app.s.map->rows; // the Level window is the map's size
    EXPECT_EQ(place(kLevelScrollX), std::tuple(0, 16 * rows, 16 * 40, 16));
    EXPECT_EQ(place(kLevelScrollY), std::tuple(16 * 40, 0, 16, 16 * rows));
    EXPECT_EQ(tk.drawing_raster(), nullptr);
    // While hidden the Tiles window is not drawn: the cost follows what is shown.
    tk.inject_close(kTilesWindow);
    handle();
    EXPECT_FALSE(tk.window(kTilesWindow)->visible);
    const Raster hidden = picture(kTilesCanvas);
    const Colour paper = app.s.color_bit0;
    app.s.color_bit0 = rgb(1, 2, 3);
    present(app);
    EXPECT_TRUE(picture(kTilesCanvas) == hidden) << "a hidden window is not drawn";
    menu(MenuId::ShowTiles);
    ASSERT_TRUE(tk.window(kTilesWindow)->visible);
    EXPECT_FALSE(picture(kTilesCanvas) == hidden) << "and is drawn once shown";
    app.s.color_bit0 = paper;
    menu(MenuId::NewTile);
    ASSERT_EQ(tiles().count(), 2);
    EXPECT_EQ(app.s.current_tile, 1);
    // Twenty 2-wide tiles a row: tile 1 is characters 2-3. Ctrl writes the glyph; a plain press
    // only picks.
    app.store().glyph(65)[0] = 0xFF;
    app.s.current_char = 65;
    canvas_with(kTilesCanvas, kKindLeftDown, 16 * 3 + 1, 16 + 1, kButtonLeft, kModCtrl);
    canvas_with(kTilesCanvas, kKindLeftUp, 16 * 3 + 1, 16 + 1, 0, kModCtrl);
    EXPECT_EQ(tiles().cell(1, 1, 1).code, 65);
    EXPECT_EQ(tiles().cell(1, 0, 0).code, tiles().cell(0, 0, 0).code) << "one cell only";
    canvas_with(kTilesCanvas, kKindLeftDown, 0, 0, kButtonLeft, 0); // the first pixel
    canvas_with(kTilesCanvas, kKindLeftUp, 0, 0, 0, 0);
    EXPECT_EQ(app.s.current_tile, 0);
    EXPECT_EQ(tiles().cell(0, 0, 0).code, 32) << "a blank tile, untouched by a plain press";
    canvas_with(kTilesCanvas, kKindLeftDown, 16 * 2 + 1, 1, kButtonLeft, 0);
    ASSERT_EQ(app.s.current_tile, 1);

    // A stroke over three tiles of the level is one step.
    const size_t steps = app.s.history.undo_count();
    canvas_with(kLevelCanvas, kKindLeftDown, 32 + 1, 1, kButtonLeft, 0);
    canvas_with(kLevelCanvas, kKindMouseMove, 64 + 1, 1, kButtonLeft, 0);
    canvas_with(kLevelCanvas, kKindMouseMove, 64 + 1, 32 + 1, kButtonLeft, 0);
    canvas_with(kLevelCanvas, kKindLeftUp, 64 + 1, 32 + 1, 0, 0);
    EXPECT_EQ(level().at(1, 0), 1);
    EXPECT_EQ(level().at(2, 0), 1);
    EXPECT_EQ(level().at(2, 1), 1);
    EXPECT_EQ(level().at(3, 0), 0);
    EXPECT_EQ(level_title(), "Level (2,1): tile 1");
    EXPECT_EQ(app.s.history.undo_count(), steps + 1);
    // The stamped glyph shows where the tile went: pixel row 0 of character (3, 3) is set.
    EXPECT_EQ(picture(kLevelCanvas).pixel(16 * 5 + 2, 16 * 3), app.s.color_bit1);
    EXPECT_EQ(picture(kLevelCanvas).pixel(16 * 7 + 2, 16 * 3), app.s.color_bit0);

    canvas_with(kLevelCanvas, kKindMouseMove, 1, 1, 0, 0);
    EXPECT_EQ(level_title(), "Level (0,0): tile 0");
    // The right button picks the tile under the pointer.
    menu(MenuId::NewTile);
    ASSERT_EQ(app.s.current_tile, 2);
    canvas_with(kLevelCanvas, kKindRightDown, 32 + 1, 1, kButtonRight, 0);
    EXPECT_EQ(app.s.current_tile, 1);

    menu(MenuId::Undo); // the new tile
    menu(MenuId::Undo); // the stroke
    EXPECT_EQ(level().at(1, 0), 0);
    EXPECT_EQ(level().at(2, 1), 0);
    EXPECT_EQ(tiles().count(), 2);
    menu(MenuId::Redo);
    EXPECT_EQ(level().at(2, 1), 1);
}

TEST_F(LevelTest, RowsAndColumnsAtTheHoveredTileAndScrolling) {
    new_level("1x1, 100x80");
    menu(MenuId::LevelInsertColumn);
    EXPECT_EQ(level().cols(), 100) << "nothing hovered yet: nothing to act on";
    menu(MenuId::NewTile);
    canvas_with(kLevelCanvas, kKindLeftDown, 16 * 5 + 1, 16 * 2 + 1, kButtonLeft, 0);
    canvas_with(kLevelCanvas, kKindLeftUp, 16 * 5 + 1, 16 * 2 + 1, 0, 0);
    ASSERT_EQ(level().at(5, 2), 1);
    canvas_with(kLevelCanvas, kKindMouseLeave, 0, 0, 0, 0);
    menu(MenuId::LevelInsertColumn);
    EXPECT_EQ(level().cols(), 101);
    EXPECT_EQ(level().at(6, 2), 1);
    menu(MenuId::LevelDeleteRow);
    EXPECT_EQ(level().rows(), 79);
    EXPECT_EQ(level().at(6, 2), 0);
    menu(MenuId::Undo);
    EXPECT_EQ(level().at(6, 2), 1);
    // At the first column, a row inserted at the tile's row (3), not its column.
    canvas_with(kLevelCanvas, kKindMouseMove, 1, 16 * 3 + 1, 0, 0);
    menu(MenuId::LevelInsertRow);
    EXPECT_EQ(level().rows(), 81);
    EXPECT_EQ(level().at(6, 2), 1);
    menu(MenuId::Undo);

    // The wheel scrolls down, with Shift sideways, within the level; the bars follow.
    canvas_with(kLevelCanvas, kKindWheel, 10, 10, 0, 0, -2);
    canvas_with(kLevelCanvas, kKindWheel, 10, 10, 0, kModShift, -1);
    EXPECT_EQ(app.level_views.scroll_y, 6);
    EXPECT_EQ(app.level_views.scroll_x, 3);
    EXPECT_EQ(tk.control(kLevelScrollY)->state, 6);
    EXPECT_EQ(tk.control(kLevelScrollX)->maximum, 101 - app.s.map->cols);
    canvas_with(kLevelCanvas, kKindWheel, 10, 10, 0, 0, 100);
    EXPECT_EQ(app.level_views.scroll_y, 0);
    // A wheel past the edge and a press queued behind it, handled before the window is drawn
    // again: the press lands on the level's first column, not left of it.
    const int left = app.level_views.scroll_x;
    tk.inject_canvas(kLevelCanvas, kKindWheel, 10, 10, 0, 0, kModShift, 100);
    tk.inject_canvas(kLevelCanvas, kKindRightDown, 1, 16 * 2 + 1, kButtonRight);
    handle(2);
    EXPECT_EQ(app.s.current_tile, 0);
    EXPECT_EQ(app.level_views.last_x, 0);
    app.level_views.scroll_x = left;
    key(kLevelCanvas, kKeyDown); // a tile at a time
    key(kLevelCanvas, kKeyRight);
    key(kLevelCanvas, kKeyRight);
    key(kLevelCanvas, kKeyLeft);
    EXPECT_EQ(app.level_views.scroll_y, 1);
    EXPECT_EQ(app.level_views.scroll_x, 4);
    key(kLevelCanvas, kKeyUp);
    tk.inject_control(kLevelScrollX, 9);
    handle();
    EXPECT_EQ(app.level_views.scroll_x, 9);
    // Hovering now names the tile under the pointer in level coordinates.
    canvas_with(kLevelCanvas, kKindMouseMove, 1, 16 * 2 + 1, 0, 0);
    EXPECT_EQ(level_title(), "Level (9,2): tile 0");
}

// The Level window's keys scroll as the map window's do, and its title names the tile under the
// pointer after every scroll; a level at its widest (highest) refuses an insert and keeps its edge.
TEST_F(LevelTest, KeysScrollTitlesFollowAndAFullLevelRefusesInserts) {
    new_level("2x3, 300x200");
    const int max_x = 2 * 300 - app.s.map->cols, max_y = 3 * 200 - app.s.map->rows;
    const struct {
        int key, x, y;
    } keys[] = {
        {kKeyEnd, max_x, max_y}, {kKeyPageUp, max_x, max_y - app.s.map->rows},
        {kKeyHome, 0, 0},        {kKeyPageDown, 0, app.s.map->rows},
        {kKeyPageUp, 0, 0},      {kKeyPageUp, 0, 0},
    };
    for (const auto& k : keys) {
        key(kLevelCanvas, k.key);
        EXPECT_EQ(app.level_views.scroll_x * 10000 + app.level_views.scroll_y, k.x * 10000 + k.y)
            << k.key;
    }
    Level marked = level();
    marked.set(0, 2, 7); // characters 6-8 down
    app.s.levels.replace_level(marked);
    canvas_with(kLevelCanvas, kKindMouseLeave, 0, 0, 0, 0);
    key(kLevelCanvas, kKeyPageUp); // no tile hovered: a key names none
    EXPECT_EQ(level_title(), "Level");
    canvas_with(kLevelCanvas, kKindWheel, 1, 1, 0, 0, -2); // six characters down: tile row 2
    EXPECT_EQ(level_title(), "Level (0,2): tile 7") << "the wheel comes with the pointer";
    canvas_with(kLevelCanvas, kKindWheel, 1, 1, 0, 0, 2);
    EXPECT_EQ(level_title(), "Level (0,0): tile 0");
    canvas_with(kLevelCanvas, kKindWheel, 1, 1, 0, 0, -2);
    key(kLevelCanvas, kKeyUp); // a tile up
    EXPECT_EQ(level_title(), "Level (0,1): tile 0");

    for (const bool column : {true, false}) {
        const Level full(column ? kMaxLevelSide : 3, column ? 3 : kMaxLevelSide, 5);
        app.s.levels.replace_level(full);
        app.level_views.last_x = 1;
        app.level_views.last_y = 0;
        menu(column ? MenuId::LevelDeleteColumn : MenuId::LevelDeleteRow); // a delete goes on
        EXPECT_EQ(column ? level().cols() : level().rows(), kMaxLevelSide - 1);
        app.s.levels.replace_level(full);
        menu(column ? MenuId::LevelInsertColumn : MenuId::LevelInsertRow);
        EXPECT_TRUE(level() == full);
        ASSERT_FALSE(tk.messages().empty());
        EXPECT_EQ(tk.messages().back().text,
                  column ? "The level is 4096 tiles wide: delete a column first"
                         : "The level is 4096 tiles high: delete a row first");
        menu(column ? MenuId::LevelInsertRow : MenuId::LevelInsertColumn);
        EXPECT_EQ(column ? level().rows() : level().cols(), 4) << "the other way it grows";
        // Inserted and deleted at the hovered tile's column (1) or row (0), not the other one.
        Level marked = level();
        marked.set(1, 0, 9);
        app.s.levels.replace_level(marked);
        menu(column ? MenuId::LevelDeleteRow : MenuId::LevelDeleteColumn);
        EXPECT_EQ(level().at(column ? 1 : 0, 0), 5) << column;
    }
}

// New level... of the tile size in use keeps the tiles and cuts or grows the level; another tile
// size asks before the tiles go, and No changes nothing.
TEST_F(LevelTest, NewLevelKeepsTheTilesOfItsSizeAndAsksBeforeReplacingThem) {
    new_level("2x2, 4x3");
    menu(MenuId::NewTile);
    app.s.levels.set_tile_cell(1, 1, 1, {65, 3});
    app.s.levels.set_level_tile(3, 2, 1);
    new_level("2x2, 5x2");
    EXPECT_EQ(tiles().count(), 2);
    EXPECT_EQ(tiles().cell(1, 1, 1).code, 65);
    EXPECT_EQ(level().cols() * 10 + level().rows(), 52);
    EXPECT_EQ(level().at(3, 1), 0);
    new_level("2x2, 4x3");
    EXPECT_EQ(level().at(3, 2), 0) << "cells past the old size are tile 0";
    app.s.levels.set_level_tile(3, 2, 1);
    const Level before = level();
    new_level("2x3, 8x8"); // one side differs: another tile size; no answer scripted is No
    ASSERT_EQ(tk.questions.size(), 1u);
    EXPECT_TRUE(level() == before && tiles().height() == 2);
    tk.yes_no_answers = {false};
    new_level("4x4, 8x8");
    ASSERT_EQ(tk.questions.size(), 2u);
    EXPECT_TRUE(level() == before && tiles().count() == 2 && tiles().width() == 2);
    tk.yes_no_answers = {true};
    new_level("4x4, 8x8");
    EXPECT_EQ(tiles().count() * 100 + tiles().width() * 10 + level().cols(), 148);
    menu(MenuId::Undo);
    EXPECT_TRUE(level() == before && tiles().cell(1, 1, 1).code == 65);
    // A blank set of one tile goes without a question.
    tk.yes_no_answers = {true};
    new_level("3x3, 2x2");
    new_level("1x1, 2x2");
    EXPECT_EQ(tk.questions.size(), 4u);
    EXPECT_EQ(tiles().width(), 1);
}

TEST_F(LevelTest, TilesFromTheMapAndBackGiveTheSameMap) {
    const CharMap before = *app.s.map;
    menu(MenuId::MakeTilesFromMap);
    ASSERT_FALSE(tk.messages().empty());
    const int cells = level().cols() * level().rows();
    EXPECT_EQ(tk.messages().back().text,
              std::to_string(cells) + " cells in " + std::to_string(tiles().count()) + " tiles");
    app.s.current_char = 0;
    menu(MenuId::FillMap);
    menu(MenuId::LevelScreenToMap);
    for (int r = 0; r < before.rows; ++r)
        for (int c = 0; c < before.cols; ++c)
            ASSERT_TRUE(app.s.map->at(c, r) == before.at(c, r) &&
                        app.s.map->attr(c, r) == before.attr(c, r))
                << c << "," << r;
    menu(MenuId::Undo);
    EXPECT_EQ(app.s.map->at(1, 0), 0);

    // Refusals: a bad size, a full set.
    new_level("4x4, 0x1");
    EXPECT_NE(tk.messages().back().text.find("is not a tile size"), std::string::npos);
    menu(MenuId::DeleteUnusedTiles);
    EXPECT_EQ(tk.messages().back().text, "Deleted 0 unused tiles");
}

// Level > Tile name and tag...: one line, the tag then the name, on the current tile; the Tiles
// window's title shows them; a line that does not parse changes nothing; each label one undo step.
TEST_F(LevelTest, TileNamesAndTagsGoToTheCurrentTileAndItsTitleAndAreUndone) {
    new_level("2x2, 8x8");
    menu(MenuId::ShowTiles);
    menu(MenuId::NewTile);
    ASSERT_EQ(app.s.current_tile, 1);
    const struct {
        std::string line;
        bool taken;
        int tag;
        const char* name;
    } rows[] = {
        {"3 deep water", true, 3, "deep water"},
        {"  12 \t", true, 12, ""},
        {"255   \xC3\xBC  ", true, 255, "\xC3\xBC"},
        {"256 lava", false},
        {"lava 3", false},
        {"3lava", false},
        {"7 " + std::string(33, 'n'), false},
        {"9 " + std::string(32, 'n'), true, 9, "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
        {"0", true, 0, ""},
    };
    size_t steps = app.s.history.undo_count();
    const Tile first = tiles().tile(0);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        const Tile before = tiles().tile(1);
        const size_t messages = tk.messages().size();
        tk.text_answers.push_back(row.line);
        menu(MenuId::TileLabel);
        EXPECT_EQ(tk.text_requests.back(),
                  "Tile name and tag|Tile 1: its tag (0-255), then its name:|" +
                      std::to_string(before.tag) + (before.name.empty() ? "" : " " + before.name));
        EXPECT_EQ(tk.messages().size(), messages + (row.taken ? 0 : 1));
        EXPECT_EQ(tiles().tile(1).tag, row.taken ? row.tag : before.tag);
        EXPECT_EQ(tiles().tile(1).name, row.taken ? row.name : before.name);
        EXPECT_TRUE(tiles().tile(0) == first) << "tile 0 untouched";
        const bool changed = tiles().tile(1) != before;
        EXPECT_EQ(app.s.history.undo_count(), steps + (changed ? 1 : 0));
        steps = app.s.history.undo_count();
        if (row.tag == 3)
            EXPECT_EQ(tk.window(kTilesWindow)->title,
                      "Tiles - current tile 1 \"deep water\", tag 3");
        if (row.tag == 12)
            EXPECT_EQ(tk.window(kTilesWindow)->title, "Tiles - current tile 1, tag 12");
    }
    EXPECT_EQ(tk.window(kTilesWindow)->title, "Tiles") << "an unlabelled tile shows none";
    undo_step(app);
    EXPECT_EQ(tiles().tile(1).tag, 9);
    EXPECT_EQ(tiles().tile(1).name, std::string(32, 'n'));
}

// A window the system will not open is said, and the level goes on without it.
TEST_F(LevelTest, WindowsThatCannotOpenAreSaidAndStayClosed) {
    tk.failing_windows = {kLevelWindow, kTilesWindow};
    new_level("2x2, 8x8");
    menu(MenuId::ShowTiles);
    ASSERT_GE(tk.messages().size(), 2u);
    EXPECT_EQ(tk.messages()[tk.messages().size() - 2].text, "Level window not available");
    EXPECT_EQ(tk.messages().back().text, "Tiles window not available");
    EXPECT_FALSE(app.level_views.level_shown || app.level_views.level_open);
    EXPECT_FALSE(app.level_views.tiles_shown || app.level_views.tiles_open);
    EXPECT_EQ(level().cols(), 8);
}

// On an 80 x 50 map the Level window shows 80 x 50 characters: its last column is drawn as its
// first.
TEST_F(LevelTest, TheLevelWindowTakesTheMapsSize) {
    menu(MenuId::MapPc);
    new_level("1x1, 100x60");
    const int blank = tiles().cell(0, 0, 0).code;
    const Raster& shown = picture(kLevelCanvas);
    ASSERT_EQ(shown.width(), 16 * 80);
    // Drawn with the glyph all set, then all clear: the last cell follows the first each time.
    uint32_t before = 0;
    for (const uint8_t row : {0xFF, 0x00}) {
        std::ranges::fill(app.store().glyph(blank), row);
        present(app);
        EXPECT_EQ(shown.pixel(16 * 79 + 8, 16 * 49 + 8), shown.pixel(8, 8));
        EXPECT_NE(shown.pixel(8, 8), before);
        before = shown.pixel(8, 8);
    }
}

} // namespace
} // namespace fontarel
