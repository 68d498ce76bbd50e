// The data exports (tiles, level, materials, tile tags): the bytes each format holds, over sets of
// at most 256 tiles and of more (whose level numbers are words), on Mono and on a C64 map in
// multicolour (whose tiles carry their attributes and whose registers are named); what PRG cannot
// hold; and the format names.

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

// `count` tiles of 3 x 2 cells whose codes and attributes all differ from their neighbours, tags
// that differ likewise, a level of 70 x 3 (wider than one source line holds) using every tile
// number up to the last, and every glyph a material of its own neighbours.
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
    for (int g = 0; g < 256; ++g)
        p->charset.materials[static_cast<size_t>(g)] = static_cast<uint8_t>((g * 7 + 3) % 16);
    for (int t = 0; t < count; ++t)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                p->tiles.set_cell(t, x, y,
                                  {static_cast<uint8_t>(t * 7 + x * 3 + y * 11 + 1),
                                   static_cast<uint8_t>(t + x + 2 * y + 100)});
    for (int t = 0; t < count; ++t) {
        Tile tagged = p->tiles.tile(t);
        tagged.tag = static_cast<uint8_t>(t * 37 + 5);
        p->tiles.set_piece(t, std::make_shared<const Tile>(tagged));
    }
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
        const char* last_tags; // the comment of the last line of tags, 16 a line
    } cases[] = {{5, MapMachine::Mono, "tiles 0-4"},
                 {300, MapMachine::Mono, "tiles 288-299"},
                 {256, MapMachine::C64, "tiles 240-255"},
                 {257, MapMachine::C64, "tile 256"}};
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
        Bytes materials, tags;
        for (int g = 0; g < 256; ++g)
            materials.push_back(static_cast<uint8_t>((g * 7 + 3) % 16));
        for (int t = 0; t < c.count; ++t)
            tags.push_back(static_cast<uint8_t>(t * 37 + 5));
        EXPECT_EQ(tiles_data(*p), tiles);
        EXPECT_EQ(level_data(*p), level);
        EXPECT_EQ(materials_data(*p), materials);
        EXPECT_EQ(tile_tags_data(*p), tags);

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
            std::string last;   // the comment of the last data line
        } kinds[] = {
            {tiles, tile_constants, export_tiles_file,
             static_cast<size_t>(c.count * (colours ? 2 : 1)), "unsigned char",
             "tile " + std::to_string(c.count - 1) + (colours ? " colours" : "")},
            {level,
             {{"stage_columns", 70}, {"stage_rows", 3}, {"stage_number_bytes", words ? 2 : 1}},
             export_level_file,
             3 * 2,
             words ? "unsigned short" : "unsigned char",
             "row 2, columns 64-69"},
            {materials,
             {{"stage_count", 256}},
             export_materials_file,
             16,
             "unsigned char",
             "glyphs 240-255"},
            {tags,
             {{"stage_count", c.count}},
             export_tile_tags_file,
             size_t(c.count + 15) / 16,
             "unsigned char",
             c.last_tags},
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
                EXPECT_EQ(comments.back(), kind.last);
            }
            const Bytes file = kind.file(ExportFormat::C, *p, "stage", 0);
            const CArray array = parse_c(std::string(file.begin(), file.end()));
            EXPECT_EQ(array.type + " " + array.name, std::string(kind.c_type) + " stage");
            EXPECT_EQ(array.size * (array.type == "unsigned short" ? 2 : 1), kind.want.size());
            EXPECT_EQ(array.values, kind.want);
            ASSERT_EQ(array.comments.size(), kind.lines);
            EXPECT_EQ(array.comments.back(), kind.last);
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
    auto p = known_project(300, MapMachine::Mono);
    // The bytes of each export: the level is 70 x 3 words.
    const std::pair<DataExport, int> sizes[] = {{DataExport::Level, 420},
                                                {DataExport::Tiles, 1800},
                                                {DataExport::Materials, 256},
                                                {DataExport::TileTags, 300}};
    for (const auto& [kind, bytes] : sizes)
        for (int address : {data_export_load_address(kind), 0x10000 - bytes, 0x10001 - bytes}) {
            const bool fits = address <= 0x10000 - bytes;
            const std::string refusal = data_export_refusal(kind, ExportFormat::Prg, *p, address);
            EXPECT_EQ(refusal.empty(), fits) << address << ": " << refusal;
            EXPECT_EQ(export_data_file(kind, ExportFormat::Prg, *p, "l", address).size(),
                      fits ? size_t(bytes) + 2 : 0);
            EXPECT_TRUE(data_export_refusal(kind, ExportFormat::Bin, *p, address).empty());
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
    const auto one = known_project(1, MapMachine::Mono);
    for (auto file : {export_tiles_file, export_materials_file, export_tile_tags_file})
        EXPECT_TRUE(file(ExportFormat::Png, *one, "t", 0).empty());
    // The raw binary format is neither a glyph nor a map format.
    EXPECT_EQ(export_format_names(false), "byte, acme, defb, c, basic, png, psf, bdf, prg");
    EXPECT_EQ(export_format_names(true), "byte, acme, defb, c, basic, png, scr, b800");
}

// Shaped for a build: a part of the level, inside it or refused by name; split words as the low
// and then the high bytes, in two C arrays of the part's size; decimal numbers; colour nybbles.
TEST(LevelExports, ShapesCutSplitAndSpellTheNumbers) {
    auto p = known_project(300, MapMachine::C64);
    const struct {
        DataShape shape;
        bool inside;
    } regions[] = {{{false, false, false, 0, 0, 70, 3}, true},
                   {{false, false, false, 69, 2, 1, 1}, true},
                   {{false, false, false, 60, 0, 11, 3}, false},
                   {{false, false, false, 0, 1, 70, 3}, false}};
    for (const auto& r : regions)
        EXPECT_EQ(data_shape_refusal(DataExport::Level, r.shape, *p).empty(), r.inside)
            << r.shape.x << "," << r.shape.y;
    EXPECT_EQ(data_shape_refusal(DataExport::Level, regions[2].shape, *p),
              "the region 60,0,11,3 is not inside the level of 70 x 3 tiles");
    EXPECT_NE(data_shape_refusal(DataExport::Tiles, regions[0].shape, *p), "");

    DataShape shape{true, true, false, 68, 1, 2, 2};
    const auto bin = export_data_file(DataExport::Level, ExportFormat::Bin, *p, "l", 0, shape);
    const std::vector<uint8_t> want = {static_cast<uint8_t>(p->level.at(68, 1)),
                                       static_cast<uint8_t>(p->level.at(69, 1)),
                                       static_cast<uint8_t>(p->level.at(68, 2)),
                                       static_cast<uint8_t>(p->level.at(69, 2)),
                                       static_cast<uint8_t>(p->level.at(68, 1) >> 8),
                                       static_cast<uint8_t>(p->level.at(69, 1) >> 8),
                                       static_cast<uint8_t>(p->level.at(68, 2) >> 8),
                                       static_cast<uint8_t>(p->level.at(69, 2) >> 8)};
    EXPECT_EQ(bin, want);
    const auto c = export_data_file(DataExport::Level, ExportFormat::C, *p, "l", 0, shape);
    const std::string text(c.begin(), c.end());
    EXPECT_NE(text.find("const unsigned char l_lo[4] = {\n    " + std::to_string(want[0]) + ", " +
                        std::to_string(want[1]) + ","),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("const unsigned char l_hi[4] = {\n    " + std::to_string(want[4]) + ","),
              std::string::npos)
        << text;
    std::string note;
    auto mono = known_project(5, MapMachine::Mono);
    EXPECT_EQ(
        export_data_file(DataExport::Level, ExportFormat::Bin, *mono, "l", 0, {false, true}, &note),
        export_data_file(DataExport::Level, ExportFormat::Bin, *mono, "l", 0));
    EXPECT_EQ(note, "every number fits a byte: one table written");
    const auto tiles =
        export_data_file(DataExport::Tiles, ExportFormat::Bin, *p, "t", 0, {false, false, true});
    ASSERT_EQ(tiles.size(), 300u * 12);
    EXPECT_EQ(tiles[6], p->tiles.cell(0, 0, 0).attr & 15);
    EXPECT_EQ(tiles[0], p->tiles.cell(0, 0, 0).code);
}
