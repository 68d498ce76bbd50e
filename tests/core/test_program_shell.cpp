// The application shell on the in-memory toolkit: start-up state, controls, menus, dispatch, check
// marks and the ways the program ends.

#include <vector>

#include "program_fixture.h"

namespace fontarel {
namespace {

using Entry = HeadlessToolkit::MenuEntry;
using Kind = HeadlessToolkit::MenuEntry::Kind;

// Right after start-up: an empty charset, no message, the grid holding the keyboard focus, drops
// taken by the grid and the map only, and a 40 x 24 map of the codes from 32 on, as hovering it
// shows.
TEST_F(ProgramTest, StartUpHasAnEmptyCharsetAndAMapOfTheCodesFrom32On) {
    for (uint8_t b : app.store().bytes) {
        ASSERT_EQ(b, 0);
    }
    EXPECT_TRUE(tk.messages().empty());
    EXPECT_EQ(tk.focused_control(), kCharsetCanvas);

    for (int control : {kGlyphCanvas, kGlyphDataText, kBeginRangeBar, kRangeCheckBox}) {
        tk.inject_drop(control, "/tmp/fontarel-work/x.fnt");
    }
    EXPECT_EQ(tk.pending_events(), 0u) << "a control that takes no files took a drop";
    tk.inject_drop(kCharsetCanvas, "/tmp/fontarel-work/x.fnt");
    tk.inject_drop(kMapCanvas, "/tmp/fontarel-work/x.map");
    EXPECT_EQ(tk.pending_events(), 2u);
    handle(2);

    canvas(kMapCanvas, kKindMouseMove, 16 * 39 + 8, 16 * 23 + 8);
    EXPECT_EQ(tk.window(kMapWindow)->title, "Character map (39,23):71[47]");
    canvas(kMapCanvas, kKindMouseMove, 16 * 5 + 1, 16 * 7 + 1);
    EXPECT_EQ(tk.window(kMapWindow)->title, "Character map (5,7):37[25]");
    // Beyond the 40 columns and 24 rows in use a hover names no cell.
    canvas(kMapCanvas, kKindMouseMove, 16 * 40 + 8, 8);
    canvas(kMapCanvas, kKindMouseMove, 8, 16 * 24 + 8);
    EXPECT_EQ(tk.window(kMapWindow)->title, "Character map (5,7):37[25]");
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
                                          "I:84:Map colours",
                                          "I:6:Characters image",
                                          "E",
                                          "I:88:Save project\tCtrl+S",
                                          "I:89:Save project as...",
                                          "I:90:Recover last session",
                                          "S:Export",
                                          "I:49:Assembler .byte...",
                                          "I:50:Assembler !byte...",
                                          "I:51:Assembler defb...",
                                          "I:52:C array...",
                                          "I:53:BASIC DATA...",
                                          "I:54:PNG picture...",
                                          "I:55:Linux console font (PSF)...",
                                          "I:56:X11 bitmap font (BDF)...",
                                          "I:64:PRG with load address...",
                                          "-",
                                          "I:57:Map as assembler...",
                                          "I:58:Map as C array...",
                                          "I:86:Spectrum screen (.scr)...",
                                          "I:87:PC text screen (B800)...",
                                          "I:94:Map picture (PNG)...",
                                          "E",
                                          "S:Import",
                                          "I:59:Font (PSF, BDF)...",
                                          "I:60:Charset picture (PNG, BMP, GIF)...",
                                          "I:61:PRG with load address...",
                                          "-",
                                          "I:62:Screen picture, new charset...",
                                          "I:63:Screen picture, current charset...",
                                          "I:85:Map colours...",
                                          "-",
                                          "I:107:CTM project...",
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
                                          "-",
                                          "I:125:Material...",
                                          "-",
                                          "I:139:Compact charset",
                                          "I:140:Show unused glyphs",
                                          "T:Edit",
                                          "I:47:Undo\tCtrl+Z",
                                          "I:48:Redo\tCtrl+Y",
                                          "-",
                                          "I:65:Cut\tCtrl+X",
                                          "I:66:Copy\tCtrl+C",
                                          "I:67:Paste\tCtrl+V",
                                          "I:68:Clear\tDelete",
                                          "I:69:Select all\tCtrl+A",
                                          "-",
                                          "I:70:Type text\tT",
                                          "I:71:Type with screen codes",
                                          "T:Colour",
                                          "I:74:Mono*",
                                          "I:75:C64",
                                          "I:76:ZX Spectrum",
                                          "I:77:PC text",
                                          "-",
                                          "I:78:Pen colour...",
                                          "I:79:Paper colour...",
                                          "I:80:Background / border colour...",
                                          "-",
                                          "I:81:Paint codes and colours*",
                                          "I:82:Paint colours only",
                                          "I:83:Paint codes only",
                                          "-",
                                          "I:91:Multicolour",
                                          "I:92:Multicolour 1...",
                                          "I:93:Multicolour 2...",
                                          "-",
                                          "I:121:Extended background colour",
                                          "I:122:Background 1...",
                                          "I:123:Background 2...",
                                          "I:124:Background 3...",
                                          "-",
                                          "I:143:Atari",
                                          "I:144:Text 2 colours",
                                          "I:145:Text 4 colours",
                                          "I:146:Text 4 colours tall",
                                          "I:147:Atari colours...",
                                          "T:Level",
                                          "I:95:Show level",
                                          "I:96:Show tiles",
                                          "-",
                                          "I:97:New level...",
                                          "-",
                                          "I:98:Insert column",
                                          "I:99:Delete column",
                                          "I:100:Insert row",
                                          "I:101:Delete row",
                                          "-",
                                          "I:102:New tile",
                                          "I:104:Duplicate tile",
                                          "I:103:Delete unused tiles",
                                          "-",
                                          "I:105:Make tiles from map",
                                          "I:106:Level screen to map",
                                          "-",
                                          "S:Export",
                                          "I:108:Tiles as assembler .byte...",
                                          "I:109:Tiles as assembler !byte...",
                                          "I:110:Tiles as assembler defb...",
                                          "I:111:Tiles as C array...",
                                          "I:112:Tiles as binary...",
                                          "I:113:Tiles as PRG...",
                                          "-",
                                          "I:114:Level as assembler .byte...",
                                          "I:115:Level as assembler !byte...",
                                          "I:116:Level as assembler defb...",
                                          "I:117:Level as C array...",
                                          "I:118:Level as binary...",
                                          "I:119:Level as PRG...",
                                          "I:120:Level picture (PNG)...",
                                          "-",
                                          "I:127:Materials as assembler .byte...",
                                          "I:128:Materials as assembler !byte...",
                                          "I:129:Materials as assembler defb...",
                                          "I:130:Materials as C array...",
                                          "I:131:Materials as binary...",
                                          "I:132:Materials as PRG...",
                                          "-",
                                          "I:133:Tile tags as assembler .byte...",
                                          "I:134:Tile tags as assembler !byte...",
                                          "I:135:Tile tags as assembler defb...",
                                          "I:136:Tile tags as C array...",
                                          "I:137:Tile tags as binary...",
                                          "I:138:Tile tags as PRG...",
                                          "-",
                                          "I:142:Tiled map (TMX)...",
                                          "-",
                                          "I:148:Numbers in decimal",
                                          "I:149:Tile numbers as low and high bytes",
                                          "I:150:Tile attributes as colours only",
                                          "I:151:Part of the level...",
                                          "E",
                                          "-",
                                          "I:126:Tile name and tag...",
                                          "I:141:Expand tiles"};
    ASSERT_NE(tk.menu(kMenuBar), nullptr);
    EXPECT_EQ(flatten(*tk.menu(kMenuBar)), bar);
    const std::vector<std::string> popup2 = {"I:16:Set begin range", "I:17:Set end range",
                                             "I:20:Copy data range to current"};
    EXPECT_EQ(flatten(*tk.menu(kCharsetPopup)), popup2);
    const std::vector<std::string> popup3 = {"I:41:Insert char",   "I:42:Delete char",  "-",
                                             "I:43:Insert line",   "I:44:Delete line",  "-",
                                             "I:45:Insert column", "I:46:Delete column"};
    EXPECT_EQ(flatten(*tk.menu(kMapPopup)), popup3);
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
    tk.inject_combination(kComboOpen);
    tk.on_idle = nullptr;
    run_event_loop(app); // idle: the close box ends it
    EXPECT_EQ(app.store().glyph(0)[0], 0x00);
    EXPECT_TRUE(tk.file_requests().empty());

    tk.set_active_window(kMainWindow);
    tk.inject_combination(kComboInvert);
    EXPECT_TRUE(handle());
    EXPECT_EQ(app.store().glyph(0)[0], 0xFF);
    // Ctrl+O opens the load requester, as "Open..." does.
    tk.inject_combination(kComboOpen);
    EXPECT_TRUE(handle());
    ASSERT_EQ(tk.file_requests().size(), 1u);
    EXPECT_FALSE(tk.file_requests()[0].save);
    EXPECT_EQ(tk.file_requests()[0].title, "Please choose file to load");
    EXPECT_EQ(tk.file_requests()[0].start, "/tmp/fontarel-work/"); // the working directory
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
