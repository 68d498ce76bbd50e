// CTM projects: every version, colour method and layout of tile cells reads back to the glyphs,
// tile cells, colours and level written; each malformed file is refused in one line naming its
// field, leaving the project read into as it was; characters past 256 are said.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "../helpers/ctm_writer.h"
#include "formats/ctm.h"

namespace fontarel {
namespace {

std::array<uint8_t, 8> glyph_of(int c) {
    std::array<uint8_t, 8> g{};
    for (int r = 0; r < 8; ++r)
        g[static_cast<size_t>(r)] = static_cast<uint8_t>(37 * c + 11 * r + 1);
    return g;
}

CtmDescription sample(int version, int characters) {
    CtmDescription d;
    d.version = version;
    for (int c = 0; c < characters; ++c)
        d.glyphs.push_back(glyph_of(c));
    return d;
}

TEST(Ctm, EveryLayoutReadsBackAsWritten) {
    for (int k = 0; k < 24; ++k) {
        const int version = 4 + k % 2, method = k / 2 % 3;
        const bool expanded = k / 6 % 2, multicolour = k / 12;
        SCOPED_TRACE(::testing::Message()
                     << "version " << version << " method " << method
                     << (expanded ? " expanded" : "") << (multicolour ? " multicolour" : ""));
        CtmDescription d = sample(version, 20);
        d.colour_method = method;
        d.expanded = expanded;
        d.multicolour = multicolour;
        // High nybbles that the colours must not take along.
        d.background = 0xF6;
        d.multicolour_1 = 0x23;
        d.character_colour = 0x7D;
        d.tiles = 3;
        d.tile_width = 2;
        d.tile_height = 3;
        d.level_width = 5;
        d.level_height = 3;
        for (int c = 0; c < 20; ++c)
            d.attributes.push_back(static_cast<uint8_t>(0x50 + (c * 7) % 16));
        for (int i = 0; i < 18 && !expanded; ++i)
            d.cells.push_back(static_cast<uint16_t>((7 * i + 3) % 20));
        d.tile_colours = {0xA9, 0x0B, 0x1C};
        fill_ctm_lists(d); // expanded: cell i of the file's tiles is character i

        Project p;
        std::vector<std::string> remarks;
        ASSERT_EQ(read_ctm(ctm_bytes(d), p, remarks), "");
        EXPECT_TRUE(remarks.empty());
        CharsetStore glyphs;
        for (int c = 0; c < 20; ++c)
            std::copy_n(glyph_of(c).begin(), 8, glyphs.glyph(c).begin());
        EXPECT_EQ(p.charset.bytes, glyphs.bytes);
        EXPECT_EQ(p.map.machine, MapMachine::C64);
        EXPECT_EQ(p.map.background, 6);
        EXPECT_EQ(p.map.multicolour, multicolour);
        EXPECT_EQ(p.map.multicolour_1, 3);
        EXPECT_EQ(p.map.multicolour_2, 2);
        ASSERT_EQ(p.tiles.count(), 3);
        ASSERT_EQ(p.tiles.width(), 2);
        ASSERT_EQ(p.tiles.height(), 3);
        for (int i = 0; i < 18; ++i) {
            const int t = i / 6, code = d.cells[static_cast<size_t>(i)];
            const int attr = method == 0   ? 13
                             : method == 1 ? d.tile_colours[static_cast<size_t>(t)] & 15
                                           : (code * 7) % 16;
            EXPECT_EQ(p.tiles.cell(t, i % 2, i % 6 / 2), (TileCell{uint8_t(code), uint8_t(attr)}))
                << "cell " << i;
        }
        ASSERT_EQ(p.level.cols(), 5);
        ASSERT_EQ(p.level.rows(), 3);
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(p.level.at(i % 5, i / 5), d.level[static_cast<size_t>(i)]);
    }
}

TEST(Ctm, MalformedFilesAreRefusedByField) {
    // Each case starts from a sound file of either version and changes one thing.
    using Bytes = std::vector<uint8_t>;
    struct Case {
        const char* name;
        int version;
        std::function<void(CtmDescription&)> describe;
        std::function<void(Bytes&)> patch;
        const char* said;
    };
    const auto none = [](CtmDescription&) {};
    const auto as_is = [](Bytes&) {};
    const std::vector<Case> cases = {
        {"not a CTM", 5, none, [](Bytes& b) { b[2] = 'X'; }, "no CTM file"},
        {"version 3", 5, [](CtmDescription& d) { d.version = 3; }, as_is,
         "version 3: only versions 4 and 5 are read"},
        {"header cut", 4, none, [](Bytes& b) { b.resize(16); }, "24-byte header"},
        {"body short", 5, none, [](Bytes& b) { b.pop_back(); }, "1 short of"},
        {"bytes left over", 4, none, [](Bytes& b) { b.push_back(0); }, "1 more than"},
        {"level tile past the set", 4, [](CtmDescription& d) { d.level[5] = 2; }, as_is,
         "level cell (2, 1) names tile 2, past the 2 tiles"},
        {"cell past the characters", 5, [](CtmDescription& d) { d.cells[3] = 10; }, as_is,
         "tile 0, cell (1, 1) names character 10"},
        {"expanded past the characters", 5,
         [](CtmDescription& d) {
             d.expanded = true;
             d.tiles = 3;
         },
         as_is, "character count is 10"},
        {"tile width 0", 4, none, [](Bytes& b) { b[13] = 0; }, "tile width is 0"},
        {"tile width 9", 5, [](CtmDescription& d) { d.tile_width = 9; }, as_is, "tile width is 9"},
        {"tile height 9", 4, [](CtmDescription& d) { d.tile_height = 9; }, as_is,
         "tile height is 9"},
        {"tile system off, 2 x 2 tiles", 5, [](CtmDescription& d) { d.tile_system = false; }, as_is,
         "with the tile system off"},
        {"level width 0", 5, [](CtmDescription& d) { d.level_width = 0; }, as_is,
         "level width is 0"},
        {"level height 4097", 4, [](CtmDescription& d) { d.level_height = 4097; }, as_is,
         "level height is 4097"},
        {"4097 tiles", 5, [](CtmDescription& d) { d.tiles = 4097; }, as_is, "tile count is 4097"},
        {"colour method 3", 4, [](CtmDescription& d) { d.colour_method = 3; }, as_is,
         "colour method is 3"},
        {"multicolour flag 2", 4, none, [](Bytes& b) { b[9] = 2; }, "multicolour flag is 2"},
        {"expanded flag 7", 4, none, [](Bytes& b) { b[15] = 7; }, "expanded flag is 7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CtmDescription d = sample(c.version, 10);
        d.tiles = 2;
        d.level_width = 3;
        d.level_height = 2;
        fill_ctm_lists(d);
        c.describe(d);
        Bytes bytes = ctm_bytes(d);
        c.patch(bytes);

        Project p;
        p.charset.glyph(7)[2] = 0x5A;
        p.level = Level(3, 9, 0);
        p.tiles = TileSet(5, 5, 1);
        const std::string before = project_text(p);
        std::vector<std::string> remarks;
        const std::string why = read_ctm(bytes, p, remarks);
        EXPECT_NE(why.find(c.said), std::string::npos) << why;
        EXPECT_EQ(why.find('\n'), std::string::npos) << why;
        EXPECT_EQ(project_text(p), before);
        EXPECT_TRUE(remarks.empty());
    }
}

TEST(Ctm, CharactersPast256AreSaidAndShowCharacterZero) {
    CtmDescription d = sample(5, 300);
    d.colour_method = 2;
    d.tile_system = false; // single characters
    d.tile_width = d.tile_height = 1;
    d.tiles = 300;
    d.level_width = 20;
    d.level_height = 15;
    fill_ctm_lists(d);
    d.attributes[270] = 9;
    Project p;
    std::vector<std::string> remarks;
    ASSERT_EQ(read_ctm(ctm_bytes(d), p, remarks), "");
    EXPECT_EQ(p.charset.glyph(255)[0], glyph_of(255)[0]);
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
}

} // namespace
} // namespace fontarel
