#include "formats/project.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "formats/project_levels.h"
#include "formats/project_parts.h"
#include "model/labels.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

using namespace project_parts;

constexpr std::string_view kFormat = "fontarel-project";
constexpr int kVersion = 1;
// How far into a file is_project looks for the format's name.
constexpr size_t kSniffBytes = 4096;
// The keys the program reads in each object; any other is kept.
constexpr std::string_view kKnownKeys[] = {"format",    "version", "machine", "background",
                                           "multicolour", "ecm",   "atari",   "colours",
                                           "glyphs",    "materials", "map",   "tiles",
                                           "level"};
constexpr std::string_view kMulticolourKeys[] = {"on", "colour_1", "colour_2"};
constexpr std::string_view kEcmKeys[] = {"on", "background_1", "background_2", "background_3"};
constexpr std::string_view kAtariKeys[] = {"mode", "colbk", "colpf"};
constexpr std::string_view kColourKeys[] = {"bit0", "bit1"};
constexpr std::string_view kMapKeys[] = {"columns", "rows", "codes", "attributes"};

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
    refuse("machine", "is \"" + name + "\", not Mono, C64, ZX Spectrum, PC text or Atari");
}

std::string sizes_text() {
    std::string s;
    for (const MapSize& size : kMapSizes)
        s += (s.empty() ? "" : ", ") + std::to_string(size.cols) + "x" + std::to_string(size.rows);
    return s;
}

// Notes in `kept` the members of root[key] that the program does not read.
void keep_unknown(const Json& root, const std::string& key, std::span<const std::string_view> known,
                  Json& kept) {
    if (Json more = unknown_members(root[key], known); !more.empty())
        kept[key] = std::move(more);
}

// An Atari colour register's value: even, 0-254.
uint8_t atari_colour_at(const Json& object, const std::string& key, const std::string& where) {
    const int value = integer_at(object, key, where, 0, 255);
    if (!is_atari_colour(value))
        refuse(where, "is " + std::to_string(value) + ", not an even colour value 0-254");
    return static_cast<uint8_t>(value);
}

// Optional: files written before the Atari have none, and keep the registers' start values.
void read_atari(const Json& root, ScreenLook& look, Json& kept) {
    if (!root.contains("atari"))
        return;
    const Json& atari = object_at(root, "atari", "atari");
    const int mode = integer_at(atari, "mode", "atari.mode", 0, 255);
    if (!is_atari_mode(mode))
        refuse("atari.mode", "is " + std::to_string(mode) + ", not 2, 4 or 5");
    look.atari_mode = static_cast<uint8_t>(mode);
    look.colbk = atari_colour_at(atari, "colbk", "atari.colbk");
    const Json& colpf = array_at(atari, "colpf", "atari.colpf", look.colpf.size());
    for (size_t i = 0; i < look.colpf.size(); ++i) {
        const std::string index = std::to_string(i);
        look.colpf[i] = atari_colour_at(Json{{index, colpf[i]}}, index,
                                        "atari.colpf[" + std::to_string(i) + "]");
    }
    keep_unknown(root, "atari", kAtariKeys, kept);
}

void read_map(const Json& root, Project& p, Json& kept) {
    const Json& map = object_at(root, "map", "map");
    const int cols = integer_at(map, "columns", "map.columns", 1, kMapCapacityCols - 1);
    const int rows = integer_at(map, "rows", "map.rows", 1, kMapCapacityRows - 1);
    if (!is_map_size(cols, rows))
        refuse("map.columns", "and \"map.rows\" are " + std::to_string(cols) + "x" +
                                  std::to_string(rows) + ", not a map size (" + sizes_text() + ")");
    p.map.cols = cols;
    p.map.rows = rows;
    for (auto& row : p.map.attrs)
        row.fill(blank_attribute(p.map.look.machine));
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
    keep_unknown(root, "map", kMapKeys, kept);
}

Project parse(const Json& root, const PackedTexts& packed) {
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
    // The top-level keys not read, then the unknown keys of each object read, under its key.
    Json kept = unknown_members(root, kKnownKeys);
    p.map.look.machine = machine_at(root);
    const int backgrounds = background_choices(p.map.look.machine);
    p.map.look.background = static_cast<uint8_t>(
        integer_at(root, "background", "background", 0, std::max(backgrounds - 1, 0)));
    // Optional: files of C64 maps written before multicolour have none.
    if (root.contains("multicolour")) {
        const Json& mc = object_at(root, "multicolour", "multicolour");
        const Json& on = member(mc, "on", "multicolour.on");
        if (!on.is_boolean())
            refuse("multicolour.on", "is not true or false");
        p.map.look.set_multicolour(on.get<bool>());
        p.map.look.multicolour_1 =
            static_cast<uint8_t>(integer_at(mc, "colour_1", "multicolour.colour_1", 0, 15));
        p.map.look.multicolour_2 =
            static_cast<uint8_t>(integer_at(mc, "colour_2", "multicolour.colour_2", 0, 15));
        keep_unknown(root, "multicolour", kMulticolourKeys, kept);
    }
    // Optional too: files written before the extended background colour mode have none.
    if (root.contains("ecm")) {
        const Json& ecm = object_at(root, "ecm", "ecm");
        const Json& on = member(ecm, "on", "ecm.on");
        if (!on.is_boolean())
            refuse("ecm.on", "is not true or false");
        if (on.get<bool>() && p.map.look.multicolour())
            refuse("ecm.on", "is true while \"multicolour.on\" is too: at most one is on");
        p.map.look.set_extended(on.get<bool>());
        for (int n = 1; n <= 3; ++n) {
            const std::string key = "background_" + std::to_string(n);
            p.map.look.background_register(n) =
                static_cast<uint8_t>(integer_at(ecm, key.c_str(), ("ecm." + key).c_str(), 0, 15));
        }
        keep_unknown(root, "ecm", kEcmKeys, kept);
    }
    read_atari(root, p.map.look, kept);
    const Json& colours = object_at(root, "colours", "colours");
    p.colour0 = colour_at(colours, "bit0", "colours.bit0");
    p.colour1 = colour_at(colours, "bit1", "colours.bit1");
    keep_unknown(root, "colours", kColourKeys, kept);

    const Json& glyphs = array_at(root, "glyphs", "glyphs", kGlyphCount);
    for (int g = 0; g < kGlyphCount; ++g)
        hex_bytes(glyphs[static_cast<size_t>(g)], "glyphs[" + std::to_string(g) + "]",
                  p.charset.glyph(g));

    // Optional: written when any glyph has a material.
    if (root.contains("materials")) {
        const Json& m = member(root, "materials", "materials");
        if (!m.is_string() || m.get_ref<const std::string&>().size() != kGlyphCount ||
            !std::ranges::all_of(m.get_ref<const std::string&>(),
                                 [](char c) { return hex_digit_value(c) >= 0; }))
            refuse("materials", "is not 256 hexadecimal digits, one a glyph");
        const std::string& digits = m.get_ref<const std::string&>();
        for (int g = 0; g < kGlyphCount; ++g)
            p.charset.materials[static_cast<size_t>(g)] =
                static_cast<uint8_t>(hex_digit_value(digits[static_cast<size_t>(g)]));
    }
    read_map(root, p, kept);
    read_levels(root, packed, p.tiles, p.level, kept);
    if (!kept.empty())
        p.kept = kept.dump();
    return p;
}

// The text of a project with a placeholder string where each packed field goes, each placeholder
// standing once in the text, whatever the kept keys hold.
struct Layout {
    std::string text;
    std::vector<std::string> marks; // the placeholders, quotes included
    std::vector<PackedField> packed;
};

void place_marks(Json& root, Layout& layout) {
    layout.marks.resize(layout.packed.size());
    for (int salt = 0;; ++salt) {
        for (size_t i = 0; i < layout.packed.size(); ++i) {
            const std::string mark = "packed " + std::to_string(i) + " " + std::to_string(salt);
            root[Json::json_pointer(layout.packed[i].pointer)] = mark;
            layout.marks[i] = "\"" + mark + "\"";
        }
        layout.text = root.dump(2) + "\n";
        if (std::ranges::all_of(layout.marks, [&](const std::string& m) {
                const size_t at = layout.text.find(m);
                return at != std::string::npos && layout.text.find(m, at + 1) == std::string::npos;
            }))
            return;
    }
}

// The layout's text with each placeholder replaced by its packed string, handed to `write` in
// pieces: no copy of the bytes, of their compressed form or of the whole text is made on the way.
void write_layout(const Layout& layout, const std::function<void(std::string_view)>& write) {
    const std::string_view text = layout.text;
    size_t from = 0;
    for (;;) {
        size_t at = std::string::npos, which = 0;
        for (size_t i = 0; i < layout.marks.size(); ++i)
            if (const size_t a = text.find(layout.marks[i], from); a < at)
                at = a, which = i;
        if (at == std::string::npos)
            break;
        write(text.substr(from, at + 1 - from));
        write_packed(layout.packed[which].next, write);
        write("\"");
        from = at + layout.marks[which].size();
    }
    write(text.substr(from));
}

Layout layout_of(const Project& project) {
    const CharMap& map = project.map;
    Json kept = project.kept.empty() ? Json::object() : Json::parse(project.kept, nullptr, false);
    if (!kept.is_object())
        kept = Json::object();
    Json j;
    j["format"] = kFormat;
    j["version"] = kVersion;
    j["machine"] = machine_name(map.look.machine);
    j["background"] = map.look.background;
    if (map.look.machine == MapMachine::C64 || kept.contains("multicolour")) {
        j["multicolour"] = {{"on", map.look.multicolour()},
                            {"colour_1", map.look.multicolour_1},
                            {"colour_2", map.look.multicolour_2}};
        add_kept(j["multicolour"], kept, "multicolour", kMulticolourKeys);
    }
    if (map.look.machine == MapMachine::C64 || kept.contains("ecm")) {
        j["ecm"] = {{"on", map.look.extended()},
                    {"background_1", map.look.background_1},
                    {"background_2", map.look.background_2},
                    {"background_3", map.look.background_3}};
        add_kept(j["ecm"], kept, "ecm", kEcmKeys);
    }
    if (map.look.machine == MapMachine::Atari || kept.contains("atari")) {
        j["atari"] = {{"mode", map.look.atari_mode},
                      {"colbk", map.look.colbk},
                      {"colpf", map.look.colpf}};
        add_kept(j["atari"], kept, "atari", kAtariKeys);
    }
    j["colours"] = {{"bit0", colour_text(project.colour0)}, {"bit1", colour_text(project.colour1)}};
    add_kept(j["colours"], kept, "colours", kColourKeys);
    Json glyphs = Json::array();
    for (int g = 0; g < kGlyphCount; ++g)
        glyphs.push_back(hex_text(project.charset.glyph(g)));
    j["glyphs"] = std::move(glyphs);
    const auto& materials = project.charset.materials;
    if (std::ranges::any_of(materials, [](uint8_t m) { return m != 0; })) {
        std::string digits;
        for (const uint8_t m : materials)
            digits += "0123456789ABCDEF"[m & 15];
        j["materials"] = std::move(digits);
    }
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
    add_kept(j["map"], kept, "map", kMapKeys);
    std::vector<PackedField> packed;
    write_levels(project.tiles, project.level, kept, j, packed);
    for (const auto& [key, value] : kept.items())
        if (std::ranges::find(kKnownKeys, key) == std::end(kKnownKeys))
            j[key] = value;
    Layout layout;
    layout.packed = std::move(packed);
    place_marks(j, layout);
    return layout;
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
    const Layout layout = layout_of(project);
    // Room for the longest text the fields can make: address space only, until written.
    size_t room = layout.text.size();
    for (const PackedField& f : layout.packed)
        room += packed_size_bound(f.size);
    std::string out;
    out.reserve(room);
    write_layout(layout, [&](std::string_view piece) { out += piece; });
    return out;
}

void write_project_text(const Project& project,
                        const std::function<void(std::string_view)>& write) {
    write_layout(layout_of(project), write);
}

std::string read_project(std::span<const uint8_t> bytes, Project& out) {
    try {
        Json root;
        PackedTexts packed;
        parse_json(bytes, root, packed);
        out = parse(root, packed);
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
