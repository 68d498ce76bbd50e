// Mouse and key handling of the charset canvas and the glyph canvas on the in-memory toolkit.

#include "app/views/charset_canvas.h"
#include "app/views/present.h"
#include "model/labels.h"
#include "program_fixture.h"
#include "render/charset_picture.h"
#include "render/geometry.h"

namespace fontarel {
namespace {

class CharsetInput : public ProgramTest {
  protected:
    void select(int code) {
        app.s.current_column = code & 15;
        app.s.current_row = code >> 4;
        move_cursor(app, 0, 0);
        present(app);
    }
    // A left-button drag from one surface position to another, as the platform reports it: the
    // click follows the release only when it happens over the surface.
    void drag(int x0, int y0, int x1, int y1) {
        canvas(kCharsetCanvas, kKindLeftDown, x0, y0, kButtonLeft);
        canvas(kCharsetCanvas, kKindMouseMove, (x0 + x1) / 2, (y0 + y1) / 2, kButtonLeft);
        canvas(kCharsetCanvas, kKindLeftUp, x1, y1);
        if (x1 >= 0 && y1 >= 0 && x1 < 256 && y1 < 256) {
            canvas(kCharsetCanvas, kKindLeftClick, x1, y1);
        }
    }
    void fill(int glyph, uint8_t value) {
        for (auto& b : app.store().glyph(glyph))
            b = value;
    }
};

TEST_F(CharsetInput, ArrowKeysWrapWithinTheRowOrColumnOnRelease) {
    struct Case {
        int from, key, to;
    } cases[] = {{16, kKeyLeft, 31},  {5, kKeyUp, 245},    {255, kKeyRight, 240},
                 {250, kKeyDown, 10}, {17, kKeyRight, 18}, {17, kKeyDown, 33}};
    for (const auto& c : cases) {
        select(c.from);
        key(kCharsetCanvas, c.key);
        EXPECT_EQ(app.s.current_char, c.to) << c.from << " key " << c.key;
        EXPECT_EQ(app.s.current_char, 16 * app.s.current_row + app.s.current_column);
    }
    // A key press alone (it repeats while held) does nothing; only the release acts.
    select(0);
    canvas(kCharsetCanvas, kKindKeyDown, 0, 0);
    tk.inject_canvas(kCharsetCanvas, kKindKeyDown, 0, 0, 0, kKeyRight);
    handle();
    EXPECT_EQ(app.s.current_char, 0);
}

TEST_F(CharsetInput, ClicksSelectTheCellUnderTheMouseAndRetitle) {
    click(kCharsetCanvas, 255, 40);
    EXPECT_EQ(app.s.current_char, 47);
    click(kCharsetCanvas, 40, 255);
    EXPECT_EQ(app.s.current_char, 242);
    EXPECT_EQ(app.s.current_column, 2);
    EXPECT_EQ(app.s.current_row, 15);
    select(10);
    EXPECT_EQ(title(), "fontarel v2 0.9e 10($0A)");
    select(31); // the last code without a character part
    EXPECT_EQ(title(), "fontarel v2 0.9e 31($1F)");
    select(32);
    EXPECT_EQ(title(), "fontarel v2 0.9e 32($20)' '");
    select(65);
    EXPECT_EQ(title(), "fontarel v2 0.9e 65($41)'A'");
    select(0x80);
    EXPECT_EQ(title(), "fontarel v2 0.9e 128($80)'\u20AC'");
    select(255);
    EXPECT_EQ(title(), "fontarel v2 0.9e 255($FF)'\u00FF'");
}

TEST_F(CharsetInput, RightClickSelectsThenOpensTheCharsetPopup) {
    fill(66, 0x3C);
    tk.popup_answers = {-1};
    click(kCharsetCanvas, 16 * 2 + 3, 16 * 4 + 9, true); // glyph 66
    EXPECT_EQ(app.s.current_char, 66);
    EXPECT_EQ(title(), "fontarel v2 0.9e 66($42)'B'");
    EXPECT_EQ(text(kGlyphDataText), "60,60,60,60,60,60,60,60");
    ASSERT_EQ(tk.popups_shown().size(), 1u);
    EXPECT_EQ(tk.popups_shown()[0], kCharsetPopup);
}

TEST_F(CharsetInput, RightClickWithoutPopupStillSelects) {
    HeadlessToolkit bare;
    bare.failing_menus = {kCharsetPopup};
    App other(bare);
    ASSERT_TRUE(open_program(other));
    bare.inject_click(kCharsetCanvas, 20, 20, true);
    for (int i = 0; i < 3; ++i)
        dispatch_event(other, bare.wait_event());
    EXPECT_EQ(other.s.current_char, 17);
    EXPECT_TRUE(bare.popups_shown().empty());
}

TEST_F(CharsetInput, DragSwapsOrCopiesByTheDragModeAndSelectsTheDropCell) {
    fill(65, 0x11);
    fill(66, 0x22);
    drag(16 + 8, 64 + 8, 32 + 8, 64 + 8); // 65 onto 66, swap mode
    EXPECT_EQ(app.store().glyph(65)[0], 0x22);
    EXPECT_EQ(app.store().glyph(66)[7], 0x11);
    EXPECT_EQ(app.s.current_char, 66);
    EXPECT_EQ(app.s.drag_active, 0);
    EXPECT_EQ(app.s.drag_swap, 1);

    menu(MenuId::DragCopy);
    fill(65, 0x11);
    fill(66, 0x22);
    drag(16 + 8, 64 + 8, 32 + 8, 64 + 8);
    EXPECT_EQ(app.store().glyph(65)[0], 0x11);
    EXPECT_EQ(app.store().glyph(66)[7], 0x11);
    EXPECT_EQ(app.s.current_char, 66);
    EXPECT_EQ(app.s.drag_swap, 0);
    // The grid shows the dropped glyph at once.
    EXPECT_EQ(tk.image(kCharsetImage)->pixel(32 + 6, 64), 0xFFFFFF);
}

TEST_F(CharsetInput, DropsOutsideTheGridOrOnTheSourceChangeNothing) {
    fill(17, 0x81); // column 1, row 1
    const auto before = app.store().bytes;
    drag(20, 20, 25, 25); // its own cell
    drag(20, 20, -16, 20);
    drag(20, 20, 20, -16);
    drag(20, 20, 256, 20);
    drag(20, 20, 20, 300);
    EXPECT_EQ(app.store().bytes, before);
    EXPECT_EQ(app.s.drag_active, 0);

    // 1-15 pixels left of or above the surface truncate to column or row 0.
    menu(MenuId::DragCopy);
    drag(20, 20, -15, 20);
    EXPECT_EQ(app.store().glyph(16)[0], 0x81);
    drag(20, 20, 20, -1);
    EXPECT_EQ(app.store().glyph(1)[0], 0x81);
}

TEST_F(CharsetInput, SecondPressDuringADragKeepsTheFirstSource) {
    fill(0, 0x0F);
    canvas(kCharsetCanvas, kKindLeftDown, 2, 2, kButtonLeft);
    canvas(kCharsetCanvas, kKindLeftDown, 100, 100, kButtonLeft);
    canvas(kCharsetCanvas, kKindLeftUp, 40, 2);
    EXPECT_EQ(app.store().glyph(2)[0], 0x0F);
}

TEST_F(CharsetInput, HoverAndDragFramesAreDrawnOverImageAndCursor) {
    // The frames' colours as the program describes them, written out: green, red, spring green.
    constexpr int kHoverColour = 0x00FF00, kDragColour = 0x0000FF, kCursorColour = 0x7FFF00;
    canvas(kCharsetCanvas, kKindMouseMove, 40, 40);
    const Raster& c = picture(kCharsetCanvas);
    EXPECT_EQ(c.pixel(32, 32), kHoverColour);
    EXPECT_EQ(c.pixel(47, 47), kHoverColour);
    EXPECT_EQ(c.pixel(40, 32), kHoverColour);
    EXPECT_EQ(c.pixel(34, 34), 0x000000); // the inside is untouched
    EXPECT_EQ(c.pixel(1, 0), kCursorColour);
    // The next hover repaints from the image: the old frame is gone.
    canvas(kCharsetCanvas, kKindMouseMove, 100, 100);
    EXPECT_EQ(c.pixel(32, 32), 0x000000);
    EXPECT_EQ(c.pixel(96, 96), kHoverColour);

    fill(0, 0xFF);
    present(app);
    canvas(kCharsetCanvas, kKindLeftDown, 3, 3, kButtonLeft);
    canvas(kCharsetCanvas, kKindMouseMove, 101, 103, kButtonLeft);
    EXPECT_EQ(c.pixel(96, 96), kDragColour); // red outline on the cell under the pointer
    EXPECT_EQ(c.pixel(102, 104), 0xFFFFFF);  // the grabbed cell, its corner at the pointer
    EXPECT_EQ(c.pixel(101 + 16, 103 + 16), 0x000000);
    EXPECT_EQ(tk.image(kDragImage), nullptr); // freed within the frame
    // A drag that leaves the canvas still draws, clipped.
    canvas(kCharsetCanvas, kKindMouseMove, -40, 400, kButtonLeft);
    canvas(kCharsetCanvas, kKindLeftUp, -40, 400);
    EXPECT_EQ(app.s.drag_active, 0);

    // The picture that follows the pointer is the source's own 16 x 16 cell: glyph 53 (column 5,
    // row 3) with its left half set, unlike every cell around it.
    fill(53, 0xF0);
    present(app);
    canvas(kCharsetCanvas, kKindLeftDown, 16 * 5 + 9, 16 * 3 + 2, kButtonLeft);
    const int px = 201, py = 150; // in cell (12, 9), whose outline ends at x = 207 and y = 159
    canvas(kCharsetCanvas, kKindMouseMove, px, py, kButtonLeft);
    int wrong = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool outline =
                (px + x == 207 && py + y <= 159) || (py + y == 159 && px + x <= 207);
            const int want = outline ? kDragColour : x < 8 ? 0xFFFFFF : 0x000000;
            wrong += c.pixel(px + x, py + y) != want;
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels of the dragged cell unlike glyph 53's";
    // Dropped on a glyph: the frame and the dragged picture go with the drag.
    canvas(kCharsetCanvas, kKindLeftUp, px, py);
    present(app);
    int framed = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            framed += c.pixel(x, y) == kDragColour;
    EXPECT_EQ(framed, 0) << "the drag frame stayed after the drop";
}

TEST_F(CharsetInput, InsertAndDeleteKeysActOnTheCurrentGlyph) {
    fill(3, 0x33);
    fill(4, 0x44);
    select(3);
    key(kCharsetCanvas, kKeyInsert);
    EXPECT_EQ(app.store().glyph(3)[0], 0x00);
    EXPECT_EQ(app.store().glyph(4)[0], 0x33);
    EXPECT_EQ(app.store().glyph(5)[0], 0x44);
    key(kCharsetCanvas, kKeyDelete);
    EXPECT_EQ(app.store().glyph(3)[0], 0x33);
    EXPECT_EQ(app.store().glyph(4)[0], 0x44);
    EXPECT_EQ(tk.image(kCharsetImage)->pixel(16 * 3 + 4, 0), 0xFFFFFF);
}

class GlyphInput : public ProgramTest {
  protected:
    uint8_t row(int r) { return app.store().glyph(app.s.current_char)[r]; }
};

TEST_F(GlyphInput, LeftSetsRightClearsAndEveryEventRefreshes) {
    canvas(kGlyphCanvas, kKindLeftDown, 0, 0, kButtonLeft);
    EXPECT_EQ(row(0), 0x80);
    EXPECT_EQ(text(kGlyphDataText).substr(0, 4), "128,");
    canvas(kGlyphCanvas, kKindLeftDown, 127, 127, kButtonLeft);
    EXPECT_EQ(row(7), 0x01);
    EXPECT_EQ(text(kGlyphDataText).back(), '1');
    EXPECT_EQ(tk.image(kCharsetImage)->pixel(14, 14), 0xFFFFFF); // the grid follows each stroke

    // A right-button stroke clears what it runs over: the press, then each move with the button
    // held, both over set pixels.
    canvas(kGlyphCanvas, kKindRightDown, 0, 0, kButtonRight);
    EXPECT_EQ(row(0), 0x00);
    canvas(kGlyphCanvas, kKindMouseMove, 120, 120, kButtonRight);
    EXPECT_EQ(row(7), 0x00);
    EXPECT_EQ(text(kGlyphDataText), "0,0,0,0,0,0,0,0");
    EXPECT_EQ(picture(kGlyphCanvas).pixel(120, 120), 0x000000);
    // Both buttons held: setting wins.
    canvas(kGlyphCanvas, kKindMouseMove, 16 * 3 + 5, 16 * 2, kButtonLeft | kButtonRight);
    EXPECT_EQ(row(2), 0x10);

    // A right press on a clear pixel changes nothing in the glyph but still refreshes every view.
    app.s.color_bit0 = 0x0000FF;
    canvas(kGlyphCanvas, kKindRightDown, 100, 50, kButtonRight);
    EXPECT_EQ(row(3), 0x00);
    EXPECT_EQ(tk.image(kCharsetImage)->pixel(200, 200), 0x0000FF);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(100, 50), 0x0000FF);
}

TEST_F(GlyphInput, StrokesOutsideTheCellsFollowTheTruncationRule) {
    canvas(kGlyphCanvas, kKindMouseMove, -15, 20, kButtonLeft); // counts as column 0
    EXPECT_EQ(row(1), 0x80);
    canvas(kGlyphCanvas, kKindMouseMove, 20, -1, kButtonLeft); // counts as row 0
    EXPECT_EQ(row(0), 0x40);
    const auto before = app.store().bytes;
    for (auto [x, y] : {std::pair{-16, 20}, {20, -16}, {128, 20}, {20, 128}, {-100000, 99999}}) {
        canvas(kGlyphCanvas, kKindMouseMove, x, y, kButtonLeft);
        canvas(kGlyphCanvas, kKindMouseMove, x, y, kButtonRight);
    }
    EXPECT_EQ(app.store().bytes, before);
}

TEST_F(GlyphInput, ClicksReleasesAndPlainMovesDoNothing) {
    for (auto& b : app.store().glyph(0))
        b = 0xFF;
    click(kGlyphCanvas, 40, 40, true); // the click itself clears nothing; the press did
    EXPECT_EQ(row(2), 0xDF);
    for (int kind : {kKindRightClick, kKindLeftClick, kKindRightUp, kKindLeftUp, kKindMouseMove,
                     kKindKeyUp, kKindMouseEnter}) {
        canvas(kGlyphCanvas, kind, 70, 70);
    }
    EXPECT_EQ(row(4), 0xFF);
}

} // namespace
} // namespace fontarel

namespace fontarel {
namespace {

// Whatever a canvas event carries, no handler may index outside the store, the map or a picture:
// every kind at extreme and borderline positions, with and without buttons held, mid-drag too.
TEST_F(ProgramTest, CanvasEventsWithAnyCoordinatesStayInsideTheData) {
    const int positions[] = {INT32_MIN, -65536, -17,  -16,  -15,   -1,       0,
                             255,       256,    1279, 1280, 65536, INT32_MAX};
    const int kinds[] = {kKindLeftClick, kKindRightClick, kKindMouseMove, kKindLeftDown,
                         kKindLeftUp,    kKindRightDown,  kKindRightUp,   kKindKeyUp};
    tk.popup_answers.assign(1000, -1);
    for (int control : {kCharsetCanvas, kGlyphCanvas, kMapCanvas}) {
        for (int kind : kinds) {
            for (int x : positions) {
                for (int y : {positions[0], 0, 100, positions[12]}) {
                    tk.inject_canvas(control, kind, x, y, kButtonLeft | kButtonRight, kKeyRight);
                    ASSERT_TRUE(handle());
                    tk.inject_canvas(control, kind, y, x, kButtonRight);
                    ASSERT_TRUE(handle());
                }
            }
        }
    }
    EXPECT_EQ(app.s.current_char, 16 * app.s.current_row + app.s.current_column);
    EXPECT_GE(app.s.current_column, 0);
    EXPECT_LT(app.s.current_row, 16);
}

} // namespace
} // namespace fontarel
