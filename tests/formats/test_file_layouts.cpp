// Byte layouts of font, map, map colour and screen files, and the path texts the file commands use.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/export_formats.h"
#include "formats/export_screen.h"
#include "formats/font_bytes.h"
#include "formats/map_bytes.h"
#include "model/paths.h"

using namespace fontarel;

namespace {

// Bytes 1, 2, 3, ... (mod 251, so no run of 256 repeats and a shift by one glyph shows).
std::vector<uint8_t> counting(size_t n) {
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<uint8_t>(1 + i % 251);
    return out;
}

} // namespace

TEST(Paths, DirectoryPartForcedExtensionAndBlanks) {
    const struct {
        const char* path;
        const char* directory;
    } dirs[] = {{"/home/u/font.fnt", "/home/u/"},
                {"font.fnt", ""},
                {"C:\\fonts\\a.fnt", "C:\\fonts\\"},
                {"a/b\\c", "a/b\\"},
                {"a\\b/c", "a\\b/"},
                {"/", "/"},
                {"", ""}};
    for (const auto& d : dirs)
        EXPECT_EQ(directory_part(d.path), d.directory) << d.path;

    const struct {
        const char* path;
        const char* extension;
        const char* saved;
    } names[] = {
        {"font", ".fnt", "font.fnt"},
        {"font.txt", ".fnt", "font.txt.fnt"},
        {"a.b", ".fnt", "a.b.fnt"},
        {"FONT.FNT", ".fnt", "FONT.FNT"},
        {".FNT", ".fnt", ".FNT"},
        {"fnt", ".fnt", "fnt.fnt"},
        {"/d/x.fnt", ".fnt", "/d/x.fnt"},
        {"x.fntx", ".fnt", "x.fntx.fnt"},
        {"m.Map", ".map", "m.Map"},
        {"m.fnt", ".map", "m.fnt.map"},
        {"photo.BMP", ".bmp", "photo.BMP"},
        {"charset", ".bmp", "charset.bmp"},
        {"charset.png", ".bmp", "charset.png.bmp"},
    };
    for (const auto& n : names)
        EXPECT_EQ(with_forced_extension(n.path, n.extension), n.saved) << n.path;

    EXPECT_TRUE(is_blank(""));
    EXPECT_TRUE(is_blank("   "));
    EXPECT_TRUE(is_blank(" \t "));
    EXPECT_FALSE(is_blank(" a "));
    EXPECT_FALSE(is_blank("/a\n/b"));
}

TEST(FontBytes, LoadPlacesFromTheStartingGlyphAndStopsAtTheStoreEnd) {
    const struct {
        size_t file;
        uint8_t first;
    } cases[] = {
        {768, 32},  // glyphs 32-127
        {2048, 32}, // the first 1792 bytes fill glyphs 32-255
        {3, 65},    // rows 0-2 of glyph 65
        {3000, 0},  // the first 2048 bytes
        {9, 255},   // glyph 255 only
        {1, 0},
    };
    for (const auto& c : cases) {
        auto store = std::make_unique<CharsetStore>();
        store->bytes.fill(0xEE);
        const std::vector<uint8_t> file = counting(c.file);
        place_font_bytes(*store, c.first, file);
        const size_t start = 8u * c.first;
        const size_t end = std::min<size_t>(2048, start + c.file);
        EXPECT_EQ(font_load_count(static_cast<int64_t>(c.file), c.first),
                  static_cast<int64_t>(end - start));
        for (size_t i = 0; i < 2048; ++i) {
            const uint8_t want = i >= start && i < end ? file[i - start] : 0xEE;
            ASSERT_EQ(store->bytes[i], want)
                << "file " << c.file << " at " << int(c.first) << ", store byte " << i;
        }
    }
    EXPECT_EQ(font_load_count(0, 0), 0);
    EXPECT_EQ(font_load_count(-2, 0), 0);
}

TEST(FontBytes, SaveSizesFitOnlyInsideTheStore) {
    const struct {
        int bytes;
        uint8_t first;
        bool fits;
    } cases[] = {
        {2048, 0, true},    {2048, 1, false}, {1024, 128, true},
        {1024, 129, false}, {768, 160, true}, {768, 161, false},
        {768, 255, false},  {0, 0, false},    {-1, 0, false},
    };
    auto store = std::make_unique<CharsetStore>();
    for (int i = 0; i < 2048; ++i)
        store->bytes[i] = static_cast<uint8_t>(i * 7);
    for (const auto& c : cases) {
        EXPECT_EQ(font_save_fits(c.first, c.bytes), c.fits) << c.bytes << " at " << int(c.first);
        const auto body = font_file_bytes(*store, c.first, c.bytes);
        if (!c.fits) {
            EXPECT_TRUE(body.empty());
            continue;
        }
        ASSERT_EQ(body.size(), static_cast<size_t>(c.bytes));
        EXPECT_EQ(body.data(), store->bytes.data() + 8 * c.first);
    }
}

TEST(MapBytes, FileIsRowByRowInTheSizeInUseAndLoadsBackTheSame) {
    const int sizes[][2] = {{32, 24}, {40, 24}, {40, 25}, {80, 50}, {64, 30}};
    for (const auto& [cols, rows] : sizes) {
        auto map = std::make_unique<CharMap>();
        map->cols = cols;
        map->rows = rows;
        for (int y = 0; y < kMapCapacityRows; ++y)
            for (int x = 0; x < kMapCapacityCols; ++x)
                map->at(x, y) = (x * 3 + y * 5) & 0xFF;
        const std::vector<uint8_t> bytes = map_file_bytes(*map);
        ASSERT_EQ(bytes.size(), static_cast<size_t>(cols * rows));
        EXPECT_EQ(map_file_length(*map), cols * rows);
        EXPECT_EQ(bytes[static_cast<size_t>(cols)], map->at(0, 1)) << "byte W is cell (0, 1)";
        EXPECT_EQ(bytes.back(), map->at(cols - 1, rows - 1));

        auto loaded = std::make_unique<CharMap>();
        loaded->cols = cols;
        loaded->rows = rows;
        place_map_bytes(*loaded, bytes);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < cols; ++x)
                ASSERT_EQ(loaded->at(x, y), map->at(x, y)) << cols << "x" << rows;
        EXPECT_EQ(loaded->at(cols, 0), 0) << "the spare column is no part of the file";
    }
}

TEST(MapBytes, ShortLongAndEmptyFilesFillOnlyCellsInUse) {
    auto map = std::make_unique<CharMap>();
    const auto reset = [&] {
        for (auto& row : map->cells)
            row.fill(0x7F);
    };
    map->cols = 40;
    map->rows = 24;

    // A 32 x 24 file in a 40 x 24 map runs on across the wider rows: rows 0-18 whole, row 19 up to
    // column 7.
    reset();
    place_map_bytes(*map, counting(768));
    for (int y = 0; y < kMapCapacityRows; ++y)
        for (int x = 0; x < kMapCapacityCols; ++x) {
            const int i = 40 * y + x;
            const bool loaded = x < 40 && i < 768;
            ASSERT_EQ(map->at(x, y), loaded ? 1 + i % 251 : 0x7F) << x << "," << y;
        }

    // More bytes than cells: the cells in use take the first 960, nothing beyond them changes.
    reset();
    place_map_bytes(*map, counting(2000));
    EXPECT_EQ(map->at(39, 23), 1 + 959 % 251);
    EXPECT_EQ(map->at(40, 23), 0x7F);
    EXPECT_EQ(map->at(0, 24), 0x7F);

    reset();
    place_map_bytes(*map, {});
    EXPECT_EQ(map->at(0, 0), 0x7F);

    // Codes keep their low 8 bits in the file.
    map->at(0, 0) = 0x1FF;
    EXPECT_EQ(map_file_bytes(*map)[0], 0xFF);
}

TEST(MapColours, FilesAndScreensInEachMachinesLayout) {
    // Cell (x, y) of a 32 x 24 map: code x + 8 y, attribute 3 x + y + 1; cell (5, 2) an attribute
    // past the C64's 16 colours, FLASH and BRIGHT, blink, which screens show on their machine only.
    const struct {
        MapMachine machine;
        uint8_t odd, scr_attr, b800_attr;
    } machines[] = {{MapMachine::C64, 0xF3, 0x38, 0x07},
                    {MapMachine::ZxSpectrum, 0xC7, 0xC7, 0x07},
                    {MapMachine::PcText, 0x9E, 0x38, 0x9E}};
    auto glyphs = std::make_unique<CharsetStore>();
    for (int i = 0; i < kCharsetBytes; ++i)
        glyphs->bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    using Bytes = std::vector<uint8_t>;
    for (const auto& m : machines) {
        auto map = std::make_unique<CharMap>(
            CharMap{.cols = 32, .rows = 24, .look = {.machine = m.machine}});
        for (int y = 0; y < kMapCapacityRows; ++y)
            for (int x = 0; x < kMapCapacityCols; ++x) {
                map->at(x, y) = (x + 8 * y) & 0xFF;
                map->attr(x, y) = static_cast<uint8_t>(3 * x + y + 1);
            }
        map->attr(5, 2) = m.odd;
        const Bytes file = map_colour_file_bytes(*map);
        ASSERT_EQ(file.size(), 768u);
        EXPECT_EQ(Bytes({file[32], file[69], file[767]}), Bytes({2, m.odd, 117}));
        // PC text memory: code, attribute. SCREEN$: cell (5, 2)'s glyph rows 0 and 1 at 69 and
        // 325, cell (0, 8)'s row 3 at 2816, cell (31, 23)'s rows 0 and 7 at 4351 and 6143.
        const Bytes b800 = pc_text_screen_bytes(*map);
        ASSERT_EQ(b800.size(), 1536u);
        EXPECT_EQ(Bytes({b800[138], b800[139], b800[1534]}), Bytes({21, m.b800_attr, 215}));
        const Bytes scr = spectrum_screen_bytes(*map, *glyphs);
        ASSERT_EQ(scr.size(), 6912u);
        EXPECT_EQ(Bytes({scr[69], scr[325], scr[2816], scr[4351], scr[6143], scr[6144 + 69]}),
                  Bytes({glyphs->glyph(21)[0], glyphs->glyph(21)[1], glyphs->glyph(64)[3],
                         glyphs->glyph(215)[0], glyphs->glyph(215)[7], m.scr_attr}));
        // BASIC's DATA lines go on after the codes' 48 with the colours.
        const Bytes basic = export_map(ExportFormat::Basic, *map, "s");
        EXPECT_NE(std::string(basic.begin(), basic.end()).find("\n1480 DATA 1,4,7,"),
                  std::string::npos);
        // A 3-byte file replaces three cells; a longer one every cell in use and nothing else.
        for (auto& row : map->attrs)
            row.fill(0x55);
        place_map_colour_bytes(*map, Bytes{0xFF, 0x80, 0x10});
        EXPECT_EQ(Bytes({map->attr(2, 0), map->attr(3, 0)}), Bytes({0x10, 0x55}));
        Bytes longer = file;
        longer.resize(1000, 0xEE);
        place_map_colour_bytes(*map, longer);
        EXPECT_EQ(Bytes({map->attr(5, 2), map->attr(32, 0), map->attr(0, 24)}),
                  Bytes({m.odd, 0x55, 0x55}));
    }
}
