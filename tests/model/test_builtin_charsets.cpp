// Built-in charsets: block sizes and known glyphs, the load (copy plus inverse half, rest
// untouched), the ZX Spectrum quadrant blocks and the generated hex set.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "model/builtin_charsets.h"
#include "model/builtin_glyphs.h"

namespace fontarel {
namespace {

using Rows = std::array<uint8_t, 8>;

Rows rows_of(const CharsetStore& store, int g) {
    Rows r{};
    const auto src = store.glyph(g);
    std::copy(src.begin(), src.end(), r.begin());
    return r;
}

constexpr int32_t rgb(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

Rows rows_from(uint64_t packed) {
    Rows r{};
    for (int i = 0; i < 8; ++i) {
        r[i] = static_cast<uint8_t>(packed >> (56 - 8 * i));
    }
    return r;
}

// Every byte differs from its neighbours, so a byte copied from the wrong place shows.
CharsetStore patterned_store() {
    CharsetStore store;
    for (int i = 0; i < kCharsetBytes; ++i) {
        store.bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    return store;
}

TEST(BuiltinCharsets, HexSetShowsEachCodeAndOverwritesTheStore) {
    CharsetStore store = patterned_store();
    build_hex_glyphs(store);
    EXPECT_EQ(rows_of(store, 0xA5), (Rows{0x00, 0x4E, 0xA8, 0xEE, 0xA2, 0xA2, 0xAE, 0x00}));
    EXPECT_EQ(rows_of(store, 0x00), (Rows{0x00, 0xEE, 0xAA, 0xAA, 0xAA, 0xAA, 0xEE, 0x00}));
    EXPECT_EQ(rows_of(store, 0x11), (Rows{0x00, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44, 0x00}));
    EXPECT_EQ(rows_of(store, 0xFF), (Rows{0x00, 0xEE, 0x88, 0xCC, 0x88, 0x88, 0x88, 0x00}));
    // Nothing of the old contents survives: rows 0 and 7 and columns 3 and 7 are clear everywhere.
    for (int g = 0; g < kGlyphCount; ++g) {
        const Rows r = rows_of(store, g);
        EXPECT_EQ(r[0] | r[7], 0) << "glyph " << g;
        for (uint8_t b : r) {
            EXPECT_EQ(b & 0x11, 0) << "glyph " << g;
        }
    }
}

TEST(BuiltinCharsets, BlocksHaveTheirSizesColoursAndKnownGlyphs) {
    struct Layout {
        Machine machine;
        std::size_t bytes;
        int inverse;
        int32_t colour0, colour1;
    };
    const int32_t black = rgb(0, 0, 0), white = rgb(255, 255, 255);
    const Layout layouts[] = {
        {Machine::Cga, 2048, 0, black, white},
        {Machine::Cp866, 2048, 0, black, white},
        {Machine::ZxSpectrum, 1152, 0, rgb(203, 203, 203), black},
        {Machine::Zx80, 512, 512, white, black},
        {Machine::JupiterAce, 1024, 1024, black, white},
        {Machine::C64Caps, 2048, 0, rgb(46, 44, 155), rgb(112, 109, 235)},
        {Machine::AtariXl, 1024, 1024, rgb(1, 78, 157), rgb(97, 174, 253)},
        {Machine::Microsha, 1024, 1024, black, white},
    };
    for (const Layout& e : layouts) {
        const BuiltinCharset& set = builtin_charset(e.machine);
        SCOPED_TRACE(static_cast<int>(e.machine));
        EXPECT_EQ(set.glyphs.size(), e.bytes);
        EXPECT_EQ(set.inverse_bytes, e.inverse);
        EXPECT_EQ(set.colour0, e.colour0);
        EXPECT_EQ(set.colour1, e.colour1);
    }

    // One glyph per block at its code, as loaded into the store (rows 0-7, most significant first).
    struct Known {
        Machine machine;
        int code;
        uint64_t rows;
    };
    const Known known[] = {
        {Machine::Cga, 'A', 0x3078CCCCFCCCCC00},
        {Machine::Cp866, 0x80, 0x1038386C6CFEC600},     // А
        {Machine::Cp866, 240, 0x007E007E007E0000},      // ≡: signs from 240 on, not Ё ё ...
        {Machine::ZxSpectrum, 96, 0x001C227820207E00},  // £
        {Machine::Zx80, 38, 0x003E41417F414100},        // A
        {Machine::JupiterAce, 'g', 0x00003C44443C0438}, // descender in row 7
        {Machine::C64Caps, 1, 0x183C667E66666600},      // A
        {Machine::AtariXl, 64, 0x00367F7F3E1C0800},     // heart
        {Machine::Microsha, 96, 0x1215151D15151200},    // Ю
    };
    for (const Known& e : known) {
        SCOPED_TRACE(static_cast<int>(e.machine));
        CharsetStore store;
        load_builtin_glyphs(store, builtin_charset(e.machine));
        EXPECT_EQ(rows_of(store, e.code), rows_from(e.rows)) << "glyph " << e.code;
    }
}

TEST(BuiltinCharsets, SpectrumBlockGraphicsAndUntouchedTail) {
    CharsetStore store = patterned_store();
    const Rows drawn = rows_of(store, 200);
    load_builtin_glyphs(store, builtin_charset(Machine::ZxSpectrum));
    for (int g = 0; g < 32; ++g) {
        EXPECT_EQ(rows_of(store, g), Rows{}) << "glyph " << g;
    }
    // 129 by hand, as an anchor for the rule spelled out below (128 clear, 143 solid).
    EXPECT_EQ(rows_of(store, 129), (Rows{0x0F, 0x0F, 0x0F, 0x0F, 0, 0, 0, 0}));
    for (int n = 0; n < 16; ++n) {
        const uint8_t top = (n & 2 ? 0xF0 : 0) | (n & 1 ? 0x0F : 0);
        const uint8_t bottom = (n & 8 ? 0xF0 : 0) | (n & 4 ? 0x0F : 0);
        EXPECT_EQ(rows_of(store, 128 + n),
                  (Rows{top, top, top, top, bottom, bottom, bottom, bottom}))
            << "glyph " << 128 + n;
    }
    EXPECT_EQ(rows_of(store, 200), drawn);
    EXPECT_EQ(store.bytes[144 * 8], patterned_store().bytes[144 * 8]);
}

TEST(BuiltinCharsets, InverseHalvesAndUntouchedTail) {
    for (Machine m : {Machine::Zx80, Machine::JupiterAce, Machine::AtariXl, Machine::Microsha}) {
        SCOPED_TRACE(static_cast<int>(m));
        const BuiltinCharset& set = builtin_charset(m);
        const CharsetStore before = patterned_store();
        CharsetStore store = before;
        load_builtin_glyphs(store, set);
        const int half = set.inverse_bytes / kGlyphRows;
        for (int k = 0; k < half; ++k) {
            const Rows plain = rows_of(store, k);
            const Rows inverse = rows_of(store, half + k);
            for (int r = 0; r < kGlyphRows; ++r) {
                EXPECT_EQ(plain[r], set.glyphs[8 * k + r]) << "glyph " << k;
                EXPECT_EQ(inverse[r], plain[r] ^ 0xFF) << "glyph " << half + k;
            }
        }
        for (int i = 2 * set.inverse_bytes; i < kCharsetBytes; ++i) {
            ASSERT_EQ(store.bytes[i], before.bytes[i]) << "byte " << i;
        }
    }
}

} // namespace
} // namespace fontarel
