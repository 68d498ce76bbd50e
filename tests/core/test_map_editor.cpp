// The character map in the running program: size commands and the map window, hover titles,
// painting strokes, fill, the grid toggle, the popup commands and hostile coordinates.

#include <climits>

#include "app/views/map_canvas.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

class MapEditor : public ProgramTest {
  protected:
    std::string map_title() const { return tk.window(kMapWindow)->title; }
    int32_t cell(int c, int r) const { return app.s.map->at(c, r); }
    void hover(int x, int y, int buttons = 0) { canvas(kMapCanvas, kKindMouseMove, x, y, buttons); }
    // Right click on (x, y), the popup answering with `item`, and the chosen command handled.
    void popup(int x, int y, MenuId item) {
        tk.popup_answers.push_back(id(item));
        click(kMapCanvas, x, y, true);
        handle(); // the menu event the popup queued
    }
};

TEST_F(MapEditor, SizeCommandsFitCanvasAndWindowKeepCellsAndShowTheWindow) {
    const HeadlessToolkit::Window* w = tk.window(kMapWindow);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->visible);
    const int left = w->x, top = w->y;
    const auto cells = app.s.map->cells;
    struct Size {
        MenuId item;
        int cols, rows;
    };
    for (Size size :
         {Size{MenuId::MapZx, 32, 24}, Size{MenuId::MapAtari, 40, 24}, Size{MenuId::MapC64, 40, 25},
          Size{MenuId::MapPc, 80, 50}, Size{MenuId::MapUssr, 64, 30}}) {
        SCOPED_TRACE(size.cols * 100 + size.rows);
        tk.inject_close(kMapWindow);
        handle();
        EXPECT_FALSE(tk.window(kMapWindow)->visible);
        menu(size.item);
        EXPECT_TRUE(tk.window(kMapWindow)->visible);
        EXPECT_EQ(app.s.map->cols, size.cols);
        EXPECT_EQ(app.s.map->rows, size.rows);
        EXPECT_EQ(tk.control(kMapCanvas)->width, 16 * size.cols);
        EXPECT_EQ(tk.control(kMapCanvas)->height, 16 * size.rows);
        EXPECT_EQ(tk.window(kMapWindow)->width, 16 * size.cols);
        EXPECT_EQ(tk.window(kMapWindow)->height, 16 * size.rows);
        EXPECT_EQ(tk.window(kMapWindow)->x, left);
        EXPECT_EQ(tk.window(kMapWindow)->y, top);
        EXPECT_EQ(app.s.map->cells, cells);
    }
    // After "PC 80x50", columns 40-79 show their start-up codes 72-111.
    menu(MenuId::MapPc);
    EXPECT_EQ(picture(kMapCanvas).pixel(16 * 65 + 2 * 3, 16 * 7 + 2 * 1 + 1), 0); // 'a'=97 blank
    EXPECT_EQ(cell(79, 49), 111);
}

TEST_F(MapEditor, HoverRetitlesPaintingPaintsAndTheTitleFollowsOnTheNextMove) {
    menu(MenuId::MapZx);
    EXPECT_EQ(map_title(), "Character map");
    hover(3, 3);
    EXPECT_EQ(map_title(), "Character map (0,0):32[20]");
    // The red outline frames the hovered cell over the map.
    EXPECT_EQ(picture(kMapCanvas).pixel(15, 15), 0x0000FF);
    EXPECT_EQ(picture(kMapCanvas).pixel(16, 16), 0);

    app.s.current_char = 255;
    app.store().glyph(255)[0] = 0xFF;
    canvas(kMapCanvas, kKindLeftDown, 5, 5, kButtonLeft);
    EXPECT_EQ(cell(0, 0), 255);
    EXPECT_EQ(map_title(), "Character map (0,0):255[FF]");     // the title follows what it names
    canvas(kMapCanvas, kKindLeftDown, 16 + 5, 5, kButtonLeft); // a press on another cell
    EXPECT_EQ(map_title(), "Character map (1,0):255[FF]");
    canvas(kMapCanvas, kKindLeftUp, 16 + 5, 5);
    EXPECT_NE(picture(kMapCanvas).pixel(15, 15), 0x0000FF); // the repaint removed the outline
    hover(6, 6, kButtonLeft);
    EXPECT_EQ(map_title(), "Character map (0,0):255[FF]");

    // A stroke paints every cell it crosses; positions off the map are ignored, except up to 15
    // pixels left of or above it, which count as column or row 0.
    hover(16 * 5 + 1, 16 * 2 + 1, kButtonLeft);
    hover(16 * 31 + 15, 16 * 23 + 15, kButtonLeft);
    hover(16 * 32, 3, kButtonLeft);
    hover(-15, 16 * 4, kButtonLeft);
    hover(-16, 16 * 6, kButtonLeft);
    hover(100000, -100000, kButtonLeft);
    EXPECT_EQ(cell(5, 2), 255);
    EXPECT_EQ(cell(31, 23), 255);
    EXPECT_EQ(cell(32, 0), 64); // column 32 lies outside the 32 x 24 map
    EXPECT_EQ(cell(0, 4), 255);
    EXPECT_EQ(cell(0, 6), 32);
    hover(16 * 7, 16 * 7); // a move without the button paints nothing
    EXPECT_EQ(cell(7, 7), 39);
    EXPECT_EQ(map_title(), "Character map (7,7):39[27]");
}

TEST_F(MapEditor, FillThenGridTwiceShowsTheGlyphEverywhereAndKeepsOuterCells) {
    menu(MenuId::MapZx);
    for (auto& b : app.store().glyph(65))
        b = 0xFF;
    app.s.current_char = 65;
    menu(MenuId::FillMap);
    EXPECT_EQ(cell(31, 23), 65);
    EXPECT_EQ(cell(32, 0), 64);
    EXPECT_EQ(cell(0, 24), 32);
    const Raster with_grid = picture(kMapCanvas);
    // Dots over the all-set glyph: top edge colour 1 at even offsets, colour 0 at odd ones; left
    // edge the other way round, drawn last, so the corner is colour 0.
    EXPECT_EQ(with_grid.pixel(16, 16), 0);
    EXPECT_EQ(with_grid.pixel(17, 16), 0);
    EXPECT_EQ(with_grid.pixel(18, 16), 0xFFFFFF);
    EXPECT_EQ(with_grid.pixel(16, 17), 0xFFFFFF);
    EXPECT_EQ(with_grid.pixel(16, 18), 0);
    menu(MenuId::GridOnMap);
    EXPECT_EQ(app.s.grid_on, 0);
    EXPECT_EQ(picture(kMapCanvas).pixel(16, 16), 0xFFFFFF); // the glyph alone: all set
    EXPECT_EQ(picture(kMapCanvas).pixel(17, 16), 0xFFFFFF);
    menu(MenuId::GridOnMap);
    EXPECT_EQ(app.s.grid_on, 1);
    EXPECT_EQ(picture(kMapCanvas), with_grid);
}

TEST_F(MapEditor, PopupCommandsShiftAtTheClickedCellAndForgetIt) {
    menu(MenuId::MapAtari);
    popup(16 * 5 + 3, 16 * 2 + 3, MenuId::InsertMapChar);
    ASSERT_FALSE(tk.popups_shown().empty()) << "no popup menu opened";
    EXPECT_EQ(tk.popups_shown().back(), kMapPopup);
    EXPECT_EQ(cell(5, 2), 0);
    EXPECT_EQ(cell(6, 2), 37);
    EXPECT_EQ(cell(40, 2), 71); // the old (39, 2) in the spare column
    EXPECT_EQ(app.s.popup_cell_x, -1);
    EXPECT_EQ(app.s.popup_cell_y, -1);
    menu(MenuId::MapPc);
    EXPECT_EQ(picture(kMapCanvas).pixel(16 * 40 + 2 * 2, 16 * 2 + 2 * 3), 0); // shows there

    menu(MenuId::MapAtari);
    popup(0, 16 * 23, MenuId::InsertMapLine);
    EXPECT_EQ(cell(0, 23), 0);
    EXPECT_EQ(cell(3, 24), 35);
    menu(MenuId::MapC64);
    EXPECT_EQ(cell(3, 24), 35); // the old last row shows as row 24

    // A command with no remembered cell does nothing; closing the popup keeps the cell.
    const auto before = app.s.map->cells;
    menu(MenuId::DeleteMapColumn);
    EXPECT_EQ(app.s.map->cells, before);
    tk.popup_answers.push_back(-1);
    click(kMapCanvas, 16 * 9, 16 * 4, true);
    EXPECT_EQ(app.s.popup_cell_x, 9);
    EXPECT_EQ(app.s.popup_cell_y, 4);
    menu(MenuId::DeleteMapColumn);
    EXPECT_EQ(cell(9, 0), 42);
    EXPECT_EQ(cell(39, 24), 0);
}

TEST_F(MapEditor, HostileCoordinatesAndDrawingFailuresChangeNothingUnexpected) {
    menu(MenuId::MapZx);
    const auto before = app.s.map->cells;
    for (int x : {INT_MIN, -100000, -17, 512, 100000, INT_MAX}) {
        for (int kind : {kKindLeftDown, kKindMouseMove, kKindRightClick, kKindLeftClick}) {
            tk.popup_answers.push_back(id(MenuId::DeleteMapLine));
            canvas(kMapCanvas, kind, x, x, kButtonLeft);
            if (tk.pending_events() > 0)
                handle();
        }
    }
    for (MenuId m : {MenuId::InsertMapChar, MenuId::DeleteMapChar, MenuId::InsertMapLine,
                     MenuId::DeleteMapLine, MenuId::InsertMapColumn, MenuId::DeleteMapColumn}) {
        app.s.popup_cell_x = 100000;
        app.s.popup_cell_y = 100000;
        menu(m);
    }
    EXPECT_EQ(app.s.map->cells, before);

    tk.failing_canvases = {kMapCanvas};
    menu(MenuId::FillMap);
    ASSERT_EQ(tk.messages().size(), 1u);
    EXPECT_EQ(tk.messages()[0].caption, "fontarel");
    EXPECT_EQ(tk.messages()[0].text, "draw char map error!");
    EXPECT_EQ(cell(0, 0), 0); // the cells change even when nothing can be drawn
    hover(3, 3);              // the hover outline is skipped quietly; the title still follows
    EXPECT_EQ(map_title(), "Character map (0,0):0[00]");
}

} // namespace
} // namespace fontarel
