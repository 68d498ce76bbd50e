#include "formats/export_asm.h"

#include <cstdio>

namespace fontarel {

namespace {

constexpr const char* kIndent = "        ";

const char* directive(AsmDialect dialect) {
    switch (dialect) {
    case AsmDialect::Acme:
        return "!byte ";
    case AsmDialect::Defb:
        return "defb ";
    case AsmDialect::Byte:
    default:
        return ".byte ";
    }
}

std::string number(AsmDialect dialect, int value) {
    char text[8];
    if (dialect == AsmDialect::Defb)
        std::snprintf(text, sizeof text, "0%02Xh", value & 0xFF);
    else
        std::snprintf(text, sizeof text, "$%02x", value & 0xFF);
    return text;
}

// "<indent><directive>v0,v1,... ; comment\n"
template <typename Values>
std::string data_line(AsmDialect dialect, const Values& values, const std::string& comment) {
    std::string line = std::string(kIndent) + directive(dialect);
    bool first = true;
    for (int v : values) {
        if (!first)
            line += ',';
        line += number(dialect, v);
        first = false;
    }
    return line + " ; " + comment + "\n";
}

} // namespace

std::string glyphs_as_assembler(const CharsetStore& store, GlyphSelection glyphs,
                                AsmDialect dialect, std::string_view label) {
    const GlyphSelection g = glyphs.clamped();
    std::string out = "; " + glyph_count_text(g.count) + " from code " + std::to_string(g.first) +
                      ", 8 bytes a glyph: row 0 first, bit 7 the leftmost pixel\n";
    out += std::string(label) + ":\n";
    for (int code = g.first; code < g.first + g.count; ++code) {
        const auto rows = store.glyph(code);
        out += data_line(dialect, std::span<const uint8_t>(rows), glyph_comment(code));
    }
    return out;
}

std::string map_as_assembler(const CharMap& map, AsmDialect dialect, std::string_view label) {
    const MapCodes m = map_codes(map);
    std::string out = "; map of " + std::to_string(m.cols) + " x " + std::to_string(m.rows) +
                      " character codes, one row a line, row 0 first\n";
    out += std::string(label) + ":\n";
    for (int row = 0; row < m.rows; ++row)
        out += data_line(dialect, m.row(row), "row " + std::to_string(row));
    if (!exports_colours(map))
        return out;
    const MapCodes colours = map_colours(map);
    out += "\n; " + colours_comment(colours, map) + "\n";
    for (const auto& [word, value] : register_constants(map))
        // Z80 assemblers take EQU where the 6502 ones take "=".
        out += std::string(label) + "_" + word + (dialect == AsmDialect::Defb ? " EQU " : " = ") +
               std::to_string(value) + "\n";
    out += colours_label(label) + ":\n";
    for (int row = 0; row < colours.rows; ++row)
        out += data_line(dialect, colours.row(row), "row " + std::to_string(row));
    return out;
}

} // namespace fontarel
