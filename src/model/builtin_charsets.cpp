#include "model/builtin_charsets.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "model/builtin_glyphs.h"

namespace fontarel {

namespace {

constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kWhite = rgb(255, 255, 255);

// Indexed by Machine. The inverse lengths match the blocks: a block of m bytes with an inverse
// half fills exactly the first 2m bytes of the store.
const std::array<BuiltinCharset, 8> kCharsets = {{
    {cga_glyphs, 0, kBlack, kWhite},
    {cp866_glyphs, 0, kBlack, kWhite},
    {zx_spectrum_glyphs, 0, rgb(203, 203, 203), kBlack},
    {zx80_glyphs, 512, kWhite, kBlack},
    {jupiter_ace_glyphs, 1024, kBlack, kWhite},
    {c64_caps_glyphs, 0, rgb(46, 44, 155), rgb(112, 109, 235)},
    {atari_xl_glyphs, 1024, rgb(1, 78, 157), rgb(97, 174, 253)},
    {microsha_glyphs, 1024, kBlack, kWhite},
}};

} // namespace

const BuiltinCharset& builtin_charset(Machine m) {
    return kCharsets[static_cast<std::size_t>(m)];
}

void load_builtin_glyphs(CharsetStore& store, const BuiltinCharset& set) {
    // Clamp both lengths to the store so a malformed description cannot write past it.
    const std::size_t n = std::min(set.glyphs.size(), store.bytes.size());
    std::copy_n(set.glyphs.begin(), n, store.bytes.begin());
    const std::size_t m =
        std::min<std::size_t>(std::max(set.inverse_bytes, 0), store.bytes.size() / 2);
    for (std::size_t i = 0; i < m; ++i) {
        store.bytes[m + i] = static_cast<uint8_t>(store.bytes[i] ^ 0xFF);
    }
}

void build_hex_glyphs(CharsetStore& store) {
    for (int c = 0; c < kGlyphCount; ++c) {
        const auto& hi = hex_digit_glyphs[c >> 4];
        const auto& lo = hex_digit_glyphs[c & 0x0F];
        auto rows = store.glyph(c);
        for (int r = 0; r < kGlyphRows; ++r) {
            rows[r] = static_cast<uint8_t>(hi[r] | (lo[r] >> 4));
        }
    }
}

} // namespace fontarel
