// The export formats read back: each test parses what an exporter wrote and compares it with the
// glyphs or map codes that went in, over the same selections (all, a range, glyph 0 alone,
// glyph 255 alone, and one that runs past glyph 255) and the five map sizes.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "formats/export_asm.h"
#include "formats/export_basic.h"
#include "formats/export_bdf.h"
#include "formats/export_c.h"
#include "formats/export_formats.h"
#include "formats/export_psf.h"
#include "formats/export_sheet.h"
#include "source_readers.h"

using namespace fontarel;
using namespace fontarel::test;

namespace {

std::unique_ptr<CharsetStore> known_store() {
    auto store = std::make_unique<CharsetStore>();
    for (int i = 0; i < kCharsetBytes; ++i)
        store->bytes[i] = static_cast<uint8_t>(i * 37 + i / 256 + 11);
    return store;
}

// Selections and what they must come to after clamping.
struct Selection {
    GlyphSelection asked;
    int first, count;
};
const Selection kSelections[] = {
    {{0, 256}, 0, 256}, {{32, 96}, 32, 96},  {{0, 1}, 0, 1},
    {{255, 1}, 255, 1}, {{250, 20}, 250, 6}, // runs past glyph 255: cut there
};

Bytes glyph_bytes(const CharsetStore& store, int first, int count) {
    return Bytes(store.bytes.begin() + 8 * first, store.bytes.begin() + 8 * (first + count));
}

// A map whose codes all differ from their neighbours, with codes outside the size in use that
// must not be exported.
std::unique_ptr<CharMap> known_map(MapSize size) {
    auto map = std::make_unique<CharMap>();
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            map->at(c, r) = (c * 13 + r * 7 + 5) & 0xFF;
    map->cols = size.cols;
    map->rows = size.rows;
    return map;
}
Bytes map_bytes(const CharMap& map) {
    Bytes out;
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.cols; ++c)
            out.push_back(static_cast<uint8_t>(map.at(c, r)));
    return out;
}

// BASIC lines: each must be "<1000 + 10 i> DATA v,v,...", values 0-255, at most 80 characters
// (what the C64's screen editor takes); the values of each line.
std::vector<Bytes> parse_basic(const std::string& text) {
    std::vector<Bytes> rows;
    const std::regex line_form(R"(^(\d+) DATA (\d{1,3}(?:,\d{1,3})*)$)");
    for (const std::string& line : lines_of(text)) {
        EXPECT_LE(line.size(), 80u) << line;
        std::smatch m;
        if (!std::regex_match(line, m, line_form)) {
            ADD_FAILURE() << "not a DATA line: " << line;
            continue;
        }
        EXPECT_EQ(std::stoi(m[1]), 1000 + 10 * static_cast<int>(rows.size()));
        Bytes row;
        std::istringstream list(m[2]);
        for (std::string v; std::getline(list, v, ',');) {
            EXPECT_LE(std::stoi(v), 255);
            row.push_back(static_cast<uint8_t>(std::stoi(v)));
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(ExportAssembler, GlyphsAndMapsReadBackInEachDialect) {
    const auto store = known_store();
    for (AsmDialect dialect : {AsmDialect::Byte, AsmDialect::Acme, AsmDialect::Defb}) {
        for (const Selection& s : kSelections) {
            SCOPED_TRACE(testing::Message() << "dialect " << static_cast<int>(dialect)
                                            << ", glyphs " << s.first << "+" << s.count);
            std::vector<std::string> comments;
            std::string label;
            const Bytes values = parse_assembler(
                glyphs_as_assembler(*store, s.asked, dialect, "font"), dialect, comments, label);
            EXPECT_EQ(values, glyph_bytes(*store, s.first, s.count));
            EXPECT_EQ(label, "font");
            ASSERT_EQ(comments.size(), static_cast<size_t>(s.count)) << "one line a glyph";
            EXPECT_EQ(comments.front(), glyph_comment(s.first));
            EXPECT_EQ(comments.back(), glyph_comment(s.first + s.count - 1));
        }
        for (const MapSize size : kMapSizes) {
            SCOPED_TRACE(testing::Message() << "map " << size.cols << "x" << size.rows);
            const auto map = known_map(size);
            std::vector<std::string> comments;
            std::string label;
            EXPECT_EQ(parse_assembler(map_as_assembler(*map, dialect, "screen"), dialect, comments,
                                      label),
                      map_bytes(*map));
            EXPECT_EQ(label, "screen");
            ASSERT_EQ(comments.size(), static_cast<size_t>(size.rows)) << "one line a row";
            EXPECT_EQ(comments.back(), "row " + std::to_string(size.rows - 1));
        }
    }
}

TEST(ExportC, ArrayDefinesAndCommentsOfGlyphsAndMaps) {
    const auto store = known_store();
    for (const Selection& s : kSelections) {
        SCOPED_TRACE(testing::Message() << "glyphs " << s.first << "+" << s.count);
        const CArray c = parse_c(glyphs_as_c(*store, s.asked, "zx_font"));
        EXPECT_EQ(c.name, "zx_font");
        EXPECT_EQ(c.size, 8u * s.count);
        EXPECT_EQ(c.values, glyph_bytes(*store, s.first, s.count));
        ASSERT_EQ(c.comments.size(), static_cast<size_t>(s.count));
        EXPECT_EQ(c.comments.front(), glyph_comment(s.first));
        const std::vector<std::pair<std::string, int>> defines = {{"ZX_FONT_FIRST", s.first},
                                                                  {"ZX_FONT_COUNT", s.count}};
        EXPECT_EQ(c.defines, defines);
    }
    for (const MapSize size : kMapSizes) {
        SCOPED_TRACE(testing::Message() << "map " << size.cols << "x" << size.rows);
        const auto map = known_map(size);
        const CArray c = parse_c(map_as_c(*map, "screen"));
        EXPECT_EQ(c.size, static_cast<size_t>(size.cols * size.rows));
        EXPECT_EQ(c.values, map_bytes(*map));
        EXPECT_EQ(c.comments.size(), static_cast<size_t>(size.rows));
        const std::vector<std::pair<std::string, int>> defines = {{"SCREEN_WIDTH", size.cols},
                                                                  {"SCREEN_HEIGHT", size.rows}};
        EXPECT_EQ(c.defines, defines);
    }
}

TEST(ExportBasic, DataLinesNumberedFrom1000ReadBackAndFitTheScreenEditor) {
    const auto store = known_store();
    for (const Selection& s : kSelections) {
        SCOPED_TRACE(testing::Message() << "glyphs " << s.first << "+" << s.count);
        const std::vector<Bytes> rows = parse_basic(glyphs_as_basic(*store, s.asked));
        ASSERT_EQ(rows.size(), static_cast<size_t>(s.count));
        for (int i = 0; i < s.count; ++i)
            EXPECT_EQ(rows[i], glyph_bytes(*store, s.first + i, 1)) << "glyph " << s.first + i;
    }
    for (const MapSize size : kMapSizes) {
        const auto map = known_map(size);
        const std::vector<Bytes> lines = parse_basic(map_as_basic(*map));
        Bytes all;
        for (const Bytes& line : lines)
            all.insert(all.end(), line.begin(), line.end());
        EXPECT_EQ(all, map_bytes(*map)) << size.cols << "x" << size.rows;
    }
    // The longest lines: every code of three digits, on the largest map.
    const auto full = known_map({80, 50});
    fill_map_cells(*full, 255);
    size_t codes = 0;
    for (const Bytes& line : parse_basic(map_as_basic(*full)))
        codes += line.size();
    EXPECT_EQ(codes, 80u * 50u);
}

TEST(ExportPsf, HeaderAndEveryGlyphInItsPlace) {
    const auto store = known_store();
    const Bytes header = {0x72, 0xb5, 0x4a, 0x86, 0, 0, 0, 0, 32, 0, 0, 0, 0, 0, 0, 0,
                          0,    1,    0,    0,    8, 0, 0, 0, 8,  0, 0, 0, 8, 0, 0, 0};
    for (const Selection& s : kSelections) {
        SCOPED_TRACE(testing::Message() << "glyphs " << s.first << "+" << s.count);
        const Bytes psf = glyphs_as_psf2(*store, s.asked);
        ASSERT_EQ(psf.size(), 32u + 2048u);
        EXPECT_EQ(Bytes(psf.begin(), psf.begin() + 32), header);
        for (int g = 0; g < 256; ++g) {
            const bool taken = g >= s.first && g < s.first + s.count;
            const Bytes want = taken ? glyph_bytes(*store, g, 1) : Bytes(8, 0);
            EXPECT_EQ(Bytes(psf.begin() + 32 + 8 * g, psf.begin() + 40 + 8 * g), want)
                << "glyph " << g;
        }
    }
}

TEST(ExportBdf, OneCharacterAGlyphWithItsCodeAndRows) {
    const auto store = known_store();
    for (const Selection& s : kSelections) {
        SCOPED_TRACE(testing::Message() << "glyphs " << s.first << "+" << s.count);
        const std::vector<std::string> lines = lines_of(glyphs_as_bdf(*store, s.asked, "zx"));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), "STARTFONT 2.1");
        EXPECT_EQ(lines.back(), "ENDFONT");
        int declared_properties = -1, properties = 0, chars = -1;
        std::vector<int> codes;
        Bytes rows;
        bool in_properties = false, in_bitmap = false;
        for (const std::string& line : lines) {
            if (line.rfind("STARTPROPERTIES ", 0) == 0) {
                declared_properties = std::stoi(line.substr(16));
                in_properties = true;
            } else if (line == "ENDPROPERTIES") {
                in_properties = false;
            } else if (in_properties) {
                ++properties;
            } else if (line.rfind("CHARS ", 0) == 0) {
                chars = std::stoi(line.substr(6));
            } else if (line.rfind("ENCODING ", 0) == 0) {
                codes.push_back(std::stoi(line.substr(9)));
            } else if (line == "BITMAP") {
                in_bitmap = true;
            } else if (line == "ENDCHAR") {
                in_bitmap = false;
            } else if (in_bitmap) {
                EXPECT_TRUE(std::regex_match(line, std::regex("[0-9A-F]{2}"))) << line;
                rows.push_back(static_cast<uint8_t>(std::stoi(line, nullptr, 16)));
            }
        }
        EXPECT_EQ(properties, declared_properties);
        EXPECT_EQ(chars, s.count);
        ASSERT_EQ(codes.size(), static_cast<size_t>(s.count));
        for (int i = 0; i < s.count; ++i)
            EXPECT_EQ(codes[i], s.first + i);
        EXPECT_EQ(rows, glyph_bytes(*store, s.first, s.count));
    }
}

TEST(ExportSheet, EveryPixelIsItsGlyphBitInTheTwoColours) {
    const auto store = known_store();
    const int32_t clear = 0x102030, set = 0xA0B0C0;
    for (const Selection& s : kSelections) {
        SCOPED_TRACE(testing::Message() << "glyphs " << s.first << "+" << s.count);
        const std::vector<int32_t> pixels = glyph_sheet_pixels(*store, s.asked, clear, set);
        ASSERT_EQ(pixels.size(), 128u * 128u);
        int wrong = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const int g = 16 * (y / 8) + x / 8;
                const bool taken = g >= s.first && g < s.first + s.count;
                const bool bit = taken && (store->glyph(g)[y % 8] & (0x80 >> (x % 8)));
                wrong += pixels[128 * y + x] != (bit ? set : clear);
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ExportNames, LabelsFromFileNamesAndFormatsByName) {
    const struct {
        const char* path;
        const char* label;
    } labels[] = {
        {"/home/u/font.s", "font"},
        {"zx font.v2.c", "zx_font_v2"},
        {"C:\\fonts\\Big-Font.a", "Big_Font"},
        {"8x8.s", "font_8x8"},
        {"/tmp/.s", "font"},
        {"dir.d/", "font"},
        {"LDA.s", "LDA_data"},
        {"ld.asm", "ld_data"},
        {"int.c", "int_data"},
        {"m.asm", "m_data"},
        {"font", "font"},
        {"é.s", "font"},
        {"__x.s", "font___x"},
    };
    for (const auto& l : labels)
        EXPECT_EQ(export_label(l.path, "font"), l.label) << l.path;
    EXPECT_EQ(export_label("5.c", "map"), "map_5");

    // A character only where ASCII has a printable one: not for controls, nor above 127, where it
    // would be one code page's guess.
    const struct {
        int code;
        const char* comment;
    } comments[] = {{0, "0"},         {31, "31"},   {32, "32 ' '"}, {65, "65 'A'"},
                    {126, "126 '~'"}, {127, "127"}, {128, "128"},   {255, "255"}};
    for (const auto& c : comments)
        EXPECT_EQ(glyph_comment(c.code), c.comment);
    for (ExportFormat format : {ExportFormat::Byte, ExportFormat::C, ExportFormat::Bdf}) {
        const Bytes one = export_glyphs(format, *known_store(), {255, 1}, "f");
        EXPECT_NE(std::string(one.begin(), one.end()).find(" 1 glyph from code 255"),
                  std::string::npos)
            << export_format_info(format).name;
    }

    int maps = 0;
    for (const char* name : {"byte", "acme", "defb", "c", "basic", "png", "psf", "bdf", "prg"}) {
        const auto format = export_format_named(name);
        ASSERT_TRUE(format.has_value()) << name;
        const ExportFormatInfo& info = export_format_info(*format);
        EXPECT_STREQ(info.name, name);
        // The requester's pattern is the extension's.
        EXPECT_NE(std::string(info.patterns).find(std::string("|*") + info.extension),
                  std::string::npos);
        const auto map = known_map({32, 24});
        // A picture of the map is drawn and encoded by the caller, as one of the glyphs is.
        EXPECT_EQ(export_map(*format, *map, "m").empty(),
                  !info.maps || *format == ExportFormat::Png)
            << name;
        maps += info.maps;
    }
    EXPECT_EQ(maps, 6);
    EXPECT_FALSE(export_format_named("BYTE").has_value());
    EXPECT_FALSE(export_format_named("").has_value());
    EXPECT_TRUE(export_glyphs(ExportFormat::Png, *known_store(), {}, "f").empty())
        << "the picture is encoded by the caller";
}
