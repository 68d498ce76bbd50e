// The glyph and range commands in the running program on the in-memory toolkit: menu items, the
// shortcut, the shift buttons, the range bars, labels and check box, and the range error.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/commands/glyph_commands.h"
#include "app/commands/history_commands.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "app/views/charset_canvas.h"
#include "app/views/present.h"
#include "model/glyph_transforms.h"
#include "model/labels.h"
#include "program_fixture.h"
#include "render/charset_picture.h"
#include "render/geometry.h"
#include "render/map_screen.h"
#include "toolkit/headless/headless_toolkit.h"

using namespace fontarel;

namespace {

using Glyph = std::array<uint8_t, 8>;

// No symmetry, so each of the ten operations gives it a different look.
constexpr Glyph kAsymmetric{0xF0, 0x80, 0xC0, 0x81, 0x01, 0x3C, 0x02, 0x07};

struct CharsetCommands : ::testing::Test {
    HeadlessToolkit tk;
    App app{tk};
    BitReverseTable table{};
    RotateScratch scratch{};

    void SetUp() override {
        ASSERT_TRUE(open_program(app));
        build_bit_reverse_table(table);
        // A different asymmetric glyph everywhere, shown on the views.
        for (int g = 0; g < kGlyphCount; ++g) {
            for (int r = 0; r < kGlyphRows; ++r) {
                app.store().glyph(g)[r] = static_cast<uint8_t>(kAsymmetric[r] ^ (g + r));
            }
        }
        present(app);
    }

    void select(int c) {
        app.s.current_char = static_cast<uint8_t>(c);
        app.s.current_row = c / 16;
        app.s.current_column = c % 16;
    }
    Glyph glyph(int g) {
        Glyph out;
        std::copy_n(app.store().glyph(g).begin(), kGlyphRows, out.begin());
        return out;
    }
    void set_glyph(int g, const Glyph& rows) {
        std::copy(rows.begin(), rows.end(), app.store().glyph(g).begin());
    }
    Glyph transformed(Glyph g, GlyphOp op) {
        transform_glyph(std::span<uint8_t, 8>(g), op, table, scratch);
        return g;
    }
    // Glyphs first..last carry `op` applied to their old contents; every other glyph is as it was.
    void expect_only_range_changed(const CharsetStore& before, int first, int last, GlyphOp op) {
        for (int g = 0; g < kGlyphCount; ++g) {
            Glyph old;
            std::copy_n(before.glyph(g).begin(), kGlyphRows, old.begin());
            const Glyph want = (g >= first && g <= last) ? transformed(old, op) : old;
            ASSERT_EQ(glyph(g), want) << "glyph " << g;
        }
    }
    void dispatch_next() { dispatch_event(app, tk.wait_event()); }
    std::string text_of(int control) { return tk.control(control)->text; }
    Raster charset_picture() { return tk.control(kCharsetCanvas)->picture; }
};

// Char > Material...: the current glyph's, then a range's; a value past 15 refused; each an undo
// step.
TEST_F(ProgramTest, MaterialsGoToTheCurrentGlyphOrTheRangeAndAreUndone) {
    app.s.current_char = 65;
    tk.text_answers = {"12", "3", "16"};
    menu(MenuId::GlyphMaterial);
    EXPECT_EQ(tk.text_requests.back(), "Material|Material of glyph 65 (0-15):|0");
    tk.set_control_state(kBeginRangeBar, 70);
    tk.set_control_state(kEndRangeBar, 66);
    tk.inject_control(kRangeCheckBox, 1);
    handle();
    menu(MenuId::GlyphMaterial);
    EXPECT_EQ(tk.text_requests.back(), "Material|Material of glyphs 66-70 (0-15):|0");
    menu(MenuId::GlyphMaterial);
    EXPECT_EQ(tk.messages().back().text, "\"16\" is not a material 0-15");
    const auto& m = app.store().materials;
    EXPECT_EQ(std::vector<int>(m.begin() + 64, m.begin() + 72),
              (std::vector<int>{0, 12, 3, 3, 3, 3, 3, 0}));
    menu(MenuId::Undo);
    EXPECT_EQ(m[66] + m[70], 0);
    EXPECT_EQ(m[65], 12);
    menu(MenuId::Undo);
    EXPECT_EQ(m[65], 0);
}

} // namespace

TEST_F(CharsetCommands, MenuItemsButtonsAndShortcutReachTheirOperation) {
    const std::vector<std::pair<int, GlyphOp>> menu_items{
        {id(MenuId::Invert), GlyphOp::Invert},
        {id(MenuId::MirrorLeftRight), GlyphOp::MirrorLeftRight},
        {id(MenuId::MirrorUpDown), GlyphOp::MirrorUpDown},
        {id(MenuId::ClearChar), GlyphOp::Clear},
        {id(MenuId::ShiftLeft), GlyphOp::ShiftLeft},
        {id(MenuId::ShiftRight), GlyphOp::ShiftRight},
        {id(MenuId::ShiftUp), GlyphOp::ShiftUp},
        {id(MenuId::ShiftDown), GlyphOp::ShiftDown},
        {id(MenuId::RotateClockwise), GlyphOp::RotateClockwise},
        {id(MenuId::RotateAnticlockwise), GlyphOp::RotateAnticlockwise},
    };
    // The check is only meaningful when no two operations look alike on the sample glyph.
    for (size_t i = 0; i < menu_items.size(); ++i) {
        for (size_t j = i + 1; j < menu_items.size(); ++j) {
            ASSERT_NE(transformed(kAsymmetric, menu_items[i].second),
                      transformed(kAsymmetric, menu_items[j].second));
        }
    }
    select(77);
    for (const auto& [item, op] : menu_items) {
        set_glyph(77, kAsymmetric);
        dispatch_menu(app, item);
        EXPECT_EQ(glyph(77), transformed(kAsymmetric, op)) << "menu item " << item;
    }

    const std::vector<std::pair<int, GlyphOp>> buttons{
        {kShiftLeftButton, GlyphOp::ShiftLeft},
        {kShiftRightButton, GlyphOp::ShiftRight},
        {kShiftUpButton, GlyphOp::ShiftUp},
        {kShiftDownButton, GlyphOp::ShiftDown},
    };
    for (const auto& [button, op] : buttons) {
        set_glyph(77, kAsymmetric);
        tk.inject_control(button);
        dispatch_next();
        EXPECT_EQ(glyph(77), transformed(kAsymmetric, op)) << "button " << button;
    }

    set_glyph(77, kAsymmetric);
    tk.inject_combination(kComboInvert);
    dispatch_next();
    EXPECT_EQ(glyph(77), transformed(kAsymmetric, GlyphOp::Invert));
}

TEST_F(CharsetCommands, OperationRedrawsTheCharsetCanvas) {
    select(0);
    const Raster before = charset_picture();
    {
        Event e;
        e.code = kEventControl;
        e.source = kShiftLeftButton;
        dispatch_control(app, e);
    }
    present(app);
    EXPECT_NE(charset_picture(), before);
}

TEST_F(CharsetCommands, CheckBoxSwitchesBetweenCurrentGlyphAndRange) {
    tk.set_control_state(kBeginRangeBar, 10);
    tk.set_control_state(kEndRangeBar, 5);
    select(200); // outside the range: the range still wins
    tk.inject_control(kRangeCheckBox, 1);
    dispatch_next();
    CharsetStore before = app.store();
    dispatch_menu(app, id(MenuId::Invert));
    expect_only_range_changed(before, 5, 10, GlyphOp::Invert);

    before = app.store();
    dispatch_menu(app, id(MenuId::ClearChar));
    for (int g = 5; g <= 10; ++g) {
        EXPECT_EQ(glyph(g), Glyph{}) << g;
    }
    expect_only_range_changed(before, 5, 10, GlyphOp::Clear);

    tk.inject_control(kRangeCheckBox, 0);
    dispatch_next();
    before = app.store();
    {
        Event e;
        e.code = kEventControl;
        e.source = kShiftDownButton;
        dispatch_control(app, e);
    }
    present(app);
    expect_only_range_changed(before, 200, 200, GlyphOp::ShiftDown);
}

TEST_F(CharsetCommands, BarsInEitherOrderGiveTheSameRange) {
    tk.set_control_state(kBeginRangeBar, 200);
    tk.set_control_state(kEndRangeBar, 100);
    tk.set_control_state(kRangeCheckBox, 1);
    CharsetStore before = app.store();
    dispatch_menu(app, id(MenuId::RotateClockwise));
    expect_only_range_changed(before, 100, 200, GlyphOp::RotateClockwise);

    // The range copy reads the same bars and ignores the check box.
    tk.set_control_state(kRangeCheckBox, 0);
    before = app.store();
    select(0);
    dispatch_menu(app, id(MenuId::CopyRange));
    for (int i = 0; i <= 100; ++i) {
        ASSERT_TRUE(std::equal(app.store().glyph(i).begin(), app.store().glyph(i).end(),
                               before.glyph(100 + i).begin()))
            << i;
    }
    EXPECT_TRUE(std::equal(app.store().glyph(101).begin(), app.store().glyph(101).end(),
                           before.glyph(101).begin()));
}

TEST_F(CharsetCommands, LabelsFollowTheBars) {
    EXPECT_EQ(text_of(kBeginRangeLabel), "Begin range:0");
    EXPECT_EQ(text_of(kEndRangeLabel), "End range:0");

    select(7);
    dispatch_menu(app, id(MenuId::SetBeginRange));
    EXPECT_EQ(tk.control_state(kBeginRangeBar), 7);
    EXPECT_EQ(text_of(kBeginRangeLabel), "BeginRange:7");
    EXPECT_EQ(text_of(kEndRangeLabel), "End range:0");

    tk.inject_control(kBeginRangeBar, 65);
    dispatch_next();
    EXPECT_EQ(text_of(kBeginRangeLabel), "BeginRange:65:A");

    tk.inject_control(kEndRangeBar, 32);
    dispatch_next();
    EXPECT_EQ(text_of(kEndRangeLabel), "End range:32: ");

    select(0x80);
    dispatch_menu(app, id(MenuId::SetEndRange));
    EXPECT_EQ(tk.control_state(kEndRangeBar), 0x80);
    EXPECT_EQ(tk.control_state(kBeginRangeBar), 65);
    EXPECT_EQ(text_of(kEndRangeLabel), "End range:128:\u20AC");
    EXPECT_EQ(text_of(kBeginRangeLabel), "BeginRange:65:A");

    // Both bars reach the last code, by the commands and by the user.
    select(255);
    dispatch_menu(app, id(MenuId::SetBeginRange));
    dispatch_menu(app, id(MenuId::SetEndRange));
    EXPECT_EQ(tk.control_state(kBeginRangeBar), 255);
    EXPECT_EQ(tk.control_state(kEndRangeBar), 255);
    EXPECT_EQ(text_of(kBeginRangeLabel), "BeginRange:255:\u00FF");
    EXPECT_EQ(text_of(kEndRangeLabel), "End range:255:\u00FF");
    for (int bar : {kBeginRangeBar, kEndRangeBar}) {
        tk.inject_control(bar, 0);
        dispatch_next();
        tk.inject_control(bar, 255);
        dispatch_next();
        EXPECT_EQ(tk.control_state(bar), 255) << bar;
    }
    EXPECT_EQ(text_of(kEndRangeLabel), "End range:255:\u00FF");
}

TEST_F(CharsetCommands, RangeErrorChangesNothing) {
    // current_char at either end of the range, and a range of one code equal to it.
    const std::vector<std::array<int, 3>> cases{
        {7, 7, 7}, {10, 20, 10}, {20, 10, 10}, {10, 20, 20}};
    for (const auto& [begin, end, c] : cases) {
        tk.set_control_state(kBeginRangeBar, begin);
        tk.set_control_state(kEndRangeBar, end);
        select(c);
        const CharsetStore before = app.store();
        const size_t shown = tk.messages().size();
        dispatch_menu(app, id(MenuId::CopyRange));
        EXPECT_EQ(app.store().bytes, before.bytes);
        ASSERT_EQ(tk.messages().size(), shown + 1);
        EXPECT_EQ(tk.messages().back().caption, "Fontarel");
        EXPECT_EQ(tk.messages().back().text, "Range Error!");
    }

    // No redraw either: a change made behind the views' back stays unseen.
    const Raster picture = charset_picture();
    set_glyph(10, Glyph{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    dispatch_menu(app, id(MenuId::CopyRange));
    EXPECT_EQ(charset_picture(), picture);

    // A copy that succeeds redraws and shows no message.
    const size_t shown = tk.messages().size();
    select(30);
    dispatch_menu(app, id(MenuId::CopyRange));
    present(app);
    EXPECT_EQ(tk.messages().size(), shown);
    EXPECT_NE(charset_picture(), picture);
}

TEST_F(CharsetCommands, EraseAllCharsetClearsTheStoreAndRedraws) {
    const Raster before = charset_picture();
    dispatch_menu(app, id(MenuId::EraseCharset));
    present(app);
    EXPECT_EQ(app.store().bytes, CharsetStore{}.bytes);
    EXPECT_NE(charset_picture(), before);
}

// Each item of the Charset submenu: its colours, the grid redrawn in them, and the selection, the
// range bars and the check box left alone.
TEST_F(CharsetCommands, BuiltinCharsetsSetColoursAndLeaveSelectionAndRange) {
    struct Row {
        MenuId item;
        int colour0, colour1;
        int glyph;               // a glyph the command writes
        std::array<int, 8> rows; // its bytes afterwards
    };
    const Row rows[] = {
        {MenuId::CharsetCga,
         rgb(0, 0, 0),
         rgb(255, 255, 255),
         'A',
         {0x30, 0x78, 0xCC, 0xCC, 0xFC, 0xCC, 0xCC, 0x00}},
        {MenuId::Charset866,
         rgb(0, 0, 0),
         rgb(255, 255, 255),
         0x80,
         {0x10, 0x38, 0x38, 0x6C, 0x6C, 0xFE, 0xC6, 0x00}},
        {MenuId::CharsetZxSpectrum,
         rgb(203, 203, 203),
         rgb(0, 0, 0),
         129,
         {0x0F, 0x0F, 0x0F, 0x0F, 0, 0, 0, 0}},
        {MenuId::CharsetZx80,
         rgb(255, 255, 255),
         rgb(0, 0, 0),
         38,
         {0x00, 0x3E, 0x41, 0x41, 0x7F, 0x41, 0x41, 0x00}},
        {MenuId::CharsetJupiterAce,
         rgb(0, 0, 0),
         rgb(255, 255, 255),
         160, // inverse space
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {MenuId::CharsetC64, rgb(46, 44, 155), rgb(112, 109, 235), 32, {0, 0, 0, 0, 0, 0, 0, 0}},
        {MenuId::CharsetAtari,
         rgb(1, 78, 157),
         rgb(97, 174, 253),
         128, // inverse space
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {MenuId::CharsetMicrosha, rgb(0, 0, 0), rgb(255, 255, 255), 32, {0, 0, 0, 0, 0, 0, 0, 0}},
        {MenuId::HexNumbers,
         rgb(0, 0, 0),
         rgb(255, 255, 255),
         0xA5,
         {0x00, 0x4E, 0xA8, 0xEE, 0xA2, 0xA2, 0xAE, 0x00}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(id(row.item));
        select(77);
        tk.set_control_state(kBeginRangeBar, 200);
        tk.set_control_state(kEndRangeBar, 9);
        tk.set_control_state(kRangeCheckBox, 1);
        app.s.color_bit0 = rgb(1, 2, 3);
        app.s.color_bit1 = rgb(4, 5, 6);
        tk.inject_menu(id(row.item));
        dispatch_next();
        EXPECT_EQ(app.s.color_bit0, row.colour0);
        EXPECT_EQ(app.s.color_bit1, row.colour1);
        for (int r = 0; r < kGlyphRows; ++r) {
            EXPECT_EQ(app.store().glyph(row.glyph)[r], row.rows[r]) << "row " << r;
        }
        EXPECT_EQ(app.s.current_char, 77);
        EXPECT_EQ(tk.control_state(kBeginRangeBar), 200);
        EXPECT_EQ(tk.control_state(kEndRangeBar), 9);
        EXPECT_EQ(tk.control_state(kRangeCheckBox), 1);
        // The grid shows the written glyph in the new colours: its top-left pixel follows bit 7 of
        // row 0 (the cursor sits on glyph 77, elsewhere).
        const int x = 16 * (row.glyph % 16), y = 16 * (row.glyph / 16);
        EXPECT_EQ(charset_picture().pixel(x, y), (row.rows[0] & 0x80) ? row.colour1 : row.colour0);
    }
} // Char > Compact charset on the C64 charset and the start map: the map's 40 codes show 39 glyphs
// (two of the charset's glyphs are alike), which stay, moved to the front, the map looks the same, one undo step gives all back; with the range ticked its glyphs
// stay where they are. Level > Expand tiles gives each tile cell its glyph and is refused past 256.
// Char > Show unused glyphs greys the grid's cells that nothing uses.
TEST_F(ProgramTest, CompactingAndExpandingChangeNoPixelAndUnusedGlyphsAreGreyed) {
    menu(MenuId::CharsetC64);
    const auto screen = [&] {
        Raster r(map_screen_width(*app.s.map), map_screen_height(*app.s.map));
        render_map_screen(r, *app.s.map, app.store(), app.s.color_bit0, app.s.color_bit1);
        return std::vector<uint32_t>(r.row(0), r.row(0) + r.width() * r.height());
    };
    const auto before = screen();
    const CharsetStore c64 = app.store();
    const size_t steps = app.s.history.undo_count();
    menu(MenuId::CompactCharset);
    EXPECT_EQ(tk.messages().back().text,
              "39 glyphs in use: 1 duplicates merged, 216 unused dropped, 217 free");
    EXPECT_EQ(screen(), before);
    EXPECT_EQ(app.s.map->at(0, 0), 0);
    EXPECT_EQ(app.s.map->at(39, 23), 38);
    EXPECT_TRUE(std::ranges::equal(app.store().glyph(38), c64.glyph(71)));
    EXPECT_TRUE(app.s.levels.tiles() == TileSet{}) << "a new program's tiles are no level";
    EXPECT_EQ(app.s.history.undo_count(), steps + 1);
    undo_step(app);
    EXPECT_EQ(app.store().bytes, c64.bytes);
    EXPECT_EQ(app.s.map->at(0, 0), 32);

    // Glyphs 30-35 kept: the map's glyphs 32-35 stay, the rest fill 0-29 and 36 on.
    tk.set_control_state(kBeginRangeBar, 30);
    tk.set_control_state(kEndRangeBar, 35);
    tk.inject_control(kRangeCheckBox, 1);
    handle();
    menu(MenuId::CompactCharset);
    EXPECT_EQ(tk.messages().back().text,
              "41 glyphs in use: 1 duplicates merged, 214 unused dropped, 215 free");
    EXPECT_EQ(screen(), before);
    EXPECT_EQ(app.s.map->at(0, 0), 32);
    EXPECT_EQ(app.s.map->at(4, 0), 0);
    EXPECT_EQ(app.s.map->at(34, 0), 36);
    undo_step(app);

    // Tiles of 2 x 2 blank cells, beside the 39 glyphs of the map: 54 of them
    // fit, 55 do not.
    tk.text_answers.push_back("2x2, 8x8");
    menu(MenuId::NewLevel);
    TileSet tiles = app.s.levels.tiles();
    for (int t = 1; t < 55; ++t)
        tiles.append(tiles.tile(0));
    app.s.levels.replace_tiles(tiles);
    menu(MenuId::ExpandTiles);
    EXPECT_EQ(tk.messages().back().text,
              "needs 259 glyphs; 256 fit: compact or delete tiles first");
    EXPECT_TRUE(app.s.levels.tiles() == tiles);
    std::vector<bool> keep(55, true);
    keep[54] = false;
    tiles.keep_only(keep);
    app.s.levels.replace_tiles(tiles);
    menu(MenuId::ExpandTiles);
    EXPECT_EQ(app.s.levels.tiles().cell(53, 1, 1).code, 215);
    EXPECT_EQ(screen(), before);

    // Greyed while the row is ticked: glyph 200, which nothing uses, and not glyph 40 (the map's).
    undo_step(app);
    present(app);
    const auto cell_pixel = [&](int code) {
        return tk.image(kCharsetImage)->pixel(16 * (code % 16), 16 * (code / 16));
    };
    const auto plain = std::pair(cell_pixel(200), cell_pixel(40));
    menu(MenuId::ShowUnusedGlyphs);
    EXPECT_EQ(tk.item_checked(kMenuBar, id(MenuId::ShowUnusedGlyphs)), 1);
    EXPECT_NE(cell_pixel(200), plain.first);
    EXPECT_EQ(cell_pixel(40), plain.second);
    menu(MenuId::ShowUnusedGlyphs);
    EXPECT_EQ(std::pair(cell_pixel(200), cell_pixel(40)), plain);
}
