#pragma once
// A Linux console font in the PSF version 2 layout: a 32-byte header, then 256 glyphs of 8 x 8
// pixels, one byte a row (bit 7 the leftmost pixel), and no Unicode table, so the console shows
// glyph n for byte n.

#include <cstdint>
#include <vector>

#include "model/charset_store.h"
#include "formats/export_common.h"

namespace fontarel {

constexpr int kPsf2HeaderBytes = 32;

// Header (little-endian 32-bit words): magic 72 b5 4a 86, version 0, header size 32, flags 0, 256
// glyphs, 8 bytes a glyph, height 8, width 8. Every glyph keeps its code as its place; glyphs
// outside the selection are blank. 2080 bytes.
std::vector<uint8_t> glyphs_as_psf2(const CharsetStore& store, GlyphSelection glyphs);

} // namespace fontarel
