#include "formats/export_common.h"

#include <algorithm>
#include <array>

#include "formats/map_bytes.h"

namespace fontarel {

namespace {

// Words a label must not be, in lower case: the 6502 and 65C02 instructions and registers, the Z80
// instructions, registers, conditions and the directives of its assemblers, and the C keywords.
// One-letter names are reserved as a whole (register names in one dialect or another).
constexpr std::string_view kReserved[] = {
    // 6502 and 65C02
    "adc", "and", "asl", "bcc", "bcs", "beq", "bit", "bmi", "bne", "bpl", "bra", "brk", "bvc",
    "bvs", "clc", "cld", "cli", "clv", "cmp", "cpx", "cpy", "dec", "dex", "dey", "eor", "inc",
    "inx", "iny", "jmp", "jsr", "lda", "ldx", "ldy", "lsr", "nop", "ora", "pha", "php", "phx",
    "phy", "pla", "plp", "plx", "ply", "rol", "ror", "rti", "rts", "sbc", "sec", "sed", "sei",
    "sta", "stx", "sty", "stz", "tax", "tay", "trb", "tsb", "tsx", "txa", "txs", "tya",
    // Z80 instructions
    "add", "call", "ccf", "cp", "cpd", "cpdr", "cpi", "cpir", "cpl", "daa", "di", "djnz", "ei",
    "ex", "exx", "halt", "im", "in", "ind", "indr", "ini", "inir", "jp", "jr", "ld", "ldd", "lddr",
    "ldi", "ldir", "neg", "or", "otdr", "otir", "out", "outd", "outi", "pop", "push", "res", "ret",
    "reti", "retn", "rl", "rla", "rlc", "rlca", "rld", "rr", "rra", "rrc", "rrca", "rrd", "rst",
    "scf", "set", "sla", "sll", "sra", "srl", "sub", "xor",
    // Z80 registers and conditions
    "af", "bc", "de", "hl", "ix", "iy", "sp", "ixh", "ixl", "iyh", "iyl", "nz", "nc", "po", "pe",
    // Z80 assembler directives
    "org", "equ", "defl", "end", "defb", "db", "defm", "dm", "defw", "dw", "defs", "ds", "include",
    "incbin", "if", "else", "endif", "macro", "endm", "rept", "irp", "endp", "proc", "local",
    "public", "align", "ifdef", "ifndef",
    // C
    "auto", "break", "case", "char", "const", "continue", "default", "do", "double", "enum",
    "extern", "float", "for", "goto", "inline", "int", "long", "register", "restrict", "return",
    "short", "signed", "sizeof", "static", "struct", "switch", "typedef", "union", "unsigned",
    "void", "volatile", "while", "main", "_bool", "_complex", "_imaginary"};

bool word_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

GlyphSelection GlyphSelection::clamped() const {
    const int f = std::clamp(first, 0, kGlyphCount - 1);
    return {f, std::clamp(count, 1, kGlyphCount - f)};
}

GlyphSelection GlyphSelection::between(int a, int b) {
    const int lo = std::clamp(std::min(a, b), 0, kGlyphCount - 1);
    const int hi = std::clamp(std::max(a, b), 0, kGlyphCount - 1);
    return {lo, hi - lo + 1};
}

MapCodes map_codes(const CharMap& map) {
    MapCodes out;
    out.codes = map_file_bytes(map);
    out.cols = std::clamp<int>(map.cols, 0, kMapCapacityCols);
    out.rows = out.cols == 0 ? 0 : static_cast<int>(out.codes.size()) / out.cols;
    return out;
}

MapCodes map_colours(const CharMap& map) {
    MapCodes out = map_codes(map);
    out.codes = map_colour_file_bytes(map);
    return out;
}

bool exports_colours(const CharMap& map) {
    return map.look.machine != MapMachine::Mono && map.look.machine != MapMachine::Atari;
}

std::string attribute_meaning(const CharMap& map) {
    switch (map.look.machine) {
    case MapMachine::C64:
        if (map.look.extended())
            return "C64 colour RAM (the colour of set pixels, 0-15; clear pixels in background "
                   "register code >> 6)";
        return map.look.multicolour()
                   ? "C64 colour RAM (0-7 the colour of set pixels, 8-15 multicolour "
                     "cells whose bit pairs 11 are the value minus 8)"
                   : "C64 colour RAM (the colour of set pixels, 0-15)";
    case MapMachine::ZxSpectrum:
        return "ZX Spectrum attributes (bits 0-2 ink, 3-5 paper, 6 BRIGHT, 7 FLASH)";
    case MapMachine::PcText:
        return "PC text attributes (bits 0-3 foreground, 4-6 background, 7 blink)";
    case MapMachine::Atari:
    case MapMachine::Mono:
    default:
        return "attributes";
    }
}

std::string colours_comment(const MapCodes& colours, const CharMap& map) {
    return "map of " + std::to_string(colours.cols) + " x " + std::to_string(colours.rows) + " " +
           attribute_meaning(map) + ", one row a line, row 0 first";
}

std::vector<RegisterConstant> register_constants(const CharMap& map) {
    switch (map.look.machine) {
    case MapMachine::C64:
        if (map.look.multicolour())
            return {{"background", map.look.background},
                    {"multicolour_1", map.look.multicolour_1},
                    {"multicolour_2", map.look.multicolour_2}};
        if (map.look.extended())
            return {{"background", map.look.background},
                    {"background_1", map.look.background_1},
                    {"background_2", map.look.background_2},
                    {"background_3", map.look.background_3}};
        return {{"background", map.look.background}};
    case MapMachine::ZxSpectrum:
        return {{"border", map.look.background}};
    case MapMachine::Atari:
        return {{"COLBK", map.look.colbk},
                {"COLPF0", map.look.colpf[0]},
                {"COLPF1", map.look.colpf[1]},
                {"COLPF2", map.look.colpf[2]},
                {"COLPF3", map.look.colpf[3]}};
    default:
        return {};
    }
}

std::string colours_label(std::string_view label) {
    return std::string(label) + "_colours";
}

std::string export_label(std::string_view path, std::string_view fallback) {
    std::string_view name = path.substr(path.find_last_of("/\\") + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    std::string label;
    for (char c : name)
        label += word_char(c) ? c : '_';
    if (label.find_first_not_of('_') == std::string::npos)
        return std::string(fallback);
    // Some assemblers reserve names that begin with two underscores.
    if ((label[0] >= '0' && label[0] <= '9') || label[0] == '_')
        label = std::string(fallback) + "_" + label;
    const std::string key = lower(label);
    if (label.size() == 1 ||
        std::find(std::begin(kReserved), std::end(kReserved), key) != std::end(kReserved))
        label += "_data";
    return label;
}

std::string glyph_comment(int code) {
    std::string out = std::to_string(code);
    if (code >= 32 && code < 127)
        out += " '" + std::string(1, static_cast<char>(code)) + "'";
    return out;
}

std::string glyph_count_text(int count) {
    return std::to_string(count) + (count == 1 ? " glyph" : " glyphs");
}

} // namespace fontarel
