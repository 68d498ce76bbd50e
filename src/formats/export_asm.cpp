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

// A byte (2 digits) or a 16-bit word (4 digits) in the dialect's notation, or in decimal.
std::string number(AsmDialect dialect, int value, int digits, bool decimal) {
    char text[10];
    const int mask = digits == 4 ? 0xFFFF : 0xFF;
    if (decimal)
        return std::to_string(value & mask);
    if (dialect == AsmDialect::Defb)
        std::snprintf(text, sizeof text, "0%0*Xh", digits, value & mask);
    else
        std::snprintf(text, sizeof text, "$%0*x", digits, value & mask);
    return text;
}

// "<indent><directive>v0,v1,... ; comment\n"
template <typename Values>
std::string data_line(const char* directive, AsmDialect dialect, const Values& values,
                      const std::string& comment, int digits = 2, bool decimal = false) {
    std::string line = std::string(kIndent) + directive;
    bool first = true;
    for (int v : values) {
        if (!first)
            line += ',';
        line += number(dialect, v, digits, decimal);
        first = false;
    }
    return line + " ; " + comment + "\n";
}

template <typename Values>
std::string data_line(AsmDialect dialect, const Values& values, const std::string& comment) {
    return data_line(directive(dialect), dialect, values, comment);
}

} // namespace

std::string asm_byte_line(AsmDialect dialect, std::span<const uint8_t> values,
                          const std::string& comment, bool decimal) {
    return data_line(directive(dialect), dialect, values, comment, 2, decimal);
}

std::string asm_word_line(AsmDialect dialect, std::span<const uint16_t> values,
                          const std::string& comment, bool decimal) {
    const char* word = dialect == AsmDialect::Defb   ? "defw "
                       : dialect == AsmDialect::Acme ? "!word "
                                                     : ".word ";
    return data_line(word, dialect, values, comment, 4, decimal);
}

std::string asm_constant(AsmDialect dialect, std::string_view name, int value) {
    // Z80 assemblers take EQU where the 6502 ones take "=".
    return std::string(name) + (dialect == AsmDialect::Defb ? " EQU " : " = ") +
           std::to_string(value) + "\n";
}

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
    if (registers_alone(map)) {
        out += "\n; the colour registers of the screen\n";
        for (const auto& [word, value] : register_constants(map))
            out += asm_constant(dialect, std::string(label) + "_" + word, value);
    }
    if (!exports_colours(map))
        return out;
    const MapCodes colours = map_colours(map);
    out += "\n; " + colours_comment(colours, map) + "\n";
    for (const auto& [word, value] : register_constants(map))
        out += asm_constant(dialect, std::string(label) + "_" + word, value);
    out += colours_label(label) + ":\n";
    for (int row = 0; row < colours.rows; ++row)
        out += data_line(dialect, colours.row(row), "row " + std::to_string(row));
    return out;
}

} // namespace fontarel
