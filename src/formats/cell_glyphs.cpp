// The glyphs of a screen's cells (see cell_glyphs.h).

#include "formats/cell_glyphs.h"

#include <array>

#include "formats/pattern_merge.h"

namespace fontarel {

namespace {

constexpr int kMostCols = 80; // cells of the largest machine size
constexpr int kMostRows = 50;

// The scan that costs the time, written once for two ways of counting differing pixels: the CPU's
// population count where it has one, else differing_pixels (as in the pattern merge).
template <bool kCpuCount>
[[gnu::always_inline]] inline void nearest(std::span<const GlyphPattern> patterns,
                                           std::span<const GlyphPattern> glyphs,
                                           std::vector<int>& code_of) {
    const int count = static_cast<int>(glyphs.size());
    for (size_t i = 0; i < patterns.size(); ++i) {
        int best = 0, fewest = 65;
        for (int code = 0; code < count && fewest > 0; ++code) {
            const GlyphPattern both = patterns[i] ^ glyphs[static_cast<size_t>(code)];
            int d = 0;
            if constexpr (kCpuCount)
                d = __builtin_popcountll(both);
            else
                d = set_pixels(both);
            if (d < fewest)
                fewest = d, best = code;
        }
        code_of[i] = best;
    }
}

#if defined(__x86_64__)
[[gnu::target("popcnt")]] void nearest_with_popcnt(std::span<const GlyphPattern> patterns,
                                                   std::span<const GlyphPattern> glyphs,
                                                   std::vector<int>& code_of) {
    nearest<true>(patterns, glyphs, code_of);
}
#endif

} // namespace

CellPatterns distinct_patterns(std::span<const GlyphPattern> cells) {
    CellPatterns out;
    // Identical patterns by an open-addressed table of twice the most cells (a power of two).
    constexpr int kTableBits = 13;
    static_assert(1 << kTableBits >= 2 * kMostCols * kMostRows);
    std::vector<int> table(size_t{1} << kTableBits, -1);
    out.pattern.resize(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        size_t slot = (cells[i] * 0x9E3779B97F4A7C15u) >> (64 - kTableBits);
        while (table[slot] >= 0 && out.patterns[static_cast<size_t>(table[slot])] != cells[i])
            slot = (slot + 1) & ((size_t{1} << kTableBits) - 1);
        if (table[slot] < 0) {
            table[slot] = static_cast<int>(out.patterns.size());
            out.patterns.push_back(cells[i]);
            out.count.push_back(0);
        }
        out.pattern[i] = table[slot];
        ++out.count[static_cast<size_t>(table[slot])];
    }
    return out;
}

void fit_map_size(CharMap& map, int cols, int rows) {
    int best = kMostCols * kMostRows;
    map.cols = kMostCols;
    map.rows = kMostRows;
    for (const MapSize& size : kMapSizes) {
        if (size.cols >= cols && size.rows >= rows && size.cols * size.rows < best) {
            best = size.cols * size.rows;
            map.cols = size.cols;
            map.rows = size.rows;
        }
    }
}

std::vector<int> nearest_glyphs(std::span<const GlyphPattern> patterns, const CharsetStore& store,
                                int count, bool inverse) {
    const GlyphPattern flip = inverse ? ~GlyphPattern{0} : 0;
    std::array<GlyphPattern, kGlyphCount> glyphs;
    for (int code = 0; code < count; ++code)
        glyphs[static_cast<size_t>(code)] = glyph_pattern(store, code) ^ flip;
    std::vector<int> code_of(patterns.size());
#if defined(__x86_64__)
    if (__builtin_cpu_supports("popcnt")) {
        nearest_with_popcnt(patterns, {glyphs.data(), static_cast<size_t>(count)}, code_of);
        return code_of;
    }
#endif
    nearest<false>(patterns, {glyphs.data(), static_cast<size_t>(count)}, code_of);
    return code_of;
}

int nearest_to_blank(const CharsetStore& store, int count) {
    int best = 0, fewest = 65;
    for (int code = 0; code < count; ++code) {
        const int n = set_pixels(glyph_pattern(store, code));
        if (n < fewest)
            fewest = n, best = code;
    }
    return best;
}

NewCharset charset_of_patterns(const CellPatterns& cells, const std::vector<int>& kept,
                               CharsetStore& charset) {
    NewCharset out;
    charset = CharsetStore{};
    // The kept patterns become the glyphs, in their order; every pattern's code is the glyph
    // nearest it, which for a kept pattern is its own.
    out.codes = static_cast<int>(kept.size());
    for (int code = 0; code < out.codes; ++code)
        set_glyph_pattern(charset, code,
                          cells.patterns[static_cast<size_t>(kept[static_cast<size_t>(code)])]);
    out.code_of = nearest_glyphs(cells.patterns, charset, out.codes);

    // The glyphs after the patterns are blank, so the first of them serves as the blank one.
    out.blank = out.codes < kGlyphCount ? out.codes : nearest_to_blank(charset, kGlyphCount);
    for (int code = 0; code < out.codes; ++code)
        if (glyph_pattern(charset, code) == 0) {
            out.blank = code;
            break;
        }
    return out;
}

NewCharset make_new_charset(const CellPatterns& cells, CharsetStore& charset) {
    return charset_of_patterns(cells, merge_patterns(cells.patterns, cells.count, kGlyphCount),
                               charset);
}

} // namespace fontarel
