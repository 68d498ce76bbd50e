#include "model/export_prg.h"

#include <algorithm>

namespace fontarel {

std::vector<uint8_t> glyphs_as_prg(const CharsetStore& store, GlyphSelection glyphs,
                                   int load_address) {
    const GlyphSelection g = glyphs.clamped();
    std::vector<uint8_t> out(2 + static_cast<size_t>(kGlyphRows * g.count));
    out[0] = static_cast<uint8_t>(load_address & 0xFF);
    out[1] = static_cast<uint8_t>(load_address >> 8 & 0xFF);
    std::copy_n(store.bytes.begin() + kGlyphRows * g.first, kGlyphRows * g.count, out.begin() + 2);
    return out;
}

} // namespace fontarel
