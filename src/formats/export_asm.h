#pragma once
// Assembler source of glyphs and of the map: a comment saying what the data is, a label, then one
// data line a glyph (eight row bytes) or a map row (its codes), in hexadecimal.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/export_common.h"
#include "model/char_map.h"
#include "model/charset_store.h"

namespace fontarel {

// Three spellings of a byte list:
//   Byte: ".byte $3c,..." (6502 assemblers that take dot directives and $ numbers)
//   Acme: "!byte $3c,..."
//   Defb: "defb 03Ch,..." (Z80 assemblers; the leading 0 keeps every number a number)
// All three take ';' comments and "label:" at the start of a line.
enum class AsmDialect { Byte, Acme, Defb };

// The lines every assembler export is made of, for the exports of other data to share:
// "<indent><directive>v0,v1,... ; comment\n" of bytes (".byte $3c", "!byte $3c", "defb 03Ch") or of
// 16-bit words, which all three assemblers store low byte first (".word $013c", "!word $013c",
// "defw 0013Ch"); and a constant, "name = 4\n" or, for the Z80 assemblers, "name EQU 4\n".
// With `decimal`, the values are plain decimal numbers (".byte 60").
std::string asm_byte_line(AsmDialect dialect, std::span<const uint8_t> values,
                          const std::string& comment, bool decimal = false);
std::string asm_word_line(AsmDialect dialect, std::span<const uint16_t> values,
                          const std::string& comment, bool decimal = false);
std::string asm_constant(AsmDialect dialect, std::string_view name, int value);

// One line a glyph of the selection, each commented with glyph_comment of its code.
std::string glyphs_as_assembler(const CharsetStore& store, GlyphSelection glyphs,
                                AsmDialect dialect, std::string_view label);
// One line a map row of the size in use, commented with its row number. A map drawn for a machine
// (not Mono) has its attribute array after the codes, labelled colours_label(label), in the same
// lines.
std::string map_as_assembler(const CharMap& map, AsmDialect dialect, std::string_view label);

} // namespace fontarel
