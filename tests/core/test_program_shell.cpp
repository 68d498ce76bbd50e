// The application shell on the in-memory toolkit: start-up state, controls, menus, dispatch, check
// marks and the ways the program ends.

#include <vector>

#include "program_fixture.h"

namespace fontarel {
namespace {

using Entry = HeadlessToolkit::MenuEntry;
using Kind = HeadlessToolkit::MenuEntry::Kind;

TEST_F(ProgramTest, StartUpStateMatchesTheInitialValues) {
    const AppState& s = app.s;
    for (uint8_t b : s.charset->bytes) {
        ASSERT_EQ(b, 0);
    }
    EXPECT_EQ(s.current_char, 0);
    EXPECT_EQ(s.color_bit0, 0x000000);
    EXPECT_EQ(s.color_bit1, 0xFFFFFF);
    EXPECT_EQ(s.grid_on, 1);
    EXPECT_EQ(s.popup_cell_x, -1);
    EXPECT_EQ(s.popup_cell_y, -1);
    EXPECT_EQ(s.map_window_open, 1);
    EXPECT_EQ(s.file_directory, "/tmp/fontarel-work/");
    EXPECT_EQ(s.map_file_name, "/tmp/fontarel-work/charmap.map");
    EXPECT_EQ(s.map->cols, 40);
    EXPECT_EQ(s.map->rows, 24);
    for (int y = 0; y < kMapCapacityRows; ++y) {
        for (int x = 0; x < kMapCapacityCols; ++x) {
            ASSERT_EQ(s.map->at(x, y), x + 32) << x << "," << y;
        }
    }
    EXPECT_EQ(s.bit_reverse_table[0x01], 0x80);
    EXPECT_EQ(s.bit_reverse_table[0xA5], 0xA5);
    EXPECT_EQ(s.bit_reverse_table[0x12], 0x48);
    EXPECT_EQ(tk.focused_control(), kCharsetCanvas);
    EXPECT_TRUE(tk.messages().empty());
}

TEST_F(ProgramTest, WindowsOpenWithTheirSizesTitlesAndFlags) {
    const auto* main = tk.window(kMainWindow);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->title, "fontarel v2 0.9e");
    EXPECT_EQ(main->width, 640);
    EXPECT_EQ(main->height, 480);
    EXPECT_EQ(main->flags, 0x00CA0001);
    EXPECT_TRUE(main->visible);

    const auto* map = tk.window(kMapWindow);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->title, "Character map");
    EXPECT_EQ(map->width, 522);
    EXPECT_EQ(map->height, 394);
    EXPECT_EQ(map->x, tk.window_left(kMainWindow) + 40);
    EXPECT_EQ(map->y, tk.window_top(kMainWindow) + 40);
    EXPECT_EQ(map->flags, 0x10CA0000);
    EXPECT_FALSE(map->visible);
}

TEST_F(ProgramTest, ControlsHaveTheirGeometryTextsFlagsAndTooltips) {
    using CK = HeadlessToolkit::ControlKind;
    struct Expected {
        int number;
        CK kind;
        int window, x, y, w, h;
        const char* text;
        int flags;
        const char* tooltip;
    };
    const Expected table[] = {
        {0, CK::Canvas, 0, 0, 0, 260, 260, "", 5, ""},
        {7, CK::Label, 0, 20, 260, 255, 20, "Begin range:0", 1, ""},
        {5, CK::TrackBar, 0, 20, 280, 255, 30, "", 1, ""},
        {8, CK::Label, 0, 20, 310, 255, 20, "End range:0", 1, ""},
        {6, CK::TrackBar, 0, 20, 330, 255, 30, "", 1, ""},
        {4, CK::CheckBox, 0, 0, 310, 20, 20, "", 0, "Enable range"},
        {9, CK::Button, 0, 262, 128, 32, 20, "<", 0, "shift left"},
        {11, CK::Button, 0, 294, 128, 32, 20, "^", 0, "shift up"},
        {12, CK::Button, 0, 326, 128, 32, 20, "v", 0, "shift down"},
        {10, CK::Button, 0, 358, 128, 32, 20, ">", 0, "shift right"},
        {3, CK::TextField, 0, 262, 148, 128, 40, "0,0,0,0,0,0,0,0", 7, "Data for char"},
        {1, CK::Canvas, 0, 262, 0, 128, 128, "", 0, ""},
        {2, CK::Canvas, 1, 0, 0, 1280, 800, "", 0, ""},
    };
    for (const auto& e : table) {
        SCOPED_TRACE(e.number);
        const auto* c = tk.control(e.number);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->kind, e.kind);
        EXPECT_EQ(c->window, e.window);
        EXPECT_EQ(c->x, e.x);
        EXPECT_EQ(c->y, e.y);
        EXPECT_EQ(c->width, e.w);
        EXPECT_EQ(c->height, e.h);
        EXPECT_EQ(c->text, e.text);
        EXPECT_EQ(c->flags, e.flags);
        EXPECT_EQ(c->tooltip, e.tooltip);
    }
    EXPECT_EQ(tk.control(kBeginRangeBar)->maximum, 255);
    EXPECT_EQ(tk.control(kEndRangeBar)->state, 0);
    EXPECT_EQ(tk.control(kRangeCheckBox)->state, 0);
    // The bordered charset canvas has a drawing surface exactly the size of the charset image.
    EXPECT_EQ(picture(kCharsetCanvas).width(), 256);
    EXPECT_EQ(picture(kCharsetCanvas).height(), 256);
    EXPECT_TRUE(tk.control(kCharsetCanvas)->drop_enabled);
    EXPECT_TRUE(tk.control(kMapCanvas)->drop_enabled);
    EXPECT_FALSE(tk.control(kGlyphCanvas)->drop_enabled);
}

// Flattens a menu into "T:title", "I:id:text[*]", "-", "S:text", "E" for comparison.
std::vector<std::string> flatten(const std::vector<Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries) {
        switch (e.kind) {
        case Kind::Title:
            out.push_back("T:" + e.text);
            break;
        case Kind::Item:
            out.push_back("I:" + std::to_string(e.id) + ":" + e.text + (e.checked ? "*" : ""));
            break;
        case Kind::Separator:
            out.push_back("-");
            break;
        case Kind::Submenu:
            out.push_back("S:" + e.text);
            break;
        case Kind::SubmenuEnd:
            out.push_back("E");
            break;
        }
    }
    return out;
}

TEST_F(ProgramTest, MenuBarAndPopupsAreBuiltInOrderWithTheirCheckMarks) {
    const std::vector<std::string> bar = {"T:File",
                                          "I:0:Open...\tCtrl+O",
                                          "S:Save",
                                          "I:2:ZX 96 chars(768bytes)",
                                          "I:3:Atari 128 chars(1024bytes)",
                                          "I:4:IBM 256 chars(2048bytes)",
                                          "-",
                                          "I:5:Character_map",
                                          "I:6:Characters image",
                                          "E",
                                          "S:Export",
                                          "I:49:Assembler .byte...",
                                          "I:50:Assembler !byte...",
                                          "I:51:Assembler defb...",
                                          "I:52:C array...",
                                          "I:53:BASIC DATA...",
                                          "I:54:PNG picture...",
                                          "I:55:Linux console font (PSF)...",
                                          "I:56:X11 bitmap font (BDF)...",
                                          "-",
                                          "I:57:Map as assembler...",
                                          "I:58:Map as C array...",
                                          "E",
                                          "I:1:Quit",
                                          "T:Char",
                                          "S:Map",
                                          "I:21:ZX 32x24",
                                          "I:22:Atari 40x24",
                                          "I:23:C64 40x25",
                                          "I:24:PC 80x50",
                                          "I:25:USSR 64x30",
                                          "-",
                                          "I:26:Fill map with current char",
                                          "I:27:Grid on map*",
                                          "E",
                                          "S:Charset",
                                          "I:28:IBM PC CGA",
                                          "I:31:IBM PC 866",
                                          "-",
                                          "I:32:ZX Spectrum",
                                          "I:33:ZX80",
                                          "I:35:Jupiter Ace",
                                          "-",
                                          "I:29:C64 CAPS",
                                          "I:30:Atari XL",
                                          "I:34:Microsha(USSR)",
                                          "-",
                                          "I:36:Hex numbers",
                                          "E",
                                          "-",
                                          "I:18:Drag mode:swap*",
                                          "I:19:Drag mode:copy",
                                          "-",
                                          "I:39:rotate clockwise",
                                          "I:40:rotate anticlockwise",
                                          "-",
                                          "I:38:Color for bit=0...",
                                          "I:37:Color for bit=1...",
                                          "-",
                                          "I:10:Erase all charset",
                                          "I:11:Clear character",
                                          "I:7:Invert\tCtrl+I",
                                          "I:8:Revert char left-right",
                                          "I:9:Revert char up-down",
                                          "-",
                                          "I:16:Set begin range",
                                          "I:17:Set end range",
                                          "I:20:Copy data range to current",
                                          "-",
                                          "I:12:Char shift left",
                                          "I:13:Char shift right",
                                          "I:14:Char shift up",
                                          "I:15:Char shift down",
                                          "T:Edit",
                                          "I:47:Undo\tCtrl+Z",
                                          "I:48:Redo\tCtrl+Y"};
    ASSERT_NE(tk.menu(kMenuBar), nullptr);
    EXPECT_EQ(flatten(*tk.menu(kMenuBar)), bar);
    const std::vector<std::string> popup2 = {"I:16:Set begin range", "I:17:Set end range",
                                             "I:20:Copy data range to current"};
    EXPECT_EQ(flatten(*tk.menu(kCharsetPopup)), popup2);
    const std::vector<std::string> popup3 = {"I:41:Insert char",   "I:42:Delete char",  "-",
                                             "I:43:Insert line",   "I:44:Delete line",  "-",
                                             "I:45:Insert column", "I:46:Delete column"};
    EXPECT_EQ(flatten(*tk.menu(kMapPopup)), popup3);
    EXPECT_EQ(tk.shortcut(kMainWindow, 0x20049), 7);
    EXPECT_EQ(tk.shortcut(kMainWindow, 0x2004F), 0);
    EXPECT_FALSE(tk.shortcut(kMapWindow, 0x20049).has_value());
}

TEST_F(ProgramTest, DragModeItemsActAsOnePairOfRadioItems) {
    menu(MenuId::DragCopy);
    menu(MenuId::DragCopy);
    EXPECT_EQ(tk.item_checked(kMenuBar, 19), 1);
    EXPECT_EQ(tk.item_checked(kMenuBar, 18), 0);
    menu(MenuId::DragSwap);
    EXPECT_EQ(tk.item_checked(kMenuBar, 18), 1);
    EXPECT_EQ(tk.item_checked(kMenuBar, 19), 0);
}

TEST_F(ProgramTest, GridToggleKeepsFieldAndCheckMarkTogether) {
    menu(MenuId::GridOnMap);
    EXPECT_EQ(app.s.grid_on, 0);
    EXPECT_EQ(tk.item_checked(kMenuBar, 27), 0);
    menu(MenuId::GridOnMap);
    EXPECT_EQ(app.s.grid_on, 1);
    EXPECT_EQ(tk.item_checked(kMenuBar, 27), 1);
}

TEST_F(ProgramTest, QuitAndTheMainCloseBoxEndTheLoopTheMapCloseBoxHides) {
    tk.set_window_hidden(kMapWindow, 0);
    tk.inject_close(kMapWindow);
    EXPECT_TRUE(handle());
    EXPECT_FALSE(tk.window(kMapWindow)->visible);
    tk.inject_close(kMainWindow);
    EXPECT_FALSE(handle());
    tk.inject_menu(id(MenuId::Quit));
    EXPECT_FALSE(handle());
}

TEST_F(ProgramTest, EscapeHeldEndsTheLoopWithoutHandlingTheEvent) {
    app.store().glyph(0)[0] = 0x0F;
    tk.inject_menu(id(MenuId::Invert));
    tk.inject_menu(id(MenuId::Invert));
    tk.on_idle = [] { FAIL() << "the loop went on after Escape"; };
    tk.set_escape_down(true);
    run_event_loop(app);
    EXPECT_EQ(app.store().glyph(0)[0], 0x0F);
    EXPECT_EQ(app.s.last_event, kEventMenu);
}

TEST_F(ProgramTest, LoopHandlesQueuedEventsInOrderAndEndsOnQuit) {
    app.store().glyph(0)[0] = 0x0F;
    tk.inject_menu(id(MenuId::Invert));
    tk.inject_control(kRangeCheckBox, 1); // no effect by itself
    tk.inject_menu(id(MenuId::Quit));
    tk.inject_menu(id(MenuId::Invert)); // never reached
    run_event_loop(app);
    EXPECT_EQ(app.store().glyph(0)[0], 0xF0);
    EXPECT_EQ(app.s.last_event, kEventMenu);
}

TEST_F(ProgramTest, ShortcutsWorkOnlyWhileTheMainWindowIsActive) {
    tk.set_active_window(kMapWindow);
    tk.inject_combination(kComboInvert);
    tk.on_idle = nullptr;
    run_event_loop(app); // idle: the close box ends it
    EXPECT_EQ(app.store().glyph(0)[0], 0x00);

    tk.set_active_window(kMainWindow);
    tk.inject_combination(kComboInvert);
    EXPECT_TRUE(handle());
    EXPECT_EQ(app.store().glyph(0)[0], 0xFF);
}

TEST_F(ProgramTest, ColourCommandsSetTheColourAndRedrawOrChangeNothingWhenCancelled) {
    app.store().glyph(0)[0] = 0x80;
    menu(MenuId::ColourBit1); // empty script: cancelled
    EXPECT_EQ(tk.colour_requests(), 1);
    EXPECT_EQ(app.s.color_bit1, 0xFFFFFF);
    EXPECT_EQ(app.s.color_choice, -1);

    tk.colour_answers = {rgb(255, 0, 0), rgb(0, 0, 255)};
    menu(MenuId::ColourBit1);
    menu(MenuId::ColourBit0);
    EXPECT_EQ(app.s.color_bit1, 0x0000FF);
    EXPECT_EQ(app.s.color_bit0, 0xFF0000);
    // Both views show the new colours at once.
    EXPECT_EQ(tk.image(kCharsetImage)->pixel(0, 0), 0x0000FF);
    EXPECT_EQ(tk.image(kCharsetImage)->pixel(2, 0), 0xFF0000);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(5, 5), 0x0000FF);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(21, 5), 0xFF0000);
}

TEST_F(ProgramTest, UnknownIdsAndInertControlsChangeNothing) {
    app.store().glyph(0)[3] = 0x5A;
    const auto before = app.store().bytes;
    for (int item : {-1, 47, 99, 13100}) {
        tk.inject_menu(item);
        EXPECT_TRUE(handle());
    }
    for (int control : {kGlyphDataText, kRangeCheckBox, kBeginRangeLabel, kEndRangeLabel, 77}) {
        tk.inject_control(control);
        EXPECT_TRUE(handle());
    }
    EXPECT_EQ(app.store().bytes, before);
    EXPECT_EQ(text(kBeginRangeLabel), "Begin range:0");
}

TEST(ProgramStartUp, MainWindowFailureEndsSilentlyWithExitCodeZero) {
    HeadlessToolkit tk;
    tk.failing_windows = {kMainWindow};
    EXPECT_EQ(run_program(tk), 0);
    EXPECT_TRUE(tk.messages().empty());
    EXPECT_TRUE(tk.closed());
}

TEST(ProgramStartUp, MapWindowFailureIsReportedAndTheMainWindowKeepsWorking) {
    HeadlessToolkit tk;
    tk.failing_windows = {kMapWindow};
    App app(tk);
    ASSERT_TRUE(open_program(app));
    ASSERT_EQ(tk.messages().size(), 1u);
    EXPECT_EQ(tk.messages()[0].caption, "Fontarel");
    EXPECT_EQ(tk.messages()[0].text, "Character Map not available");
    EXPECT_EQ(app.s.map_window_open, 0);
    tk.inject_menu(id(MenuId::Invert));
    EXPECT_TRUE(dispatch_event(app, tk.wait_event()));
    EXPECT_EQ(app.store().glyph(0)[0], 0xFF);
}

TEST(ProgramStartUp, MenuFailuresAreReportedAndStartUpGoesOn) {
    HeadlessToolkit tk;
    tk.failing_menus = {kMenuBar, kCharsetPopup, kMapPopup};
    App app(tk);
    ASSERT_TRUE(open_program(app));
    ASSERT_EQ(tk.messages().size(), 3u);
    EXPECT_EQ(tk.messages()[0].text, "create menu error!");
    EXPECT_EQ(tk.messages()[1].text, "create menu #2 error!");
    EXPECT_EQ(tk.messages()[2].text, "create menu #3 error!");
    for (const auto& m : tk.messages()) {
        EXPECT_EQ(m.caption, "fontarel");
    }
    EXPECT_FALSE(tk.shortcut(kMainWindow, kComboInvert).has_value());
    EXPECT_EQ(tk.menu_exists(kCharsetPopup), 0);
}

TEST(ProgramStartUp, WholeRunEndsOnIdleCloseWithExitCodeZero) {
    HeadlessToolkit tk;
    EXPECT_EQ(run_program(tk), 0);
    EXPECT_TRUE(tk.closed());
}

} // namespace
} // namespace fontarel
