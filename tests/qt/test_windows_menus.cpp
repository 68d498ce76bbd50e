// Windows (size, close box, hiding, resizing) and menus (ids, texts, check marks, popups,
// shortcuts).

#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <cstdlib>

#include "qt_fixture.h"

namespace fontarel::test {
namespace {

using Windows = QtToolkitTest;

TEST_F(Windows, CloseBoxReportsAndTheWindowStays) {
    QWidget* window = tk.window_widget(0);
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    const auto events = take_events(tk);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, kEventClose);
    EXPECT_EQ(events[0].window, 0);
}

TEST_F(Windows, HiddenWindowResizesInPlaceAndShowsWhenAsked) {
    ASSERT_NE(tk.open_window(1, 90, 100, 522, 394, "Character map",
                             kWindowHidden | kWindowTitleBar | kWindowSystemMenu),
              0);
    QWidget* map = tk.window_widget(1);
    EXPECT_FALSE(map->isVisible());
    EXPECT_EQ(tk.window_left(1), 90);
    EXPECT_EQ(tk.window_top(1), 100);
    tk.resize_window(1, kKeep, kKeep, 640, 480);
    EXPECT_EQ(map->size(), QSize(640, 480));
    EXPECT_EQ(tk.window_left(1), 90);
    EXPECT_EQ(tk.window_top(1), 100);
    tk.resize_window(1, 120, kKeep, kKeep, 200);
    EXPECT_EQ(map->size(), QSize(640, 200));
    EXPECT_EQ(tk.window_left(1), 120);
    EXPECT_EQ(tk.window_top(1), 100);
    tk.set_window_hidden(1, 0);
    EXPECT_TRUE(map->isVisible());
    tk.set_window_title(1, "Character map 7");
    EXPECT_EQ(map->windowTitle(), "Character map 7");
    tk.set_window_hidden(1, 1);
    EXPECT_FALSE(map->isVisible());
    // Controls follow the window opened last.
    ASSERT_NE(tk.create_canvas(2, 0, 0, 1280, 800, 0), 0);
    EXPECT_EQ(tk.control_widget(2)->window(), map);

    // A centred window ignores x and y and sits in the middle of the screen's free area. The
    // inner size is what is centred, so the frame's own margins may shift the frame by half theirs.
    ASSERT_NE(tk.open_window(2, 7, 9, 300, 100, "centred", kWindowCentred | kWindowTitleBar), 0);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = tk.window_widget(2)->frameGeometry();
    const QSize margins = frame.size() - tk.window_widget(2)->size();
    EXPECT_EQ(QPoint(tk.window_left(2), tk.window_top(2)), frame.topLeft());
    EXPECT_LE(std::abs(frame.center().x() - area.center().x()), margins.width() / 2 + 1)
        << frame.x();
    EXPECT_LE(std::abs(frame.center().y() - area.center().y()), margins.height() / 2 + 1)
        << frame.y();
}

class Menus : public QtToolkitTest {
  protected:
    void SetUp() override {
        QtToolkitTest::SetUp();
        ASSERT_NE(tk.create_canvas(0, 0, 0, 100, 100, kCanvasFocusable), 0);
        ASSERT_NE(tk.create_menu_bar(0, 0), 0);
        tk.menu_title("File");
        tk.menu_item(0, "Open...\tCtrl+O");
        tk.open_submenu("Save");
        tk.menu_item(2, "ZX 96 chars(768bytes)");
        tk.menu_separator();
        tk.menu_item(5, "Character_map");
        tk.close_submenu();
        tk.menu_item(1, "Quit");
        tk.menu_title("Char");
        tk.open_submenu("Map");
        tk.menu_item(27, "Grid on map");
        tk.close_submenu();
        tk.set_item_checked(0, 27, 1);
        tk.menu_item(18, "Drag mode:swap");
        tk.menu_item(19, "Drag mode:copy");
        tk.menu_item(7, "Invert\tCtrl+I");
        tk.add_shortcut(0, kComboCtrl | kKeyI, 7);
        tk.add_shortcut(0, kComboCtrl | kKeyO, 99);
        tk.add_shortcut(0, kComboCtrl | kKeyO, 0); // replaces 99
        ASSERT_NE(tk.create_popup_menu(2), 0);
        tk.menu_item(16, "Set begin range");
        tk.menu_item(17, "Set end range");
        tk.window_widget(0)->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tk.window_widget(0)));
        take_events(tk);
    }
};

TEST_F(Menus, BarHoldsTitlesItemsAndSubmenusAndKeepsTheWindowSize) {
    QMenuBar* bar = tk.menu_bar_widget(0);
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* a : bar->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"File", "Char"}));
    QMenu* file = bar->actions()[0]->menu();
    ASSERT_EQ(file->actions().size(), 3);
    EXPECT_EQ(file->actions()[0]->text(), "Open...\tCtrl+O");
    EXPECT_EQ(file->actions()[1]->menu()->title(), "Save");
    EXPECT_TRUE(file->actions()[1]->menu()->actions()[1]->isSeparator());
    EXPECT_EQ(tk.menu_action(0, 5)->text(), "Character_map"); // found inside the submenu
    EXPECT_EQ(file->actions()[2], tk.menu_action(0, 1));
    EXPECT_NE(tk.menu_exists(0), 0);
    EXPECT_NE(tk.menu_exists(2), 0);
    EXPECT_EQ(tk.menu_exists(3), 0);

    // The bar takes its height from the inner area: controls start below it.
    QWidget* window = tk.window_widget(0);
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_GT(bar->height(), 0);
    EXPECT_GE(tk.control_widget(0)->mapTo(window, QPoint(0, 0)).y(), bar->height());
}

TEST_F(Menus, CheckMarksChangeOnlyWhenTheProgramSetsThem) {
    EXPECT_EQ(tk.item_checked(0, 27), 1);
    EXPECT_EQ(tk.item_checked(0, 18), 0);
    EXPECT_FALSE(tk.menu_action(0, 18)->isCheckable());
    tk.set_item_checked(0, 18, 1);
    tk.set_item_checked(0, 27, 0);
    EXPECT_EQ(tk.item_checked(0, 18), 1);
    EXPECT_EQ(tk.item_checked(0, 27), 0);
    EXPECT_EQ(tk.item_checked(0, 99), 0);

    tk.menu_action(0, 18)->trigger(); // the user picks the checked item
    const auto events = take_events(tk);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, kEventMenu);
    EXPECT_EQ(events[0].source, 18);
    EXPECT_EQ(events[0].window, 0);
    EXPECT_EQ(tk.item_checked(0, 18), 1);
}

TEST_F(Menus, ShortcutsWorkWhileTheirWindowIsActive) {
    QTest::keyClick(window_handle(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(window_handle(), Qt::Key_O, Qt::ControlModifier);
    std::vector<int> ids;
    for (const Event& e : take_events(tk))
        if (e.code == kEventMenu)
            ids.push_back(e.source);
    EXPECT_EQ(ids, (std::vector{7, 0}));

    ASSERT_NE(tk.open_window(1, 0, 0, 200, 100, "map", kWindowTitleBar), 0);
    tk.window_widget(1)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(tk.window_widget(1)));
    take_events(tk);
    QTest::keyClick(window_handle(1), Qt::Key_I, Qt::ControlModifier);
    for (const Event& e : take_events(tk))
        EXPECT_NE(e.code, kEventMenu);
}

TEST_F(Menus, PopupItemChosenWithEitherButtonArrivesAfterItCloses) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        const int id = button == Qt::LeftButton ? 17 : 16;
        ModalAnswerer answer([&](QWidget* w) {
            auto* menu = qobject_cast<QMenu*>(w);
            ASSERT_NE(menu, nullptr);
            const QPoint p = menu->actionGeometry(tk.menu_action(2, id)).center();
            QTest::mouseMove(menu, p);
            QTest::mouseClick(menu, button, {}, p);
        });
        tk.show_popup_menu(2, 0);
        EXPECT_EQ(answer.count(), 1);
        std::vector<int> ids;
        for (const Event& e : take_events(tk))
            if (e.code == kEventMenu) {
                ids.push_back(e.source);
                EXPECT_EQ(e.window, 0);
            }
        EXPECT_EQ(ids, std::vector{id});
    }
}

} // namespace
} // namespace fontarel::test
