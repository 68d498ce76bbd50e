// The level as a TMX map, read back out of the text: sizes, the tileset's grid, the CSV of tile
// numbers plus one and the properties of each machine and mode; and the tileset picture's name.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "formats/export_tmx.h"

using namespace fontarel;

namespace {

// Every match of `pattern` in `text`, its groups joined by '='.
std::vector<std::string> found(const std::string& text, const std::string& pattern) {
    std::vector<std::string> out;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
        std::string groups;
        for (size_t g = 1; g < it->size(); ++g)
            groups += (g > 1 ? "=" : "") + (*it)[g].str();
        out.push_back(groups);
    }
    return out;
}

TEST(TmxExport, SizesGridNumbersAndPropertiesOfEachMachineAndMode) {
    auto c64 = [](const char* multicolour, const char* extended) {
        return std::vector<std::string>{
            "machine=C64",     "background=6",     std::string("multicolour=") + multicolour,
            "multicolour_1=9", "multicolour_2=13", std::string("extended_background=") + extended,
            "background_1=4",  "background_2=5",   "background_3=14"};
    };
    const std::vector<std::string> zx = {"machine=ZX Spectrum", "background=6"};
    const std::vector<std::string> pc = {"machine=PC text", "background=6"};
    const struct {
        MapMachine machine;
        TextMode mode;
        int tile_w, tile_h, count, cols, rows;
        // The map's columns, rows, tile width and height; the tileset's tile width, height, count
        // and columns; the image's width and height; the layer's columns and rows.
        const char* sizes;
        std::vector<std::string> properties;
    } cases[] = {
        {MapMachine::Mono,
         TextMode::Multicolour,
         1,
         1,
         1,
         1,
         1,
         "1=1=8=8 8=8=1=1 8=8 1=1",
         {"machine=Mono"}},
        {MapMachine::C64, TextMode::Multicolour, 3, 2, 16, 7, 4, "7=4=24=16 24=16=16=16 384=16 7=4",
         c64("true", "false")},
        {MapMachine::C64, TextMode::ExtendedBackground, 2, 5, 17, 3, 9,
         "3=9=16=40 16=40=17=16 256=80 3=9", c64("false", "true")},
        {MapMachine::C64, TextMode::Standard, 8, 8, 4096, 40, 2,
         "40=2=64=64 64=64=4096=16 1024=16384 40=2", c64("false", "false")},
        {MapMachine::ZxSpectrum, TextMode::Multicolour, 4, 4, 33, 5, 5,
         "5=5=32=32 32=32=33=16 512=96 5=5", zx},
        {MapMachine::PcText, TextMode::Standard, 2, 1, 5, 2, 3, "2=3=16=8 16=8=5=5 80=8 2=3", pc},
        {MapMachine::Atari,
         TextMode::Standard,
         1,
         2,
         3,
         2,
         2,
         "2=2=8=16 8=16=3=3 24=16 2=2",
         {"machine=Atari", "atari_mode=2", "colbk=0", "colpf0=40", "colpf1=202", "colpf2=148",
          "colpf3=70"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sizes);
        const TileSet tiles(c.tile_w, c.tile_h, c.count);
        Level level(c.cols, c.rows);
        std::vector<std::string> numbers;
        for (int y = 0; y < c.rows; ++y)
            for (int x = 0; x < c.cols; ++x) {
                level.set(x, y, static_cast<uint16_t>((x * 7 + y * 13) % c.count));
                numbers.push_back(std::to_string(level.at(x, y) + 1));
            }
        const std::string text = tmx_text(
            tiles, level, ScreenLook{c.machine, c.mode, 6, 9, 13, 4, 5, 14}, "a&b\"<>.tiles.png");
        const auto one = [&](const std::string& pattern) {
            const auto all = found(text, pattern);
            return all.size() == 1 ? all[0] : "(" + std::to_string(all.size()) + " matches)";
        };
        const std::string map = one("<map version=\"1.8\" orientation=\"orthogonal\" "
                                    "renderorder=\"right-down\" width=\"(\\d+)\" height=\"(\\d+)\" "
                                    "tilewidth=\"(\\d+)\" tileheight=\"(\\d+)\" infinite=\"0\"");
        const std::string tileset =
            one("<tileset firstgid=\"1\" [^>]*tilewidth=\"(\\d+)\" "
                "tileheight=\"(\\d+)\" tilecount=\"(\\d+)\" columns=\"(\\d+)\"");
        const std::string image =
            one("<image source=\"a&amp;b&quot;&lt;&gt;.tiles.png\" width=\"(\\d+)\" "
                "height=\"(\\d+)\"/>");
        EXPECT_EQ(map + " " + tileset + " " + image + " " +
                      one("<layer [^>]*width=\"(\\d+)\" height=\"(\\d+)\""),
                  c.sizes);
        const std::string data = one("<data encoding=\"csv\">\n([\\d,\n]*)\n  </data>");
        EXPECT_EQ(found(data, "(\\d+)"), numbers);
        EXPECT_NE(data.back(), ',');
        EXPECT_EQ(found(data, "(,\n)").size(), size_t(c.rows - 1)) << "a line a row, no comma last";
        EXPECT_EQ(found(text, "<property name=\"(\\w+)\"[^>]* value=\"([^\"]+)\"/>"), c.properties);
    }
    for (const auto& [map, picture] :
         std::vector<std::pair<std::string, std::string>>{{"dir/LEVEL.TMX", "dir/LEVEL.tiles.png"},
                                                          {"level", "level.tiles.png"},
                                                          {"a.tmx/l.xml", "a.tmx/l.xml.tiles.png"},
                                                          {".tmx", ".tmx.tiles.png"},
                                                          {"level.Tmx", "level.tiles.png"}})
        EXPECT_EQ(tileset_picture_path(map), picture) << map;
}

} // namespace
