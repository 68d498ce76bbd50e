#include "formats/export_psf.h"

#include <algorithm>
#include <array>

namespace fontarel {

namespace {

constexpr uint32_t kMagic = 0x864AB572;

void put_word(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

} // namespace

std::vector<uint8_t> glyphs_as_psf2(const CharsetStore& store, GlyphSelection glyphs) {
    const GlyphSelection g = glyphs.clamped();
    std::vector<uint8_t> out;
    out.reserve(kPsf2HeaderBytes + kCharsetBytes);
    const std::array<uint32_t, 8> header = {kMagic,      0,          kPsf2HeaderBytes, 0,
                                            kGlyphCount, kGlyphRows, kGlyphRows,       8};
    for (uint32_t word : header)
        put_word(out, word);
    out.resize(kPsf2HeaderBytes + kCharsetBytes, 0);
    const auto from = store.bytes.begin() + kGlyphRows * g.first;
    std::copy(from, from + kGlyphRows * g.count,
              out.begin() + kPsf2HeaderBytes + kGlyphRows * g.first);
    return out;
}

} // namespace fontarel
