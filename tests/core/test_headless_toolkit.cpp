// The event queue and canvas data shared by both backends, and the in-memory backend the program
// tests run on: windows, controls, menus, shortcuts, scripted requesters and injected events.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kMain = 0x00CA0001;
constexpr int kMapWindow = 0x10CA0000;

using Kind = HeadlessToolkit::MenuEntry::Kind;

// A main window with a bordered, focusable canvas 0, a plain canvas 1, a track bar 2 and a
// button 3.
class Headless : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(tk.open_window(0, 0, 0, 600, 400, "main", kMain), 0);
        ASSERT_NE(tk.create_canvas(0, 10, 10, 260, 260, kCanvasBorder | kCanvasFocusable), 0);
        ASSERT_NE(tk.create_canvas(1, 300, 10, 128, 128, 0), 0);
        ASSERT_NE(tk.create_track_bar(2, 10, 300, 200, 30, 0, 255, kTrackBarTicks), 0);
        ASSERT_NE(tk.create_button(3, 300, 300, 40, 20, "<"), 0);
    }
    HeadlessToolkit tk;
};

TEST_F(Headless, EventsComeInOrderAndCanvasDataOnlyForThatCanvas) {
    tk.inject_canvas(0, kKindMouseMove, 5, 6, kButtonLeft, 0);
    tk.inject_menu(16);
    tk.inject_canvas(3, kKindMouseMove, 7, 8); // a button carries no canvas data
    tk.inject_canvas(1, kKindKeyUp, 1, 2, 0, kKeyLeft);

    ASSERT_EQ(tk.wait_event(), kEventControl);
    EXPECT_EQ(tk.event_source(), 0);
    EXPECT_EQ(tk.event_kind(), kKindMouseMove);
    EXPECT_EQ(tk.control_attribute(0, kAttrMouseX), 5);
    EXPECT_EQ(tk.control_attribute(0, kAttrMouseY), 6);
    EXPECT_EQ(tk.control_attribute(0, kAttrButtons), kButtonLeft);
    EXPECT_EQ(tk.control_attribute(1, kAttrMouseX), 0) << "another canvas reads 0";

    ASSERT_EQ(tk.wait_event(), kEventMenu);
    EXPECT_EQ(tk.event_source(), 16);
    EXPECT_EQ(tk.control_attribute(0, kAttrMouseX), 0) << "not a control event";

    ASSERT_EQ(tk.wait_event(), kEventControl);
    EXPECT_EQ(tk.control_attribute(3, kAttrMouseX), 0) << "not a canvas";

    ASSERT_EQ(tk.wait_event(), kEventControl);
    EXPECT_EQ(tk.control_attribute(1, kAttrKey), kKeyLeft);
    EXPECT_EQ(tk.control_attribute(1, kAttrMouseY), 2);

    // Idle with nothing scripted: the main window's close box ends the run, and no data stays.
    EXPECT_EQ(tk.wait_event(), kEventClose);
    EXPECT_EQ(tk.event_window(), 0);
    EXPECT_EQ(tk.control_attribute(1, kAttrKey), 0);
}

TEST_F(Headless, ListRequestersAnswerInOrderAndARowPastTheListCancels) {
    tk.list_answers = {0, 2, 3};
    const std::vector<std::string> rows = {"a", "b", "c"};
    EXPECT_EQ(tk.choose_from_list("T", "L", rows), 0);
    EXPECT_EQ(tk.choose_from_list("T", "L", rows), 2);
    EXPECT_EQ(tk.choose_from_list("T", "L", rows), -1) << "no row 3";
    EXPECT_EQ(tk.choose_from_list("T", "L", rows), -1) << "no answer left";
    EXPECT_EQ(tk.list_requests, std::vector<std::string>(4, "T|L|a|b|c"));
}

TEST_F(Headless, IdleHandlerIsAskedAgainUntilItPostsNothing) {
    int calls = 0;
    tk.on_idle = [&] {
        if (++calls <= 2)
            tk.inject_menu(100 + calls);
    };
    ASSERT_EQ(tk.wait_event(), kEventMenu);
    EXPECT_EQ(tk.event_source(), 101);
    ASSERT_EQ(tk.wait_event(), kEventMenu);
    EXPECT_EQ(tk.event_source(), 102);
    EXPECT_EQ(tk.wait_event(), kEventClose);
    EXPECT_EQ(calls, 3);
}

TEST_F(Headless, ProgramSetStateMakesNoEventButTheUsersDoes) {
    tk.set_control_state(2, 40);
    EXPECT_EQ(tk.control_state(2), 40);
    tk.set_control_state(2, 999);
    EXPECT_EQ(tk.control_state(2), 255) << "held within the bar's range";
    EXPECT_EQ(tk.wait_event(), kEventClose) << "set_control_state queued an event";

    tk.inject_control(2, 7);
    EXPECT_EQ(tk.control_state(2), 7) << "the user's move is in place when the event arrives";
    ASSERT_EQ(tk.wait_event(), kEventControl);
    EXPECT_EQ(tk.event_source(), 2);
    EXPECT_EQ(tk.event_window(), 0);
}

TEST_F(Headless, BorderedCanvasPictureIsSmallerAndResizeKeepsTheTopLeft) {
    ASSERT_NE(tk.canvas_picture(0), nullptr);
    EXPECT_EQ(tk.canvas_picture(0)->width(), 256);
    EXPECT_EQ(tk.canvas_picture(0)->height(), 256);
    EXPECT_EQ(tk.control_width(0), 260);
    EXPECT_EQ(tk.canvas_picture(1)->width(), 128);
    EXPECT_EQ(tk.canvas_picture(3), nullptr);
    const Raster& fresh = *tk.canvas_picture(1);
    EXPECT_EQ(fresh.pixel(0, 0), kWhite);
    EXPECT_EQ(fresh.pixel(127, 127), kWhite);

    ASSERT_NE(tk.begin_drawing(tk.canvas_target(1)), 0);
    tk.draw_box(0, 0, 128, 128, 0);
    tk.end_drawing();
    tk.resize_control(1, 0, 0, 200, 100);
    const Raster& grown = *tk.canvas_picture(1);
    ASSERT_EQ(grown.width(), 200);
    ASSERT_EQ(grown.height(), 100);
    EXPECT_EQ(grown.pixel(127, 99), 0);
    EXPECT_EQ(grown.pixel(128, 0), kWhite);
    EXPECT_EQ(grown.pixel(199, 99), kWhite);

    tk.resize_control(0, 0, 0, 100, 300);
    EXPECT_EQ(tk.canvas_picture(0)->width(), 96);
    EXPECT_EQ(tk.canvas_picture(0)->height(), 296);
}

TEST_F(Headless, DrawingTargetsMustExistAndMayBeMadeToFail) {
    EXPECT_EQ(tk.begin_drawing(tk.canvas_target(3)), 0) << "a button is no canvas";
    EXPECT_EQ(tk.begin_drawing(tk.canvas_target(9)), 0);
    tk.failing_canvases.insert(1);
    EXPECT_EQ(tk.begin_drawing(tk.canvas_target(1)), 0);
    EXPECT_EQ(tk.drawing_raster(), nullptr);
    EXPECT_NE(tk.begin_drawing(tk.canvas_target(0)), 0);
    EXPECT_EQ(tk.drawing_raster(), tk.canvas_picture(0));
    tk.end_drawing();
}

TEST_F(Headless, ClicksAndKeysArriveAsThePlatformReportsThem) {
    ASSERT_NE(tk.open_window(1, 0, 0, 320, 200, "map", kMapWindow), 0);
    ASSERT_NE(tk.create_canvas(4, 0, 0, 320, 200, 0), 0);
    tk.inject_click(4, 3, 4, true);
    tk.inject_click(0, 9, 8);
    tk.inject_key(0, kKeyDelete);
    struct Expected {
        int source, window, kind, buttons;
    };
    const Expected expected[] = {
        {4, 1, kKindRightDown, kButtonRight},
        {4, 1, kKindRightUp, 0},
        {4, 1, kKindRightClick, 0},
        {0, 0, kKindLeftDown, kButtonLeft},
        {0, 0, kKindLeftUp, 0},
        {0, 0, kKindLeftClick, 0},
        {0, 0, kKindKeyDown, 0},
        {0, 0, kKindKeyUp, 0},
    };
    for (const Expected& e : expected) {
        ASSERT_EQ(tk.wait_event(), kEventControl);
        EXPECT_EQ(tk.event_source(), e.source);
        EXPECT_EQ(tk.event_window(), e.window);
        EXPECT_EQ(tk.event_kind(), e.kind);
        EXPECT_EQ(tk.control_attribute(e.source, kAttrButtons), e.buttons) << e.kind;
    }
    EXPECT_EQ(tk.control_attribute(0, kAttrKey), kKeyDelete);
    EXPECT_EQ(tk.focused_control(), 0) << "a focusable canvas takes the focus when clicked";
    // A canvas without the focus flag takes it neither from a click nor when asked.
    tk.inject_click(1, 5, 5);
    tk.focus_control(1);
    EXPECT_EQ(tk.focused_control(), 0);
}

TEST_F(Headless, ControlsBelongToTheLastWindowAndNeedOne) {
    HeadlessToolkit bare;
    EXPECT_EQ(bare.create_canvas(0, 0, 0, 10, 10, 0), 0);
    EXPECT_EQ(bare.control(0), nullptr);

    ASSERT_NE(tk.open_window(1, 5, 6, 320, 200, "map", kMapWindow), 0);
    ASSERT_NE(tk.create_label(5, 0, 0, 50, 20, "0", kLabelCentred), 0);
    EXPECT_EQ(tk.control(5)->window, 1);
    EXPECT_EQ(tk.control(0)->window, 0);
    tk.set_control_text(5, "255");
    EXPECT_EQ(tk.control(5)->text, "255");

    // A drop reaches only a control that accepts files.
    tk.inject_drop(1, "/a");
    tk.enable_file_drop(0);
    tk.inject_drop(0, "/a\n/b");
    ASSERT_EQ(tk.wait_event(), kEventDrop);
    EXPECT_EQ(tk.event_source(), 0);
    EXPECT_EQ(tk.dropped_file_list(), "/a\n/b");
}

TEST_F(Headless, WindowsShowHideActivateAndKeepValues) {
    EXPECT_EQ(tk.active_window(), 0);
    EXPECT_TRUE(tk.window(0)->visible);
    ASSERT_NE(tk.open_window(1, 40, 50, 320, 200, "map", kMapWindow), 0);
    EXPECT_FALSE(tk.window(1)->visible);
    EXPECT_EQ(tk.active_window(), 0) << "a hidden window does not take over";

    tk.set_window_hidden(1, 0);
    EXPECT_TRUE(tk.window(1)->visible);
    EXPECT_EQ(tk.active_window(), 1);
    tk.set_window_hidden(1, 1);
    EXPECT_FALSE(tk.window(1)->visible);
    EXPECT_EQ(tk.active_window(), 0);

    tk.resize_window(1, kKeep, kKeep, 640, 400);
    EXPECT_EQ(tk.window_left(1), 40);
    EXPECT_EQ(tk.window_top(1), 50);
    EXPECT_EQ(tk.window(1)->width, 640);
    EXPECT_EQ(tk.window(1)->height, 400);
    tk.resize_window(1, 7, kKeep, kKeep, kKeep);
    EXPECT_EQ(tk.window_left(1), 7);
    EXPECT_EQ(tk.window(1)->width, 640);

    tk.failing_windows.insert(2);
    EXPECT_EQ(tk.open_window(2, 0, 0, 10, 10, "x", 0), 0);
    EXPECT_EQ(tk.window(2), nullptr);
}

TEST_F(Headless, MenusFindItemsInSubmenusAndFailuresBuildNothing) {
    ASSERT_NE(tk.create_menu_bar(0, 0), 0);
    tk.menu_title("File");
    tk.menu_item(1, "Quit");
    tk.open_submenu("Charset");
    tk.menu_item(40, "One");
    tk.menu_item(41, "Two");
    tk.close_submenu();
    tk.menu_separator();
    tk.menu_item(2, "Grid");
    const std::vector<Kind> kinds = {Kind::Title, Kind::Item,       Kind::Submenu,   Kind::Item,
                                     Kind::Item,  Kind::SubmenuEnd, Kind::Separator, Kind::Item};
    ASSERT_NE(tk.menu(0), nullptr);
    ASSERT_EQ(tk.menu(0)->size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ((*tk.menu(0))[i].kind, kinds[i]) << i;

    tk.set_item_checked(0, 41, 1);
    EXPECT_EQ(tk.item_checked(0, 41), 1);
    EXPECT_EQ(tk.item_checked(0, 40), 0);
    tk.set_item_checked(0, 41, 0);
    EXPECT_EQ(tk.item_checked(0, 41), 0);

    // A failed create must not let later items land in the menu built before.
    tk.failing_menus.insert(2);
    EXPECT_EQ(tk.create_popup_menu(2), 0);
    tk.menu_item(16, "Set begin range");
    EXPECT_EQ(tk.menu_exists(2), 0);
    EXPECT_EQ(tk.menu(0)->size(), kinds.size());
    EXPECT_EQ(tk.create_menu_bar(3, 7), 0) << "no window 7";
}

TEST_F(Headless, PopupsAndShortcutsMakeMenuEvents) {
    ASSERT_NE(tk.open_window(1, 0, 0, 320, 200, "map", kMapWindow), 0);
    ASSERT_NE(tk.create_popup_menu(3), 0);
    tk.menu_item(30, "Insert");
    tk.popup_answers = {30, -1};
    tk.show_popup_menu(3, 1);
    EXPECT_EQ(tk.active_window(), 1);
    tk.show_popup_menu(3, 1);
    tk.show_popup_menu(3, 1); // script exhausted: closed without a choice
    EXPECT_EQ(tk.popups_shown(), (std::vector<int>{3, 3, 3}));
    ASSERT_EQ(tk.wait_event(), kEventMenu);
    EXPECT_EQ(tk.event_source(), 30);
    EXPECT_EQ(tk.event_window(), 1);
    EXPECT_EQ(tk.wait_event(), kEventClose);

    tk.add_shortcut(0, kComboCtrl | kKeyI, 10);
    tk.add_shortcut(0, kComboCtrl | kKeyI, 11);
    EXPECT_EQ(tk.shortcut(0, kComboCtrl | kKeyI), 11);
    tk.inject_combination(kComboCtrl | kKeyI); // window 1 is active: no shortcut there
    tk.set_active_window(0);
    tk.inject_combination(kKeyI);
    tk.inject_combination(kComboCtrl | kKeyI);
    ASSERT_EQ(tk.wait_event(), kEventMenu);
    EXPECT_EQ(tk.event_source(), 11);
    EXPECT_EQ(tk.wait_event(), kEventClose);
}

TEST_F(Headless, RequestersAnswerFromScriptsAndRecordMessages) {
    tk.colour_answers = {rgb(1, 2, 3)};
    EXPECT_EQ(tk.choose_colour(), rgb(1, 2, 3));
    EXPECT_EQ(tk.choose_colour(), -1);
    EXPECT_EQ(tk.colour_requests(), 2);
    // A palette chooser with a check box sets it with its answer; out of answers it is cancelled
    // and leaves the box.
    const Colour two[2] = {rgb(1, 1, 1), rgb(2, 2, 2)};
    PaletteCheck flash{"Flash", false};
    tk.palette_answers = {1};
    tk.palette_check_answers = {true, false};
    EXPECT_EQ(tk.choose_palette_entry("Pen colour", two, 0, &flash), 1);
    EXPECT_TRUE(flash.on);
    EXPECT_EQ(tk.choose_palette_entry("Pen colour", two, 1, &flash), -1);
    EXPECT_TRUE(flash.on);
    EXPECT_EQ(tk.palette_requests.back(), "Pen colour|2|1|Flash=1");

    tk.file_answers = {{"/tmp/a.fnt", 1}};
    EXPECT_EQ(tk.choose_open_file("Open", "/tmp/", "A|*.a|B|*.b", 0), "/tmp/a.fnt");
    EXPECT_EQ(tk.chosen_pattern(), 1);
    EXPECT_EQ(tk.choose_save_file("Save", "/tmp/x", ".bmp", 0), "");
    EXPECT_EQ(tk.chosen_pattern(), -1) << "after a cancel";
    ASSERT_EQ(tk.file_requests().size(), 2u);
    EXPECT_FALSE(tk.file_requests()[0].save);
    EXPECT_EQ(tk.file_requests()[0].patterns, "A|*.a|B|*.b");
    EXPECT_TRUE(tk.file_requests()[1].save);
    EXPECT_EQ(tk.file_requests()[1].start, "/tmp/x");

    tk.message_box("Save file", "File Error:/x");
    ASSERT_EQ(tk.messages().size(), 1u);
    EXPECT_EQ(tk.messages()[0].caption, "Save file");
    EXPECT_EQ(tk.messages()[0].text, "File Error:/x");
}

TEST(HeadlessSetup, WorkingDirectoryEndsInSlashAndCloseReleasesImages) {
    EXPECT_EQ(HeadlessToolkit({}, "/data/fonts").working_directory(), "/data/fonts/");
    HeadlessToolkit tk({"a b", "c"});
    EXPECT_EQ(tk.working_directory().back(), '/');
    EXPECT_EQ(tk.parameter_count(), 2);
    EXPECT_EQ(tk.parameter(0), "a b");
    EXPECT_EQ(tk.parameter(2), "");
    ASSERT_NE(tk.create_image(0, 4, 4), 0);
    tk.close();
    EXPECT_TRUE(tk.closed());
    EXPECT_EQ(tk.image(0), nullptr);
}

} // namespace
} // namespace fontarel
