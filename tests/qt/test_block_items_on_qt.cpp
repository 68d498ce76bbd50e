// The Edit menu's block rows on the Qt toolkit, read off the real menu bar: Cut, Copy and Clear are
// greyed out without a selection of map cells, Paste until the clipboard is known to hold
// something, from this run or from before it started.

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "qt_fixture.h"

namespace fontarel::test {
namespace {

struct Program {
    QtToolkit tk;
    App app{tk};

    void drain() {
        QCoreApplication::processEvents();
        while (tk.pending_events() > 0)
            ASSERT_TRUE(dispatch_event(app, tk.wait_event()));
    }
    QWindow* map_window() { return tk.window_widget(kMapWindow)->windowHandle(); }
    // A click on map cell (c, r), the pointer moved there first as a hand would.
    void click_cell(int c, int r, Qt::KeyboardModifiers modifiers) {
        const QPoint at(16 * c + 8, 16 * r + 8);
        QTest::mouseMove(map_window(), at);
        QTest::mouseClick(map_window(), Qt::LeftButton, modifiers, at);
        drain();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(map_window(), key, modifiers);
        drain();
    }
    void menu(MenuId item) {
        tk.post_menu_event(id(item), kMainWindow);
        drain();
    }
    // The enabled rows of the Edit menu among its block rows, in menu order, space-separated.
    std::string enabled_block_rows() {
        QMenuBar* bar = tk.window_widget(kMainWindow)->findChild<QMenuBar*>();
        if (bar == nullptr)
            return "no menu bar";
        for (QAction* title : bar->actions()) {
            if (title->text() != "Edit" || title->menu() == nullptr)
                continue;
            std::string rows;
            for (QAction* row : title->menu()->actions()) {
                const QString name = row->text().section('\t', 0, 0);
                if (row->isEnabled() &&
                    QStringList{"Cut", "Copy", "Paste", "Clear", "Select all"}.contains(name))
                    rows += (rows.empty() ? "" : " ") + name.toStdString();
            }
            return rows;
        }
        return "no Edit menu";
    }
};

TEST(BlockRowsOnQt, GreyedOutWhenTheyCannotAct) {
    std::unique_ptr<Program> run;
    // Starts the program (again) and shows its map window, active for the keys.
    const auto start = [&run] {
        if (run)
            shut_down(run->app);
        run.reset();
        run = std::make_unique<Program>();
        ASSERT_TRUE(open_program(run->app));
        run->menu(MenuId::MapZx);
        QWidget* w = run->tk.window_widget(kMapWindow);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    };
    const auto selection = [&run] { return run->app.blocks.selection; };
    const auto cell = [&run](int c, int r) { return run->app.s.map->at(c, r); };
    // Each step checks that it did what it meant before the menu is read.
    const struct {
        const char* what;
        std::function<void()> act;
        const char* enabled;
    } steps[] = {
        {"start, clipboard empty", start, "Select all"},
        {"Shift-click",
         [&] {
             run->click_cell(2, 3, Qt::ShiftModifier);
             ASSERT_EQ(selection(), (CellRect{2, 3, 1, 1}));
         },
         "Cut Copy Clear Select all"},
        {"Ctrl+C",
         [&] {
             run->key(Qt::Key_C, Qt::ControlModifier);
             ASSERT_EQ(QGuiApplication::clipboard()->text().toStdString(), "        .byte $22\n");
         },
         "Cut Copy Paste Clear Select all"},
        {"click without Shift",
         [&] {
             run->click_cell(4, 4, {});
             ASSERT_EQ(cell(4, 4), 0); // painted with the current glyph, 0
         },
         "Paste Select all"},
        {"start again, a block still on the clipboard",
         [&] {
             start();
             ASSERT_EQ(cell(31, 23), 63);
         },
         "Paste Select all"},
        {"Ctrl+A, Ctrl+X",
         [&] {
             run->key(Qt::Key_A, Qt::ControlModifier);
             run->key(Qt::Key_X, Qt::ControlModifier);
             ASSERT_EQ(cell(31, 23), 32); // glyph 32 is blank
         },
         "Cut Copy Paste Clear Select all"},
    };
    QGuiApplication::clipboard()->clear();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        if (::testing::Test::HasFatalFailure())
            break;
        EXPECT_EQ(run->enabled_block_rows(), step.enabled);
    }
    shut_down(run->app);
}

} // namespace
} // namespace fontarel::test
