#include "model/charset_store.h"

#include <algorithm>
#include <cstring>

namespace fontarel {

namespace {

int clamp_glyph(int g) {
    return std::clamp(g, 0, kGlyphCount - 1);
}

} // namespace

void erase_charset(CharsetStore& store) {
    store.bytes.fill(0);
    store.materials.fill(0);
}

void insert_glyph(CharsetStore& store, uint8_t c) {
    uint8_t* at = store.bytes.data() + kGlyphRows * c;
    // Glyphs c..254 move up one place; memmove copies as if through a temporary, which is what a
    // descending byte loop gives for this overlap.
    std::memmove(at + kGlyphRows, at, static_cast<size_t>(kGlyphRows * (kGlyphCount - 1 - c)));
    std::fill_n(at, kGlyphRows, uint8_t{0});
    // Each material goes with its glyph.
    uint8_t* material = store.materials.data() + c;
    std::memmove(material + 1, material, static_cast<size_t>(kGlyphCount - 1 - c));
    *material = 0;
}

void delete_glyph(CharsetStore& store, uint8_t c) {
    uint8_t* at = store.bytes.data() + kGlyphRows * c;
    // Glyphs c+1..255 move down one place. The destination lies below the source, so an ascending
    // byte copy reads every byte before it is overwritten; memmove gives the same result.
    std::memmove(at, at + kGlyphRows, static_cast<size_t>(kGlyphRows * (kGlyphCount - 1 - c)));
    auto last = store.glyph(kGlyphCount - 1);
    std::fill(last.begin(), last.end(), uint8_t{0});
    uint8_t* material = store.materials.data() + c;
    std::memmove(material, material + 1, static_cast<size_t>(kGlyphCount - 1 - c));
    store.materials[kGlyphCount - 1] = 0;
}

bool copy_glyph_range(CharsetStore& store, int first, int last, uint8_t c) {
    const int lo = clamp_glyph(std::min(first, last));
    const int hi = clamp_glyph(std::max(first, last));
    if (lo <= c && c <= hi) {
        return false;
    }
    // Ascending order: when c < lo every destination glyph lies below the source glyph being read,
    // so no source is overwritten before it is read; when c > hi they do not overlap at all.
    for (int i = lo; i <= hi; ++i) {
        const int d = c + (i - lo);
        if (d >= kGlyphCount) {
            break;
        }
        auto src = store.glyph(i);
        std::copy(src.begin(), src.end(), store.glyph(d).begin());
        store.materials[static_cast<size_t>(d)] = store.materials[static_cast<size_t>(i)];
    }
    return true;
}

uint8_t blank_code(const CharsetStore& store) {
    const auto blank = [&](int code) {
        const auto rows = store.glyph(code);
        return std::all_of(rows.begin(), rows.end(), [](uint8_t row) { return row == 0; });
    };
    if (blank(32))
        return 32;
    for (int code = 0; code < kGlyphCount; ++code)
        if (blank(code))
            return static_cast<uint8_t>(code);
    return 0;
}

} // namespace fontarel
