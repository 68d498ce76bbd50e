#pragma once
// A C64 program file of glyphs: two bytes of load address (low byte first), then the glyph bytes
// of the selection, 8 a glyph, so that the machine's LOAD puts glyph `first` at the address.

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/charset_store.h"
#include "formats/export_common.h"

namespace fontarel {

// Where a charset usually goes on the C64: a 2 KB boundary the VIC-II can see.
inline constexpr int kDefaultLoadAddress = 0x3000;

// A load address as one to four hexadecimal digits and nothing else ("3000", "c000"); with
// `with_prefix`, a leading "$" or "0x" as people write addresses is allowed too.
bool read_load_address(std::string_view text, int& value, bool with_prefix = false);

// 2 + 8 * count bytes; the address is taken modulo 65536.
std::vector<uint8_t> glyphs_as_prg(const CharsetStore& store, GlyphSelection glyphs,
                                   int load_address);

} // namespace fontarel
