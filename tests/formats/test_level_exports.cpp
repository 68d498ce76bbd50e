// The tile and level exports: the bytes each format holds, over sets of at most 256 tiles and of
// more (whose level numbers are words), on Mono and on a C64 map in multicolour (whose tiles carry
// their attributes and whose registers are named); what PRG cannot hold; and the format names.

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "formats/export_level.h"
#include "source_readers.h"

using namespace fontarel;
using namespace fontarel::test;

namespace {

// `count` tiles of 3 x 2 cells whose codes and attributes all differ from their neighbours, and a
// level of 70 x 3 (wider than one source line holds) using every tile number up to the last.
std::unique_ptr<Project> known_project(int count, MapMachine machine) {
    auto p = std::make_unique<Project>();
    if (machine == MapMachine::C64) {
        p->map.look.machine = machine;
        p->map.look.background = 6;
        p->map.look.set_multicolour(true);
        p->map.look.multicolour_1 = 9;
        p->map.look.multicolour_2 = 13;
    }
    p->tiles = TileSet(3, 2, count);
    for (int t = 0; t < count; ++t)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                p->tiles.set_cell(t, x, y,
                                  {static_cast<uint8_t>(t * 7 + x * 3 + y * 11 + 1),
                                   static_cast<uint8_t>(t + x + 2 * y + 100)});
    p->level = Level(70, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 70; ++x)
            p->level.set(x, y, static_cast<uint16_t>((x * 131 + y * 17) % count));
    p->level.set(69, 2, static_cast<uint16_t>(count - 1));
    return p;
}

} // namespace

TEST(LevelExports, EveryFormatHoldsTheLayoutsBytes) {
    const struct {
        int count;
        MapMachine machine;
    } cases[] = {{5, MapMachine::Mono},
                 {300, MapMachine::Mono},
                 {256, MapMachine::C64},
                 {257, MapMachine::C64}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.count << " tiles, machine " << static_cast<int>(c.machine));
        const auto p = known_project(c.count, c.machine);
        const bool colours = c.machine != MapMachine::Mono, words = c.count > 256;
        // The layouts, built from the tiles' cells and the level's numbers.
        Bytes tiles, level;
        for (int t = 0; t < c.count; ++t)
            for (int half = 0; half < (colours ? 2 : 1); ++half)
                for (int i = 0; i < 6; ++i) {
                    const TileCell cell = p->tiles.cell(t, i % 3, i / 3);
                    tiles.push_back(half == 0 ? cell.code : cell.attr);
                }
        for (int i = 0; i < 70 * 3; ++i) {
            level.push_back(static_cast<uint8_t>(p->level.at(i % 70, i / 70)));
            if (words)
                level.push_back(static_cast<uint8_t>(p->level.at(i % 70, i / 70) >> 8));
        }
        EXPECT_EQ(tiles_data(*p), tiles);
        EXPECT_EQ(level_data(*p), level);

        Constants tile_constants = {{"stage_width", 3},
                                    {"stage_height", 2},
                                    {"stage_count", c.count},
                                    {"stage_bytes", colours ? 12 : 6}};
        if (colours)
            tile_constants.insert(
                tile_constants.end(),
                {{"stage_background", 6}, {"stage_multicolour_1", 9}, {"stage_multicolour_2", 13}});
        const struct {
            Bytes want;
            Constants constants;
            std::vector<uint8_t> (*file)(ExportFormat, const Project&, std::string_view, int);
            size_t lines;       // data lines of the sources: a row of 70 numbers takes two
            const char* c_type; // of the C array
        } kinds[] = {
            {tiles, tile_constants, export_tiles_file,
             static_cast<size_t>(c.count * (colours ? 2 : 1)), "unsigned char"},
            {level,
             {{"stage_columns", 70}, {"stage_rows", 3}, {"stage_number_bytes", words ? 2 : 1}},
             export_level_file,
             3 * 2,
             words ? "unsigned short" : "unsigned char"},
        };
        for (const auto& kind : kinds) {
            SCOPED_TRACE(kind.lines);
            EXPECT_EQ(kind.file(ExportFormat::Bin, *p, "x", 0x1234), kind.want);
            Bytes prg = {0x00, 0x20};
            prg.insert(prg.end(), kind.want.begin(), kind.want.end());
            EXPECT_EQ(kind.file(ExportFormat::Prg, *p, "x", 0x2000), prg);
            for (auto [dialect, format] : {std::pair{AsmDialect::Byte, ExportFormat::Byte},
                                           {AsmDialect::Acme, ExportFormat::Acme},
                                           {AsmDialect::Defb, ExportFormat::Defb}}) {
                const Bytes file = kind.file(format, *p, "stage", 0);
                std::vector<std::string> comments;
                std::string label;
                Constants constants;
                EXPECT_EQ(parse_assembler(std::string(file.begin(), file.end()), dialect, comments,
                                          label, &constants),
                          kind.want);
                EXPECT_EQ(label + " " + std::to_string(comments.size()),
                          "stage " + std::to_string(kind.lines));
                EXPECT_EQ(constants, kind.constants);
                if (kind.file == export_level_file) {
                    EXPECT_EQ(comments.back(), "row 2, columns 64-69");
                }
            }
            const Bytes file = kind.file(ExportFormat::C, *p, "stage", 0);
            const CArray array = parse_c(std::string(file.begin(), file.end()));
            EXPECT_EQ(array.type + " " + array.name, std::string(kind.c_type) + " stage");
            EXPECT_EQ(array.size * (array.type == "unsigned short" ? 2 : 1), kind.want.size());
            EXPECT_EQ(array.values, kind.want);
            EXPECT_EQ(array.comments.size(), kind.lines);
            Constants defines = kind.constants;
            for (auto& [name, value] : defines)
                for (char& ch : name)
                    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            EXPECT_EQ(array.defines, defines);
        }
    }
}

// A PRG holds what lies between its load address and $ffff; more is refused, not wrapped round.
TEST(LevelExports, PrgRefusesDataPastTheTopOfMemory) {
    auto p = known_project(300, MapMachine::Mono); // 70 x 3 words: 420 bytes
    const struct {
        int address;
        bool fits;
    } cases[] = {{0x6000, true}, {0x10000 - 420, true}, {0x10000 - 419, false}, {0xFFFF, false}};
    for (const auto& c : cases) {
        const std::string refusal = level_export_refusal(ExportFormat::Prg, *p, c.address);
        EXPECT_EQ(refusal.empty(), c.fits) << c.address << ": " << refusal;
        EXPECT_EQ(export_level_file(ExportFormat::Prg, *p, "l", c.address).empty(), !c.fits);
        EXPECT_TRUE(level_export_refusal(ExportFormat::Bin, *p, c.address).empty());
    }
    EXPECT_EQ(level_export_refusal(ExportFormat::Prg, *p, 0xFF00),
              "the level's 420 bytes do not fit in a PRG loaded at $FF00: it holds 256 bytes at "
              "most");
    p->tiles = TileSet(8, 8, 1100); // 70400 bytes: more than a PRG holds anywhere
    EXPECT_FALSE(tiles_export_refusal(ExportFormat::Prg, *p, 0).empty());
    EXPECT_TRUE(tiles_export_refusal(ExportFormat::C, *p, 0).empty());
}

TEST(LevelExports, FormatNamesLeaveTheGlyphAndMapListsAsTheyWere) {
    EXPECT_EQ(level_export_format_names(false), "byte, acme, defb, c, bin, prg");
    EXPECT_EQ(level_export_format_names(true), "byte, acme, defb, c, bin, prg, png, tmx");
    EXPECT_EQ(level_export_format_named("bin", false), ExportFormat::Bin);
    EXPECT_EQ(level_export_format_named("png", true), ExportFormat::Png);
    for (const char* name : {"png", "tmx", "basic", "psf", "scr", "b800", "BIN", ""})
        EXPECT_FALSE(level_export_format_named(name, false).has_value()) << name;
    EXPECT_FALSE(level_export_format_named("basic", true).has_value());
    EXPECT_TRUE(
        export_tiles_file(ExportFormat::Png, *known_project(1, MapMachine::Mono), "t").empty());
    // The raw binary format is neither a glyph nor a map format.
    EXPECT_EQ(export_format_names(false), "byte, acme, defb, c, basic, png, psf, bdf, prg");
    EXPECT_EQ(export_format_names(true), "byte, acme, defb, c, basic, png, scr, b800");
}
