// C64 multicolour screens: how single cells are read (multicolour, hi-res or neither), the search
// for the two registers, and Koala paintings made here, imported and drawn back as the machine
// draws them, cell by cell against a decoding of the file written here.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "formats/font_import.h"
#include "formats/koala.h"
#include "model/map_colours.h"

namespace fontarel {
namespace {

const auto kPalette = machine_palette(MapMachine::C64).colours;

int hex_digit(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

// The map's cells drawn as the machine draws them, 8 picture pixels a cell row, in palette
// colours: a multicolour cell's bit pairs as two equal pixels, a hi-res cell's bits one each.
Picture draw(const ScreenImport& screen, int cols, int rows) {
    const CharMap& map = screen.map;
    Picture p{8 * cols, 8 * rows, std::vector<int32_t>(size_t{64} * cols * rows)};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t attr = map.attr(x / 8, y / 8);
            const unsigned row = screen.charset.glyph(map.at(x / 8, y / 8))[y % 8];
            p.pixels[static_cast<size_t>(y * p.width + x)] =
                is_multicolour_cell(map, attr)
                    ? multicolour_colours(map, attr)[row >> (6 - (x % 8 & 6)) & 3]
                : row >> (7 - x % 8) & 1
                    ? cell_colours(MapMachine::C64, attr, map.look.background).ink
                    : kPalette[map.look.background];
        }
    return p;
}

// Cells of `a` unlike those of `b`, both cols cells wide.
int cells_unlike(const Picture& a, const Picture& b, int cols) {
    std::vector<bool> unlike(a.pixels.size() / 64);
    for (size_t i = 0; i < a.pixels.size(); ++i)
        if (a.pixels[i] != b.pixels[i])
            unlike[i / a.width / 8 * cols + i % a.width / 8] = true;
    return static_cast<int>(std::count(unlike.begin(), unlike.end(), true));
}

// Cells of 8 picture pixels a row side by side, each pixel a hex palette index; row r of a cell
// is its string turned left by 2r.
Picture cells(const std::vector<std::string>& rows) {
    Picture p{8 * static_cast<int>(rows.size()), 8, {}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(kPalette[hex_digit(rows[x / 8][(x % 8 + 2 * y) % 8])]);
    return p;
}

TEST(MulticolourImport, EachCellIsReadAsTheModeCanShowIt) {
    // Background blue (6), registers white (1) and red (2). `drawn` is the cell as the machine
    // draws the result, when it is not the picture.
    const struct {
        const char *row, *drawn;
        int attr, uneven, beyond;
    } cases[] = {
        {"66112255", nullptr, 13, 0, 0}, // multicolour, green (5) its own
        {"66111166", nullptr, 14, 0, 0}, // multicolour of the shared colours alone: the blank's 6
        {"66777766", nullptr, 15, 0, 0}, // background and yellow (7) in pairs: still multicolour
        {"63636366", nullptr, 3, 0, 0},  // pairs of cyan (3) and the background: hi-res
        // Pairs of grey (12), which no hi-res cell shows, or without the background: left pixels.
        {"6C6C6C66", "66666666", 14, 1, 0},
        {"31313131", "33333333", 11, 1, 0},
        // Colours the mode cannot show, each drawn in the nearest of the four: grey (12) of its
        // own; green (5) and yellow (7); black (0) and grey; orange (8) past 7.
        {"66CC1122", "66441122", 12, 0, 1},
        {"55772211", "22772211", 15, 0, 1},
        {"00CC5555", "22555555", 13, 0, 1},
        {"88888866", "22222266", 8, 0, 1},
        {"00005566", "00002266", 8, 0, 1}, // black (0) its own: green is nearer red than black is
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        const ScreenImport screen = import_multicolour_screen(cells({c.row}), {6, 1, 2});
        ASSERT_TRUE(screen.ok()) << screen.error;
        EXPECT_EQ(screen.map.attr(0, 0), c.attr);
        EXPECT_EQ(screen.uneven_pairs * 10 + screen.beyond_mode, c.uneven * 10 + c.beyond);
        EXPECT_EQ(screen.near_glyph, 0);
        EXPECT_TRUE(draw(screen, 1, 1).pixels == cells({c.drawn ? c.drawn : c.row}).pixels);
        EXPECT_EQ(screen.note.empty(), c.drawn == nullptr) << screen.note;
    }
    EXPECT_EQ(import_multicolour_screen(cells({"6C6C6C66"}), {6, 1, 2}).note,
              "1 cell had pixel pairs that differ: each pair read as its left pixel");
}

TEST(MulticolourImport, TheRegistersAreThePairThatDrawsTheMostPixels) {
    const struct {
        std::vector<std::string> cells;
        int colour_1, colour_2, beyond;
    } cases[] = {
        // Three cells need brown (9) and light red (10), two others dark and mid grey (11, 12).
        {{"66AA9933", "66AA9933", "66AA9933", "66BBCC66", "66BBCC66"}, 9, 10, 2},
        // The greys fill their two cells: fewer cells fit, but fewer pixels are lost.
        {{"6699AA66", "6699AA66", "6699AA66", "BBCCBBCC", "BBCCBBCC"}, 11, 12, 3},
        // As many pixels lost with 9 and 12 as with 11 and 12: the pair that fits a cell.
        {{"6699AA66", "66BBCCCC"}, 11, 12, 1},
        // As many pixels and cells with 10 and 12: the lower pair.
        {{"6699BB66", "66AACC66"}, 9, 11, 1},
        // Light grey (15) alone beside the background: the lowest pair that holds it.
        {{"66FF6666"}, 0, 15, 0},
        // Four colours 0-7 alike: with 1 and 2 the cell's own colour is its third.
        {{"11223344", "66666666", "66666666"}, 1, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cells[0]);
        const ScreenImport screen = import_multicolour_screen(cells(c.cells));
        EXPECT_EQ(screen.map.look.background, 6);
        EXPECT_EQ(screen.map.look.multicolour_1 * 100 + screen.map.look.multicolour_2,
                  c.colour_1 * 100 + c.colour_2);
        EXPECT_EQ(screen.beyond_mode, c.beyond);
    }
    // Both pixels of a pair count for the background: 6 and 12 tie, 12 by left pixels.
    EXPECT_EQ(import_multicolour_screen(cells({"C6C6C6C6"})).map.look.background, 6);
}

// The palette index of double-wide pixel (x, y) of a Koala painting, read as the format says.
int koala_pixel(const std::vector<uint8_t>& file, int x, int y) {
    const size_t cell = static_cast<size_t>(y / 8 * 40 + x / 4);
    const int colours[4] = {file.size() == 10003 ? file[10002] & 15 : 0, file[8002 + cell] >> 4,
                            file[8002 + cell] & 15, file[9002 + cell] & 15};
    return colours[file[2 + 8 * cell + static_cast<size_t>(y % 8)] >> (6 - 2 * (x % 4)) & 3];
}

// The painting at 320 x 200, each double-wide pixel as two equal ones, or at 160 x 200.
Picture koala_picture(const std::vector<uint8_t>& file, int step) {
    Picture p{160 * step, 200, {}};
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(kPalette[static_cast<size_t>(koala_pixel(file, x / step, y))]);
    return p;
}

TEST(MulticolourImport, KoalaPaintingsComeBackAsScreensThatDrawThem) {
    // OneOver: 257 patterns, the last one pixel from the first and in one cell alone.
    enum Kind { Fits, FreeColours, ManyPatterns, OneOver };
    const struct {
        Kind kind;
        size_t size;
    } cases[] = {{Fits, 10003},
                 {FreeColours, 10003},
                 {ManyPatterns, 10003},
                 {OneOver, 10003},
                 {Fits, 10002}};
    std::mt19937 random(7);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind * 100000 + c.size);
        std::vector<uint8_t> file(c.size);
        file[0] = 0x00, file[1] = 0x60;
        // Few 00 pairs, so that the background is the rarest colour; 40 bitmaps, or each cell
        // its own.
        std::vector<uint8_t> bitmaps(8 * 257);
        for (auto& b : bitmaps)
            b = static_cast<uint8_t>(random() | random());
        std::copy_n(bitmaps.begin(), 8, bitmaps.begin() + 8 * 256);
        bitmaps[8 * 256] ^= 1;
        for (size_t cell = 0; cell < 1000; ++cell) {
            const size_t from = 8 * (c.kind != OneOver ? random() % 40
                                     : cell == 256     ? 256
                                                       : cell % 256);
            for (size_t r = 0; r < 8; ++r)
                file[2 + 8 * cell + r] =
                    c.kind == ManyPatterns ? static_cast<uint8_t>(random()) : bitmaps[from + r];
            // 01 light green (13) and 10 light red (10) but in one cell in five of FreeColours;
            // 11 one of 1-7, the colour RAM's high nybble not the painting's.
            const bool free = c.kind == FreeColours && random() % 5 == 0;
            file[8002 + cell] = free ? static_cast<uint8_t>(random()) : 0xDA;
            file[9002 + cell] =
                static_cast<uint8_t>(free ? random() : (random() & 0xF0) | (1 + random() % 7));
        }
        if (c.size == 10003)
            file[10002] = 0x98; // orange (8), past its high nybble

        const ScreenImport screen = import_koala(file);
        ASSERT_TRUE(screen.ok()) << screen.error;
        EXPECT_EQ(screen.map.cols * 100 + screen.map.rows, 4025);
        EXPECT_EQ(screen.map.look.background, c.size == 10003 ? 8 : 0);
        EXPECT_TRUE(screen.map.look.multicolour() && screen.map.look.machine == MapMachine::C64);
        const int unlike = cells_unlike(draw(screen, 40, 25), koala_picture(file, 2), 40);
        EXPECT_EQ(unlike, screen.beyond_mode + screen.near_glyph) << screen.note;
        EXPECT_EQ(screen.uneven_pairs, 0);
        EXPECT_EQ(screen.beyond_mode > 0, c.kind == FreeColours);
        EXPECT_EQ(screen.near_glyph > 0, c.kind == ManyPatterns || c.kind == OneOver);
        EXPECT_TRUE(c.kind != OneOver ||
                    screen.note == "Reduced to 256 glyphs: 1 cell shows a near glyph")
            << screen.note;
        EXPECT_EQ(screen.map.look.multicolour_1 * 100 + screen.map.look.multicolour_2, 1013);

        // The same painting as a picture, whole or at half width, gives the same screen.
        for (int step : {1, 2}) {
            const ScreenImport again =
                import_multicolour_screen(koala_picture(file, step), {screen.map.look.background});
            EXPECT_EQ(again.charset.bytes, screen.charset.bytes) << step;
            EXPECT_TRUE(again.map.cells == screen.map.cells &&
                        again.map.attrs == screen.map.attrs &&
                        again.map.look.multicolour_2 == screen.map.look.multicolour_2 &&
                        again.note == screen.note)
                << step;
        }
    }
}

TEST(MulticolourImport, WhatIsNoMulticolourScreenIsRefused) {
    EXPECT_EQ(import_koala(std::vector<uint8_t>(10001)).error,
              "is 10001 bytes: a Koala painting is 10003 (10002 without the background byte)");
    EXPECT_EQ(import_multicolour_screen({300, 200, std::vector<int32_t>(60000)}).error,
              "is 300 x 200: a multicolour screen picture is a multiple of 8 pixels each way, at "
              "most 640 x 400, or half as wide as a whole screen (160 x 200)");
    for (const auto& [width, height, ok] :
         {std::tuple{640, 8, true}, {8, 400, true}, {648, 8, false}, {8, 408, false}}) {
        const std::string size = std::to_string(width) + " x " + std::to_string(height);
        const std::string error =
            import_multicolour_screen({width, height, std::vector<int32_t>(width * height)}).error;
        EXPECT_EQ(error.substr(0, size.size() + 6), ok ? "" : "is " + size + ": a") << size;
    }
    const EntryPicture bad[] = {{0, 1, 1, {}},
                                {1, 0, 1, {}},
                                {81, 1, 1, std::vector<uint8_t>(32 * 81)},
                                {1, 51, 1, std::vector<uint8_t>(32 * 51)},
                                {1, 1, 3, std::vector<uint8_t>(96)},
                                {1, 1, 2, std::vector<uint8_t>(32)}};
    for (const EntryPicture& p : bad)
        EXPECT_EQ(import_multicolour_entries(p, {}).error, "is no screen of 1-80 x 1-50 cells")
            << p.cols << " x " << p.rows << " step " << p.step;
    std::vector<uint8_t> png(10003);
    EXPECT_TRUE(is_koala(png));
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::copy(std::begin(signature), std::end(signature), png.begin());
    EXPECT_FALSE(is_koala(png));
    EXPECT_TRUE(is_picture(signature)); // the signature alone
    EXPECT_FALSE(is_koala(std::vector<uint8_t>(10004)));
    EXPECT_TRUE(has_koala_name("dir/PIC.KLA") && has_koala_name("a.koa"));
    EXPECT_FALSE(has_koala_name("koa") || has_koala_name("a.koala"));
}

} // namespace
} // namespace fontarel
