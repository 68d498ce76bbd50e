// CTM projects: the editor's own files of every version read, alike where they hold one project,
// and with the values their bytes show; layouts no such file has, built here by offset; each
// malformed file refused in one line naming its field, leaving the project read into as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <string>

#include "../helpers/ctm_writer.h"
#include "formats/ctm.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Projects saved by the editor whose format this is; not part of the program's sources.
const fs::path kRealFiles = fs::path(FONTAREL_SOURCE_DIR) / ".." / "shared" / "data" / "ctm";

std::vector<fs::path> real_files() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kRealFiles))
        if (entry.path().extension() == ".ctm")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

Bytes file_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// "text-hires--text-hi-per-tile-ctm8-beta.ctm" -> "text-hires--text-hi-per-tile": the files of one
// project differ only in the version after "-ctm".
std::string project_name(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.substr(0, name.rfind("-ctm"));
}

#define SKIP_WITHOUT_REAL_FILES()                                                                  \
    if (!fs::is_directory(kRealFiles))                                                             \
    GTEST_SKIP() << "no folder " << kRealFiles.string() << " of CTM projects to read"

TEST(Ctm, EveryRealFileReadsAndFilesOfOneProjectAlike) {
    SKIP_WITHOUT_REAL_FILES();
    std::map<std::string, std::pair<fs::path, Project>> first; // by project
    std::map<std::string, int> versions;
    const std::vector<fs::path> files = real_files();
    EXPECT_EQ(files.size(), 30u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        Project p;
        std::vector<std::string> remarks;
        ASSERT_EQ(read_ctm(file_bytes(file), p, remarks), "");
        EXPECT_TRUE(remarks.empty());
        const std::string name = project_name(file);
        ++versions[name];
        const auto [at, added] = first.try_emplace(name, file, p);
        if (added)
            continue;
        const Project& q = at->second.second;
        SCOPED_TRACE("against " + at->second.first.filename().string());
        EXPECT_EQ(p.charset.bytes, q.charset.bytes);
        EXPECT_EQ(p.charset.materials, q.charset.materials);
        EXPECT_TRUE(std::ranges::any_of(p.charset.materials, [](uint8_t m) { return m != 0; }))
            << "each file gives its characters materials";
        // Version 5 has no tags or names; from 6 on every tile has both (tags read off a hex
        // dump of the version 7 files' tag block, $DA $B4).
        const bool labelled = file.string().find("-ctm5") == std::string::npos;
        for (int t = 0; t < p.tiles.count(); ++t) {
            const Tile& tile = p.tiles.tile(t);
            EXPECT_EQ(tile.cells, q.tiles.tile(t).cells);
            EXPECT_EQ(tile.name, labelled && p.tiles.count() == 3 ? "Untitled" : "");
            const std::array<int, 3> tags =
                name.find("per-tile") != std::string::npos ? std::array{0, 0, 2}
                : name.find("-mc-") != std::string::npos   ? std::array{0, 2, 4}
                                                           : std::array{0, 1, 2};
            EXPECT_EQ(tile.tag, labelled && p.tiles.count() == 3 ? tags[t] : 0);
        }
        EXPECT_EQ(p.tiles.count(), q.tiles.count());
        EXPECT_TRUE(p.level == q.level);
        EXPECT_EQ(p.map.look.machine, MapMachine::C64);
        EXPECT_EQ(p.map.look.background, q.map.look.background);
        EXPECT_EQ(p.map.look.multicolour(), q.map.look.multicolour());
        EXPECT_EQ(p.map.look.multicolour_1, q.map.look.multicolour_1);
        EXPECT_EQ(p.map.look.multicolour_2, q.map.look.multicolour_2);
    }
    EXPECT_EQ(first.size(), 6u);
    for (const auto& [name, count] : versions)
        EXPECT_GE(count, 4) << name;
}

// Values read off the files' bytes (in a hex dump of the version 5 files, checked against the
// others): glyph 1's rows, tile cells with the colour their method gives, the level's size and
// first cells.
TEST(Ctm, RealFilesHoldWhatTheirBytesShow) {
    SKIP_WITHOUT_REAL_FILES();
    using Cells = std::vector<std::tuple<int, int, int, TileCell>>; // tile, x, y, cell
    const struct Fact {
        const char* project;
        bool multicolour;
        std::array<uint8_t, 8> glyph_1;
        int tiles, tile_side, cols, rows;
        std::array<uint16_t, 4> first_level_row;
        Cells cells;
    } facts[] = {
        // Colours per character 6, 3, 2, 1 (attributes $06 $43 $82 $C1).
        {"text-hires--text-hi-per-char-tiles",
         false,
         {0, 0x18, 0x18, 0x24, 0x24, 0x42, 0x42, 0},
         3,
         2,
         20,
         12,
         {0, 1, 2, 2},
         {{0, 1, 0, {1, 3}}, {0, 0, 1, {0, 6}}, {1, 0, 0, {3, 1}}, {1, 1, 0, {2, 2}}}},
        // Tile colours 1, 2, 6.
        {"text-hires--text-hi-per-tile",
         false,
         {0, 0x18, 0x18, 0x24, 0x24, 0x42, 0x42, 0},
         3,
         2,
         20,
         12,
         {0, 1, 2, 2},
         {{0, 1, 0, {1, 1}}, {1, 0, 0, {3, 2}}, {1, 1, 0, {2, 2}}, {2, 1, 1, {0, 6}}}},
        // Without tiles: character n is tile n.
        {"text-hires--text-hi-per-char-notiles",
         false,
         {0, 0x18, 0x18, 0x24, 0x24, 0x42, 0x42, 0},
         4,
         1,
         40,
         25,
         {0, 1, 3, 2},
         {{0, 0, 0, {0, 6}}, {1, 0, 0, {1, 3}}, {3, 0, 0, {3, 1}}}},
        // Multicolour; colours per character 6, 11, 10, 13 ($06 $4B $8A $CD).
        {"text-multic--text-mc-per-char-tiles",
         true,
         {0, 0x28, 0x7E, 0x7E, 0x7E, 0x7E, 0x14, 0},
         3,
         2,
         20,
         12,
         {1, 2, 0, 0},
         {{1, 1, 0, {1, 11}}, {2, 0, 0, {3, 13}}, {2, 1, 0, {2, 10}}, {2, 0, 1, {0, 6}}}},
        // Tile colours 6, 10, 13.
        {"text-multic--text-mc-per-tile",
         true,
         {0, 0x28, 0x7E, 0x7E, 0x7E, 0x7E, 0x14, 0},
         3,
         2,
         20,
         12,
         {1, 2, 0, 0},
         {{0, 0, 0, {0, 6}}, {1, 1, 0, {1, 10}}, {2, 0, 0, {3, 13}}}},
        {"text-multic--text-mc-per-char-notiles",
         true,
         {0, 0x28, 0x7E, 0x7E, 0x7E, 0x7E, 0x14, 0},
         4,
         1,
         40,
         25,
         {0, 1, 3, 2},
         {{1, 0, 0, {1, 11}}, {2, 0, 0, {2, 10}}, {3, 0, 0, {3, 13}}}},
    };
    int checked = 0;
    for (const fs::path& file : real_files())
        for (const Fact& f : facts) {
            if (project_name(file) != f.project)
                continue;
            SCOPED_TRACE(file.filename().string());
            ++checked;
            Project p;
            std::vector<std::string> remarks;
            ASSERT_EQ(read_ctm(file_bytes(file), p, remarks), "");
            EXPECT_EQ(p.map.look.background, 14);
            EXPECT_EQ(p.map.look.multicolour(), f.multicolour);
            EXPECT_EQ(p.map.look.multicolour_1, f.multicolour ? 12 : 0);
            EXPECT_EQ(p.map.look.multicolour_2, f.multicolour ? 15 : 1);
            EXPECT_TRUE(std::equal(f.glyph_1.begin(), f.glyph_1.end(), p.charset.glyph(1).begin()));
            EXPECT_EQ(p.charset.glyph(4)[1], 0) << "glyphs past the file's are blank";
            EXPECT_EQ(p.tiles.count(), f.tiles);
            EXPECT_EQ(p.tiles.width(), f.tile_side);
            EXPECT_EQ(p.tiles.height(), f.tile_side);
            for (const auto& [t, x, y, cell] : f.cells)
                EXPECT_EQ(p.tiles.cell(t, x, y), cell)
                    << "tile " << t << " (" << x << ", " << y << ")";
            ASSERT_EQ(p.level.cols(), f.cols);
            EXPECT_EQ(p.level.rows(), f.rows);
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(p.level.at(x, 0), f.first_level_row[static_cast<size_t>(x)]) << x;
        }
    EXPECT_EQ(checked, 30);
}

// ---- Layouts no real file has, byte by byte.

// A version 4 file: 4 characters, 2 tiles of 2 x 1, a level of 3 x 1; the colour method and the
// flags (multicolour at 9, expanded at 19) as given.
Bytes version_4(uint8_t method, bool multicolour, bool expanded) {
    // clang-format off
    Bytes b = {'C', 'T', 'M', 4,
               0x16, 0x23, 0x34, 0x4D, // 4-7 background 6, multicolour 3 and 4, colour 13
               method, multicolour,    // 8 colour method, 9 multicolour flag
               3, 0,                   // 10-11 characters - 1
               1, 2, 1,                // 12 tiles - 1, 13 width, 14 height
               3, 0, 1, 0,             // 15-16 level width, 17-18 height
               expanded, 0, 0, 0, 0};  // 19 expanded flag, 20-23 not used
    // clang-format on
    for (int i = 0; i < 32; ++i) // 24: glyphs
        b.push_back(static_cast<uint8_t>(0x11 * i));
    b.insert(b.end(), {0x07, 0x08, 0x09, 0x0A}); // attributes
    if (!expanded)
        b.insert(b.end(), {1, 0, 0, 0, 1, 0, 1, 0}); // cells: tile 0 = 1 0, tile 1 = 1 1
    b.insert(b.end(), {0x21, 0x32, 0x43, 0x54});     // a colour a tile cell
    if (method == 1)
        b.insert(b.end(), {0x19, 0x2A}); // a colour a tile
    b.insert(b.end(), {1, 0, 1});        // level, 8-bit
    return b;
}

// A version 7 file (12-byte header): 2 characters, 2 tiles of 2 x 1, colour method 0, then the
// map of 2 x 1. Block offsets: 12 charset, 32 attributes, 36 tiles (cells from 42), 50 tags,
// 54 names (from 56: "ab", "c"), 61 map (cells from 67).
Bytes version_7(uint8_t screen_mode = 0) {
    Bytes b = {'C', 'T', 'M', 7, 6, 3, 4, 5, 0x2D, 0, screen_mode, 1}; // colour 13, tiles on
    b.insert(b.end(), {0xDA, 0xB0, 1, 0});
    for (int i = 0; i < 16; ++i)
        b.push_back(static_cast<uint8_t>(0x11 * i));
    b.insert(b.end(), {0xDA, 0xB1, 0x07, 0x08});
    b.insert(b.end(), {0xDA, 0xB2, 1, 0, 2, 1, 1, 0, 0, 0, 1, 0, 1, 0});
    b.insert(b.end(), {0xDA, 0xB3, 0, 0});
    b.insert(b.end(), {0xDA, 0xB4, 'a', 'b', 0, 'c', 0});
    b.insert(b.end(), {0xDA, 0xB5, 2, 0, 1, 0, 1, 0, 0, 0});
    return b;
}

TEST(Ctm, LayoutsByOffsetReadAsTheyDescribe) {
    struct Row {
        const char* name;
        Bytes bytes;
        bool multicolour;
        std::vector<TileCell> cells; // tile by tile, row by row
        std::vector<uint16_t> level; // the first row
        const char* remark;
    };
    // A version 9 file without tiles: 19-byte header, colour base 0 (at 16) the colour.
    Bytes v9 = {'C', 'T', 'M', 9, 1, 0, 0, 40, 0, 25, 0, 0, 6, 3, 4, 5, 0x1B, 2, 3};
    v9.insert(v9.end(),
              {0xDA, 0xB0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0xDA, 0xB1, 0});
    v9.insert(v9.end(), {0xDA, 0xB2, 2, 0, 1, 0, 0, 0, 0, 0}); // map 2 x 1
    // The prerelease layout of 8: the fourth colour base (14) the colour, blocks from 15.
    Bytes v8 = {'C', 'T', 'M', 8, 0, 0, 0, 6, 3, 4, 5, 9, 10, 11, 12};
    v8.insert(v8.end(),
              {0xDA, 0xB0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0xDA, 0xB1, 0});
    v8.insert(v8.end(), {0xDA, 0xB2, 1, 0, 1, 0, 0, 0}); // map 1 x 1
    // Version 5 without the tile system, colour method 0, as the writer makes it (the layout of
    // the editor's own version 5 files).
    CtmDescription v5;
    v5.tile_system = false;
    v5.tile_width = v5.tile_height = 1;
    v5.glyphs = {{1}, {2}, {3}};
    v5.character_colour = 0x3B;
    v5.level_width = 3;
    v5.level_height = 1;
    v5.level = {2, 0, 1};
    fill_ctm_lists(v5);
    const std::vector<Row> rows = {
        {"4, per tile cell",
         version_4(2, false, false),
         false,
         {{1, 1}, {0, 2}, {1, 3}, {1, 4}},
         {1, 0, 1},
         nullptr},
        {"4, per tile, expanded, multicolour",
         version_4(1, true, true),
         true,
         {{0, 9}, {1, 9}, {2, 10}, {3, 10}},
         {1, 0, 1},
         nullptr},
        {"4, global",
         version_4(0, false, false),
         false,
         {{1, 13}, {0, 13}, {1, 13}, {1, 13}},
         {1, 0, 1},
         nullptr},
        {"5 without tiles", ctm_bytes(v5), false, {{0, 11}, {1, 11}, {2, 11}}, {2, 0, 1}, nullptr},
        {"7, extended background colours",
         version_7(2),
         false,
         {{1, 13}, {0, 13}, {1, 13}, {1, 13}},
         {1, 0},
         nullptr},
        {"8 prerelease without tiles", v8, false, {{0, 12}}, {0}, nullptr},
        {"9 without tiles, multicolour", v9, true, {{0, 11}}, {0, 0}, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Project p;
        std::vector<std::string> remarks;
        ASSERT_EQ(read_ctm(row.bytes, p, remarks), "");
        EXPECT_EQ(p.map.look.background, 6);
        EXPECT_EQ(p.map.look.multicolour(), row.multicolour);
        // Extended background colours: $d022-$d024 are the registers of bytes 5 to 7.
        const bool extended = std::string(row.name).find("extended") != std::string::npos;
        EXPECT_EQ(p.map.look.extended(), extended);
        if (extended) {
            EXPECT_EQ(p.map.look.background_1 << 8 | p.map.look.background_2 << 4 |
                          p.map.look.background_3,
                      0x345);
        }
        EXPECT_EQ(p.map.look.multicolour_1, row.name[0] == '5' ? 1 : 3);
        EXPECT_EQ(p.charset.glyph(0)[1], row.name[0] == '5' ? 0 : 0x11);
        const int cells = p.tiles.width() * p.tiles.height();
        ASSERT_EQ(static_cast<size_t>(p.tiles.count() * cells), row.cells.size());
        for (size_t i = 0; i < row.cells.size(); ++i) {
            const int t = static_cast<int>(i) / cells, c = static_cast<int>(i) % cells;
            EXPECT_EQ(p.tiles.cell(t, c % p.tiles.width(), c / p.tiles.width()), row.cells[i])
                << "cell " << i;
        }
        ASSERT_EQ(static_cast<size_t>(p.level.cols()), row.level.size());
        for (size_t x = 0; x < row.level.size(); ++x)
            EXPECT_EQ(p.level.at(static_cast<int>(x), 0), row.level[x]) << x;
        if (row.remark == nullptr) {
            EXPECT_TRUE(remarks.empty());
        } else {
            ASSERT_EQ(remarks.size(), 1u);
            EXPECT_NE(remarks[0].find(row.remark), std::string::npos) << remarks[0];
        }
    }
}

TEST(Ctm, MalformedFilesAreRefusedByField) {
    const auto v5 = [](const std::function<void(CtmDescription&)>& change) {
        CtmDescription d;
        d.glyphs.assign(10, {});
        d.tiles = 2;
        d.level_width = 3;
        d.level_height = 2;
        fill_ctm_lists(d);
        change(d);
        return ctm_bytes(d);
    };
    const auto v7 = [](size_t at, std::initializer_list<uint8_t> put, int grow = 0) {
        Bytes b = version_7();
        std::copy(put.begin(), put.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        b.resize(static_cast<size_t>(static_cast<int>(b.size()) + grow), 0);
        return b;
    };
    Bytes long_name = version_7();
    long_name.insert(long_name.begin() + 58, 31, 'x'); // "ab" + 31 = 33 characters
    Bytes cut_name = version_7();
    cut_name.resize(60);                                                       // within "c"'s name
    Bytes many = {'C', 'T', 'M', 6, 0, 0, 0, 0, 2, 0, 0xDA, 0xB0, 0x00, 0x10}; // 4097 characters
    many.resize(many.size() + 4097 * 8);
    many.insert(many.end(), {0xDA, 0xB1});
    many.resize(many.size() + 4097);
    many.insert(many.end(), {0xDA, 0xB2, 1, 0, 1, 0, 0, 0});
    const struct {
        const char* name;
        Bytes bytes;
        const char* said;
    } cases[] = {
        {"not a CTM", {'C', 'T', 'X', 5}, "no CTM file"},
        {"version 10", v7(3, {10}), "version 10: only versions 4 to 9 and 82"},
        {"version 4 header cut",
         [] {
             auto b = version_4(0, 0, 0);
             b.resize(16);
             return b;
         }(),
         "24-byte header"},
        {"version 5 body short", v5([](CtmDescription& d) { d.level.pop_back(); }), "2 short of"},
        {"version 4 byte left over",
         [] {
             auto b = version_4(0, 0, 0);
             b.push_back(0);
             return b;
         }(),
         "1 more than"},
        {"version 4 expanded flag 7",
         [] {
             auto b = version_4(0, 0, 0);
             b[19] = 7;
             return b;
         }(),
         "expanded flag is 7"},
        {"version 4 multicolour flag 2",
         [] {
             auto b = version_4(0, 0, 0);
             b[9] = 2;
             return b;
         }(),
         "multicolour flag is 2"},
        {"version 4 level tile past the set",
         [] {
             auto b = version_4(0, 0, 0);
             b.back() = 2;
             return b;
         }(),
         "level cell (2, 0) names tile 2, past the 2 tiles"},
        {"version 5 cell past the characters", v5([](CtmDescription& d) { d.cells[3] = 10; }),
         "tile 0, cell (1, 1) names character 10"},
        {"version 5 expanded past the characters", v5([](CtmDescription& d) {
             d.expanded = true;
             d.tiles = 3;
         }),
         "character count is 10"},
        {"version 5, 4097 tiles", v5([](CtmDescription& d) { d.tiles = 4097; }),
         "tile count is 4097"},
        {"version 5 level height 4097", v5([](CtmDescription& d) { d.level_height = 4097; }),
         "level height is 4097"},
        {"version 5 tile-less, colour per tile", v5([](CtmDescription& d) {
             d.tile_system = false;
             d.tile_width = d.tile_height = 1;
             d.colour_method = 1;
         }),
         "colour method is 1 (per tile) with the tile system off"},
        {"version 5 tile-less, 2 x 2 tiles", v5([](CtmDescription& d) { d.tile_system = false; }),
         "with the tile system off, not 1 x 1"},
        {"colour method 3", v7(9, {3}),
         "colour method is 3, not 0 (global), 1 (per tile) or 2 "
         "(per character)"},
        {"version 4 colour method 3",
         [] {
             auto b = version_4(0, 0, 0);
             b[8] = 3;
             return b;
         }(),
         "or 2 (per tile cell)"},
        {"version 7 header alone", v7(0, {'C'}, -59), "ends at offset 12 before block 0 (charset)"},
        {"screen mode 5", v7(10, {5}), "screen mode is 5"},
        {"bitmap mode", v7(10, {3}), "a bitmap-mode CTM project: only text modes are read"},
        {"more glyphs than bytes", v7(14, {9}), "block 0 (charset) needs 80 bytes of glyphs"},
        {"attributes cut", v7(0, {'C'}, -37),
         "block 1 (character attributes) needs 2 bytes of attributes at offset 34"},
        {"block out of order", v7(36, {0xDA, 0xB3}), "block 2 (tiles) at offset 36 begins $DA $B3"},
        {"marker missing", v7(61, {0xDB}), "block 5 (map) at offset 61 begins $DB $B5"},
        {"tile width 9", v7(40, {9}), "tile width is 9"},
        {"tile height 0", v7(41, {0}), "tile height is 0"},
        {"tile cell past the characters", v7(44, {2}), "tile 0, cell (1, 0) names character 2"},
        {"name too long", long_name, "tile 0's name at offset 56 has no end within 32"},
        {"name without its end", cut_name, "tile 1's name at offset 59 runs to the end"},
        {"map width 4097", v7(63, {0x01, 0x10}), "level width is 4097"},
        {"map cell past the tiles", v7(69, {5}), "level cell (1, 0) names tile 5, past the 2"},
        {"map cut", v7(0, {'C'}, -1), "block 5 (map) needs 4 bytes of map cells"},
        {"a byte after the map", v7(0, {'C'}, 1), "1 more than its blocks make"},
        {"4097 characters without tiles", many, "character count is 4097 with the tile system off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Project p;
        p.charset.glyph(7)[2] = 0x5A;
        p.level = Level(3, 9, 0);
        p.tiles = TileSet(5, 5, 1);
        const std::string before = project_text(p);
        std::vector<std::string> remarks;
        const std::string why = read_ctm(c.bytes, p, remarks);
        EXPECT_NE(why.find(c.said), std::string::npos) << why;
        EXPECT_EQ(why.find('\n'), std::string::npos) << why;
        EXPECT_EQ(project_text(p), before);
        EXPECT_TRUE(remarks.empty());
    }
}

// A level of whole blocks and part blocks (the model keeps 32 x 32 tile numbers a block): every
// cell as the file has it, and a number past the set found where it is, in either kind of block.
TEST(Ctm, LargeLevelsReadCellByCell) {
    CtmDescription d;
    d.glyphs.assign(4, {});
    d.tiles = 300;
    d.tile_width = d.tile_height = 1;
    d.level_width = 70;
    d.level_height = 67;
    for (int i = 0; i < 70 * 67; ++i)
        d.level.push_back(static_cast<uint16_t>((i * 7919 + i / 70) % 300));
    fill_ctm_lists(d);
    Project p;
    std::vector<std::string> remarks;
    ASSERT_EQ(read_ctm(ctm_bytes(d), p, remarks), "");
    int differ = 0;
    for (int y = 0; y < 67; ++y)
        for (int x = 0; x < 70; ++x)
            differ += p.level.at(x, y) != d.level[static_cast<size_t>(70 * y + x)];
    EXPECT_EQ(differ, 0);
    for (const auto& [x, y] : {std::pair{40, 33}, {69, 66}, {5, 64}}) {
        CtmDescription bad = d;
        bad.level[static_cast<size_t>(70 * y + x)] = 300;
        const std::string want = "level cell (" + std::to_string(x) + ", " + std::to_string(y) +
                                 ") names tile 300, past the 300 tiles";
        EXPECT_EQ(read_ctm(ctm_bytes(bad), p, remarks), want);
    }
}

TEST(Ctm, CharactersPast256AreSaidAndShowCharacterZero) {
    CtmDescription d;
    for (int c = 0; c < 300; ++c)
        d.glyphs.push_back({static_cast<uint8_t>(c)});
    d.colour_method = 2;
    d.tile_system = false; // a tile of each character
    d.tile_width = d.tile_height = 1;
    d.level_width = 20;
    d.level_height = 15;
    fill_ctm_lists(d);
    d.attributes[270] = 9;
    Project p;
    std::vector<std::string> remarks;
    ASSERT_EQ(read_ctm(ctm_bytes(d), p, remarks), "");
    EXPECT_EQ(p.charset.glyph(255)[0], 255);
    EXPECT_EQ(p.tiles.count(), 300);
    EXPECT_EQ(p.tiles.cell(255, 0, 0), (TileCell{255, 0}));
    // The glyph is gone, the colour is the character's own.
    EXPECT_EQ(p.tiles.cell(270, 0, 0), (TileCell{0, 9}));
    EXPECT_EQ(p.level.at(19, 14), 299);
    ASSERT_EQ(remarks.size(), 1u);
    EXPECT_NE(remarks[0].find("256 of 300 characters"), std::string::npos) << remarks[0];
    EXPECT_NE(remarks[0].find("44 tile cells"), std::string::npos) << remarks[0];

    // No cell uses the characters dropped: said as such.
    d.tile_system = true;
    d.tiles = 1;
    d.cells = {1, 2, 3, 4};
    d.tile_width = d.tile_height = 2;
    d.level.assign(300, 0);
    remarks.clear();
    ASSERT_EQ(read_ctm(ctm_bytes(d), p, remarks), "");
    ASSERT_EQ(remarks.size(), 1u);
    EXPECT_NE(remarks[0].find("no tile cell uses the others"), std::string::npos) << remarks[0];

    // Cells of characters 254-258 anywhere in a set of 3 x 3 tiles, and in the largest set, 4,096
    // tiles of 8 x 8 (more cells than a count of 16 bits holds): each of 256 and above counted.
    std::mt19937 random(5);
    for (const auto [tiles, side] : {std::pair{37, 3}, std::pair{kMaxTiles, 8}}) {
        d.tiles = tiles;
        d.tile_width = d.tile_height = side;
        d.cells.clear();
        int beyond = 0;
        for (int i = 0; i < tiles * side * side; ++i) {
            d.cells.push_back(static_cast<uint16_t>(tiles == kMaxTiles ? 299 : 254 + random() % 5));
            beyond += d.cells.back() >= 256;
        }
        remarks.clear();
        ASSERT_EQ(read_ctm(ctm_bytes(d), p, remarks), "");
        ASSERT_EQ(remarks.size(), 1u);
        EXPECT_NE(remarks[0].find(" " + std::to_string(beyond) + " tile cells"), std::string::npos)
            << remarks[0];
    }
}

} // namespace
} // namespace fontarel
