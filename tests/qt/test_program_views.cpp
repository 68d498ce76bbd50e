// The whole program on the Qt toolkit, driven through the window system layer: a mouse stroke on
// the glyph canvas and a drag on the charset canvas reach the store exactly as a user's would.

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "qt_fixture.h"

namespace fontarel::test {
namespace {

class ProgramOnQt : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(open_program(app));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tk.window_widget(kMainWindow)));
        tk.window_widget(kMainWindow)->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tk.window_widget(kMainWindow)));
    }
    void TearDown() override { shut_down(app); }

    // Handles every event queued so far, as the loop would, without waiting for more, then paints
    // what the handlers drew, as the loop's next wait does first.
    void drain() {
        QCoreApplication::processEvents();
        while (tk.pending_events() > 0) {
            ASSERT_TRUE(dispatch_event(app, tk.wait_event()));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
    QWindow* main_window() { return tk.window_widget(kMainWindow)->windowHandle(); }
    // A point of the charset canvas's drawing surface, which starts inside the 2-pixel border.
    QPoint grid_point(int x, int y) {
        QWidget* w = tk.control_widget(kCharsetCanvas);
        return w->mapTo(w->window(), QPoint(x + kCanvasBorderWidth, y + kCanvasBorderWidth));
    }
    QPoint glyph_point(int x, int y) {
        QWidget* w = tk.control_widget(kGlyphCanvas);
        return w->mapTo(w->window(), QPoint(x, y));
    }

    QtToolkit tk;
    App app{tk};
};

TEST_F(ProgramOnQt, MouseStrokeOnTheGlyphCanvasSetsAndClearsTheBitsUnderIt) {
    QWindow* w = main_window();
    QTest::mouseMove(w, glyph_point(8, 8));
    QTest::mousePress(w, Qt::LeftButton, {}, glyph_point(8, 8));
    QTest::mouseMove(w, glyph_point(24, 8));
    QTest::mouseMove(w, glyph_point(40, 24));
    QTest::mouseMove(w, glyph_point(-30, 24)); // outside: ignored
    QTest::mouseRelease(w, Qt::LeftButton, {}, glyph_point(-30, 24));
    drain();
    auto glyph = app.store().glyph(0);
    EXPECT_EQ(glyph[0], 0xC0);
    EXPECT_EQ(glyph[1], 0x20);
    EXPECT_EQ(glyph[2], 0x00);
    // What the window shows follows the stroke: the grid (its surface inside the 2-pixel border)
    // and the editor.
    const QColor white(255, 255, 255), black(0, 0, 0);
    QWidget* grid = tk.control_widget(kCharsetCanvas);
    QWidget* editor = tk.control_widget(kGlyphCanvas);
    EXPECT_EQ(on_screen(grid).pixelColor(kCanvasBorderWidth + 2, kCanvasBorderWidth), white);
    EXPECT_EQ(on_screen(editor).pixelColor(20, 5), white);

    QTest::mouseMove(w, glyph_point(20, 5));
    QTest::mousePress(w, Qt::RightButton, {}, glyph_point(20, 5));
    QTest::mouseRelease(w, Qt::RightButton, {}, glyph_point(20, 5));
    drain();
    EXPECT_EQ(glyph[0], 0x80);
    EXPECT_EQ(on_screen(editor).pixelColor(20, 5), black);
    EXPECT_EQ(on_screen(grid).pixelColor(kCanvasBorderWidth + 2, kCanvasBorderWidth), black);
}

TEST_F(ProgramOnQt, DragBetweenTwoCellsOfTheCharsetCanvasSwapsThem) {
    for (auto& b : app.store().glyph(65))
        b = 0x11;
    for (auto& b : app.store().glyph(66))
        b = 0x22;
    QWindow* w = main_window();
    const QPoint from = grid_point(16 * 1 + 8, 16 * 4 + 8); // glyph 65
    const QPoint to = grid_point(16 * 2 + 8, 16 * 4 + 8);   // glyph 66
    QTest::mouseMove(w, from);
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QTest::mouseMove(w, from + QPoint(5, 0));
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
    drain();
    EXPECT_EQ(app.store().glyph(65)[0], 0x22);
    EXPECT_EQ(app.store().glyph(66)[0], 0x11);
    EXPECT_EQ(app.s.current_char, 66);
    EXPECT_EQ(tk.window_widget(kMainWindow)->windowTitle().toStdString(),
              "fontarel v2 0.9e 66($42)'B'");
}

TEST_F(ProgramOnQt, ClicksOnTheCharsetCanvasBorderSelectNothingAndSetNoRange) {
    QWindow* w = main_window();
    QWidget* canvas = tk.control_widget(kCharsetCanvas);
    const QPoint right_border = canvas->mapTo(canvas->window(), QPoint(258, 16 * 3 + 8));
    const QPoint bottom_border = canvas->mapTo(canvas->window(), QPoint(40, 259));
    ModalAnswerer popups([](QWidget* popup) { popup->close(); });
    for (QPoint p : {right_border, bottom_border}) {
        QTest::mouseMove(w, p);
        QTest::mouseClick(w, Qt::LeftButton, {}, p);
        QTest::mouseClick(w, Qt::RightButton, {}, p);
        drain();
    }
    EXPECT_EQ(app.s.current_char, 0);
    EXPECT_EQ(popups.count(), 0);
    // The surface's last pixel still selects: (255, 40) is column 15 of row 2.
    QTest::mouseClick(w, Qt::LeftButton, {}, grid_point(255, 40));
    drain();
    EXPECT_EQ(app.s.current_char, 47);
}

TEST_F(ProgramOnQt, MapWindowFollowsEachSizeAndItsCanvasTakesNoBorderClicks) {
    struct Size {
        MenuId item;
        int width, height;
    };
    for (Size size : {Size{MenuId::MapZx, 512, 384}, Size{MenuId::MapPc, 1280, 800},
                      Size{MenuId::MapUssr, 1024, 480}, Size{MenuId::MapC64, 640, 400}}) {
        ASSERT_TRUE(dispatch_menu(app, id(size.item)));
        QWidget* window = tk.window_widget(kMapWindow);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->width(), size.width);
        EXPECT_EQ(window->height(), size.height);
        EXPECT_EQ(tk.control_widget(kMapCanvas)->size(), QSize(size.width, size.height));
    }
    // A click on the map paints its cell with the current character.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tk.window_widget(kMapWindow)));
    app.s.current_char = 200;
    QWindow* map = tk.window_widget(kMapWindow)->windowHandle();
    QTest::mouseMove(map, QPoint(16 * 3 + 3, 16 * 2 + 4)); // enters the canvas
    QTest::mouseMove(map, QPoint(16 * 3 + 4, 16 * 2 + 4)); // hovers cell (3, 2)
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(16 * 3 + 4, 16 * 2 + 4));
    drain();
    EXPECT_EQ(app.s.map->at(3, 2), 200);
    EXPECT_EQ(tk.window_widget(kMapWindow)->windowTitle().toStdString(),
              "Character map (3,2):35[23]");
}

TEST_F(ProgramOnQt, ArrowKeyReleaseOnTheFocusedCharsetCanvasMovesTheCursorOnce) {
    QWidget* canvas = tk.control_widget(kCharsetCanvas);
    ASSERT_TRUE(canvas->hasFocus());
    QTest::keyPress(canvas, Qt::Key_Right);
    QTest::keyPress(canvas, Qt::Key_Right, {}, -1);
    QTest::keyRelease(canvas, Qt::Key_Right);
    drain();
    EXPECT_EQ(app.s.current_char, 1);
}

} // namespace
} // namespace fontarel::test
