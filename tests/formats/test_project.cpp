// The project file: any state written and read back is the same state, the text is laid out for
// version control, unknown keys survive a save, and each malformed file is refused with one line
// that names its key, leaving the project read into as it was.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formats/project.h"
#include "model/map_colours.h"

namespace fontarel {
namespace {

std::span<const uint8_t> bytes_of(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

bool same(const Project& a, const Project& b) {
    if (a.charset.bytes != b.charset.bytes || a.colour0 != b.colour0 || a.colour1 != b.colour1 ||
        a.map.cols != b.map.cols || a.map.rows != b.map.rows || a.map.machine != b.map.machine ||
        a.map.background != b.map.background || a.kept != b.kept || !(a.tiles == b.tiles) ||
        !(a.level == b.level))
        return false;
    if (a.map.machine == MapMachine::C64 &&
        (a.map.multicolour != b.map.multicolour || a.map.multicolour_1 != b.map.multicolour_1 ||
         a.map.multicolour_2 != b.map.multicolour_2))
        return false;
    for (int r = 0; r < a.map.rows; ++r)
        for (int c = 0; c < a.map.cols; ++c)
            if (a.map.at(c, r) != b.map.at(c, r) || a.map.attr(c, r) != b.map.attr(c, r))
                return false;
    return true;
}

TEST(Project, RandomStatesReadBackTheSame) {
    std::mt19937 random(28);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        Project p;
        for (auto& b : p.charset.bytes)
            b = static_cast<uint8_t>(random());
        const MapSize size = kMapSizes[random() % std::size(kMapSizes)];
        p.map.cols = size.cols;
        p.map.rows = size.rows;
        p.map.machine = static_cast<MapMachine>(random() % kMapMachineCount);
        const int backgrounds = background_choices(p.map.machine);
        p.map.background = static_cast<uint8_t>(backgrounds ? random() % backgrounds : 0);
        p.map.multicolour = random() % 2;
        p.map.multicolour_1 = static_cast<uint8_t>(random() % 16);
        p.map.multicolour_2 = static_cast<uint8_t>(random() % 16);
        for (int r = 0; r < size.rows; ++r)
            for (int c = 0; c < size.cols; ++c) {
                p.map.at(c, r) = static_cast<int32_t>(random() % 256);
                p.map.attr(c, r) = static_cast<uint8_t>(random());
            }
        p.colour0 = static_cast<Colour>(random() & 0xFFFFFF);
        p.colour1 = static_cast<Colour>(random() & 0xFFFFFF);
        if (round % 2) {
            p.kept = R"({"sprites":[1,2],"note":"by hand"})";
            p.tiles = TileSet(1 + random() % 8, 1 + random() % 8, 1 + random() % 300);
            for (int t = 0; t < p.tiles.count(); ++t)
                p.tiles.set_cell(t, random() % p.tiles.width(), random() % p.tiles.height(),
                                 {static_cast<uint8_t>(random()), static_cast<uint8_t>(random())});
            p.level = Level(1 + random() % 70, 1 + random() % 40);
            for (int k = 0; k < 50; ++k)
                p.level.set(random() % p.level.cols(), random() % p.level.rows(),
                            static_cast<uint16_t>(random() % p.tiles.count()));
        }
        const std::string text = project_text(p);
        ASSERT_TRUE(is_project(bytes_of(text)));
        Project back;
        ASSERT_EQ(read_project(bytes_of(text), back), "");
        EXPECT_TRUE(same(back, p));
        EXPECT_EQ(project_text(back), text);
    }
}

TEST(Project, TextHasAGlyphOrARowALine) {
    Project p;
    p.charset.glyph(65)[0] = 0x18;
    const std::string text = project_text(p);
    EXPECT_NE(text.find("\n    \"1800000000000000\",\n"), std::string::npos);
    EXPECT_EQ(text.find("\"format\": \"fontarel-project\""), 4u) << text.substr(0, 40);
    EXPECT_NE(text.find("\"bit1\": \"#ffffff\""), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
}

TEST(Project, MalformedFilesNameWhatIsWrongAndChangeNothing) {
    Project good;
    good.map.machine = MapMachine::C64;
    good.map.background = 6;
    const std::string text = project_text(good);
    // The good text with `from` replaced by `to`.
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    const struct {
        std::string file;
        const char* says;
    } cases[] = {
        {"", "is not valid JSON: "},
        {"[1, 2]", "is not a JSON object"},
        {with("\"fontarel-project\"", "\"other\""), "\"format\" is not \"fontarel-project\""},
        {with("\"version\": 1", "\"version\": 2"),
         "\"version\" is 2: the project was written by a newer fontarel"},
        {with("\"version\": 1", "\"version\": \"1\""), "\"version\" is not a version number"},
        {with("\"machine\": \"C64\"", "\"machine\": \"VIC\""), "\"machine\" is \"VIC\", not Mono"},
        {with("\"machine\": \"C64\"", "\"machine\": 64"), "\"machine\" is not a string"},
        {with("\"background\": 6", "\"background\": 16"), "\"background\" is 16, not 0-15"},
        {with("\"on\": false", "\"on\": 0"), "\"multicolour.on\" is not true or false"},
        {with("\"colour_2\": 2", "\"colour_2\": 16"), "\"multicolour.colour_2\" is 16, not 0-15"},
        {with("\"#000000\"", "\"black\""), "\"colours.bit0\" is not a colour \"#rrggbb\""},
        {with("\"glyphs\": [", "\"glyphs\": [\"00\","), "\"glyphs\" is not a list of 256"},
        {with("\"0000000000000000\"", "\"000000000000000g\""),
         "\"glyphs[0]\" is not 16 hexadecimal digits"},
        {with("\"rows\": 24", "\"rows\": 26"),
         "\"map.columns\" and \"map.rows\" are 40x26, not a map size"},
        {with("\"columns\": 40", "\"columns\": -1"), "\"map.columns\" is -1, not 1-80"},
        {with("\"columns\": 40,", ""), "\"map.columns\" is missing"},
        {with("\"attributes\": [\n      \"", "\"attributes\": [\n      7, \""),
         "\"map.attributes\" is not a list of 24"},
        {text.substr(0, text.size() / 2), "is not valid JSON: "},
    };
    for (const auto& c : cases) {
        Project read = good;
        read.charset.bytes.fill(0x5A);
        const std::string said = read_project(bytes_of(c.file), read);
        EXPECT_EQ(said.rfind(c.says, 0), 0u) << said;
        EXPECT_EQ(read.charset.glyph(0)[0], 0x5A) << c.says;
    }
    EXPECT_FALSE(is_project(bytes_of("{\"format\": \"other\"}")));
    EXPECT_FALSE(is_project(bytes_of("fontarel-project")));
}

} // namespace
} // namespace fontarel
