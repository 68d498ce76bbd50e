// Blocks of map cells in the running program: a Shift-drag selects, the Edit commands and their
// keys in the map window act on the selection through the clipboard, each change is one undo step,
// and the rows are greyed out when they cannot act.

#include "app/commands/block_commands.h"
#include "app/event_loop.h"
#include "model/labels.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

class BlockCommands : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        menu(MenuId::MapZx); // 32 x 24; start-up put x + 32 into every cell (x, y)
    }
    // A press, moves and release of the left button over map cells, with or without Shift.
    void drag(int c0, int r0, int c1, int r1, bool shift = true) {
        for (const int kind : {kKindLeftDown, kKindMouseMove, kKindLeftUp, kKindLeftClick}) {
            Event e;
            e.code = kEventControl;
            e.source = kMapCanvas;
            e.window = kMapWindow;
            e.kind = kind;
            const bool end = kind != kKindLeftDown;
            e.x = 16 * (end ? c1 : c0) + 8;
            e.y = 16 * (end ? r1 : r0) + 8;
            e.buttons = kind == kKindLeftDown || kind == kKindMouseMove ? kButtonLeft : 0;
            e.modifiers = shift ? kModShift : 0;
            tk.post_event(e);
            handle();
        }
    }
    void keys(int combination, int window = kMapWindow) {
        tk.set_active_window(window);
        tk.inject_combination(combination);
        ASSERT_EQ(tk.pending_events(), 1u) << "no shortcut " << std::hex << combination;
        handle();
    }
    int cell(int c, int r) const { return app.s.map->at(c, r); }
    int enabled(MenuId item) const { return tk.item_enabled(kMenuBar, id(item)); }
};

TEST_F(BlockCommands, SelectionCopyPasteCutClearAndTheirSteps) {
    EXPECT_EQ(enabled(MenuId::Copy), 0);
    canvas(kMapCanvas, kKindMouseMove, 16 * 10 + 8, 16 * 5 + 8); // the title names a cell first
    drag(10, 5, 3, 2);                                           // either direction
    EXPECT_EQ(app.blocks.selection, (CellRect{3, 2, 8, 4}));
    EXPECT_EQ(tk.window(kMapWindow)->title, "Character map (3,2)-(10,5) 8x4");
    EXPECT_EQ(cell(3, 2), 35) << "a Shift-drag paints nothing";
    EXPECT_EQ(enabled(MenuId::Copy), 1);
    const size_t steps = app.s.history.undo_count();

    keys(kComboCtrl | 'C');
    EXPECT_EQ(tk.clipboard_text.substr(0, 20), "        .byte $23,$2");
    EXPECT_EQ(tk.window(kMapWindow)->title, "Character map (3,2)-(10,5) 8x4") << "still";
    // Pasted with its corner on the hovered cell at the map's right edge: clipped to 32 columns.
    canvas(kMapCanvas, kKindMouseMove, 16 * 28 + 8, 16 * 20 + 8);
    drag(28, 20, 29, 20); // a selection names itself; the paste names the hovered cell again
    app.views.map_hover = {28, 20};
    keys(kComboCtrl | 'V');
    EXPECT_EQ(app.blocks.selection, (CellRect{28, 20, 4, 4}));
    EXPECT_EQ(cell(28, 20), 35);
    EXPECT_EQ(cell(31, 23), 38);
    EXPECT_EQ(cell(32, 20), 64) << "the spare column is never written";
    EXPECT_EQ(tk.window(kMapWindow)->title, "Character map (28,20):35[23]") << "the new code";
    EXPECT_EQ(app.s.history.undo_count(), steps + 1);

    keys(kComboCtrl | 'X'); // the pasted block: copied, then blank: 32, as glyph 32 is blank
    EXPECT_EQ(cell(28, 20), 32);
    EXPECT_EQ(cell(31, 23), 32);
    EXPECT_EQ(app.s.history.undo_count(), steps + 2);
    tk.inject_combination(kComboUndo);
    handle();
    EXPECT_EQ(cell(28, 20), 35);
    EXPECT_FALSE(app.blocks.selection.empty()) << "an undo that keeps the size keeps the selection";

    keys(kComboCtrl | 'A');
    EXPECT_EQ(app.blocks.selection, (CellRect{0, 0, 32, 24}));
    app.store().glyph(32)[0] = 1; // then the lowest code whose glyph is blank
    app.store().glyph(0)[0] = 1;
    keys(kKeyDelete);
    EXPECT_EQ(cell(0, 0), 1);
    EXPECT_EQ(cell(31, 23), 1);
    EXPECT_EQ(cell(32, 0), 64);

    // A press without Shift drops the selection as it paints, and greys the rows out again.
    canvas(kMapCanvas, kKindLeftDown, 16 * 1 + 8, 16 * 1 + 8, kButtonLeft);
    EXPECT_TRUE(app.blocks.selection.empty());
    canvas(kMapCanvas, kKindLeftUp, 16 * 1 + 8, 16 * 1 + 8);
    EXPECT_EQ(enabled(MenuId::Cut), 0);
    EXPECT_EQ(enabled(MenuId::Paste), 1);
}

TEST_F(BlockCommands, PasteReadsTextFormsAndRefusesOtherTextInTheTitle) {
    const struct {
        const char* text;
        bool pastes;
    } texts[] = {
        // Every form the model reads is its own test's; here one of each outcome.
        {"    {0x41, 0x42},\n    {0x43, 0x44},\n", true},
        {"hello, world", false},
    };
    for (const auto& t : texts) {
        app.blocks.selection = {5, 5, 1, 1};
        app.s.map->at(5, 5) = 0;
        tk.clipboard_text = t.text;
        tk.clipboard_private.clear();
        menu(MenuId::Paste);
        EXPECT_EQ(cell(5, 5) == 'A' && cell(6, 6) == 'D', t.pastes) << t.text;
        if (!t.pastes) {
            EXPECT_EQ(tk.window(kMapWindow)->title,
                      "Character map: the clipboard holds no block of codes");
        }
    }
}

TEST_F(BlockCommands, MainWindowKeysCopyAndPasteTheGlyphsEightBytes) {
    const std::array<uint8_t, 8> a_glyph = {48, 120, 204, 204, 252, 204, 204, 0};
    std::copy(a_glyph.begin(), a_glyph.end(), app.store().glyph(0).begin());
    keys(kComboCtrl | 'C', kMainWindow);
    EXPECT_EQ(tk.clipboard_text, "48,120,204,204,252,204,204,0");
    EXPECT_TRUE(tk.clipboard_private.empty());
    EXPECT_EQ(enabled(MenuId::Paste), 1);

    app.s.current_char = 5;
    keys(kComboCtrl | 'V', kMainWindow);
    EXPECT_TRUE(std::ranges::equal(app.store().glyph(5), a_glyph));
    tk.clipboard_text = "        .byte 1,2,3";
    keys(kComboCtrl | 'V', kMainWindow);
    EXPECT_TRUE(std::ranges::equal(app.store().glyph(5), a_glyph)) << "three values are no glyph";
    EXPECT_EQ(title(), app.s.window_title + ": the clipboard holds no 8 glyph bytes");
    tk.clipboard_text = "1,2,3,4,5,6,7,8"; // a later paste that works puts the glyph's title back
    keys(kComboCtrl | 'V', kMainWindow);
    EXPECT_EQ(title(), char_title(app.s.window_title, app.s.current_char));
}

TEST_F(BlockCommands, TypingFromTheMenuStartsAtTheFirstCellInThePensColour) {
    menu(MenuId::MachineC64);
    app.s.pen_colour = 2;
    menu(MenuId::TypeText); // no cell hovered, nothing selected
    ASSERT_TRUE(app.blocks.typing.active);
    EXPECT_EQ(app.blocks.typing.cursor, (MapCell{0, 0}));
    tk.inject_canvas(kMapCanvas, kKindChar, 0, 0, 0, 'A');
    handle();
    EXPECT_EQ(cell(0, 0), 'A');
    EXPECT_EQ(app.s.map->attr(0, 0), 2) << "typed text takes the pen's colour";
}

TEST_F(BlockCommands, EscapeAndAClickOnAnyControlEndTypingAndTheProgramGoesOn) {
    const auto start_typing = [&] {
        canvas(kMapCanvas, kKindMouseMove, 16 * 3 + 8, 16 * 2 + 8);
        tk.inject_canvas(kMapCanvas, kKindChar, 0, 0, 0, 't');
        handle();
        ASSERT_TRUE(app.blocks.typing.active);
    };
    tk.inject_canvas(kMapCanvas, kKindChar, 0, 0, 0, 'x');
    handle();
    EXPECT_FALSE(app.blocks.typing.active) << "only T starts typing";
    start_typing();
    tk.set_escape_down(true);
    EXPECT_FALSE(escape_ends_program(app));
    EXPECT_FALSE(app.blocks.typing.active);
    EXPECT_FALSE(escape_ends_program(app)) << "still held: it ended typing only";
    tk.set_escape_down(false);
    EXPECT_FALSE(escape_ends_program(app));
    tk.set_escape_down(true);
    EXPECT_TRUE(escape_ends_program(app)) << "outside typing Escape ends the program";
    tk.set_escape_down(false);

    start_typing();
    canvas(kCharsetCanvas, kKindMouseMove, 8, 8);
    EXPECT_TRUE(app.blocks.typing.active) << "the pointer passing over the grid";
    tk.inject_control(kBeginRangeBar, 40);
    handle();
    EXPECT_FALSE(app.blocks.typing.active) << "a range bar moved";
}

TEST_F(BlockCommands, TypingWritesWrapsStepsBackAndIsOneUndoStep) {
    const auto type = [&](int kind, int value) {
        Event e;
        e.code = kEventControl;
        e.source = kMapCanvas;
        e.window = kMapWindow;
        e.kind = kind;
        (kind == kKindChar ? e.character : e.key) = value;
        tk.post_event(e);
        handle();
    };
    canvas(kMapCanvas, kKindMouseMove, 16 * 29 + 8, 16 * 0 + 8);
    const size_t steps = app.s.history.undo_count();
    type(kKindChar, 't'); // over the map, T starts typing at the hovered cell
    ASSERT_TRUE(app.blocks.typing.active);
    const struct {
        int kind, value;
        int column, row, code; // the cell the key wrote, or {-1} when it writes none
        MapCell cursor;
    } steps_typed[] = {
        {kKindChar, 'A', 29, 0, 'A', {30, 0}},  {kKindChar, 'B', 30, 0, 'B', {31, 0}},
        {kKindChar, '@', 31, 0, '@', {0, 1}}, // wraps at the map's edge
        {kKindChar, 'x', 0, 1, 'x', {1, 1}},    {kKindKeyDown, 8, 0, 1, ' ', {0, 1}}, // Backspace
        {kKindKeyDown, 8, 31, 0, ' ', {31, 0}}, // back across the first row's start
        {kKindKeyDown, 13, -1, 0, 0, {29, 1}},  // Return: under where typing began
        {kKindChar, 't', 29, 1, 't', {30, 1}},  // while typing, T is a letter
    };
    for (const auto& k : steps_typed) {
        type(k.kind, k.value);
        if (k.column >= 0) {
            EXPECT_EQ(cell(k.column, k.row), k.code) << k.value;
        }
        EXPECT_EQ(app.blocks.typing.cursor, k.cursor) << k.value;
    }
    EXPECT_EQ(cell(30, 1), 30 + 32) << "Return writes nothing";
    EXPECT_EQ(picture(kMapCanvas).pixel(16 * 30, 16 * 1), kMapCursorColour);

    menu(MenuId::TypeText); // the row again leaves typing; all of it was one step
    EXPECT_FALSE(app.blocks.typing.active);
    EXPECT_EQ(app.s.history.undo_count(), steps + 1);
    menu(MenuId::Undo);
    EXPECT_EQ(cell(29, 0), 29 + 32);
    EXPECT_EQ(cell(29, 1), 29 + 32);

    // Screen codes, started from the menu at the selection's corner; a click on the map leaves
    // typing and paints nothing.
    menu(MenuId::TypeScreenCodes);
    EXPECT_EQ(tk.item_checked(kMenuBar, id(MenuId::TypeScreenCodes)), 1);
    app.views.map_hover = {};
    app.blocks.selection = {2, 2, 1, 1};
    menu(MenuId::TypeText);
    type(kKindChar, 'A');
    EXPECT_EQ(cell(2, 2), 1);
    drag(9, 9, 9, 9, false);
    EXPECT_FALSE(app.blocks.typing.active);
    EXPECT_EQ(cell(9, 9), 9 + 32);
}

} // namespace
} // namespace fontarel
