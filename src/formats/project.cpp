#include "formats/project.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/labels.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

// Keys in the order they are written, which the file keeps.
using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "fontarel-project";
constexpr int kVersion = 1;
// How far into a file is_project looks for the format's name.
constexpr size_t kSniffBytes = 4096;
constexpr const char* kKnownKeys[] = {"format", "version", "machine", "background", "multicolour",
                                      "colours", "glyphs",  "map",        "tiles",
                                      "level"};

// Why a file is refused; thrown only inside this file and turned into read_project's text.
struct Refusal {
    std::string why;
};

[[noreturn]] void refuse(const std::string& where, const std::string& what) {
    throw Refusal{"\"" + where + "\" " + what};
}

const Json& member(const Json& object, const std::string& key, const std::string& where) {
    const auto it = object.find(key);
    if (it == object.end())
        refuse(where, "is missing");
    return *it;
}

const Json& object_at(const Json& object, const std::string& key, const std::string& where) {
    const Json& v = member(object, key, where);
    if (!v.is_object())
        refuse(where, "is not an object");
    return v;
}

const Json& array_at(const Json& object, const std::string& key, const std::string& where,
                     size_t count) {
    const Json& v = member(object, key, where);
    if (!v.is_array() || v.size() != count)
        refuse(where, "is not a list of " + std::to_string(count));
    return v;
}

int integer_at(const Json& object, const std::string& key, const std::string& where, int lo,
               int hi) {
    const Json& v = member(object, key, where);
    if (!v.is_number_integer())
        refuse(where, "is not a whole number");
    const auto n = v.get<int64_t>();
    if (n < lo || n > hi)
        refuse(where, "is " + std::to_string(n) + ", not " + std::to_string(lo) + "-" +
                          std::to_string(hi));
    return static_cast<int>(n);
}

const std::string& text_of(const Json& v, const std::string& where) {
    if (!v.is_string())
        refuse(where, "is not a string");
    return v.get_ref<const std::string&>();
}

// `count` bytes from a string of 2 * count hexadecimal digits, into `out`.
void hex_bytes(const Json& v, const std::string& where, std::span<uint8_t> out) {
    const std::string& s = text_of(v, where);
    if (s.size() != 2 * out.size())
        refuse(where, "is not " + std::to_string(2 * out.size()) + " hexadecimal digits");
    for (size_t i = 0; i < out.size(); ++i) {
        const int hi = hex_digit_value(s[2 * i]), lo = hex_digit_value(s[2 * i + 1]);
        if (hi < 0 || lo < 0)
            refuse(where, "is not " + std::to_string(2 * out.size()) + " hexadecimal digits");
        out[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
}

std::string hex_text(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    s.reserve(2 * bytes.size());
    for (uint8_t b : bytes) {
        s += kDigits[b >> 4];
        s += kDigits[b & 15];
    }
    return s;
}

// "#rrggbb" of a colour value (red + 256 green + 65536 blue), and back.
std::string colour_text(Colour c) {
    const std::array<uint8_t, 3> rgb_bytes = {static_cast<uint8_t>(c & 0xFF),
                                              static_cast<uint8_t>(c >> 8 & 0xFF),
                                              static_cast<uint8_t>(c >> 16 & 0xFF)};
    return "#" + hex_text(rgb_bytes);
}

Colour colour_at(const Json& object, const std::string& key, const std::string& where) {
    const std::string& s = text_of(member(object, key, where), where);
    std::array<uint8_t, 3> c{};
    if (s.size() != 7 || s[0] != '#')
        refuse(where, "is not a colour \"#rrggbb\"");
    hex_bytes(Json(s.substr(1)), where, c);
    return rgb(c[0], c[1], c[2]);
}

MapMachine machine_at(const Json& object) {
    const std::string& name = text_of(member(object, "machine", "machine"), "machine");
    for (int m = 0; m < kMapMachineCount; ++m)
        if (name == machine_name(static_cast<MapMachine>(m)))
            return static_cast<MapMachine>(m);
    refuse("machine", "is \"" + name + "\", not Mono, C64, ZX Spectrum or PC text");
}

std::string sizes_text() {
    std::string s;
    for (const MapSize& size : kMapSizes)
        s += (s.empty() ? "" : ", ") + std::to_string(size.cols) + "x" + std::to_string(size.rows);
    return s;
}

// "tiles" and "level", each optional.
void read_levels(const Json& root, Project& p) {
    if (root.contains("tiles")) {
        const Json& tiles = object_at(root, "tiles", "tiles");
        const int w = integer_at(tiles, "width", "tiles.width", 1, kMaxTileSide);
        const int h = integer_at(tiles, "height", "tiles.height", 1, kMaxTileSide);
        const Json& codes = member(tiles, "codes", "tiles.codes");
        if (!codes.is_array() || codes.empty() || codes.size() > kMaxTiles)
            refuse("tiles.codes", "is not a list of 1-" + std::to_string(kMaxTiles));
        const Json& attrs = array_at(tiles, "attributes", "tiles.attributes", codes.size());
        TileSet set(w, h, static_cast<int>(codes.size()));
        std::vector<uint8_t> code_bytes(static_cast<size_t>(w * h)), attr_bytes(code_bytes.size());
        for (size_t t = 0; t < codes.size(); ++t) {
            const std::string at = "[" + std::to_string(t) + "]";
            hex_bytes(codes[t], "tiles.codes" + at, code_bytes);
            hex_bytes(attrs[t], "tiles.attributes" + at, attr_bytes);
            for (int i = 0; i < w * h; ++i)
                set.set_cell(static_cast<int>(t), i % w, i / w,
                             {code_bytes[static_cast<size_t>(i)], attr_bytes[static_cast<size_t>(i)]});
        }
        p.tiles = std::move(set);
    }
    if (root.contains("level")) {
        const Json& level = object_at(root, "level", "level");
        const int cols = integer_at(level, "columns", "level.columns", 1, kMaxLevelSide);
        const int rows = integer_at(level, "rows", "level.rows", 1, kMaxLevelSide);
        const Json& lines = array_at(level, "tiles", "level.tiles", static_cast<size_t>(rows));
        Level out(cols, rows);
        std::vector<uint8_t> line(static_cast<size_t>(2 * cols));
        for (int r = 0; r < rows; ++r) {
            const std::string at = "level.tiles[" + std::to_string(r) + "]";
            hex_bytes(lines[static_cast<size_t>(r)], at, line);
            for (int c = 0; c < cols; ++c) {
                const int t = line[2 * static_cast<size_t>(c)] << 8 | line[2 * static_cast<size_t>(c) + 1];
                if (t >= p.tiles.count())
                    refuse(at, "has tile " + std::to_string(t) + ", past the " +
                                   std::to_string(p.tiles.count()) + " tiles");
                out.set(c, r, static_cast<uint16_t>(t));
            }
        }
        p.level = std::move(out);
    }
}

void write_levels(const Project& project, Json& j) {
    const TileSet& tiles = project.tiles;
    if (!(tiles == TileSet{}) || !(project.level == Level{})) {
        Json codes = Json::array(), attrs = Json::array();
        std::vector<uint8_t> c(static_cast<size_t>(tiles.width() * tiles.height())), a(c.size());
        for (int t = 0; t < tiles.count(); ++t) {
            for (int i = 0; i < tiles.width() * tiles.height(); ++i) {
                const TileCell cell = tiles.cell(t, i % tiles.width(), i / tiles.width());
                c[static_cast<size_t>(i)] = cell.code;
                a[static_cast<size_t>(i)] = cell.attr;
            }
            codes.push_back(hex_text(c));
            attrs.push_back(hex_text(a));
        }
        j["tiles"] = {{"width", tiles.width()},
                      {"height", tiles.height()},
                      {"codes", std::move(codes)},
                      {"attributes", std::move(attrs)}};
        const Level& level = project.level;
        Json lines = Json::array();
        std::vector<uint8_t> line(2 * static_cast<size_t>(level.cols()));
        for (int r = 0; r < level.rows(); ++r) {
            for (int x = 0; x < level.cols(); ++x) {
                line[2 * static_cast<size_t>(x)] = static_cast<uint8_t>(level.at(x, r) >> 8);
                line[2 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(level.at(x, r));
            }
            lines.push_back(hex_text(line));
        }
        j["level"] = {{"columns", level.cols()}, {"rows", level.rows()}, {"tiles", std::move(lines)}};
    }
}

Project parse(const Json& root) {
    if (!root.is_object())
        throw Refusal{"is not a JSON object"};
    const Json& format = member(root, "format", "format");
    if (!format.is_string() || format.get_ref<const std::string&>() != kFormat)
        refuse("format", "is not \"fontarel-project\"");
    const Json& version = member(root, "version", "version");
    if (!version.is_number_integer() || version.get<int64_t>() < 1)
        refuse("version", "is not a version number");
    if (version.get<int64_t>() > kVersion)
        refuse("version", "is " + std::to_string(version.get<int64_t>()) +
                              ": the project was written by a newer fontarel");

    Project p;
    p.map.machine = machine_at(root);
    const int backgrounds = background_choices(p.map.machine);
    p.map.background = static_cast<uint8_t>(
        integer_at(root, "background", "background", 0, std::max(backgrounds - 1, 0)));
    // Optional: files of C64 maps written before multicolour have none.
    if (root.contains("multicolour")) {
        const Json& mc = object_at(root, "multicolour", "multicolour");
        const Json& on = member(mc, "on", "multicolour.on");
        if (!on.is_boolean())
            refuse("multicolour.on", "is not true or false");
        p.map.multicolour = on.get<bool>();
        p.map.multicolour_1 =
            static_cast<uint8_t>(integer_at(mc, "colour_1", "multicolour.colour_1", 0, 15));
        p.map.multicolour_2 =
            static_cast<uint8_t>(integer_at(mc, "colour_2", "multicolour.colour_2", 0, 15));
    }
    const Json& colours = object_at(root, "colours", "colours");
    p.colour0 = colour_at(colours, "bit0", "colours.bit0");
    p.colour1 = colour_at(colours, "bit1", "colours.bit1");

    const Json& glyphs = array_at(root, "glyphs", "glyphs", kGlyphCount);
    for (int g = 0; g < kGlyphCount; ++g)
        hex_bytes(glyphs[static_cast<size_t>(g)], "glyphs[" + std::to_string(g) + "]",
                  p.charset.glyph(g));

    const Json& map = object_at(root, "map", "map");
    const int cols = integer_at(map, "columns", "map.columns", 1, kMapCapacityCols - 1);
    const int rows = integer_at(map, "rows", "map.rows", 1, kMapCapacityRows - 1);
    if (!is_map_size(cols, rows))
        refuse("map.columns", "and \"map.rows\" are " + std::to_string(cols) + "x" +
                                  std::to_string(rows) + ", not a map size (" + sizes_text() + ")");
    p.map.cols = cols;
    p.map.rows = rows;
    for (auto& row : p.map.attrs)
        row.fill(blank_attribute(p.map.machine));
    const Json& codes = array_at(map, "codes", "map.codes", static_cast<size_t>(rows));
    const Json& attrs = array_at(map, "attributes", "map.attributes", static_cast<size_t>(rows));
    std::vector<uint8_t> line(static_cast<size_t>(cols));
    for (int r = 0; r < rows; ++r) {
        const std::string at = "[" + std::to_string(r) + "]";
        hex_bytes(codes[static_cast<size_t>(r)], "map.codes" + at, line);
        std::copy(line.begin(), line.end(), p.map.cells[static_cast<size_t>(r)].begin());
        hex_bytes(attrs[static_cast<size_t>(r)], "map.attributes" + at,
                  std::span(p.map.attrs[static_cast<size_t>(r)]).first(line.size()));
    }

    read_levels(root, p);

    Json kept = Json::object();
    for (const auto& [key, value] : root.items())
        if (std::ranges::find(kKnownKeys, key) == std::end(kKnownKeys))
            kept[key] = value;
    if (!kept.empty())
        p.kept = kept.dump();
    return p;
}

} // namespace

bool is_project(std::span<const uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()),
                                std::min(bytes.size(), kSniffBytes));
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{' &&
           text.find("\"" + std::string(kFormat) + "\"") != std::string_view::npos;
}

std::string project_text(const Project& project) {
    const CharMap& map = project.map;
    Json j;
    j["format"] = kFormat;
    j["version"] = kVersion;
    j["machine"] = machine_name(map.machine);
    j["background"] = map.background;
    if (map.machine == MapMachine::C64)
        j["multicolour"] = {{"on", map.multicolour},
                            {"colour_1", map.multicolour_1},
                            {"colour_2", map.multicolour_2}};
    j["colours"] = {{"bit0", colour_text(project.colour0)}, {"bit1", colour_text(project.colour1)}};
    Json glyphs = Json::array();
    for (int g = 0; g < kGlyphCount; ++g)
        glyphs.push_back(hex_text(project.charset.glyph(g)));
    j["glyphs"] = std::move(glyphs);
    Json codes = Json::array(), attrs = Json::array();
    std::vector<uint8_t> line(static_cast<size_t>(std::clamp(map.cols, 0, kMapCapacityCols)));
    for (int r = 0; r < std::clamp(map.rows, 0, kMapCapacityRows); ++r) {
        for (size_t c = 0; c < line.size(); ++c)
            line[c] = static_cast<uint8_t>(map.cells[static_cast<size_t>(r)][c]);
        codes.push_back(hex_text(line));
        attrs.push_back(hex_text(std::span(map.attrs[static_cast<size_t>(r)]).first(line.size())));
    }
    j["map"] = {{"columns", map.cols},
                {"rows", map.rows},
                {"codes", std::move(codes)},
                {"attributes", std::move(attrs)}};
    write_levels(project, j);
    if (!project.kept.empty()) {
        const Json kept = Json::parse(project.kept, nullptr, false);
        if (kept.is_object())
            for (const auto& [key, value] : kept.items())
                if (!j.contains(key))
                    j[key] = value;
    }
    return j.dump(2) + "\n";
}

std::string read_project(std::span<const uint8_t> bytes, Project& out) {
    try {
        out = parse(Json::parse(bytes.begin(), bytes.end()));
        return {};
    } catch (const Refusal& r) {
        return r.why;
    } catch (const Json::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 2, column 3: ..." without its tag.
        const std::string_view what = e.what();
        const size_t tag = what.find("] ");
        return "is not valid JSON: " +
               std::string(tag == std::string_view::npos ? what : what.substr(tag + 2));
    }
}

} // namespace fontarel
