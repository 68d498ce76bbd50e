#include "formats/export_sheet.h"

namespace fontarel {

std::vector<int32_t> glyph_sheet_pixels(const CharsetStore& store, GlyphSelection glyphs,
                                        int32_t clear, int32_t set) {
    const GlyphSelection g = glyphs.clamped();
    std::vector<int32_t> out(static_cast<size_t>(kSheetSize) * kSheetSize, clear);
    constexpr int kPerRow = kSheetSize / 8; // glyphs a grid row
    for (int code = g.first; code < g.first + g.count; ++code) {
        const int left = 8 * (code % kPerRow);
        const int top = 8 * (code / kPerRow);
        const auto rows = store.glyph(code);
        for (int r = 0; r < kGlyphRows; ++r) {
            int32_t* line = out.data() + static_cast<size_t>(top + r) * kSheetSize + left;
            for (int bit = 0; bit < 8; ++bit)
                line[bit] = (rows[static_cast<size_t>(r)] >> (7 - bit) & 1) ? set : clear;
        }
    }
    return out;
}

} // namespace fontarel
