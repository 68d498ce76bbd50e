// Pictures of the charset view and the glyph editor against a slow reference drawn pixel by pixel,
// the way the views are described: boxes per set bit, then cursor or grid.

#include <random>
#include <vector>

#include "app/views/charset_canvas.h"
#include "app/views/glyph_canvas.h"
#include "app/views/map_canvas.h"
#include "app/views/present.h"
#include "model/atari_palette.h"
#include "model/labels.h"
#include "model/map_colours.h"
#include "program_fixture.h"
#include "render/charset_picture.h"
#include "render/geometry.h"
#include "render/glyph_editor_picture.h"
#include "render/map_picture.h"
#include "render/map_screen.h"

namespace fontarel {
namespace {

// A plain top-down picture of colour values.
struct Picture {
    int w, h;
    std::vector<int> px;
    Picture(int width, int height, int fill) : w(width), h(height), px(width * height, fill) {}
    void box(int x, int y, int bw, int bh, int c) {
        for (int j = y; j < y + bh; ++j)
            for (int i = x; i < x + bw; ++i)
                if (i >= 0 && j >= 0 && i < w && j < h)
                    px[j * w + i] = c;
    }
    int at(int x, int y) const { return px[y * w + x]; }
};

Picture reference_charset_image(const CharsetStore& store, int c0, int c1) {
    Picture p(256, 256, 0);
    p.box(0, 0, 256, 256, c0);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    if (store.bytes[8 * (16 * r + c) + y] & (0x80 >> x))
                        p.box(16 * c + 2 * x, 16 * r + 2 * y, 2, 2, c1);
    return p;
}

void reference_cursor(Picture& p, int column, int row) {
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            if ((i ^ j) & 1)
                p.box(16 * column + j, 16 * row + i, 1, 1, 0x7FFF00);
}

Picture reference_glyph_canvas(const CharsetStore& store, int g, int c0, int c1) {
    Picture p(128, 128, 0xFFFFFF);
    p.box(0, 0, 128, 128, c0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (store.bytes[8 * g + y] & (0x80 >> x))
                p.box(16 * x, 16 * y, 15, 15, c1);
    for (int k = 0; k < 8; ++k)
        for (int s = 0; s < 128; s += 2) {
            p.box(16 * k, s, 1, 1, 0xFFFFFF);
            p.box(16 * k, s + 1, 1, 1, 0x000000);
            p.box(s, 16 * k, 1, 1, 0xFFFFFF);
            p.box(s + 1, 16 * k, 1, 1, 0x000000);
        }
    return p;
}

// The map as its drawing loops describe it: background box, 2 x 2 boxes per set bit, then four
// single pixels per grid step. Pixels beyond the map in use keep `outside`.
Picture reference_map(const CharMap& map, const CharsetStore& store, int c0, int c1, bool grid,
                      int width, int height, int outside) {
    Picture p(width, height, outside);
    const int W = map.cols, H = map.rows;
    p.box(0, 0, 16 * W, 16 * H, c0);
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    if (store.bytes[8 * map.at(c, r) + y] & (0x80 >> x))
                        p.box(16 * c + 2 * x, 16 * r + 2 * y, 2, 2, c1);
    if (grid)
        for (int r = 0; r < H; ++r)
            for (int c = 0; c < W; ++c)
                for (int s = 0; s < 16; s += 2) {
                    p.box(16 * c + s, 16 * r, 1, 1, c1);
                    p.box(16 * c + s + 1, 16 * r, 1, 1, c0);
                    p.box(16 * c, 16 * r + s, 1, 1, c0);
                    p.box(16 * c, 16 * r + s + 1, 1, 1, c1);
                }
    return p;
}

void expect_same(const Raster& actual, const Picture& expected, const char* what) {
    ASSERT_EQ(actual.width(), expected.w) << what;
    ASSERT_EQ(actual.height(), expected.h) << what;
    int wrong = 0;
    for (int y = 0; y < expected.h; ++y)
        for (int x = 0; x < expected.w; ++x)
            if (actual.pixel(x, y) != expected.at(x, y) && ++wrong <= 3)
                ADD_FAILURE() << what << " differs at (" << x << "," << y << "): " << std::hex
                              << actual.pixel(x, y) << " instead of " << expected.at(x, y);
    EXPECT_EQ(wrong, 0) << what;
}

class ViewPictures : public ProgramTest {
  protected:
    void check_all() {
        const auto& s = app.s;
        Picture image = reference_charset_image(*s.charset, s.color_bit0, s.color_bit1);
        expect_same(*tk.image(kCharsetImage), image, "charset image");
        reference_cursor(image, s.current_column, s.current_row);
        expect_same(picture(kCharsetCanvas), image, "charset canvas");
        expect_same(picture(kGlyphCanvas),
                    reference_glyph_canvas(*s.charset, s.current_char, s.color_bit0, s.color_bit1),
                    "glyph canvas");
    }
};

TEST_F(ViewPictures, StartUpShowsFlatColourWithCursorAtGlyphZero) {
    check_all();
    EXPECT_EQ(picture(kCharsetCanvas).pixel(1, 0), kCursorColour);
    EXPECT_EQ(picture(kCharsetCanvas).pixel(0, 0), 0x000000);
    EXPECT_EQ(title(), "fontarel v2 0.9e"); // no selection move yet
    EXPECT_EQ(text(kGlyphDataText), "0,0,0,0,0,0,0,0");
}

TEST_F(ViewPictures, RandomGlyphsAndColourPairsMatchTheReference) {
    std::mt19937 random(12345);
    const std::pair<int, int> colours[] = {
        {0x000000, 0xFFFFFF},
        {0x0000FF, 0xFF0000},
        {rgb(46, 44, 155), rgb(112, 109, 235)},
        {0x123456, 0x123456}, // equal colours: flat grid, only cursor and editor grid visible
    };
    int step = 0;
    for (const auto& [c0, c1] : colours) {
        SCOPED_TRACE(step);
        for (auto& b : app.s.charset->bytes)
            b = static_cast<uint8_t>(random());
        app.s.color_bit0 = c0;
        app.s.color_bit1 = c1;
        app.s.current_column = (5 * step + 3) & 15;
        app.s.current_row = (7 * step + 15) & 15;
        move_cursor(app, 0, 0);
        present(app);
        check_all();
        ++step;
    }
}

TEST_F(ViewPictures, MapMatchesTheReferenceAtEverySizeWithAndWithoutGrid) {
    std::mt19937 random(777);
    for (auto& b : app.s.charset->bytes)
        b = static_cast<uint8_t>(random());
    for (auto& row : app.s.map->cells)
        for (auto& cell : row)
            cell = static_cast<int32_t>(random() & 0xFF);
    app.s.color_bit0 = rgb(46, 44, 155);
    app.s.color_bit1 = rgb(240, 230, 10);
    // While the window is hidden nothing is drawn; the size command that shows it draws it.
    const Raster hidden = picture(kMapCanvas);
    present(app);
    EXPECT_EQ(picture(kMapCanvas), hidden);
    const MenuId sizes[] = {MenuId::MapPc, MenuId::MapZx, MenuId::MapUssr, MenuId::MapC64};
    for (MenuId size : sizes) {
        menu(size);
        for (bool grid : {true, false}) {
            SCOPED_TRACE(id(size) * 10 + grid);
            if ((app.s.grid_on != 0) != grid)
                menu(MenuId::GridOnMap);
            const CharMap& map = *app.s.map;
            expect_same(picture(kMapCanvas),
                        reference_map(map, *app.s.charset, app.s.color_bit0, app.s.color_bit1, grid,
                                      16 * map.cols, 16 * map.rows, 0),
                        "map");
        }
    }
}

// The views redraw only what changed; after any mix of glyph edits, paints, hovers and colour
// changes every picture must still be the one a full redraw gives.
TEST_F(ViewPictures, IncrementalRedrawsMatchTheReferenceAfterEditsAndHovers) {
    std::mt19937 random(99);
    menu(MenuId::MapPc);
    for (int step = 0; step < 60; ++step) {
        SCOPED_TRACE(step);
        const int x = static_cast<int>(random() % 1280), y = static_cast<int>(random() % 800);
        switch (random() % 5) {
        case 0: // a pixel of the current glyph, through the glyph canvas
            canvas(kGlyphCanvas, kKindLeftDown, static_cast<int>(random() % 128),
                   static_cast<int>(random() % 128), kButtonLeft);
            break;
        case 1: // a map cell painted with another glyph
            app.s.current_column = static_cast<int>(random() % 16);
            app.s.current_row = static_cast<int>(random() % 16);
            move_cursor(app, 0, 0);
            present(app);
            canvas(kMapCanvas, kKindLeftDown, x, y, kButtonLeft);
            break;
        case 2: // another glyph selected
            click(kCharsetCanvas, static_cast<int>(random() % 256),
                  static_cast<int>(random() % 256));
            break;
        case 3:
            app.s.color_bit1 = static_cast<int>(random() & 0xFFFFFF);
            present(app);
            break;
        default:
            break;
        }
        canvas(kMapCanvas, kKindMouseMove, x, y); // every step ends on a hover
        check_all();
        Picture map = reference_map(*app.s.map, *app.s.charset, app.s.color_bit0, app.s.color_bit1,
                                    true, 1280, 800, 0);
        for (int i = 0; i < 16; ++i) {
            const int left = 16 * (x / 16), top = 16 * (y / 16);
            map.box(left + i, top, 1, 1, 0x0000FF);
            map.box(left + i, top + 15, 1, 1, 0x0000FF);
            map.box(left, top + i, 1, 1, 0x0000FF);
            map.box(left + 15, top + i, 1, 1, 0x0000FF);
        }
        expect_same(picture(kMapCanvas), map, "map with hover outline");
    }
}

TEST_F(ViewPictures, EqualColoursLeaveOnlyCursorAndEditorGridVisible) {
    for (auto& b : app.s.charset->bytes)
        b = 0xA5;
    app.s.color_bit0 = app.s.color_bit1 = 0x336699;
    present(app);
    const Raster& grid = *tk.image(kCharsetImage);
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 256; x += 5)
            ASSERT_EQ(grid.pixel(x, y), 0x336699);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(0, 2), 0xFFFFFF);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(0, 3), 0x000000);
    EXPECT_EQ(picture(kGlyphCanvas).pixel(5, 5), 0x336699);
}

TEST_F(ViewPictures, GlyphDataTextListsTheRowsInDecimal) {
    const uint8_t rows[8] = {0x18, 0x3C, 0x66, 0x66, 0x7E, 0x66, 0x66, 0x00};
    std::copy(rows, rows + 8, app.store().glyph(65).begin());
    EXPECT_EQ(glyph_data_text(app.store().glyph(65)), "24,60,102,102,126,102,102,0");
    app.s.current_column = 1;
    app.s.current_row = 4;
    move_cursor(app, 0, 0);
    present(app);
    EXPECT_EQ(text(kGlyphDataText), "24,60,102,102,126,102,102,0");
    for (auto& b : app.store().glyph(65))
        b = 255;
    present(app);
    EXPECT_EQ(text(kGlyphDataText),
              "255,255,255,255,255,255,255,255"); // the longest: 31 characters
}

TEST_F(ViewPictures, DrawingFailuresShowTheirMessagesImageFirst) {
    tk.failing_images = {kCharsetImage};
    tk.failing_canvases = {kCharsetCanvas, kGlyphCanvas};
    app.store().glyph(0)[0] = 0xFF;
    present(app);
    ASSERT_EQ(tk.messages().size(), 3u);
    EXPECT_EQ(tk.messages()[0].text, "draw image char error!");
    EXPECT_EQ(tk.messages()[1].text, "draw cursor error!");
    EXPECT_EQ(tk.messages()[2].text, "draw character error!");
    for (const auto& m : tk.messages())
        EXPECT_EQ(m.caption, "fontarel");
    // Nothing was drawn, and the glyph data text was not rewritten either.
    EXPECT_EQ(tk.image(kCharsetImage)->pixel(0, 0), 0x000000);
    EXPECT_EQ(text(kGlyphDataText), "0,0,0,0,0,0,0,0");

    tk.failing_canvases.clear();
    present(app); // the canvas is still repainted from the old image
    EXPECT_EQ(tk.messages().size(), 4u);
    EXPECT_EQ(picture(kCharsetCanvas).pixel(0, 0), 0x000000);
    EXPECT_EQ(text(kGlyphDataText), "255,0,0,0,0,0,0,0");
}

} // namespace
} // namespace fontarel

namespace fontarel {
namespace {

// The map as its description says, for any machine: each cell in its attribute's ink and paper
// (Mono: colour1 and colour0), the grid's dots, the FLASH or blink corner with ink and paper
// swapped, then the selection's outline clipped to the cells shown and the hover's over it.
Picture reference_colour_map(const CharMap& map, const CharsetStore& store, int c0, int c1,
                             bool grid, int width, int height, CellRect sel, MapCell hover,
                             int hover_colour) {
    Picture p(width, height, 0x010203);
    const int cols = std::min<int>(map.cols, width / 16),
              rows = std::min<int>(map.rows, height / 16);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            CellColours cc{c1, c0, false};
            if (map.look.machine != MapMachine::Mono)
                cc = cell_colours(map.look.machine, map.attr(c, r), map.look.background);
            int code = map.at(c, r) & 0xFF;
            if (map.look.machine == MapMachine::C64 &&
                map.look.mode == TextMode::ExtendedBackground) {
                // Glyph code & 63 on the background register code >> 6.
                const uint8_t backgrounds[4] = {map.look.background, map.look.background_1,
                                                map.look.background_2, map.look.background_3};
                cc.paper = machine_palette(MapMachine::C64).colours[backgrounds[code >> 6] & 15];
                code &= 63;
            }
            std::array<Colour, 4> four{};
            bool pairs = is_multicolour_cell(map, map.attr(c, r));
            if (pairs)
                four = multicolour_colours(map, map.attr(c, r));
            if (map.look.machine == MapMachine::Atari) {
                // Glyph code & 127; bit 7 picks COLPF3 for pair 11, or inverts two colours.
                const auto reg = [](int value) { return atari_palette()[value >> 1]; };
                const ScreenLook& l = map.look;
                const bool inverse = code & 0x80;
                pairs = l.atari_mode != 2;
                four = {reg(l.colbk), reg(l.colpf[0]), reg(l.colpf[1]),
                        reg(l.colpf[inverse ? 3 : 2])};
                const Colour lit = reg((l.colpf[2] & 0xF0) | (l.colpf[1] & 0x0F));
                cc = {inverse ? reg(l.colpf[2]) : lit, inverse ? lit : reg(l.colpf[2]), false};
                code &= 127;
            }
            const uint8_t* glyph = store.bytes.data() + 8 * code;
            if (pairs) {
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 4; ++x)
                        p.box(16 * c + 4 * x, 16 * r + 2 * y, 4, 2,
                              four[static_cast<size_t>(glyph[y] >> (6 - 2 * x) & 3)]);
            } else {
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        p.box(16 * c + 2 * x, 16 * r + 2 * y, 2, 2,
                              glyph[y] & (0x80 >> x) ? cc.ink : cc.paper);
            }
            for (int s = 0; grid && s < 16; s += 2) {
                p.box(16 * c + s, 16 * r, 1, 1, c1);
                p.box(16 * c + s + 1, 16 * r, 1, 1, c0);
                p.box(16 * c, 16 * r + s, 1, 1, c0);
                p.box(16 * c, 16 * r + s + 1, 1, 1, c1);
            }
            for (int y = 0; cc.marker && y < 4; ++y)
                for (int x = 12 + y; x < 16; ++x) {
                    int& px = p.px[(16 * r + y) * width + 16 * c + x];
                    px = px == static_cast<int>(cc.ink) ? cc.paper : cc.ink;
                }
        }
    const auto outline = [&](int left, int top, int w, int h, int colour) {
        for (int i = 0; i < w; ++i) {
            p.box(left + i, top, 1, 1, colour);
            p.box(left + i, top + h - 1, 1, 1, colour);
        }
        for (int j = 0; j < h; ++j) {
            p.box(left, top + j, 1, 1, colour);
            p.box(left + w - 1, top + j, 1, 1, colour);
        }
    };
    const int left = std::max(sel.left, 0), top = std::max(sel.top, 0);
    const int right = std::min(sel.left + sel.width, cols),
              bottom = std::min(sel.top + sel.height, rows);
    if (!sel.empty() && right > left && bottom > top)
        outline(16 * left, 16 * top, 16 * (right - left), 16 * (bottom - top), kMapSelectionColour);
    if (hover.column >= 0 && hover.row >= 0 && hover.column < cols && hover.row < rows)
        outline(16 * hover.column, 16 * hover.row, 16, 16, hover_colour);
    return p;
}

// Any sequence of changes to the codes, attributes, glyphs, machine, background, colours, grid,
// size, selection and hover: each render writes what a full drawing would show, says beforehand
// that it has something to write whenever the picture is out of date, and afterwards that it has
// nothing left.
// The grid with some glyphs in multicolour (pairs of bits, 4 x 2 pixels each) and the rest in two
// colours, some greyed, redrawn step by step through random edits of glyphs, of which glyphs are in
// multicolour or greyed and of both looks, against a reference drawn afresh each step.
TEST(CharsetGrid, GlyphsInTwoLooksMatchTheReferenceThroughRandomChanges) {
    std::mt19937 random(99);
    CharsetStore store;
    for (auto& b : store.bytes)
        b = static_cast<uint8_t>(random());
    GlyphLook two = GlyphLook::two(0x000000, 0xFFFFFF);
    GlyphLook multicolour{{0x101010, 0x202020, 0x303030, 0x404040}, true};
    std::bitset<256> in_multicolour, greyed;
    CharsetGridRenderer renderer;
    Raster grid(256, 256);
    const auto grey = [](int c) {
        const auto half = [&](int shift) { return ((c >> shift & 255) + 128) / 2 << shift; };
        return half(0) | half(8) | half(16);
    };
    for (int step = 0; step < 80; ++step) {
        const int what = static_cast<int>(random() % 5);
        if (what == 0)
            store.glyph(static_cast<int>(random() % 256))[random() % 8] =
                static_cast<uint8_t>(random());
        else if (what == 1)
            in_multicolour.flip(random() % 256);
        else if (what == 2)
            multicolour.colours[random() % 4] = static_cast<int>(random() & 0xFFFFFF);
        else if (what == 3)
            two.colours[random() % 2] = static_cast<int>(random() & 0xFFFFFF);
        else
            greyed.flip(random() % 256);
        const bool stale =
            !renderer.up_to_date(grid, store, two, multicolour, in_multicolour, greyed);
        ASSERT_EQ(renderer.render(grid, store, two, multicolour, in_multicolour, greyed), stale)
            << "a change is seen before it is drawn, and only a change is drawn";
        ASSERT_TRUE(renderer.up_to_date(grid, store, two, multicolour, in_multicolour, greyed));
        Picture want(256, 256, 0);
        for (int g = 0; g < 256; ++g)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const uint8_t bits = store.glyph(g)[y];
                    const int colour = in_multicolour[static_cast<size_t>(g)]
                                           ? multicolour.colours[bits >> (6 - (x & 6)) & 3]
                                           : two.colours[bits >> (7 - x) & 1];
                    want.box(16 * (g % 16) + 2 * x, 16 * (g / 16) + 2 * y, 2, 2,
                             greyed[static_cast<size_t>(g)] ? grey(colour) : colour);
                }
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                ASSERT_EQ(grid.pixel(x, y), want.at(x, y))
                    << "step " << step << " at " << x << "," << y;
    }
}

TEST(MapPicture, IncrementalRendersMatchTheReferenceThroughEveryKindOfChange) {
    std::mt19937 random(2612);
    const auto any = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    CharsetStore store;
    for (auto& b : store.bytes)
        b = static_cast<uint8_t>(random());
    CharMap map;
    map.cols = 30;
    map.rows = 20;
    map.look.machine = MapMachine::PcText;
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c) {
            map.at(c, r) = any(256);
            map.attr(c, r) = static_cast<uint8_t>(any(256));
        }
    int c0 = 0x000000, c1 = 0xFFFFFF, hover_colour = kMapHoverColour;
    bool grid = false;
    CellRect sel;
    MapCell hover;
    MapRenderer renderer;
    Raster target(16 * 34, 16 * 24);
    int selections = 0, coloured = 0, partial = 0, multicoloured = 0, extended = 0;
    for (int step = 0; step < 600; ++step) {
        SCOPED_TRACE(step);
        switch (any(16)) {
        case 0:
            map.at(any(kMapCapacityCols), any(kMapCapacityRows)) = any(256);
            break;
        case 15: // the hovered cell, alone
            if (hover.column >= 0 && hover.row >= 0)
                map.at(hover.column, hover.row) ^= 1 + any(255);
            break;
        case 11: // a cell under one side of the selection's outline, alone
        case 12:
        case 13: {
            const int left = std::max(sel.left, 0), top = std::max(sel.top, 0);
            const int right = std::min({sel.left + sel.width, map.cols, target.width() / 16}) - 1;
            const int bottom = std::min({sel.top + sel.height, map.rows, target.height() / 16}) - 1;
            if (sel.empty() || right < left || bottom < top)
                break;
            const int side = any(4), along = any(std::max(right - left, bottom - top) + 1);
            const int c = side < 2 ? std::min(left + along, right) : side == 2 ? left : right;
            const int r = side >= 2 ? std::min(top + along, bottom) : side == 0 ? top : bottom;
            map.at(c, r) ^= 1 + any(255);
            break;
        }
        case 1:
            map.attr(any(map.cols), any(map.rows)) = static_cast<uint8_t>(any(256));
            break;
        case 2:
            map.look.machine = static_cast<MapMachine>(
                (static_cast<int>(map.look.machine) + 1 + any(3)) % kMapMachineCount);
            break;
        case 3: // the background, a mode switch or one of its registers
            if (any(3) == 0 && any(2))
                map.look.atari_mode = static_cast<uint8_t>(any(2) ? 2 : 4 + any(2));
            else if (any(2) == 0)
                (any(2) ? map.look.colbk : map.look.colpf[static_cast<size_t>(any(4))]) =
                    static_cast<uint8_t>(2 * any(128));
            else if (any(2))
                map.look.mode = static_cast<TextMode>(any(kTextModeCount));
            else if (any(2))
                (any(2) ? map.look.multicolour_1 : map.look.multicolour_2) =
                    static_cast<uint8_t>(any(16));
            else
                map.look.background_register(any(4)) = static_cast<uint8_t>(any(16));
            break;
        case 4:
            store.bytes[static_cast<size_t>(any(2048))] ^= static_cast<uint8_t>(1 << any(8));
            break;
        case 5:
            (any(2) ? c0 : c1) = static_cast<int>(random() & 0xFFFFFF);
            break;
        case 6:
            grid = !grid;
            break;
        case 7: // a size larger or smaller than the picture
            map.cols = 1 + any(40);
            map.rows = 1 + any(28);
            break;
        case 8:
        case 9:
            sel = {any(40) - 4, any(28) - 4, any(12), any(9)};
            break;
        case 10:
            hover = any(8) ? MapCell{any(38) - 2, any(26) - 2} : MapCell{};
            hover_colour = any(2) ? kMapHoverColour : kMapCursorColour;
            break;
        default:
            if (any(4) == 0)
                target = Raster(16 * (20 + any(20)), 16 * (10 + any(20)));
            break;
        }
        const Picture expected = reference_colour_map(map, store, c0, c1, grid, target.width(),
                                                      target.height(), sel, hover, hover_colour);
        Raster before = target;
        bool stale = false;
        for (int y = 0; y < target.height() && !stale; ++y)
            for (int x = 0; x < target.width() && !stale; ++x)
                stale = target.pixel(x, y) != expected.at(x, y) && expected.at(x, y) != 0x010203;
        if (stale) {
            EXPECT_FALSE(
                renderer.up_to_date(target, map, store, c0, c1, grid, hover, sel, hover_colour));
        }
        renderer.render(target, map, store, c0, c1, grid, hover, sel, hover_colour);
        // Pixels beyond the cells shown are not the renderer's: they keep what they had.
        Picture shown = expected;
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (shown.at(x, y) == 0x010203)
                    shown.px[y * shown.w + x] = before.pixel(x, y);
        expect_same(target, shown, "map");
        EXPECT_TRUE(
            renderer.up_to_date(target, map, store, c0, c1, grid, hover, sel, hover_colour));
        selections += std::count(shown.px.begin(), shown.px.end(), int{kMapSelectionColour}) > 0;
        partial += map.cols * 16 > target.width() || map.rows * 16 > target.height();
        coloured +=
            map.look.machine == MapMachine::ZxSpectrum || map.look.machine == MapMachine::PcText;
        multicoloured += map.look.machine == MapMachine::C64 && map.look.multicolour();
        extended += map.look.machine == MapMachine::C64 && map.look.extended();
    }
    // The sequence reached what it is meant to check.
    EXPECT_GT(selections, 20);
    EXPECT_GT(coloured, 10);
    EXPECT_GT(partial, 10);
    EXPECT_GT(multicoloured, 5);
    EXPECT_GT(extended, 5);
}

// The screen picture is the map picture at half its scale: each glyph pixel one pixel, on every
// machine and in multicolour (no FLASH or blink mark: it is the screen, not the editor).
TEST(MapScreen, IsTheMapPictureAtOnePixelAGlyphPixel) {
    std::mt19937 random(29);
    CharsetStore store;
    for (auto& b : store.bytes)
        b = static_cast<uint8_t>(random());
    for (int m = 0; m < kMapMachineCount + 4; ++m) {
        SCOPED_TRACE(m);
        CharMap map;
        map.cols = 40;
        map.rows = 25;
        map.look.machine = static_cast<MapMachine>(m % kMapMachineCount);
        // The C64 once more in multicolour, and once in extended background colours; the Atari
        // once more in four colours and once tall.
        map.look.set_multicolour(m == kMapMachineCount);
        map.look.set_extended(m == kMapMachineCount + 1);
        map.look.background_3 = 14;
        if (m >= kMapMachineCount)
            map.look.machine = m < kMapMachineCount + 2 ? MapMachine::C64 : MapMachine::Atari;
        map.look.atari_mode = m == kMapMachineCount + 2 ? 4 : m == kMapMachineCount + 3 ? 5 : 2;
        const int tall = map.look.atari_mode == 5 ? 2 : 1;
        map.look.background = static_cast<uint8_t>(random() % 8);
        map.look.multicolour_1 = 9;
        map.look.multicolour_2 = 13;
        for (int r = 0; r < map.rows; ++r)
            for (int c = 0; c < map.cols; ++c) {
                map.at(c, r) = static_cast<int32_t>(random() % 256);
                map.attr(c, r) = static_cast<uint8_t>(random() & 0x7F);
            }
        const Picture big = reference_colour_map(map, store, 0x102030, 0xF0E0D0, false, 640, 400,
                                                 {}, {}, kMapHoverColour);
        Raster screen(map_screen_width(map), map_screen_height(map));
        ASSERT_EQ(screen.width() * 1000 + screen.height(), 320 * 1000 + 200 * tall);
        render_map_screen(screen, map, store, 0x102030, 0xF0E0D0);
        // The tall mode shows each glyph row on two pixel rows, as the map's picture does.
        int differ = 0;
        for (int y = 0; y < 200 * tall; ++y)
            for (int x = 0; x < 320; ++x)
                differ += screen.pixel(x, y) != big.at(2 * x, 2 * y / tall);
        EXPECT_EQ(differ, 0);
    }
}

// The Level and Tiles windows through random scrolls (wheel, keys, bars), hovers, stamps, picks,
// Ctrl paints and register changes, each step against a picture drawn slowly from a model of the
// level, the tiles and the windows' scroll and hover kept here by the rules the windows follow.
TEST_F(ProgramTest, LevelAndTilesWindowsMatchAModelThroughRandomUse) {
    std::mt19937 random(38);
    constexpr int kTiles = 53; // 13 a row: a last row of one tile
    const auto any = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    menu(MenuId::MapC64); // a 40 x 25 view in colour
    tk.text_answers.push_back("3x6, 30x20");
    menu(MenuId::NewLevel);
    menu(MenuId::ShowTiles);
    const int tw = 3, th = 6, cols = 30, rows = 20, view_cols = 40, view_rows = 25;
    for (int t = 1; t < kTiles; ++t)
        menu(MenuId::NewTile); // 5 rows, one row more than the window shows
    for (int t = 0; t < kTiles; ++t)
        for (int i = 0; i < tw * th; ++i)
            app.s.levels.set_tile_cell(
                t, i % tw, i / tw, {static_cast<uint8_t>(any(256)), static_cast<uint8_t>(any(16))});
    for (auto& b : app.store().bytes)
        b = static_cast<uint8_t>(random());
    // The model.
    std::vector<int> level(static_cast<size_t>(cols * rows), 0);
    int sx = 0, sy = 0, hx = -1, hy = -1, tiles_scroll = 0, current = app.s.current_tile;
    MapCell tiles_hover;
    const int max_x = cols * tw - view_cols, max_y = rows * th - view_rows;
    const int per_row = view_cols / tw, tile_rows_shown = view_rows / th, tile_rows = 5;
    const auto clamp_scroll = [&] {
        sx = std::clamp(sx, 0, max_x);
        sy = std::clamp(sy, 0, max_y);
    };
    const auto tile_under = [&](int px, int py, int& tx, int& ty) {
        tx = (sx + px / 16) / tw;
        ty = (sy + py / 16) / th;
    };
    int stamps = 0, picks = 0, paints = 0, scrolls = 0;
    // What a plain click leaves: the cell as it was.
    TileSet before_click = app.s.levels.tiles();
    const auto painted_before = [&](int t, int x, int y) {
        return before_click.cell(t, x, y).code;
    };
    for (int step = 0; step < 300; ++step) {
        const int px = any(16 * view_cols), py = any(16 * view_rows);
        int tx = -1, ty = -1;
        const int kind = any(11);
        SCOPED_TRACE("kind " + std::to_string(kind));
        switch (kind) {
        case 0: { // the wheel, across with Shift
            const int wheel = any(2) ? 1 : -1;
            const bool shift = any(2);
            tk.inject_canvas(kLevelCanvas, kKindWheel, px, py, 0, 0, shift ? kModShift : 0, wheel);
            (shift ? sx : sy) -= 3 * wheel;
            clamp_scroll();
            tile_under(px, py, hx, hy);
            ++scrolls;
            break;
        }
        case 1: { // a key
            const int keys[] = {kKeyRight,    kKeyLeft,   kKeyDown, kKeyUp,
                                kKeyPageDown, kKeyPageUp, kKeyHome, kKeyEnd};
            const int key = keys[any(8)];
            tk.inject_canvas(kLevelCanvas, kKindKeyDown, -1, -1, 0, key);
            sx += key == kKeyRight ? tw : key == kKeyLeft ? -tw : 0;
            sy += key == kKeyDown ? th : key == kKeyUp ? -th : 0;
            sy += key == kKeyPageDown ? view_rows : key == kKeyPageUp ? -view_rows : 0;
            if (key == kKeyHome)
                sx = sy = 0;
            if (key == kKeyEnd)
                sx = max_x, sy = max_y;
            clamp_scroll();
            hx = hy = -1; // the pointer is not where a key says
            ++scrolls;
            break;
        }
        case 2: { // a bar
            const bool across = any(2);
            const int value = any(60);
            tk.inject_control(across ? kLevelScrollX : kLevelScrollY, value);
            (across ? sx : sy) = value;
            clamp_scroll();
            hx = hy = -1;
            break;
        }
        case 3:
            tk.inject_canvas(kLevelCanvas, kKindMouseMove, px, py);
            tile_under(px, py, hx, hy);
            break;
        case 4: // a stamp of the current tile
            tk.inject_canvas(kLevelCanvas, kKindLeftDown, px, py, kButtonLeft);
            tile_under(px, py, hx, hy);
            level[static_cast<size_t>(hy * cols + hx)] = current;
            ++stamps;
            break;
        case 5: // a pick
            tk.inject_canvas(kLevelCanvas, kKindRightDown, px, py, kButtonRight);
            tile_under(px, py, hx, hy);
            current = level[static_cast<size_t>(hy * cols + hx)];
            ++picks;
            break;
        case 6:
            tk.inject_canvas(kLevelCanvas, kKindMouseLeave, -1, -1);
            hx = hy = -1;
            break;
        case 7: // a register
            app.s.map->look.background = static_cast<uint8_t>(any(16));
            break;
        case 8: { // the Tiles window's wheel
            const int wheel = any(2) ? 1 : -1;
            tk.inject_canvas(kTilesCanvas, kKindWheel, px, py, 0, 0, 0, wheel);
            tiles_scroll = std::clamp(tiles_scroll - wheel, 0, tile_rows - tile_rows_shown);
            break;
        }
        default: { // a click, a drag or a move in the Tiles window; with Ctrl a click or a drag
                   // paints the current glyph
            // A quarter of them on the first tile's place, where tile 0 stands while unscrolled.
            const bool first = any(4) == 0;
            const int c = first ? any(tw) : px / 16, r = first ? any(th) : py / 16;
            const bool ctrl = any(3) == 0;
            const int how = any(4); // 0 a click, 1 a drag, 2 a move with no button, 3 a drag
                                    // past the window's left edge
            app.s.current_char = static_cast<uint8_t>(any(256));
            before_click = app.s.levels.tiles();
            tk.inject_canvas(kTilesCanvas, how == 0 ? kKindLeftDown : kKindMouseMove,
                             how == 3 ? -1 - any(40) : 16 * c + 5, 16 * r + 5,
                             how == 2 ? 0 : kButtonLeft, 0, ctrl ? kModCtrl : 0);
            const int t = c / tw < per_row && r / th < tile_rows_shown
                              ? (tiles_scroll + r / th) * per_row + c / tw
                              : -1;
            tiles_hover = t >= 0 && t < kTiles && how < 3 ? MapCell{c, r} : MapCell{};
            if (how >= 2) {
                handle();
                EXPECT_TRUE(app.s.levels.tiles() == before_click)
                    << "a move alone, or past the window's edge, paints nothing";
                break;
            }
            if (t >= 0 && t < kTiles) {
                current = t;
                paints += ctrl;
            }
            handle();
            if (t >= 0 && t < kTiles)
                ASSERT_EQ(app.s.levels.tiles().cell(t, c % tw, r % th).code,
                          ctrl ? app.s.current_char : painted_before(t, c % tw, r % th))
                    << step;
            break;
        }
        }
        handle();
        present(app);
        ASSERT_EQ(app.s.current_tile, current) << step;
        // The Level window: the characters in view, the hovered tile framed.
        CharMap want;
        want.look = app.s.map->look;
        want.cols = view_cols, want.rows = view_rows;
        const TileSet& tiles = app.s.levels.tiles();
        for (int r = 0; r < view_rows; ++r)
            for (int c = 0; c < view_cols; ++c) {
                const int x = sx + c, y = sy + r;
                const TileCell cell =
                    tiles.cell(level[static_cast<size_t>(y / th * cols + x / tw)], x % tw, y % th);
                want.at(c, r) = cell.code;
                want.attr(c, r) = cell.attr;
            }
        const CellRect frame = hx >= 0 ? CellRect{hx * tw - sx, hy * th - sy, tw, th} : CellRect{};
        expect_same(picture(kLevelCanvas),
                    reference_colour_map(want, app.store(), app.s.color_bit0, app.s.color_bit1,
                                         false, 16 * view_cols, 16 * view_rows, frame, {},
                                         kMapHoverColour),
                    "level");
        // The Tiles window: the rows of tiles in view, the empty places blank, the current tile
        // framed, the hovered cell outlined.
        const TileCell empty{blank_code(app.store()), blank_attribute(MapMachine::C64)};
        for (int r = 0; r < view_rows; ++r)
            for (int c = 0; c < view_cols; ++c) {
                const int t = c / tw < per_row && r / th < tile_rows_shown
                                  ? (tiles_scroll + r / th) * per_row + c / tw
                                  : -1;
                const TileCell cell = t >= 0 && t < kTiles ? tiles.cell(t, c % tw, r % th) : empty;
                want.at(c, r) = cell.code;
                want.attr(c, r) = cell.attr;
            }
        const int current_row = current / per_row - tiles_scroll;
        const CellRect current_frame =
            current_row >= 0 && current_row < tile_rows_shown
                ? CellRect{current % per_row * tw, current_row * th, tw, th}
                : CellRect{};
        // The hovered cell counts while a tile stands there: a scroll may leave it on none.
        int hovered_tile =
            tiles_hover.column < 0
                ? -1
                : (tiles_scroll + tiles_hover.row / th) * per_row + tiles_hover.column / tw;
        if (hovered_tile >= kTiles)
            hovered_tile = -1;
        expect_same(picture(kTilesCanvas),
                    reference_colour_map(want, app.store(), app.s.color_bit0, app.s.color_bit1,
                                         false, 16 * view_cols, 16 * view_rows, current_frame,
                                         hovered_tile < 0 ? MapCell{} : tiles_hover,
                                         kMapHoverColour),
                    "tiles");
        // The bars and the titles say the same.
        const auto bar = [&](int control) {
            const auto* b = tk.control(control);
            return std::tuple(b->minimum, b->maximum, b->page, b->state);
        };
        EXPECT_EQ(bar(kLevelScrollX), std::tuple(0, max_x, view_cols, sx));
        EXPECT_EQ(bar(kLevelScrollY), std::tuple(0, max_y, view_rows, sy));
        EXPECT_EQ(bar(kTilesScroll),
                  std::tuple(0, tile_rows - tile_rows_shown, tile_rows_shown, tiles_scroll));
        EXPECT_EQ(tk.window(kLevelWindow)->title,
                  hx < 0 ? std::string("Level")
                         : "Level (" + std::to_string(hx) + "," + std::to_string(hy) + "): tile " +
                               std::to_string(level[static_cast<size_t>(hy * cols + hx)]));
        EXPECT_EQ(tk.window(kTilesWindow)->title,
                  hovered_tile < 0 ? std::string("Tiles")
                                   : "Tiles: tile " + std::to_string(hovered_tile));
        if (::testing::Test::HasFailure())
            FAIL() << "step " << step;
    }
    EXPECT_GT(stamps, 10);
    EXPECT_GT(picks, 10);
    EXPECT_GT(paints, 3);
    EXPECT_GT(scrolls, 30);
}

} // namespace
} // namespace fontarel
