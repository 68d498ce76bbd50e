// The level as a TMX map: its sizes, the tileset's grid, the CSV of tile numbers plus one and the
// map properties of each machine and mode, read back out of the text; and the tileset picture's
// name beside the map.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/export_tmx.h"

using namespace fontarel;

namespace {

// The value of attribute `name` in the first element `tag` of the text; "" when absent.
std::string attribute(const std::string& text, const std::string& tag, const std::string& name) {
    const size_t start = text.find("<" + tag + " ");
    if (start == std::string::npos)
        return "";
    const size_t end = text.find('>', start);
    const size_t at = text.find(" " + name + "=\"", start);
    if (at == std::string::npos || at > end)
        return "";
    const size_t value = at + name.size() + 3;
    return text.substr(value, text.find('"', value) - value);
}

// "name=value" of every property, in order.
std::vector<std::string> properties(const std::string& text) {
    std::vector<std::string> out;
    for (size_t at = text.find("<property "); at != std::string::npos;
         at = text.find("<property ", at + 1)) {
        const std::string element = text.substr(at, text.find('>', at) - at);
        out.push_back(attribute(element + ">", "property", "name") + "=" +
                      attribute(element + ">", "property", "value"));
    }
    return out;
}

// The numbers of the CSV data, and its lines.
std::vector<int> csv(const std::string& text, int& lines) {
    const std::string open = "<data encoding=\"csv\">\n";
    const size_t start = text.find(open) + open.size();
    const std::string data = text.substr(start, text.find("</data>") - start);
    std::vector<int> out;
    lines = 0;
    std::string number;
    for (char c : data) {
        if (c >= '0' && c <= '9') {
            number += c;
            continue;
        }
        if (!number.empty())
            out.push_back(std::stoi(number));
        number.clear();
        lines += c == '\n';
    }
    return out;
}

TEST(TmxExport, SizesGridNumbersAndPropertiesOfEachMachineAndMode) {
    const std::vector<std::string> c64_registers = {"multicolour_1=9", "multicolour_2=13",
                                                    "background_1=4", "background_2=5",
                                                    "background_3=14"};
    auto c64 = [&](bool multicolour, bool extended) {
        std::vector<std::string> out = {"machine=C64", "background=6",
                                        std::string("multicolour=") +
                                            (multicolour ? "true" : "false")};
        out.insert(out.end(), c64_registers.begin(), c64_registers.begin() + 2);
        out.push_back(std::string("extended_background=") + (extended ? "true" : "false"));
        out.insert(out.end(), c64_registers.begin() + 2, c64_registers.end());
        return out;
    };
    const std::vector<std::string> zx = {"machine=ZX Spectrum", "background=6"};
    const std::vector<std::string> pc = {"machine=PC text", "background=6"};
    const struct {
        MapMachine machine;
        TextMode mode;
        int tile_w, tile_h, count, cols, rows;
        int columns, picture_rows;
        std::vector<std::string> properties;
    } cases[] = {
        {MapMachine::Mono, TextMode::Multicolour, 1, 1, 1, 1, 1, 1, 1, {"machine=Mono"}},
        {MapMachine::C64, TextMode::Multicolour, 3, 2, 16, 7, 4, 16, 1, c64(true, false)},
        {MapMachine::C64, TextMode::ExtendedBackground, 2, 5, 17, 3, 9, 16, 2, c64(false, true)},
        {MapMachine::C64, TextMode::Standard, 8, 8, 4096, 40, 2, 16, 256, c64(false, false)},
        {MapMachine::ZxSpectrum, TextMode::Multicolour, 4, 4, 33, 5, 5, 16, 3, zx},
        {MapMachine::PcText, TextMode::Standard, 2, 1, 5, 2, 3, 5, 1, pc},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " tiles of " + std::to_string(c.tile_w) + " x " +
                     std::to_string(c.tile_h));
        ScreenLook look{c.machine, c.mode, 6, 9, 13, 4, 5, 14};
        const TileSet tiles(c.tile_w, c.tile_h, c.count);
        Level level(c.cols, c.rows);
        std::vector<int> want;
        for (int y = 0; y < c.rows; ++y)
            for (int x = 0; x < c.cols; ++x) {
                level.set(x, y, static_cast<uint16_t>((x * 7 + y * 13) % c.count));
                want.push_back(level.at(x, y) + 1);
            }
        const std::string text = tmx_text(tiles, level, look, "a&b\".tiles.png");

        const auto map = [&](const char* name) { return attribute(text, "map", name); };
        EXPECT_EQ(map("version"), "1.8");
        EXPECT_EQ(map("orientation") + map("renderorder") + map("infinite"),
                  "orthogonalright-down0");
        EXPECT_EQ(map("width"), std::to_string(c.cols));
        EXPECT_EQ(map("height"), std::to_string(c.rows));
        EXPECT_EQ(map("tilewidth"), std::to_string(8 * c.tile_w));
        EXPECT_EQ(map("tileheight"), std::to_string(8 * c.tile_h));
        const auto tileset = [&](const char* name) { return attribute(text, "tileset", name); };
        EXPECT_EQ(tileset("firstgid"), "1");
        EXPECT_EQ(tileset("tilewidth"), std::to_string(8 * c.tile_w));
        EXPECT_EQ(tileset("tileheight"), std::to_string(8 * c.tile_h));
        EXPECT_EQ(tileset("tilecount"), std::to_string(c.count));
        EXPECT_EQ(tileset("columns"), std::to_string(c.columns));
        EXPECT_EQ(attribute(text, "image", "source"), "a&amp;b&quot;.tiles.png");
        EXPECT_EQ(attribute(text, "image", "width"), std::to_string(8 * c.tile_w * c.columns));
        EXPECT_EQ(attribute(text, "image", "height"),
                  std::to_string(8 * c.tile_h * c.picture_rows));
        const TilesetLayout layout = tileset_layout(tiles);
        EXPECT_EQ(layout.width(), 8 * c.tile_w * c.columns);
        EXPECT_EQ(layout.height(), 8 * c.tile_h * c.picture_rows);
        EXPECT_EQ(attribute(text, "layer", "width") + "x" + attribute(text, "layer", "height"),
                  std::to_string(c.cols) + "x" + std::to_string(c.rows));
        int lines = 0;
        EXPECT_EQ(csv(text, lines), want);
        EXPECT_EQ(lines, c.rows) << "a line a level row";
        EXPECT_EQ(text.find(",\n  </data>"), std::string::npos) << "no comma after the last";
        EXPECT_EQ(properties(text), c.properties);
    }
}

TEST(TmxExport, TilesetPictureIsNamedAfterTheMap) {
    const struct {
        const char* map;
        const char* picture;
    } cases[] = {
        {"level.tmx", "level.tiles.png"}, {"dir/LEVEL.TMX", "dir/LEVEL.tiles.png"},
        {"level", "level.tiles.png"},     {"a.tmx/level.xml", "a.tmx/level.xml.tiles.png"},
        {".tmx", ".tmx.tiles.png"},       {"level.tm", "level.tm.tiles.png"},
        {"level.Tmx", "level.tiles.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tileset_picture_path(c.map), c.picture) << c.map;
}

} // namespace
