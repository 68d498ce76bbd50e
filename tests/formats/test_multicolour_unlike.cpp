// Multicolour screens against the paintings they come from: the double-wide pixels drawn unlike the
// painting, recounted from the screen as the machine draws it, are never more than with the pair
// of registers that fits the most cells and the patterns merged by differing bits.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>

#include "formats/cell_glyphs.h"
#include "formats/multicolour_import.h"

namespace fontarel {
namespace {

// The entry of picture pixel x (0 to 8 cols - 1) of row y.
int entry(const EntryPicture& p, int x, int y) {
    return p.entry[static_cast<size_t>(y * 4 * p.step * p.cols + x * p.step / 2)];
}

// Double-wide pixels that cell (cx, cy) of `map` draws unlike the painting with glyph `code`, as
// the machine draws them.
int cell_unlike(const EntryPicture& p, const CharMap& map, const CharsetStore& charset, int cx,
                int cy, int code) {
    const int attr = map.attr(cx, cy);
    const int four[4] = {map.look.background, map.look.multicolour_1, map.look.multicolour_2, attr & 7};
    int n = 0;
    for (int r = 0; r < 8; ++r)
        for (int x = 0; x < 8; x += 2) {
            const unsigned row = charset.glyph(code)[r];
            const auto drawn = [&](int bit) {
                return attr & 8         ? four[row >> (bit & 6) & 3]
                       : row >> bit & 1 ? attr
                                        : map.look.background;
            };
            n += drawn(7 - x) != entry(p, 8 * cx + x, 8 * cy + r) ||
                 drawn(6 - x) != entry(p, 8 * cx + x + 1, 8 * cy + r);
        }
    return n;
}

int unlike(const EntryPicture& p, const CharMap& map, const CharsetStore& charset) {
    int n = 0;
    for (int cy = 0; cy < p.rows; ++cy)
        for (int cx = 0; cx < p.cols; ++cx)
            n += cell_unlike(p, map, charset, cx, cy, map.at(cx, cy));
    return n;
}

// The screen of the rule before: the pair of registers that lets the most cells fit (then the one
// of more entries, then the lowest), each cell's own colour the one that draws the most, the
// patterns merged by differing bits. `drawn[a][b]`: the double-wide pixels that cells but hi-res
// ones draw as they are with registers a and b, each with the own colour that draws the most.
void old_rule(const EntryPicture& p, CharMap& map, CharsetStore& charset, int (&drawn)[16][16]) {
    std::array<int, 16> whole{};
    for (uint8_t e : p.entry)
        ++whole[e];
    const int bg = static_cast<int>(std::max_element(whole.begin(), whole.end()) - whole.begin());
    const int cells = p.cols * p.rows;
    const auto at = [&](int c, int r, int x) {
        return entry(p, 8 * (c % p.cols) + x, 8 * (c / p.cols) + r);
    };
    const auto fits = [](unsigned rest) { return rest == (rest & -rest) && rest < 256; };
    std::vector<unsigned> left(cells), full(cells);
    std::vector<bool> hires(cells);
    std::vector<std::array<int, 16>> even(cells);
    for (int c = 0; c < cells; ++c) {
        bool uneven = false;
        for (int r = 0; r < 8; ++r)
            for (int x = 0; x < 8; x += 2) {
                left[c] |= 1u << at(c, r, x);
                full[c] |= 1u << at(c, r, x) | 1u << at(c, r, x + 1);
                uneven |= at(c, r, x) != at(c, r, x + 1);
                even[c][at(c, r, x)] += at(c, r, x) == at(c, r, x + 1);
            }
        hires[c] = uneven && fits(full[c] & ~(1u << bg));
    }
    // Cell c's own colour, 0-7, under registers i and j: the one that draws the most, else 6.
    const auto own_colour = [&](int c, int i, int j) {
        int own = 6, most = 0;
        for (int o = 0; o < 8; ++o)
            if (o != bg && o != i && o != j && even[c][o] > most)
                most = even[c][o], own = o;
        return own;
    };
    std::tuple best{-1, -1};
    int a = 0, b = 0;
    for (int i = 0; i < 16; ++i)
        for (int j = i + 1; j < 16; ++j) {
            if (i == bg || j == bg)
                continue;
            int fit = 0;
            drawn[i][j] = 0;
            for (int c = 0; c < cells; ++c) {
                fit += !hires[c] && fits(left[c] & ~(1u << bg | 1u << i | 1u << j));
                const int own = own_colour(c, i, j);
                drawn[i][j] +=
                    hires[c] ? 0
                             : even[c][i] + even[c][j] + (own != i && own != j ? even[c][own] : 0);
            }
            if (std::tuple{fit, whole[i] + whole[j]} > best)
                best = {fit, whole[i] + whole[j]}, a = i, b = j;
        }
    std::vector<GlyphPattern> patterns(cells);
    for (int c = 0; c < cells; ++c) {
        const int own = hires[c] ? std::countr_zero(full[c] & ~(1u << bg)) : own_colour(c, a, b);
        const int four[4] = {bg, a, b, own};
        for (int r = 0; r < 8; ++r) {
            unsigned byte = 0;
            for (int x = 0; x < 8; x += 2)
                byte = hires[c] ? byte << 2 | (at(c, r, x) == own) << 1 | (at(c, r, x + 1) == own)
                                : byte << 2 | ((std::find(four, four + 4, at(c, r, x)) - four) & 3);
            patterns[c] |= GlyphPattern{byte} << 8 * r;
        }
        map.attr(c % p.cols, c / p.cols) = static_cast<uint8_t>(hires[c] ? own : 8 | own);
    }
    const CellPatterns distinct = distinct_patterns(patterns);
    const NewCharset made = make_new_charset(distinct, charset);
    for (int c = 0; c < cells; ++c)
        map.at(c % p.cols, c / p.cols) = made.code_of[distinct.pattern[c]];
    map.look.background = static_cast<uint8_t>(bg);
    map.look.multicolour_1 = static_cast<uint8_t>(a), map.look.multicolour_2 = static_cast<uint8_t>(b);
}

enum Kind { FewColours, ManyColours, Noisy, Dithered, Cartoon, FullWidth };

// A painting of 40 x 25 cells; FullWidth's by pairs of pixels, with lines one pixel wide.
EntryPicture painting(Kind kind, unsigned seed) {
    std::mt19937 random(seed);
    const int step = kind == FullWidth ? 2 : 1, width = 160 * step;
    EntryPicture p{40, 25, step, std::vector<uint8_t>(size_t{200} * width)};
    // Shapes of a few colours, each ring outlined in black, on a background.
    int shapes[8][4];
    for (auto& s : shapes)
        s[0] = random() % width, s[1] = random() % 200, s[2] = 8 + random() % 40,
        s[3] = random() % 16;
    std::vector<unsigned> cell_colours(1000);
    for (unsigned& c : cell_colours)
        for (unsigned k = kind == FewColours ? 2 + random() % 3 : 6 + random() % 5; k > 0; --k)
            c |= 1u << random() % 16;
    constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    constexpr int kRamp[] = {0, 6, 9, 2, 11, 4, 8, 14, 12, 5, 10, 3, 15, 7, 13, 1}; // dark to light
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < width; ++x) {
            int e = 14;
            for (const auto& s : shapes) {
                const int d = std::abs(x / step - s[0] / step) + std::abs(y - s[1]);
                e = d < s[2] - 2 ? s[3] : d < s[2] ? 0 : e;
            }
            const unsigned colours = cell_colours[static_cast<size_t>(y / 8 * 40 + x / (4 * step))];
            if (kind == FewColours || kind == ManyColours)
                do
                    e = static_cast<int>(random() % 16);
                while (!(colours >> e & 1));
            else if (kind == Dithered)
                e = kRamp[(x / step * static_cast<int>(90 + 20 * seed) / 159 +
                           y * static_cast<int>(150 - 20 * seed) / 199 +
                           kBayer[y % 4][x / step % 4]) /
                          16];
            else if (kind == Noisy && random() % 6 == 0)
                e = static_cast<int>(random() % 16);
            else if (kind == FullWidth && x % 7 == 0)
                e = e == 14 ? y / 8 % 8 : static_cast<int>(random() % 16);
            p.entry[static_cast<size_t>(y * width + x)] = static_cast<uint8_t>(e);
        }
    return p;
}

TEST(MulticolourUnlike, NoMorePixelsUnlikeThanThePairThatFitsMostCells) {
    for (Kind kind : {FewColours, ManyColours, Noisy, Dithered, Cartoon, FullWidth})
        for (unsigned seed : {1u, 2u, 3u}) {
            SCOPED_TRACE(kind * 10 + seed);
            const EntryPicture p = painting(kind, seed);
            const ScreenImport screen = import_multicolour_entries(p, {});
            ASSERT_TRUE(screen.ok()) << screen.error;
            EXPECT_EQ(screen.unlike_pixels, unlike(p, screen.map, screen.charset));
            CharMap map;
            CharsetStore charset;
            int drawn[16][16] = {};
            old_rule(p, map, charset, drawn);
            EXPECT_LE(screen.unlike_pixels, unlike(p, map, charset));
            // The registers draw the most double-wide pixels as they are.
            EXPECT_EQ(drawn[screen.map.look.multicolour_1][screen.map.look.multicolour_2],
                      *std::max_element(&drawn[0][0], &drawn[0][0] + 256));
            // Every cell shows the glyph that draws it nearest.
            int nearer = 0;
            for (int cell = 0; cell < 1000; ++cell) {
                const int cx = cell % 40, cy = cell / 40;
                const int shown =
                    cell_unlike(p, screen.map, screen.charset, cx, cy, screen.map.at(cx, cy));
                for (int code = 0; code < 256 && shown > 0; ++code)
                    nearer += cell_unlike(p, screen.map, screen.charset, cx, cy, code) < shown;
            }
            EXPECT_EQ(nearer, 0);
        }
}

// 257 patterns in the registers' colours: X and Y one bit (one double-wide pixel) apart, 3 cells
// each; Z in `z_cells` cells two bits but one double-wide pixel from W, in 3 cells. Merging by
// bits would join X and Y; with one cell Z goes, with 4 W, the latest of X, Y and W.
TEST(MulticolourUnlike, TheMergeDropsThePatternWhoseCellsCostTheFewestPixels) {
    for (const auto& [z_cells, unlike, near] : {std::tuple{1, 1, 1}, {4, 3, 3}}) {
        SCOPED_TRACE(z_cells);
        std::mt19937 random(9);
        std::vector<std::array<uint8_t, 32>> patterns(255); // each double-wide pixel's colour 0-3
        for (auto& p : patterns)
            for (auto& e : p)
                e = static_cast<uint8_t>(random() % 4);
        patterns[0][0] = 0, patterns[1][0] = 1;
        const auto x = patterns[0], w = patterns[1];
        auto y = x, z = w;
        y[0] = 1, z[0] = 2;
        EntryPicture p{40, 25, 1, std::vector<uint8_t>(32000)};
        for (int c = 0; c < 1000; ++c) {
            const auto& cell = c < 3 ? x : c < 6 ? y : c < 6 + z_cells ? z : patterns[1 + c % 254];
            for (int e = 0; e < 32; ++e)
                p.entry[static_cast<size_t>((c / 40 * 8 + e / 4) * 160 + c % 40 * 4 + e % 4)] =
                    cell[e];
        }
        const ScreenImport screen = import_multicolour_entries(p, {0, 1, 2});
        EXPECT_EQ(screen.distinct, 257);
        EXPECT_EQ(screen.unlike_pixels, unlike);
        EXPECT_EQ(screen.near_glyph, near);
        EXPECT_EQ(screen.map.at(6, 0), screen.map.at(14, 6)); // Z's and W's first cells
    }
}

} // namespace
} // namespace fontarel
