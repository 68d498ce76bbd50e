// Atari four-colour screens (see atari_import.h).

#include "formats/atari_import.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string>

#include "formats/cell_glyphs.h"
#include "formats/multicolour_glyphs.h"
#include "formats/pixel_rule.h"
#include "formats/screen_colours.h"
#include "model/atari_palette.h"

namespace fontarel {

namespace {

constexpr int kMostWidePixels = 160; // double-wide pixels of a row: 40 cells
constexpr int kMostHeight = 192;     // pixel rows: 24 cells
constexpr int kCandidates = 12;      // the most frequent colours the registers are chosen from
constexpr int kAtariGlyphs = 128;    // a code's bit 7 is no glyph's: it chooses COLPF3
constexpr int kWide = 32;            // double-wide pixels of a cell

// Bit 2j of a pattern for the pair of `row` at `pair` (0 the leftmost).
GlyphPattern pair_bit(int row, int pair) {
    return GlyphPattern{1} << (8 * row + 6 - 2 * pair);
}

// A cell as the picture has it: its double-wide pixels row by row (palette indices), and whether
// the two pixels of some pair differ.
struct Cell {
    std::array<uint8_t, kWide> wide{};
    std::array<bool, kWide> even{};
    bool uneven = false;
};

// The candidates by frequency, most first (the lowest index on ties), COLBK left out; fewer than
// four are filled up with the lowest colours the picture lacks, which draw nothing.
std::vector<int> candidates(const std::array<int, kAtariColours>& whole, int background) {
    std::vector<int> order(kAtariColours);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return whole[static_cast<size_t>(a)] > whole[static_cast<size_t>(b)];
    });
    std::vector<int> out;
    for (const int c : order)
        if (c != background && whole[static_cast<size_t>(c)] > 0 &&
            static_cast<int>(out.size()) < kCandidates)
            out.push_back(c);
    for (const int c : order)
        if (out.size() < 4 && c != background && whole[static_cast<size_t>(c)] == 0)
            out.push_back(c);
    return out;
}

} // namespace

ScreenImport import_atari_screen(const Picture& picture) {
    ScreenImport out;
    int step = 0;
    if (whole_picture(picture) && picture.height % 8 == 0 && picture.height <= kMostHeight) {
        if (picture.width <= kMostWidePixels && picture.width % 4 == 0)
            step = 1;
        else if (picture.width <= 2 * kMostWidePixels && picture.width % 8 == 0)
            step = 2;
    }
    if (step == 0) {
        out.error = "is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                    ": an Atari four-colour screen picture is at most 160 x 192 double-wide "
                    "pixels (a width of 4s), or 320 x 192 (a width of 8s), its height a multiple "
                    "of 8";
        return out;
    }
    const int cols = picture.width / (4 * step), rows = picture.height / 8;
    const std::vector<uint8_t> entry = palette_entries(picture, MapMachine::Atari);
    std::vector<Cell> cells(static_cast<size_t>(cols) * rows);
    std::array<int, kAtariColours> whole{};
    for (int i = 0; i < cols * rows; ++i) {
        Cell& cell = cells[static_cast<size_t>(i)];
        const int cx = i % cols, cy = i / cols;
        for (int r = 0; r < 8; ++r)
            for (int p = 0; p < 4; ++p) {
                const size_t at = static_cast<size_t>(8 * cy + r) * picture.width +
                                  static_cast<size_t>((4 * cx + p) * step);
                const uint8_t left = entry[at], right = entry[at + step - 1];
                cell.wide[static_cast<size_t>(4 * r + p)] = left;
                cell.even[static_cast<size_t>(4 * r + p)] = left == right;
                cell.uneven = cell.uneven || left != right;
                ++whole[left];
            }
    }
    const int background =
        static_cast<int>(std::max_element(whole.begin(), whole.end()) - whole.begin());
    const std::vector<int> cand = candidates(whole, background);
    const int k = static_cast<int>(cand.size());

    // Each cell's double-wide pixels of each candidate; a register pair's cost is separable but
    // for COLPF2/COLPF3, of which a cell takes the one drawing more: sum those per pair once.
    std::vector<std::array<uint8_t, kCandidates>> counts(cells.size());
    for (size_t i = 0; i < cells.size(); ++i)
        for (const uint8_t c : cells[i].wide)
            for (int j = 0; j < k; ++j)
                counts[i][static_cast<size_t>(j)] += c == cand[static_cast<size_t>(j)];
    std::array<std::array<int, kCandidates>, kCandidates> either{};
    for (int c = 0; c < k; ++c)
        for (int d = c + 1; d < k; ++d)
            for (const auto& n : counts)
                either[static_cast<size_t>(c)][static_cast<size_t>(d)] +=
                    std::max(n[static_cast<size_t>(c)], n[static_cast<size_t>(d)]);
    const auto drawn = [&](int j) {
        return whole[static_cast<size_t>(cand[static_cast<size_t>(j)])];
    };
    std::array<int, 4> best{0, 1, 2, 3};
    int best_drawn = -1;
    for (int a = 0; a < k; ++a)
        for (int b = a + 1; b < k; ++b)
            for (int c = 0; c < k; ++c)
                for (int d = c + 1; d < k; ++d) {
                    if (c == a || c == b || d == a || d == b)
                        continue;
                    const int total = drawn(a) + drawn(b) +
                                      either[static_cast<size_t>(c)][static_cast<size_t>(d)];
                    if (total > best_drawn)
                        best_drawn = total, best = {a, b, c, d};
                }
    std::array<int, 4> reg{};
    for (size_t j = 0; j < 4; ++j)
        reg[j] = cand[static_cast<size_t>(best[j])];

    const auto palette = atari_palette();
    std::vector<GlyphPattern> patterns(cells.size());
    std::vector<PairFit> fits(cells.size());
    std::vector<bool> inverse(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        inverse[i] =
            counts[i][static_cast<size_t>(best[3])] > counts[i][static_cast<size_t>(best[2])];
        const std::array<int, 4> four{background, reg[0], reg[1], reg[inverse[i] ? 3 : 2]};
        bool beyond = false;
        GlyphPattern pattern = 0;
        PairFit fit;
        for (int r = 0; r < 8; ++r)
            for (int p = 0; p < 4; ++p) {
                const int colour = cell.wide[static_cast<size_t>(4 * r + p)];
                int value = -1;
                for (int v = 0; v < 4 && value < 0; ++v)
                    value = four[static_cast<size_t>(v)] == colour ? v : -1;
                beyond = beyond || value < 0;
                if (value < 0) {
                    value = 0;
                    for (int v = 1; v < 4; ++v)
                        if (colour_distance(
                                palette[static_cast<size_t>(colour)],
                                palette[static_cast<size_t>(four[static_cast<size_t>(v)])]) <
                            colour_distance(
                                palette[static_cast<size_t>(colour)],
                                palette[static_cast<size_t>(four[static_cast<size_t>(value)])]))
                            value = v;
                }
                pattern |= pair_bit(r, p) * static_cast<GlyphPattern>(value);
                for (int v = 0; v < 4; ++v)
                    if (four[static_cast<size_t>(v)] == colour &&
                        cell.even[static_cast<size_t>(4 * r + p)])
                        fit.shows[static_cast<size_t>(v)] |= pair_bit(r, p);
            }
        patterns[i] = pattern;
        fits[i] = fit;
        out.uneven_pairs += cell.uneven;
        out.beyond_mode += beyond;
    }

    const CellPatterns distinct = distinct_patterns(patterns);
    out.cells = cols * rows;
    out.distinct = static_cast<int>(distinct.patterns.size());
    const GlyphChoice chosen = choose_glyphs(distinct, fits, kAtariGlyphs);
    const NewCharset made = charset_of_patterns(distinct, chosen.kept, out.charset);
    const int blank =
        made.blank < kAtariGlyphs ? made.blank : nearest_to_blank(out.charset, kAtariGlyphs);
    CharMap& map = out.map;
    map.look.machine = MapMachine::Atari;
    map.look.atari_mode = kAtariFourColours;
    map.look.colbk = static_cast<uint8_t>(2 * background);
    for (size_t j = 0; j < 4; ++j)
        map.look.colpf[j] = static_cast<uint8_t>(2 * reg[j]);
    fit_map_size(map, cols, rows);
    std::array<bool, kAtariGlyphs> used{};
    for (int y = 0; y < map.rows; ++y)
        for (int x = 0; x < map.cols; ++x) {
            if (x >= cols || y >= rows) {
                map.at(x, y) = blank;
                continue;
            }
            const size_t i = static_cast<size_t>(y * cols + x);
            const int code = made.code_of[static_cast<size_t>(chosen.shown[i])];
            const GlyphPattern glyph = glyph_pattern(out.charset, code);
            map.at(x, y) = code | (inverse[i] ? 0x80 : 0);
            used[static_cast<size_t>(code)] = true;
            out.near_glyph += glyph != patterns[i];
            out.unlike_pixels += pairs_unlike(fits[i], glyph);
        }
    out.glyphs = static_cast<int>(std::count(used.begin(), used.end(), true));

    out.note = pair_import_note(out.uneven_pairs, out.beyond_mode, out.near_glyph, made.codes);
    return out;
}

} // namespace fontarel
