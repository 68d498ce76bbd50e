#pragma once
// The charset being edited: 256 glyphs of 8 row bytes. Byte 8 * g + r is row r (0 = top) of glyph
// g; bit 7 of a row byte is the leftmost pixel. Font files hold the same bytes in the same order.

#include <array>
#include <cstdint>
#include <span>

namespace fontarel {

constexpr int kGlyphCount = 256;
constexpr int kGlyphRows = 8;
constexpr int kCharsetBytes = kGlyphCount * kGlyphRows;

struct CharsetStore {
    std::array<uint8_t, kCharsetBytes> bytes{};
    // Each glyph's material, 0-15: what a game makes of the character (solid, ladder, water...),
    // kept beside its bytes, never drawn.
    std::array<uint8_t, kGlyphCount> materials{};

    // The 8 rows of glyph g (taken modulo 256, so no index leaves the store).
    std::span<uint8_t, kGlyphRows> glyph(int g) {
        return std::span<uint8_t, kGlyphRows>(bytes.data() + kGlyphRows * (g & 0xFF), kGlyphRows);
    }
    std::span<const uint8_t, kGlyphRows> glyph(int g) const {
        return std::span<const uint8_t, kGlyphRows>(bytes.data() + kGlyphRows * (g & 0xFF),
                                                    kGlyphRows);
    }
};

// Pure cores of the whole-glyph commands; they know nothing of the toolkit. Glyph numbers outside
// 0-255 are clamped, so no call indexes outside the store. A glyph's material moves with it.

// All 2048 bytes and every material := 0.
void erase_charset(CharsetStore& store);
// Glyphs c..254 move to c+1..255 (the old glyph 255 is lost) and glyph c becomes blank.
void insert_glyph(CharsetStore& store, uint8_t c);
// Glyphs c+1..255 move to c..254 (the old glyph c is lost) and glyph 255 becomes blank.
void delete_glyph(CharsetStore& store, uint8_t c);
// Copies glyphs first..last (both inclusive, either order) to c, c+1, ... in ascending order, so
// the destination holds the range exactly as it was before; the part beyond glyph 255 is dropped.
// Refuses, changing nothing, when c lies within the range: returns false then, true otherwise.
bool copy_glyph_range(CharsetStore& store, int first, int last, uint8_t c);

// The code whose glyph draws a blank cell: 32 when glyph 32 is blank, otherwise the lowest code
// with a blank glyph, otherwise 0.
uint8_t blank_code(const CharsetStore& store);

} // namespace fontarel
