#pragma once
// C source of glyphs and of the map: defines that say what the array holds, then a
// `const unsigned char` array with one line a glyph (eight row bytes) or a map row.

#include <string>
#include <string_view>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "formats/export_common.h"

namespace fontarel {

// NAME_FIRST and NAME_COUNT (NAME: `name` in upper case) give the first code and the number of
// glyphs; the array `name` holds 8 * count bytes, each glyph's line commented with its code.
std::string glyphs_as_c(const CharsetStore& store, GlyphSelection glyphs, std::string_view name);
// NAME_WIDTH and NAME_HEIGHT give the size in use; the array holds width * height codes, row 0
// first, each row's line commented with its number. A map drawn for a machine (not Mono) has a
// second array after it, colours_label(name), of the cells' attribute bytes in the same layout.
std::string map_as_c(const CharMap& map, std::string_view name);

} // namespace fontarel
