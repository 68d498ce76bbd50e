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

// "    0x3c, 0x66, ... /* comment */\n". Block comments, since a line comment ending in a
// backslash (code 92) would swallow the next line.
template <typename Values>
std::string data_line(const Values& values, const std::string& comment, const char* spelling) {
    std::string line = "   ";
    for (unsigned v : values) {
        char text[10];
        std::snprintf(text, sizeof text, spelling, v);
        line += text;
    }
    return line + " /* " + comment + " */\n";
}

} // namespace

std::string c_define(std::string_view name, std::string_view what, int value) {
    return "#define " + upper(name) + "_" + upper(what) + " " + std::to_string(value) + "\n";
}

std::string c_byte_line(std::span<const uint8_t> values, const std::string& comment, bool decimal) {
    return data_line(values, comment, decimal ? " %u," : " 0x%02x,");
}

std::string c_word_line(std::span<const uint16_t> values, const std::string& comment,
                        bool decimal) {
    return data_line(values, comment, decimal ? " %u," : " 0x%04x,");
}

std::string c_array_head(std::string_view type, std::string_view name, size_t size) {
    return "const " + std::string(type) + " " + std::string(name) + "[" + std::to_string(size) +
           "] = {\n";
}

std::string glyphs_as_c(const CharsetStore& store, GlyphSelection glyphs, std::string_view name) {
    const GlyphSelection g = glyphs.clamped();
    std::string out = "/* " + glyph_count_text(g.count) + " from code " + std::to_string(g.first) +
                      ", 8 bytes a glyph: row 0 first, bit 7 the leftmost pixel */\n";
    out += c_define(name, "FIRST", g.first) + c_define(name, "COUNT", g.count) + "\n";
    out += c_array_head("unsigned char", name, static_cast<size_t>(kGlyphRows) * g.count);
    for (int code = g.first; code < g.first + g.count; ++code)
        out += c_byte_line(store.glyph(code), glyph_comment(code));
    return out + "};\n";
}

std::string map_as_c(const CharMap& map, std::string_view name) {
    const MapCodes m = map_codes(map);
    std::string out = "/* map of " + std::to_string(m.cols) + " x " + std::to_string(m.rows) +
                      " character codes, one row a line, row 0 first */\n";
    out += c_define(name, "WIDTH", m.cols) + c_define(name, "HEIGHT", m.rows) + "\n";
    out += c_array_head("unsigned char", name, m.codes.size());
    for (int row = 0; row < m.rows; ++row)
        out += c_byte_line(m.row(row), "row " + std::to_string(row));
    out += "};\n";
    if (registers_alone(map)) {
        out += "\n/* the colour registers of the screen */\n";
        for (const auto& [word, value] : register_constants(map))
            out += c_define(name, word, value);
    }
    if (!exports_colours(map))
        return out;
    const MapCodes colours = map_colours(map);
    out += "\n/* " + colours_comment(colours, map) + " */\n";
    for (const auto& [word, value] : register_constants(map))
        out += c_define(name, word, value);
    out += c_array_head("unsigned char", colours_label(name), colours.codes.size());
    for (int row = 0; row < colours.rows; ++row)
        out += c_byte_line(colours.row(row), "row " + std::to_string(row));
    return out + "};\n";
}

} // namespace fontarel
