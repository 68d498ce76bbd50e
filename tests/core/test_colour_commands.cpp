// Colour on the map in the running program: the machine rows, the pen and paper choosers, painting
// an attribute, the hover title, the picture in the machine's palette, greyed rows and undo.

#include "model/atari_palette.h"
#include "model/map_colours.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

class ColourCommands : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        menu(MenuId::MapZx);
        app.s.current_char = 255;
        app.store().glyph(255)[1] = 0x40; // glyph pixel (1, 1) set: screen pixels 2-3 of rows 2-3
    }
    int enabled(MenuId item) { return tk.item_enabled(kMenuBar, id(item)); }
    int checked(MenuId item) { return tk.item_checked(kMenuBar, id(item)); }
};

TEST_F(ColourCommands, EachMachinePaintsThePensAttributeInItsPalette) {
    const struct {
        MenuId machine;
        int pen, paper;      // chooser answers; paper -1 where the machine has no paper row
        bool marker;         // the pen chooser's check box ticked
        const char* request; // the pen chooser as it was asked
        uint8_t attr;
        const char* title;
        Colour ink, paper_colour;
    } machines[] = {
        {MenuId::MachineC64, 2, -1, true, "Pen colour|16|14", 2,
         "Character map (4,5):255[FF] ink 2", rgb(0x68, 0x37, 0x2B),
         rgb(0x35, 0x28, 0x79)}, // the background starts blue
        {MenuId::MachineZx, 10, 1, false, "Pen colour|16|0|Flash=0", 0x4A,
         "Character map (4,5):255[FF] ink 2 paper 1 bright", rgb(0xFF, 0, 0), rgb(0, 0, 0xFF)},
        {MenuId::MachinePc, 14, 1, true, "Pen colour|16|7|Blink=0", 0x9E,
         "Character map (4,5):255[FF] ink 14 paper 1 blink", rgb(0xFF, 0xFF, 0x55),
         rgb(0, 0, 0xAA)},
    };
    EXPECT_EQ(enabled(MenuId::PenColour), 0) << "Mono greys the colour rows";
    for (const auto& m : machines) {
        SCOPED_TRACE(id(m.machine));
        menu(m.machine);
        EXPECT_EQ(checked(m.machine), 1);
        EXPECT_EQ(checked(MenuId::MachineMono), 0);
        EXPECT_EQ(enabled(MenuId::PaperColour), m.paper >= 0 ? 1 : 0);
        tk.palette_answers = {m.pen};
        tk.palette_check_answers = {m.marker};
        menu(MenuId::PenColour);
        EXPECT_EQ(tk.palette_requests.back(), m.request);
        if (m.paper >= 0) {
            tk.palette_answers = {m.paper};
            menu(MenuId::PaperColour);
        }
        const size_t steps = app.s.history.undo_count();
        canvas(kMapCanvas, kKindLeftDown, 16 * 4 + 8, 16 * 5 + 8, kButtonLeft);
        canvas(kMapCanvas, kKindLeftUp, 16 * 4 + 8, 16 * 5 + 8);
        ASSERT_EQ(app.s.map->at(4, 5), 255);
        EXPECT_EQ(app.s.map->attr(4, 5), m.attr);
        canvas(kMapCanvas, kKindMouseMove, 16 * 4 + 8, 16 * 5 + 8);
        EXPECT_EQ(tk.window(kMapWindow)->title, m.title);
        canvas(kMapCanvas, kKindMouseLeave, 0, 0);
        EXPECT_EQ(picture(kMapCanvas).pixel(16 * 4 + 2, 16 * 5 + 3), m.ink);
        EXPECT_EQ(picture(kMapCanvas).pixel(16 * 4 + 6, 16 * 5 + 3), m.paper_colour);

        // "Paint colours only" leaves the code; undo puts the attribute back exactly.
        menu(MenuId::PaintColoursOnly);
        app.s.current_char = 0;
        canvas(kMapCanvas, kKindLeftDown, 16 * 6 + 8, 16 * 5 + 8, kButtonLeft);
        canvas(kMapCanvas, kKindLeftUp, 16 * 6 + 8, 16 * 5 + 8);
        EXPECT_EQ(app.s.map->at(6, 5), 6 + 32);
        EXPECT_EQ(app.s.map->attr(6, 5), m.attr);
        menu(MenuId::PaintCodesAndColours);
        app.s.current_char = 255;
        menu(MenuId::Undo);
        menu(MenuId::Undo);
        EXPECT_EQ(app.s.history.undo_count(), steps) << "each stroke was one step";
        EXPECT_EQ(app.s.map->attr(4, 5), blank_attribute(app.s.map->look.machine));
        EXPECT_EQ(app.s.map->at(4, 5), 4 + 32);
    }
    // Undoing the machine changes put Mono back, its check mark with it.
    while (app.s.history.can_undo())
        menu(MenuId::Undo);
    EXPECT_EQ(app.s.map->look.machine, MapMachine::Mono);
    EXPECT_EQ(checked(MenuId::MachineMono), 1);
    EXPECT_EQ(checked(MenuId::MachinePc), 0);
}

TEST_F(ColourCommands, AnotherMachineKeepsWhatTheCellsLookLikeAsOneStep) {
    menu(MenuId::MachinePc);
    app.s.map->attr(0, 0) = 0x0F; // white on black
    app.s.map->attr(1, 0) = 0x8F; // the same, blinking
    const size_t steps = app.s.history.undo_count();
    menu(MenuId::MachineZx);
    EXPECT_EQ(app.s.map->attr(0, 0), 0x47) << "bright white ink on black paper";
    EXPECT_EQ(app.s.map->attr(1, 0), 0xC7) << "blink becomes FLASH";
    menu(MenuId::MachinePc);
    EXPECT_EQ(app.s.map->attr(0, 0), 0x0F);
    EXPECT_EQ(app.s.map->attr(1, 0), 0x8F);
    EXPECT_EQ(app.s.history.undo_count(), steps + 2);
    menu(MenuId::Undo);
    EXPECT_EQ(app.s.map->attr(1, 0), 0xC7);
}

TEST_F(ColourCommands, ThePaintModeChosenIsTheOneRowChecked) {
    const MenuId modes[] = {MenuId::PaintColoursOnly, MenuId::PaintCodesOnly,
                            MenuId::PaintCodesAndColours};
    menu(MenuId::MachineZx);
    for (MenuId chosen : modes) {
        menu(chosen);
        for (MenuId row : modes)
            EXPECT_EQ(checked(row), row == chosen ? 1 : 0) << id(chosen) << " " << id(row);
    }
}

TEST_F(ColourCommands, FlashShowsAsASwappedCornerAndFillPaintsColours) {
    menu(MenuId::MachineZx);
    app.s.map->attr(2, 2) = 0x80 | (1 << 3) | 2; // FLASH, red ink on blue paper
    canvas(kMapCanvas, kKindMouseMove, 0, 0);
    canvas(kMapCanvas, kKindMouseLeave, 0, 0);
    EXPECT_EQ(picture(kMapCanvas).pixel(16 * 2 + 15, 16 * 2 + 1), rgb(0xC0, 0, 0));
    EXPECT_EQ(picture(kMapCanvas).pixel(16 * 2 + 8, 16 * 2 + 1), rgb(0, 0, 0xC0));

    tk.palette_answers = {4};
    menu(MenuId::PenColour); // green ink on the blank cell's white paper
    menu(MenuId::FillMap);
    EXPECT_EQ(app.s.map->at(31, 23), 255);
    EXPECT_EQ(app.s.map->attr(31, 23), 4 | (7 << 3));
    EXPECT_EQ(tk.palette_requests.back(), "Pen colour|16|0|Flash=0");
}

// Extended background colours from the Colour menu: a switch that turns multicolour off, the
// three registers, the map showing glyph code & 63 on register code >> 6, the grid and the glyph
// editor showing glyphs 0-63, each an undo step.
TEST_F(ColourCommands, ExtendedBackgroundShowsTheCodesLowSixBitsOnItsRegister) {
    EXPECT_EQ(enabled(MenuId::ExtendedBackground), 0) << "greyed on the Spectrum";
    menu(MenuId::MachineC64);
    menu(MenuId::Multicolour);
    const size_t steps = app.s.history.undo_count();
    CharMap& map = *app.s.map;
    app.store().glyph(1)[1] = 0x40; // glyph pixel (1, 1): screen pixels 2-3 of rows 2-3
    app.store().glyph(0x41)[1] = app.store().glyph(0xC1)[1] = 0; // without the mode
    map.at(0, 0) = 0x41;                                         // glyph 1 on background 1
    map.at(1, 0) = 0xC1;                                         // glyph 1 on background 3
    map.attr(0, 0) = map.attr(1, 0) = 1;
    menu(MenuId::ExtendedBackground);
    EXPECT_EQ(checked(MenuId::ExtendedBackground), 1);
    EXPECT_EQ(checked(MenuId::Multicolour), 0) << "one of the two at most";
    tk.palette_answers = {2, 5, 7};
    menu(MenuId::ExtendedBackgroundOne);
    menu(MenuId::ExtendedBackgroundTwo);
    menu(MenuId::ExtendedBackgroundThree);
    EXPECT_EQ(tk.palette_requests.back(), "Background 3|16|3");
    EXPECT_EQ(app.s.history.undo_count(), steps + 4);
    const auto palette = machine_palette(MapMachine::C64).colours;
    const Raster& shown = picture(kMapCanvas);
    EXPECT_EQ(shown.pixel(3, 3), palette[1]) << "glyph 1's pixel in the cell's colour";
    EXPECT_EQ(shown.pixel(5, 3), palette[2]) << "background 1";
    EXPECT_EQ(shown.pixel(16 + 5, 3), palette[7]) << "background 3";
    // The grid shows code 0x41 as glyph 1, and the editor shows and edits glyph code & 63.
    const Raster& grid = picture(kCharsetCanvas);
    EXPECT_EQ(grid.pixel(16 + 3, 64 + 3), app.s.color_bit1) << "glyph 1's pixel at code 0x41";
    app.s.current_char = 0xC1;
    canvas(kGlyphCanvas, kKindLeftDown, 16 * 7 + 8, 8, kButtonLeft); // glyph pixel (7, 0)
    canvas(kGlyphCanvas, kKindLeftUp, 16 * 7 + 8, 8);
    EXPECT_EQ(app.store().glyph(1)[0], 0x01);
    EXPECT_EQ(app.store().glyph(0xC1)[0], 0x00);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(16 + 8, 16 + 8), app.s.color_bit1) << "glyph 1, row 1";
    menu(MenuId::Undo);
    menu(MenuId::Multicolour);
    EXPECT_EQ(checked(MenuId::ExtendedBackground), 0);
    EXPECT_EQ(picture(kMapCanvas).pixel(16 + 5, 3), palette[6]) << "code 0xC1's own glyph";
    for (int i = 0; i < 5; ++i)
        menu(MenuId::Undo);
    EXPECT_TRUE(map.look.multicolour());
    EXPECT_EQ(map.look.background_1 << 8 | map.look.background_2 << 4 | map.look.background_3,
              0x123);
}

// Multicolour from the Colour menu to a painted glyph: the rows, the registers, the pen's
// multicolour cells, the glyph views in four colours, the brush and what it paints, as undo steps.
TEST_F(ColourCommands, MulticolourPaintsCellsAndGlyphsInFourColours) {
    EXPECT_EQ(enabled(MenuId::Multicolour), 0) << "greyed on the Spectrum";
    menu(MenuId::MachineC64);
    const size_t steps = app.s.history.undo_count();
    menu(MenuId::Multicolour);
    EXPECT_EQ(checked(MenuId::Multicolour), 1);
    tk.palette_answers = {0, 8};
    menu(MenuId::MulticolourOne);
    menu(MenuId::MulticolourTwo);
    EXPECT_EQ(tk.palette_requests.back(), "Multicolour 2|16|2");
    menu(MenuId::BackgroundColour); // cancelled
    EXPECT_EQ(tk.palette_requests.back(), "Background colour|16|6");
    EXPECT_EQ(app.s.history.undo_count(), steps + 3);
    // The start map's cells are light blue (14): multicolour cells, so most cells show the glyphs
    // in multicolour, whatever the pen paints.
    EXPECT_EQ(tk.control(kBrushCanvas)->shown, true);
    EXPECT_EQ(enabled(MenuId::RotateClockwise), 0);
    // Cells of colours 0-7 show them in hi-res: glyph 255, unused, follows most cells.
    const int current = app.s.current_char;
    app.s.current_char = 'A';
    tk.palette_answers = {1, 6};
    menu(MenuId::PenColour);
    menu(MenuId::FillMap);
    app.s.current_char = current;
    EXPECT_EQ(tk.control(kBrushCanvas)->shown, false);
    EXPECT_EQ(enabled(MenuId::RotateClockwise), 1);
    menu(MenuId::Undo);
    menu(MenuId::PenColour);

    tk.palette_answers = {5};
    tk.palette_check_answers = {true};
    menu(MenuId::PenColour);
    EXPECT_EQ(tk.palette_requests.back(), "Pen colour|8|6|Multicolour cell=0");
    canvas(kMapCanvas, kKindLeftDown, 8, 8, kButtonLeft);
    canvas(kMapCanvas, kKindLeftUp, 8, 8);
    EXPECT_EQ(app.s.map->attr(0, 0), 8 + 5) << "a multicolour cell in green";
    EXPECT_TRUE(tk.control(kBrushCanvas)->shown);
    EXPECT_EQ(enabled(MenuId::RotateClockwise), 0);
    // The brush canvas covers no other control of the main window.
    const auto* brush = tk.control(kBrushCanvas);
    for (int c = kCharsetCanvas; c < kBrushCanvas; ++c) {
        const auto* o = tk.control(c);
        if (o != nullptr && c != kMapCanvas) {
            EXPECT_TRUE(brush->x >= o->x + o->width || o->x >= brush->x + brush->width ||
                        brush->y >= o->y + o->height || o->y >= brush->y + brush->height)
                << c;
        }
    }

    // Glyph 255 row 1 is 0x40: pairs 01 00 00 00. The editor shows them 32 pixels wide.
    const auto palette = machine_palette(MapMachine::C64).colours;
    const Raster& editor = picture(kGlyphCanvas);
    EXPECT_EQ(editor.pixel(8, 16 + 8), palette[0]) << "01: multicolour 1";
    EXPECT_EQ(editor.pixel(40, 16 + 8), palette[6]) << "00: the background";
    EXPECT_EQ(editor.pixel(16, 16 + 8), palette[0]) << "one double-wide pixel";
    // Keys 1-4 over the editor choose the brush; a left press paints it, a right press 00.
    canvas(kGlyphCanvas, kKindMouseMove, 100, 8);
    key(kCharsetCanvas, '4');
    EXPECT_EQ(app.s.brush, 3);
    key(kCharsetCanvas, '3');
    EXPECT_EQ(app.s.brush, 2);
    canvas(kGlyphCanvas, kKindLeftDown, 100, 8, kButtonLeft); // pair 3 of row 0
    canvas(kGlyphCanvas, kKindLeftUp, 100, 8);
    EXPECT_EQ(app.store().glyph(255)[0], 0x02);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(100, 8), palette[8]);
    canvas(kGlyphCanvas, kKindRightDown, 8, 24, kButtonRight);
    canvas(kGlyphCanvas, kKindRightUp, 8, 24);
    EXPECT_EQ(app.store().glyph(255)[1], 0x00);
    menu(MenuId::MirrorLeftRight);
    EXPECT_EQ(app.store().glyph(255)[0], 0x80) << "pairs, not bits";
    // The brush canvas: four swatches, the brush's framed in red; a press picks another.
    EXPECT_EQ(picture(kBrushCanvas).pixel(16, 64 + 16), palette[8]);
    EXPECT_EQ(picture(kBrushCanvas).pixel(1, 64 + 1), rgb(255, 0, 0));
    canvas(kBrushCanvas, kKindLeftDown, 16, 100);
    EXPECT_EQ(app.s.brush, 3);
    canvas(kGlyphCanvas, kKindMouseLeave, 0, 0);
    key(kCharsetCanvas, '1');
    EXPECT_EQ(app.s.brush, 3) << "away from the editor the keys choose nothing";

    menu(MenuId::Undo);
    menu(MenuId::Undo);
    menu(MenuId::Undo);
    EXPECT_EQ(app.store().glyph(255)[0], 0x00);
    EXPECT_EQ(app.store().glyph(255)[1], 0x40);
    while (app.s.history.undo_count() > steps)
        menu(MenuId::Undo);
    EXPECT_FALSE(app.s.map->look.multicolour());
    EXPECT_EQ(app.s.map->look.multicolour_1, 1);
    EXPECT_EQ(tk.control(kBrushCanvas)->shown, false);
}

// The Atari from the Colour menu: its mode rows and registers, the glyph views and the map in
// four colours, the pen's inverse box painting bit 7, pair-wise mirroring, each an undo step.
TEST_F(ColourCommands, AtariFourColoursPaintsPairsAndInverseCodes) {
    EXPECT_EQ(enabled(MenuId::AtariFourColours), 0) << "greyed on the Spectrum";
    EXPECT_EQ(enabled(MenuId::AtariColours), 0);
    const size_t steps = app.s.history.undo_count();
    menu(MenuId::MachineAtari);
    EXPECT_EQ(checked(MenuId::MachineAtari), 1);
    EXPECT_EQ(checked(MenuId::AtariTwoColours), 1);
    menu(MenuId::AtariFourColours);
    EXPECT_EQ(checked(MenuId::AtariFourColours), 1);
    EXPECT_EQ(checked(MenuId::AtariTwoColours), 0);
    tk.list_answers = {1};
    tk.palette_answers = {60};
    menu(MenuId::AtariColours);
    EXPECT_EQ(tk.list_requests.back(),
              "Atari colours|Colour register|COLBK 0|COLPF0 40|COLPF1 202|COLPF2 148|COLPF3 70");
    EXPECT_EQ(tk.palette_requests.back(), "COLPF0|128|20");
    EXPECT_EQ(app.s.map->look.colpf[0], 120);
    tk.list_answers = {0};
    tk.palette_answers = {5};
    menu(MenuId::AtariColours);
    EXPECT_EQ(tk.palette_requests.back(), "COLBK|128|0");
    EXPECT_EQ(app.s.map->look.colbk, 10);
    EXPECT_EQ(app.s.history.undo_count(), steps + 4);
    // In two colours the pen chooser offers the clear and the set colour.
    menu(MenuId::AtariTwoColours);
    app.s.brush = 0;
    menu(MenuId::PenColour);
    EXPECT_EQ(tk.palette_requests.back(), "Pen colour|2|0|Inverse (COLPF3)=0");
    menu(MenuId::AtariFourColours);
    tk.palette_answers = {0};
    menu(MenuId::AtariColours); // cancelled in the list: nothing asked, nothing changed
    EXPECT_EQ(tk.palette_requests.back(), "Pen colour|2|0|Inverse (COLPF3)=0");

    app.s.current_char = 1;
    app.store().glyph(1)[0] = 0x1B; // pairs 00 01 10 11
    app.s.brush = 3;
    tk.palette_answers = {2};
    tk.palette_check_answers = {true};
    menu(MenuId::PenColour);
    EXPECT_EQ(tk.palette_requests.back(), "Pen colour|4|3|Inverse (COLPF3)=0");
    EXPECT_EQ(app.s.brush, 2);
    canvas(kMapCanvas, kKindLeftDown, 16 * 4 + 8, 16 * 5 + 8, kButtonLeft);
    canvas(kMapCanvas, kKindLeftUp, 16 * 4 + 8, 16 * 5 + 8);
    EXPECT_EQ(app.s.map->at(4, 5), 0x81) << "the inverse box sets bit 7";
    app.s.pen_marker = false;
    canvas(kMapCanvas, kKindLeftDown, 16 * 6 + 8, 16 * 5 + 8, kButtonLeft);
    canvas(kMapCanvas, kKindLeftUp, 16 * 6 + 8, 16 * 5 + 8);
    EXPECT_EQ(app.s.map->at(6, 5), 0x01);
    canvas(kMapCanvas, kKindMouseLeave, 0, 0);
    const auto colour = [](int value) { return atari_palette()[static_cast<size_t>(value / 2)]; };
    const Raster& map = picture(kMapCanvas);
    const struct {
        int x;
        Colour plain, inverse; // cell (6, 5), cell (4, 5)
    } pairs[] = {{1, colour(10), colour(10)},
                 {5, colour(120), colour(120)},
                 {9, colour(202), colour(202)},
                 {13, colour(148), colour(70)}};
    for (const auto& p : pairs) {
        EXPECT_EQ(map.pixel(16 * 6 + p.x, 16 * 5 + 1), p.plain) << p.x;
        EXPECT_EQ(map.pixel(16 * 4 + p.x, 16 * 5 + 1), p.inverse) << p.x;
    }
    // The glyph editor in the pen's colours, 32 pixels a pair; mirroring swaps pairs; no rotation.
    EXPECT_EQ(picture(kGlyphCanvas).pixel(96 + 8, 8), colour(148));
    EXPECT_EQ(enabled(MenuId::RotateClockwise), 0);
    EXPECT_TRUE(tk.control(kBrushCanvas)->shown);
    menu(MenuId::MirrorLeftRight);
    EXPECT_EQ(app.store().glyph(1)[0], 0xE4);

    while (app.s.history.undo_count() > steps)
        menu(MenuId::Undo);
    EXPECT_EQ(app.s.map->look, ScreenLook{});
    EXPECT_EQ(app.s.map->at(4, 5), 4 + 32);
    EXPECT_EQ(checked(MenuId::MachineAtari), 0);
}

} // namespace
} // namespace fontarel
