#include "formats/export_c.h"

#include <cstdio>
#include <span>

namespace fontarel {

namespace {

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string define(std::string_view name, const char* what, int value) {
    return "#define " + upper(name) + "_" + what + " " + std::to_string(value) + "\n";
}

// "    0x3c, 0x66, ... /* comment */\n". Block comments, since a line comment ending in a
// backslash (code 92) would swallow the next line.
std::string data_line(std::span<const uint8_t> values, const std::string& comment) {
    std::string line = "   ";
    for (uint8_t v : values) {
        char text[8];
        std::snprintf(text, sizeof text, " 0x%02x,", v);
        line += text;
    }
    return line + " /* " + comment + " */\n";
}

std::string array_head(std::string_view name, size_t size) {
    return "const unsigned char " + std::string(name) + "[" + std::to_string(size) + "] = {\n";
}

} // namespace

std::string glyphs_as_c(const CharsetStore& store, GlyphSelection glyphs, std::string_view name) {
    const GlyphSelection g = glyphs.clamped();
    std::string out = "/* " + glyph_count_text(g.count) + " from code " + std::to_string(g.first) +
                      ", 8 bytes a glyph: row 0 first, bit 7 the leftmost pixel */\n";
    out += define(name, "FIRST", g.first) + define(name, "COUNT", g.count) + "\n";
    out += array_head(name, static_cast<size_t>(kGlyphRows) * g.count);
    for (int code = g.first; code < g.first + g.count; ++code)
        out += data_line(store.glyph(code), glyph_comment(code));
    return out + "};\n";
}

std::string map_as_c(const CharMap& map, std::string_view name) {
    const MapCodes m = map_codes(map);
    std::string out = "/* map of " + std::to_string(m.cols) + " x " + std::to_string(m.rows) +
                      " character codes, one row a line, row 0 first */\n";
    out += define(name, "WIDTH", m.cols) + define(name, "HEIGHT", m.rows) + "\n";
    out += array_head(name, m.codes.size());
    for (int row = 0; row < m.rows; ++row)
        out += data_line(m.row(row), "row " + std::to_string(row));
    out += "};\n";
    if (!exports_colours(map))
        return out;
    const MapCodes colours = map_colours(map);
    out += "\n/* " + colours_comment(colours, map) + " */\n";
    for (const auto& [word, value] : register_constants(map))
        out += define(name, upper(word).c_str(), value);
    out += array_head(colours_label(name), colours.codes.size());
    for (int row = 0; row < colours.rows; ++row)
        out += data_line(colours.row(row), "row " + std::to_string(row));
    return out + "};\n";
}

} // namespace fontarel
