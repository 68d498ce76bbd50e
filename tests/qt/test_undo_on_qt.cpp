// Undo and redo of the whole program on the Qt toolkit: a real mouse stroke is one step, the
// shortcuts work in the map window (which has no menu bar) as in the main window, and the Edit
// menu's actions are greyed out while there is nothing to undo or redo.

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "qt_fixture.h"

namespace fontarel::test {
namespace {

class UndoOnQt : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(open_program(app));
        activate(kMainWindow);
    }
    void TearDown() override { shut_down(app); }

    void activate(int window) {
        QWidget* w = tk.window_widget(window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    void drain() {
        QCoreApplication::processEvents();
        while (tk.pending_events() > 0) {
            ASSERT_TRUE(dispatch_event(app, tk.wait_event()));
        }
    }
    void press(int window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(tk.window_widget(window)->windowHandle(), key, modifiers);
        drain();
    }
    std::pair<bool, bool> items() const {
        return {tk.menu_action(kMenuBar, id(MenuId::Undo))->isEnabled(),
                tk.menu_action(kMenuBar, id(MenuId::Redo))->isEnabled()};
    }
    QPoint glyph_point(int x, int y) {
        QWidget* w = tk.control_widget(kGlyphCanvas);
        return w->mapTo(w->window(), QPoint(x, y));
    }

    QtToolkit tk;
    App app{tk};
};

using Pair = std::pair<bool, bool>;

TEST_F(UndoOnQt, StrokeIsOneStepAndTheShortcutsWorkInBothWindows) {
    EXPECT_EQ(items(), Pair(false, false));
    QWindow* w = tk.window_widget(kMainWindow)->windowHandle();
    QTest::mouseMove(w, glyph_point(8, 8));
    QTest::mousePress(w, Qt::LeftButton, {}, glyph_point(8, 8));
    QTest::mouseMove(w, glyph_point(24, 8));
    QTest::mouseMove(w, glyph_point(40, 8));
    QTest::mouseRelease(w, Qt::LeftButton, {}, glyph_point(40, 8));
    drain();
    ASSERT_EQ(app.store().glyph(0)[0], 0xE0);
    EXPECT_EQ(app.s.history.undo_count(), 1u);
    EXPECT_EQ(items(), Pair(true, false));

    tk.post_menu_event(id(MenuId::MapZx), kMainWindow);
    drain();
    activate(kMapWindow);
    press(kMapWindow, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app.s.map->cols, 40);
    press(kMapWindow, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app.store().glyph(0)[0], 0);
    EXPECT_EQ(tk.canvas_picture(kGlyphCanvas)->pixel(20, 5), 0x000000);
    EXPECT_EQ(items(), Pair(false, true));
    press(kMapWindow, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(app.store().glyph(0)[0], 0xE0);
    EXPECT_EQ(tk.canvas_picture(kGlyphCanvas)->pixel(20, 5), 0xFFFFFF);

    activate(kMainWindow);
    press(kMainWindow, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(app.s.map->cols, 32);
    EXPECT_EQ(tk.window_widget(kMapWindow)->width(), 16 * 32);
    EXPECT_EQ(items(), Pair(true, false));

    // With the glyph data text focused the keys still undo and redo the program's data, not the
    // text field's own edits.
    QWidget* field = tk.control_widget(kGlyphDataText);
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int cols;
    } keys[] = {{Qt::Key_Z, Qt::ControlModifier, 40},
                {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 32},
                {Qt::Key_Z, Qt::ControlModifier, 40},
                {Qt::Key_Y, Qt::ControlModifier, 32}};
    for (const auto& k : keys) {
        press(kMainWindow, k.key, k.modifiers);
        EXPECT_EQ(app.s.map->cols, k.cols)
            << QKeySequence(k.key | k.modifiers).toString().toStdString();
    }
}

} // namespace
} // namespace fontarel::test
