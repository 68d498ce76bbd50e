// Pictures into glyphs: charset pictures the program draws imported back, screens drawn from a map
// imported into a charset and a map that draw the same pixels, in two colours and in each
// machine's colours, the merging of more than 256 patterns against a slow reading of its contract,
// the colour rule, BMP bytes, refusals, and the command line's import.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <unistd.h>

#include "cli/command_line_run.h"
#include "formats/picture_import.h"
#include "formats/project.h"
#include "model/builtin_charsets.h"
#include "model/map_colours.h"
#include "render/charset_picture.h"
#include "render/sheet_picture.h"

namespace fontarel {
namespace {

constexpr int32_t kBlack = 0, kWhite = 0xFFFFFF;
const BuiltinCharset& kZx = builtin_charset(Machine::ZxSpectrum); // black set on grey

uint64_t pattern(const CharsetStore& store, int code) {
    uint64_t p = 0;
    for (int r = 0; r < 8; ++r)
        p |= uint64_t{store.glyph(code)[static_cast<size_t>(r)]} << (8 * r);
    return p;
}

// Cells of 8 x 8 picture pixels, one a glyph pixel, row by row: row r of a cell is byte r of its
// pattern.
Picture draw_cells(const std::vector<uint64_t>& cells, int cols, int32_t clear, int32_t set) {
    const int rows = static_cast<int>(cells.size()) / cols;
    Picture p{8 * cols, 8 * rows, {}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(
                cells[static_cast<size_t>(y / 8 * cols + x / 8)] >> (8 * (y % 8) + 7 - x % 8) & 1
                    ? set
                    : clear);
    return p;
}

// The codes of the top-left cols x rows cells of a map, drawn with the charset.
Picture draw_map(const CharsetStore& charset, const CharMap& map, int cols, int rows) {
    std::vector<uint64_t> cells;
    for (int i = 0; i < cols * rows; ++i)
        cells.push_back(pattern(charset, map.at(i % cols, i / cols)));
    return draw_cells(cells, cols, kZx.colour0, kZx.colour1);
}

TEST(PictureImport, CharsetPicturesGiveBackTheirGlyphs) {
    std::mt19937 random(3);
    CharsetStore store;
    for (auto& b : store.bytes)
        b = static_cast<uint8_t>(random());
    // Three picture pixels a glyph pixel: each block's centre right, its top row and left column
    // wrong, so that only sampling at the centre reads the glyphs.
    Raster k3(384, 384), grid(256, 256), sheet(128, 128);
    for (int y = 0; y < 384; ++y)
        for (int x = 0; x < 384; ++x) {
            const int gx = x / 3, gy = y / 3;
            const bool bit = store.glyph(gy / 8 * 16 + gx / 8)[gy % 8] >> (7 - gx % 8) & 1;
            k3.set_pixel(x, y, bit != (x % 3 == 0 || y % 3 == 0) ? kZx.colour1 : kZx.colour0);
        }
    CharsetGridRenderer().render(grid, store, kBlack, kWhite);
    render_glyph_sheet(sheet, store, {}, kZx.colour0, kZx.colour1);
    for (const Raster* raster : {&grid, &sheet, &k3}) {
        Picture picture; // through the BMP the program writes
        ASSERT_TRUE(decode_bmp(encode_bmp(*raster), picture)) << raster->width();
        const bool black = raster == &grid;
        const FontImport font = import_charset_picture(picture, black ? kBlack : kZx.colour0,
                                                       black ? kWhite : kZx.colour1);
        ASSERT_TRUE(font.ok()) << raster->width() << ": " << font.error;
        EXPECT_EQ(font.glyphs.bytes, store.bytes) << raster->width();
        EXPECT_EQ(std::count(font.present.begin(), font.present.end(), true), 256);
    }
}

TEST(PictureImport, ScreensComeBackAsMapsThatDrawTheSamePixels) {
    CharsetStore cga;
    load_builtin_glyphs(cga, builtin_charset(Machine::Cga));
    std::mt19937 random(11);
    const struct {
        int width, height, cols, rows; // picture pixels; the map size it gets
    } sizes[] = {{320, 200, 40, 25}, {256, 192, 32, 24}, {640, 400, 80, 50}, {320, 192, 40, 24},
                 {512, 240, 64, 30}, {8, 8, 32, 24},     {328, 8, 64, 30}};
    for (const auto& s : sizes) {
        const int cols = s.width / 8, rows = s.height / 8;
        CharMap drawn;
        std::set<uint64_t> patterns;
        for (int i = 0; i < cols * rows; ++i) {
            // The last cell is a space: the cells outside the picture are to share its code.
            drawn.at(i % cols, i / cols) =
                i + 1 < cols * rows ? static_cast<int32_t>(random() % 256) : 32;
            patterns.insert(pattern(cga, drawn.at(i % cols, i / cols)));
        }
        const Picture picture = draw_map(cga, drawn, cols, rows);
        for (const bool keep : {true, false}) {
            const ScreenImport screen =
                keep ? import_screen_current_charset(picture, cga, kZx.colour0, kZx.colour1)
                     : import_screen_new_charset(picture, kZx.colour0, kZx.colour1);
            const std::string what = std::to_string(s.width) + " x " + std::to_string(s.height) +
                                     (keep ? ", current charset" : ", new charset");
            ASSERT_TRUE(screen.ok()) << what << ": " << screen.error;
            EXPECT_EQ(screen.map.cols * 100 + screen.map.rows, s.cols * 100 + s.rows) << what;
            EXPECT_EQ(screen.cells * 10000 + screen.distinct,
                      cols * rows * 10000 + static_cast<int>(patterns.size()))
                << what;
            EXPECT_EQ(screen.note, "") << what;
            EXPECT_TRUE(draw_map(screen.charset, screen.map, cols, rows).pixels == picture.pixels)
                << what;
            const int blank = screen.map.at(cols - 1, rows - 1);
            ASSERT_EQ(pattern(screen.charset, blank), 0u) << what;
            for (int y = 0; y < screen.map.rows; ++y)
                for (int x = y < rows ? cols : 0; x < screen.map.cols; ++x)
                    ASSERT_EQ(screen.map.at(x, y), blank)
                        << what << ": cell " << x << ", " << y << " outside the picture";
        }
    }
}

TEST(PictureImport, ColourScreensComeBackWithAttributesThatDrawThem) {
    CharsetStore cga;
    load_builtin_glyphs(cga, builtin_charset(Machine::Cga));
    // Eight cells, 4 x 2, of CGA glyphs in palette colours. Cell 0 gets three pixels of a third
    // colour; cell 7 two colours no attribute can give, in as many pixels each (the shade 0xB1).
    // The shade 0xB2 has more pixels in its ink than in its paper; 0xDB and 0 are of one colour.
    const int codes[8] = {'A', 0xB2, 'x', 0, 0xDB, 'g', 'B', 0xB1};
    const struct {
        MapMachine machine;
        int ink[8], paper[8]; // palette entries
        int third;
        const char* says;
    } machines[] = {
        {MapMachine::C64,
         {1, 2, 7, 6, 5, 14, 0, 2},
         {6, 6, 6, 6, 6, 6, 6, 5},
         3,
         "1 cell had more than two colours. 1 cell had colours that cannot share a C64 cell"},
        {MapMachine::ZxSpectrum,
         {2, 12, 8, 0, 13, 4, 6, 10},
         {7, 9, 14, 0, 13, 0, 0, 1},
         4,
         "1 cell had more than two colours. 1 cell had colours that cannot share a ZX Spectrum "
         "cell"},
        {MapMachine::PcText,
         {14, 10, 0, 4, 11, 15, 7, 12},
         {1, 2, 7, 4, 11, 6, 0, 9},
         13,
         "1 cell had more than two colours. 1 cell had colours that cannot share a PC text cell"},
    };
    for (const auto& m : machines) {
        const auto palette = machine_palette(m.machine).colours;
        auto colour = [&](int x, int y) {
            const int cell = y / 8 * 4 + x / 8;
            if (cell == 0 && x % 8 >= 5 && y % 8 == 7)
                return palette[static_cast<size_t>(m.third)];
            const bool set = cga.glyph(codes[cell])[y % 8] >> (7 - x % 8) & 1;
            return palette[static_cast<size_t>(set ? m.ink[cell] : m.paper[cell])];
        };
        // Every pixel a little off its palette colour.
        Picture picture{32, 16, {}};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) {
                const int off = (3 * x + 5 * y) % 7 - 3;
                int32_t c = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    c |= std::clamp((colour(x, y) >> shift & 0xFF) + off, 0, 255) << shift;
                picture.pixels.push_back(c);
            }
        for (const bool keep : {false, true}) {
            const std::string what =
                std::string(machine_name(m.machine)) + (keep ? ", current charset" : ", new");
            const ScreenImport screen =
                keep ? import_screen_current_charset(picture, cga, kBlack, kWhite, m.machine)
                     : import_screen_new_charset(picture, kBlack, kWhite, m.machine);
            ASSERT_TRUE(screen.ok()) << what << ": " << screen.error;
            EXPECT_EQ(screen.note.rfind(m.says, 0), 0u) << what << ": " << screen.note;
            if (m.machine == MapMachine::C64) {
                EXPECT_EQ(screen.map.look.background, 6) << what;
            }
            if (m.machine == MapMachine::ZxSpectrum) {
                // Bright red and blue miss by as much at either level: the lower one wins.
                EXPECT_EQ(screen.map.attr(3, 1), 0x0A) << what;
            }
            // The cells drawn with the glyphs and the attributes the import gave them.
            int unlike[8] = {};
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 32; ++x) {
                    const CellColours cc = cell_colours(m.machine, screen.map.attr(x / 8, y / 8),
                                                        screen.map.look.background);
                    const bool set =
                        screen.charset.glyph(screen.map.at(x / 8, y / 8))[y % 8] >> (7 - x % 8) & 1;
                    unlike[y / 8 * 4 + x / 8] += (set ? cc.ink : cc.paper) != colour(x, y);
                }
            EXPECT_LE(unlike[0], 3) << what << ": the cell of three colours";
            for (int cell = 1; cell < 7; ++cell)
                EXPECT_EQ(unlike[cell], 0) << what << ": cell " << cell;
        }
    }
}

// The merging as its contract reads: the closest pair over all remaining patterns, the earliest
// pair on ties, the one of fewer cells (the later on equal cells) dropped.
std::vector<uint64_t> merged_slowly(std::vector<uint64_t> patterns, std::vector<int> cells) {
    while (patterns.size() > 256) {
        size_t bp = 0, bq = 0;
        for (size_t p = 0; p < patterns.size(); ++p)
            for (size_t q = p + 1; q < patterns.size(); ++q)
                if (std::popcount(patterns[p] ^ patterns[q]) <
                    std::popcount(patterns[bp] ^ patterns[bq]) + 65 * (bp == bq))
                    bp = p, bq = q;
        const size_t dropped = cells[bq] <= cells[bp] ? bq : bp;
        cells[bp + bq - dropped] += cells[dropped];
        patterns.erase(patterns.begin() + static_cast<long>(dropped));
        cells.erase(cells.begin() + static_cast<long>(dropped));
    }
    return patterns;
}

TEST(PictureImport, MoreThan256PatternsMergeClosestFirst) {
    // 300 patterns near a few others, so that distances tie and cell counts decide, over 79 x 49
    // cells: the 80 x 50 map has cells outside the picture.
    std::mt19937_64 random(5);
    std::vector<uint64_t> bases(12), patterns;
    for (auto& b : bases)
        b = random();
    while (patterns.size() < 300) {
        uint64_t p = bases[random() % bases.size()];
        for (int flips = static_cast<int>(random() % 5); flips > 0; --flips)
            p ^= uint64_t{1} << (random() % 64);
        if (std::find(patterns.begin(), patterns.end(), p) == patterns.end())
            patterns.push_back(p);
    }
    std::vector<uint64_t> cells(patterns); // each in order first, then earlier ones more often
    while (cells.size() < 79 * 49)
        cells.push_back(patterns[std::min(random() % 300, random() % 300)]);
    std::vector<int> counts;
    for (const uint64_t p : patterns)
        counts.push_back(static_cast<int>(std::count(cells.begin(), cells.end(), p)));
    const std::vector<uint64_t> expected = merged_slowly(patterns, counts);

    const ScreenImport screen =
        import_screen_new_charset(draw_cells(cells, 79, kBlack, kWhite), kBlack, kWhite);
    ASSERT_TRUE(screen.ok()) << screen.error;
    EXPECT_EQ(screen.distinct * 1000 + screen.glyphs, 300256);
    int differ = 0, most = 0, fewest_set = 0;
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(pattern(screen.charset, code), expected[static_cast<size_t>(code)]) << code;
        if (std::popcount(expected[static_cast<size_t>(code)]) <
            std::popcount(expected[static_cast<size_t>(fewest_set)]))
            fewest_set = code;
    }
    for (int i = 0; i < 79 * 49; ++i) {
        const uint64_t own = cells[static_cast<size_t>(i)];
        const int d = std::popcount(own ^ pattern(screen.charset, screen.map.at(i % 79, i / 79)));
        for (const uint64_t other : expected)
            ASSERT_LE(d, std::popcount(other ^ own)) << "cell " << i << " shows no nearest glyph";
        differ += d > 0;
        most = std::max(most, d);
    }
    EXPECT_EQ(screen.note, "Reduced to 256 glyphs: " + std::to_string(differ) +
                               " cells differ by up to " + std::to_string(most) + " pixels");
    EXPECT_EQ(screen.map.at(79, 0), fewest_set) << "outside: the glyph nearest to blank";

    // Matched to a charset with no blank glyph, the cells outside take the lowest of the glyphs
    // nearest to blank.
    CharsetStore none_blank;
    for (int code = 0; code < 256; ++code)
        none_blank.glyph(code)[0] = code == 9 || code == 5 ? 0x01 : 0x03;
    const ScreenImport matched = import_screen_current_charset(
        draw_cells({pattern(none_blank, 200)}, 1, kBlack, kWhite), none_blank, kBlack, kWhite);
    ASSERT_TRUE(matched.ok()) << matched.error;
    EXPECT_EQ(matched.map.at(1, 0), 5);
}

TEST(PictureImport, PixelsAreSetOnTheSideOfTheSetColour) {
    constexpr int32_t kRed = 0x0000FF, kGreen = 0x00FF00, kGrey = 0x646464;
    constexpr int32_t kNavy = 0x800000, kYellow = 0x00FFFF;
    const struct {
        std::vector<int32_t> pixels;
        int32_t clear, set;
        std::vector<uint8_t> bits;
        bool reduced = false;
    } cases[] = {
        {{kBlack, kWhite, kWhite}, kBlack, kWhite, {0, 1, 1}},
        {{kBlack, kWhite, kWhite}, kWhite, kBlack, {1, 0, 0}},
        {{kNavy, kYellow}, kBlack, kWhite, {0, 1}},
        {{kYellow, kNavy}, kWhite, kBlack, {0, 1}},
        {{kWhite, kBlack}, kRed, kGreen, {1, 0}}, // no nearer pairing: the lighter, as green is
        {{kWhite, kBlack}, kGreen, kRed, {0, 1}},
        {{kWhite, kWhite}, kBlack, kWhite, {1, 1}},
        {{kBlack}, kBlack, kWhite, {0}},
        {{kBlack, kGrey, kWhite}, kBlack, kWhite, {0, 0, 1}, true},
        {{kBlack, kGrey, kWhite}, kWhite, kBlack, {1, 1, 0}, true},
        {{kWhite, kGrey, kBlack}, kBlack, kWhite, {1, 0, 0}, true}, // the darkest comes last
    };
    for (const auto& c : cases) {
        bool reduced = !c.reduced;
        const auto bits =
            picture_bits({static_cast<int>(c.pixels.size()), 1, c.pixels}, c.clear, c.set, reduced);
        EXPECT_EQ(bits, c.bits) << testing::PrintToString(c.pixels) << " clear " << c.clear;
        EXPECT_EQ(reduced, c.reduced) << testing::PrintToString(c.pixels);
    }
}

TEST(PictureImport, BadPicturesAndBmpBytesAreRefused) {
    auto blank = [](int w, int h) { return Picture{w, h, std::vector<int32_t>(w * h)}; };
    const struct {
        Picture picture;
        bool screen;
        const char* says;
    } bad[] = {
        {blank(300, 200), true, "is 300 x 200: a screen picture is a multiple of 8"},
        {blank(648, 8), true, "at most 640 x 400"},
        {blank(8, 408), true, "is 8 x 408"},
        {Picture{8, 8, {}}, true, "is 8 x 8"},
        {blank(300, 200), false, "is 300 x 200: a charset picture is square, 128, 256, ..."},
        {blank(128, 256), false, "is 128 x 256"},
        {blank(100, 100), false, "is 100 x 100"},
    };
    for (const auto& b : bad) {
        const std::string error = b.screen
                                      ? import_screen_new_charset(b.picture, kBlack, kWhite).error
                                      : import_charset_picture(b.picture, kBlack, kWhite).error;
        EXPECT_NE(error.find(b.says), std::string::npos) << b.says << " -- got: " << error;
    }

    Raster raster(5, 3);
    raster.set_pixel(1, 0, 0x123456);
    const std::vector<uint8_t> good = encode_bmp(raster);
    const struct {
        size_t at;
        std::vector<uint8_t> bytes; // written at `at`; none: the file ends there
        bool reads;
    } edits[] = {
        {22, {0xFD, 0xFF, 0xFF, 0xFF}, true}, // height -3: rows top-down
        {40, {}, false},                      // within the headers
        {good.size() - 2, {}, false},         // within the last row (its padding may go)
        {0, {'P'}, false},
        {28, {32}, false}, // bits a pixel
        {30, {1}, false},  // compressed
        {18, {0xFB, 0xFF, 0xFF, 0xFF}, false},
        {22, {0, 0, 1, 0}, false}, // rows beyond the bytes
        {10, {20}, false},         // pixels within the headers
    };
    for (const auto& e : edits) {
        std::vector<uint8_t> bytes(good.begin(), good.begin() + static_cast<long>(e.at));
        if (!e.bytes.empty()) {
            bytes = good;
            std::copy(e.bytes.begin(), e.bytes.end(), bytes.begin() + static_cast<long>(e.at));
        }
        Picture picture{1, 1, {7}};
        EXPECT_EQ(decode_bmp(bytes, picture), e.reads) << "at " << e.at;
        EXPECT_EQ(picture.pixels[e.reads ? 11 : 0], e.reads ? 0x123456 : 7) << "at " << e.at;
    }
}

TEST(PictureImport, CommandLineWritesBothFilesOrNeither) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("fontarel_import_" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto path = [&](const char* name) { return (dir / name).string(); };
    auto read = [&](const char* name) {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto run = [&](std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = run_command_line(parse_command_line(args), nullptr, out, err);
        return std::to_string(status) + " " + out.str() + err.str();
    };
    CharsetStore cga;
    load_builtin_glyphs(cga, builtin_charset(Machine::Cga));
    const std::string font(cga.bytes.begin(), cga.bytes.end());
    std::ofstream(path("cga.fnt"), std::ios::binary) << font;
    std::ofstream(path("kept.fnt")) << "old";
    std::ofstream(path("empty.fnt")).flush(); // an empty file is put back as it was, too
    const Picture ab = draw_cells({pattern(cga, 'A'), pattern(cga, 'B')}, 2, kBlack, kWhite);
    Raster raster(16, 8);
    for (int i = 0; i < 128; ++i)
        raster.set_pixel(i % 16, i / 16, ab.pixels[static_cast<size_t>(i)]);
    const std::vector<uint8_t> bmp = encode_bmp(raster);
    std::ofstream(path("ab.bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<long>(bmp.size()));

    EXPECT_EQ(run({"--import-screen", "--charset", path("cga.fnt"), "--map", path("ab.map"),
                   "--font", path("ab.fnt"), path("ab.bmp")}),
              "0 2 cells, 2 distinct glyphs, map 32x24\n");
    EXPECT_EQ(read("ab.map"), "AB" + std::string(766, ' ')) << "CGA's glyph 32 is blank";
    EXPECT_EQ(read("ab.fnt"), font);
    const struct {
        const char *picture, *font, *map, *says;
    } failures[] = {
        {"cga.fnt", "x.fnt", "x.map", "cga.fnt holds no picture"},
        {"ab.bmp", "ab.bmp", "x.map", "ab.bmp is the input file"},
        {"ab.bmp", "kept.fnt", "no/x.map", "no/x.map cannot be written"},
        {"ab.bmp", "empty.fnt", "no/x.map", "no/x.map cannot be written"},
        {"ab.bmp", "x.fnt", "no/x.map", "no/x.map cannot be written"},
        {"ab.bmp", "x.fnt", "./x.fnt", "--font and --map name one file"},
    };
    for (const auto& f : failures) {
        const std::string said =
            run({"--import-screen", path(f.picture), "--font", path(f.font), "--map", path(f.map)});
        EXPECT_NE(said.find(f.says), std::string::npos) << said;
        EXPECT_EQ(said[0], f.says[0] == '-' ? '2' : '1') << said;
        EXPECT_FALSE(fs::exists(path("x.fnt")) || fs::exists(path("x.map"))) << said;
    }
    EXPECT_EQ(read("kept.fnt"), "old");
    EXPECT_EQ(read("empty.fnt"), "");
    EXPECT_EQ(read("ab.bmp"), std::string(bmp.begin(), bmp.end()));
    fs::remove_all(dir);
}

// A Koala painting needs no --machine and refuses another machine or a charset; a painting of
// the wrong size, known by its name, says so; --multicolour fixes the registers of a picture's
// import and names them in a map export.
TEST(PictureImport, CommandLineTakesKoalaPaintingsAndMulticolour) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("fontarel_koala_" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto path = [&](const char* name) { return (dir / name).string(); };
    auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    };
    auto read = [](const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::vector<uint8_t> koala(10003, 0x1B); // bit pairs 00 01 10 11 in every cell row
    std::fill(koala.begin() + 8002, koala.begin() + 9002, 0x9A);
    std::fill(koala.begin() + 9002, koala.begin() + 10002, 0x05);
    write("paint.koa", koala);
    write("short.koa", std::vector<uint8_t>(9000));
    Raster two(16, 8); // a red (2) pair, then a light blue (14) one, on black
    for (int x : {0, 1, 8, 9})
        two.set_pixel(x, 0, machine_palette(MapMachine::C64).colours[x < 8 ? 2 : 14]);
    write("two.bmp", encode_bmp(two));
    const std::string koa = path("paint.koa"), out = path("out.fontarel");
    const struct {
        std::vector<std::string> args;
        std::string says; // status, then what is printed
        int registers;    // of the project written; -1: none
    } cases[] = {
        {{"--import-screen", koa, "--project", out},
         "0 1000 cells, 1 distinct glyph, map 40x25\n",
         910},
        {{"--import-screen", koa, "--font", "f", "--map", "m", "--machine", "zx", "--colours", "c"},
         "2 fontarel: " + koa + " is a Koala painting, a C64 screen: --machine c64 or none\n",
         -1},
        {{"--import-screen", koa, "--font", "f", "--map", "m", "--charset", koa},
         "2 fontarel: " + koa + " is a Koala painting, which makes a new charset: no --charset\n",
         -1},
        {{"--import-screen", path("short.koa"), "--project", out},
         "1 fontarel: " + path("short.koa") +
             " is 9000 bytes: a Koala painting is 10003 (10002 without the background byte)\n",
         -1},
        {{"--import-screen", path("two.bmp"), "--font", "f", "--map", "m", "--colours", "c"},
         "2 fontarel: --machine c64, zx or pc and --colours OUT go together: the colours read from "
         "the picture are written there\n",
         -1},
        // A painting's colours go somewhere, or it is refused, as a machine's are.
        {{"--import-screen", koa, "--font", path("k.fnt"), "--map", path("k.map")},
         "2 fontarel: --machine c64, zx or pc and --colours OUT go together: the colours read from "
         "the picture are written there\n",
         -1},
        {{"--import-screen", path("two.bmp"), "--project", out, "--multicolour", "$e,2"},
         "0 2 cells, 2 distinct glyphs, map 32x24\n",
         1402},
    };
    Project last;
    for (const auto& c : cases) {
        fs::remove(out);
        std::ostringstream said, err;
        const int status = run_command_line(parse_command_line(c.args), nullptr, said, err);
        EXPECT_EQ(std::to_string(status) + " " + said.str() + err.str(), c.says);
        const std::string text = read(out);
        const bool written =
            read_project({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, last)
                .empty();
        EXPECT_EQ(written ? last.map.look.multicolour_1 * 100 + last.map.look.multicolour_2 : -1,
                  c.registers);
        EXPECT_TRUE(!written ||
                    (last.map.look.multicolour() && last.map.look.machine == MapMachine::C64));
    }
    // The last project: red is register 2 (bits 10), light blue register 1 (01).
    EXPECT_EQ(last.charset.glyph(last.map.at(0, 0))[0] * 256 +
                  last.charset.glyph(last.map.at(1, 0))[0],
              0x8040);
    std::ostringstream said, err;
    EXPECT_EQ(run_command_line(parse_command_line({"--export-map", "byte", "--multicolour", "3,4",
                                                   out, path("title.s")}),
                               nullptr, said, err),
              0)
        << err.str();
    EXPECT_NE(read(path("title.s")).find("\ntitle_multicolour_1 = 3\ntitle_multicolour_2 = 4\n"),
              std::string::npos);
    fs::remove_all(dir);
}

} // namespace
} // namespace fontarel
