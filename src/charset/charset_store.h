#pragma once
// The charset being edited: 256 glyphs of 8 row bytes. Byte 8 * g + r is row r (0 = top) of glyph g;
// bit 7 of a row byte is the leftmost pixel. Font files hold the same bytes in the same order.

#include <array>
#include <cstdint>
#include <span>

namespace fontarel {

constexpr int kGlyphCount = 256;
constexpr int kGlyphRows = 8;
constexpr int kCharsetBytes = kGlyphCount * kGlyphRows;

struct CharsetStore {
    std::array<uint8_t, kCharsetBytes> bytes{};

    // The 8 rows of glyph g (taken modulo 256, so no index leaves the store).
    std::span<uint8_t, kGlyphRows> glyph(int g) {
        return std::span<uint8_t, kGlyphRows>(bytes.data() + kGlyphRows * (g & 0xFF), kGlyphRows);
    }
    std::span<const uint8_t, kGlyphRows> glyph(int g) const {
        return std::span<const uint8_t, kGlyphRows>(bytes.data() + kGlyphRows * (g & 0xFF),
                                                    kGlyphRows);
    }
};

} // namespace fontarel
