// The TMX text is built line by line; the tile grid is one CSV line a level row, so no line grows
// past one row of the level and the text's size follows the level's cells.

#include "formats/export_tmx.h"

#include <algorithm>

#include "model/map_colours.h"

namespace fontarel {

namespace {

// Text as an XML attribute value between double quotes.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string attribute(const char* name, std::string_view value) {
    return std::string(" ") + name + "=\"" + escaped(value) + "\"";
}
std::string attribute(const char* name, int value) {
    return attribute(name, std::to_string(value));
}

void add_property(std::string& out, const char* name, int value) {
    out += "  <property" + attribute("name", name) + " type=\"int\"" + attribute("value", value) +
           "/>\n";
}
void add_property(std::string& out, const char* name, bool value) {
    out += "  <property" + attribute("name", name) + " type=\"bool\"" +
           attribute("value", value ? "true" : "false") + "/>\n";
}

std::string properties(const ScreenLook& look) {
    std::string out = " <properties>\n";
    out += "  <property" + attribute("name", "machine") +
           attribute("value", machine_name(look.machine)) + "/>\n";
    if (look.machine != MapMachine::Mono && look.machine != MapMachine::Atari)
        add_property(out, "background", int{look.background});
    if (look.machine == MapMachine::Atari) {
        static constexpr const char* kColpf[] = {"colpf0", "colpf1", "colpf2", "colpf3"};
        add_property(out, "atari_mode", int{look.atari_mode});
        add_property(out, "colbk", int{look.colbk});
        for (size_t i = 0; i < look.colpf.size(); ++i)
            add_property(out, kColpf[i], int{look.colpf[i]});
    }
    if (look.machine == MapMachine::C64) {
        add_property(out, "multicolour", look.multicolour());
        add_property(out, "multicolour_1", int{look.multicolour_1});
        add_property(out, "multicolour_2", int{look.multicolour_2});
        add_property(out, "extended_background", look.extended());
        add_property(out, "background_1", int{look.background_1});
        add_property(out, "background_2", int{look.background_2});
        add_property(out, "background_3", int{look.background_3});
    }
    return out + " </properties>\n";
}

} // namespace

TilesetLayout tileset_layout(const TileSet& tiles) {
    TilesetLayout out;
    out.columns = std::min(tiles.count(), kTilesetPictureMostColumns);
    out.rows = (tiles.count() + out.columns - 1) / out.columns;
    out.tile_width = 8 * tiles.width();
    out.tile_height = 8 * tiles.height();
    return out;
}

std::string tileset_picture_path(std::string_view tmx_path) {
    constexpr std::string_view kTmx = ".tmx";
    std::string_view stem = tmx_path;
    if (stem.size() > kTmx.size() &&
        std::equal(kTmx.begin(), kTmx.end(), stem.end() - kTmx.size(), [](char lower, char c) {
            return c == lower || (lower >= 'a' && c == lower - 'a' + 'A');
        }))
        stem.remove_suffix(kTmx.size());
    return std::string(stem) + ".tiles.png";
}

std::string tmx_text(const TileSet& tiles, const Level& level, const ScreenLook& look,
                     std::string_view image_source) {
    const TilesetLayout layout = tileset_layout(tiles);
    std::string out;
    // About five characters a tile number, and a few hundred for the rest.
    out.reserve(static_cast<size_t>(level.cols()) * level.rows() * 5 + 1024);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\"" +
           attribute("width", level.cols()) + attribute("height", level.rows()) +
           attribute("tilewidth", layout.tile_width) + attribute("tileheight", layout.tile_height) +
           " infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n";
    out += properties(look);
    out += " <tileset firstgid=\"1\" name=\"tiles\"" + attribute("tilewidth", layout.tile_width) +
           attribute("tileheight", layout.tile_height) + attribute("tilecount", tiles.count()) +
           attribute("columns", layout.columns) + ">\n";
    out += "  <image" + attribute("source", image_source) + attribute("width", layout.width()) +
           attribute("height", layout.height()) + "/>\n";
    out += " </tileset>\n";
    out += " <layer id=\"1\" name=\"level\"" + attribute("width", level.cols()) +
           attribute("height", level.rows()) + ">\n";
    out += "  <data encoding=\"csv\">\n";
    for (int y = 0; y < level.rows(); ++y) {
        for (int x = 0; x < level.cols(); ++x) {
            out += std::to_string(level.at(x, y) + 1);
            // Every number but the grid's last is followed by a comma, the row's last by a
            // line break too.
            if (x + 1 < level.cols() || y + 1 < level.rows())
                out += ',';
        }
        out += '\n';
    }
    out += "  </data>\n </layer>\n</map>\n";
    return out;
}

} // namespace fontarel
