#pragma once
// C source of glyphs and of the map: defines that say what the array holds, then a
// `const unsigned char` array with one line a glyph (eight row bytes) or a map row.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/export_common.h"
#include "model/char_map.h"
#include "model/charset_store.h"

namespace fontarel {

// The lines every C export is made of, for the exports of other data to share: "#define NAME_WHAT
// 4\n" (both parts in upper case); a data line of bytes ("    0x3c, 0x66, /* comment */\n") or of
// 16-bit values ("    0x013c, /* comment */\n"); and an array's head, "const TYPE name[SIZE] =
// {\n".
std::string c_define(std::string_view name, std::string_view what, int value);
// With `decimal`, the values are plain decimal numbers ("    60, 102,").
std::string c_byte_line(std::span<const uint8_t> values, const std::string& comment,
                        bool decimal = false);
std::string c_word_line(std::span<const uint16_t> values, const std::string& comment,
                        bool decimal = false);
std::string c_array_head(std::string_view type, std::string_view name, size_t size);

// NAME_FIRST and NAME_COUNT (NAME: `name` in upper case) give the first code and the number of
// glyphs; the array `name` holds 8 * count bytes, each glyph's line commented with its code.
std::string glyphs_as_c(const CharsetStore& store, GlyphSelection glyphs, std::string_view name);
// NAME_WIDTH and NAME_HEIGHT give the size in use; the array holds width * height codes, row 0
// first, each row's line commented with its number. A map drawn for a machine (not Mono) has a
// second array after it, colours_label(name), of the cells' attribute bytes in the same layout.
std::string map_as_c(const CharMap& map, std::string_view name);

} // namespace fontarel
