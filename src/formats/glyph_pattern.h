#pragma once
// A glyph's 8 rows as one 64-bit number, for the importers that compare whole glyphs: byte r (bits
// 8r to 8r + 7) is row r, so its bit 7 is the row's leftmost pixel as in the store.

#include <cstdint>

#include "model/charset_store.h"

namespace fontarel {

using GlyphPattern = uint64_t;

// Set pixels of a pattern. Written out rather than std::popcount, which without a CPU-specific
// build is a library call for every comparison of the screen importers' inner loops.
constexpr int set_pixels(GlyphPattern p) {
    p = p - (p >> 1 & 0x5555555555555555u);
    p = (p & 0x3333333333333333u) + (p >> 2 & 0x3333333333333333u);
    p = (p + (p >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int>(p * 0x0101010101010101u >> 56);
}

// Pixels in which two patterns differ, 0-64.
constexpr int differing_pixels(GlyphPattern a, GlyphPattern b) {
    return set_pixels(a ^ b);
}

inline GlyphPattern glyph_pattern(const CharsetStore& store, int code) {
    GlyphPattern p = 0;
    const auto rows = store.glyph(code);
    for (int r = 0; r < kGlyphRows; ++r)
        p |= GlyphPattern{rows[static_cast<size_t>(r)]} << (8 * r);
    return p;
}

inline void set_glyph_pattern(CharsetStore& store, int code, GlyphPattern p) {
    const auto rows = store.glyph(code);
    for (int r = 0; r < kGlyphRows; ++r)
        rows[static_cast<size_t>(r)] = static_cast<uint8_t>(p >> (8 * r));
}

} // namespace fontarel
