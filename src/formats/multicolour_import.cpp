// C64 multicolour screens (see multicolour_import.h).

#include "formats/multicolour_import.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <tuple>

#include "formats/cell_glyphs.h"
#include "formats/multicolour_glyphs.h"
#include "formats/pixel_rule.h"
#include "formats/screen_colours.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

constexpr int kColours = 16;
constexpr int kMostCols = 80, kMostRows = 50;
// own_colour: the cell needs no colour of its own; or more than one, or one past 7.
constexpr int kNone = -1, kNoFit = -2;
// The colour RAM's low three bits of a multicolour cell that needs no colour of its own: those of
// the blank attribute (14), which cleared cells get.
constexpr int kSpareColour = 6;
constexpr uint8_t kMulticolourCell = 8; // the colour RAM's bit that makes a cell multicolour
constexpr GlyphPattern kLowBits = 0x5555555555555555u; // bit 2j of every bit pair j

// A set of palette entries, bit i for entry i.
using Mask = unsigned;
using Counts = std::array<int, kColours>;

// The one colour a cell of the colours `cell` needs besides those in `shared`: kNone, a colour
// 0-7, or kNoFit.
int own_colour(Mask cell, Mask shared) {
    const Mask rest = cell & ~shared;
    if (rest == 0)
        return kNone;
    if ((rest & (rest - 1)) != 0 || rest > 0xFF)
        return kNoFit;
    return std::countr_zero(rest);
}

// Whether own_colour(cell, shared) is not kNoFit, without a branch: the pair search asks it 105
// times for every distinct set of colours.
int fits(Mask cell, Mask shared) {
    const Mask rest = cell & ~shared;
    return static_cast<int>(((rest & (rest - 1)) | rest >> 8) == 0);
}

// What a cell holds.
struct Survey {
    Mask wide = 0;       // the colours of its double-wide pixels (each pair's left pixel)
    Mask full = 0;       // the colours of all its picture pixels
    bool uneven = false; // the two pixels of some pair differ
    bool hires = false;  // uneven, and drawn as a hi-res cell
    // The double-wide pixels of each colour whose two pixels are alike: those a multicolour
    // cell can draw as they are.
    std::array<uint8_t, kColours> even{};
};

// A cell of the picture: its first entry, rows `width` entries apart, pairs `step` entries apart.
struct CellView {
    const uint8_t* first;
    int width, step;
    int wide(int row, int pair) const { return first[row * width + pair * step] & 15; }
    int pixel(int row, int x) const { return first[row * width + x] & 15; }
};

CellView cell_at(const EntryPicture& picture, int cx, int cy) {
    const int width = 4 * picture.step * picture.cols;
    return {picture.entry.data() + static_cast<size_t>(8 * cy) * width + 4 * picture.step * cx,
            width, picture.step};
}

Survey survey_cell(const CellView& cell, Counts& whole) {
    Survey s;
    for (int r = 0; r < 8; ++r)
        for (int p = 0; p < 4; ++p) {
            const int left = cell.wide(r, p), right = cell.pixel(r, p * cell.step + cell.step - 1);
            s.full |= 1u << left | 1u << right;
            s.wide |= 1u << left;
            ++whole[static_cast<size_t>(left)];
            if (cell.step == 2)
                ++whole[static_cast<size_t>(right)];
            if (left == right)
                ++s.even[static_cast<size_t>(left)];
            else
                s.uneven = true;
        }
    return s;
}

// Squared RGB distances between the palette's entries.
using Distances = std::array<std::array<int64_t, kColours>, kColours>;
Distances palette_distances() {
    const auto palette = machine_palette(MapMachine::C64).colours;
    Distances d{};
    for (int i = 0; i < kColours; ++i)
        for (int j = 0; j < kColours; ++j)
            for (int shift = 0; shift < 24; shift += 8) {
                const int64_t c = (palette[static_cast<size_t>(i)] >> shift & 0xFF) -
                                  (palette[static_cast<size_t>(j)] >> shift & 0xFF);
                d[static_cast<size_t>(i)][static_cast<size_t>(j)] += c * c;
            }
    return d;
}

struct Registers {
    int background, colour_1, colour_2;
    Mask shared() const { return 1u << background | 1u << colour_1 | 1u << colour_2; }
};

// The double-wide pixels that the cells' own colours draw as they are under each pair of
// registers, summed over the cells once rather than for every pair. A cell's own colour draws
// the most of its double-wide pixels of the colours 0-7 but the background and the registers: it
// is the first of its three most drawing ones that is no register. So the sums are kept by a
// cell's first and second of those (kColours for none), and a pair costs a few look-ups.
struct OwnSums {
    using Row = std::array<int, kColours + 1>;
    int first = 0;   // the pixels of the cells' first colours
    Row first_of{};  // the same, of the cells of each first colour
    Row second_of{}; // the pixels of the second colours, by first colour
    std::array<Row, kColours + 1> second{}, third{}; // by first and second colour

    void add(const Survey& s, int background) {
        std::array<int, 3> pixels{}, colour{kColours, kColours, kColours};
        for (int c = 0; c < 8; ++c) {
            int n = s.even[static_cast<size_t>(c)], k = c;
            if (c == background || n == 0)
                continue;
            for (size_t j = 0; j < 3; ++j)
                if (n > pixels[j]) {
                    std::swap(n, pixels[j]);
                    std::swap(k, colour[j]);
                }
        }
        const size_t c0 = static_cast<size_t>(colour[0]), c1 = static_cast<size_t>(colour[1]);
        first += pixels[0];
        first_of[c0] += pixels[0];
        second_of[c0] += pixels[1];
        second[c0][c1] += pixels[1];
        third[c0][c1] += pixels[2];
    }
    // Under registers a and b: a cell adds its first colour's pixels unless that is a or b, else
    // its second's unless that is the other, else its third's.
    int drawn(size_t a, size_t b) const {
        return first - first_of[a] - first_of[b] + second_of[a] - second[a][b] + second_of[b] -
               second[b][a] + third[a][b] + third[b][a];
    }
};

// The pair of registers with which the cells read as multicolour draw the most double-wide
// pixels as they are, each cell with its best own colour; then the one that lets the most cells
// fit, over each distinct set of colours once; then the one whose colours cover more of the
// picture (see import_multicolour_entries).
void search_registers(const std::vector<Survey>& cells, const Counts& whole, Registers& reg) {
    std::vector<Mask> masks;
    OwnSums owns;
    Counts even{}; // double-wide pixels drawn as they are when their colour is a register
    for (const Survey& s : cells) {
        if (s.hires)
            continue;
        masks.push_back(s.wide);
        owns.add(s, reg.background);
        for (size_t k = 0; k < kColours; ++k)
            even[k] += s.even[k];
    }
    std::sort(masks.begin(), masks.end());
    std::vector<std::pair<Mask, int>> runs; // each distinct set and its cells
    for (Mask m : masks) {
        if (runs.empty() || runs.back().first != m)
            runs.push_back({m, 0});
        ++runs.back().second;
    }
    std::tuple best{-1, -1, -1}; // drawn as they are, cells that fit, cover
    for (int a = 0; a < kColours; ++a)
        for (int b = a + 1; b < kColours; ++b) {
            if (a == reg.background || b == reg.background)
                continue;
            const size_t i = static_cast<size_t>(a), j = static_cast<size_t>(b);
            const int drawn = even[i] + even[j] + owns.drawn(i, j);
            const Mask shared = 1u << reg.background | 1u << a | 1u << b;
            int fit = 0;
            for (const auto& [mask, n] : runs)
                fit += fits(mask, shared) * n;
            const std::tuple score{drawn, fit, whole[i] + whole[j]};
            if (score > best) {
                best = score;
                reg.colour_1 = a, reg.colour_2 = b;
            }
        }
}

// A cell's glyph pattern and attribute, and what it draws with any glyph.
struct Drawn {
    GlyphPattern pattern;
    uint8_t attr;
    PairFit fit;
};

// The bit 2j of pair j that draws double-wide pixel `pair` (0-3) of cell row `row`.
GlyphPattern pair_bit(int row, int pair) {
    return GlyphPattern{1} << (8 * row + 6 - 2 * pair);
}

// A hi-res cell: its pixels of the one colour besides the background are set.
Drawn draw_hires(const CellView& cell, const Survey& s, int background) {
    const int ink = own_colour(s.full, 1u << background);
    Drawn d{0, static_cast<uint8_t>(ink), {}};
    for (int r = 0; r < 8; ++r) {
        unsigned byte = 0;
        for (int x = 0; x < 8; ++x)
            byte = byte << 1 | static_cast<unsigned>(cell.pixel(r, x) == ink);
        d.pattern |= GlyphPattern{byte} << (8 * r);
        for (int p = 0; p < 4; ++p)
            d.fit.shows[byte >> (6 - 2 * p) & 3] |= pair_bit(r, p);
    }
    return d;
}

// A multicolour cell; `beyond` when its colours do not fit.
Drawn draw_multicolour(const CellView& cell, const Survey& s, const Registers& reg,
                       const Distances& dist, bool& beyond) {
    std::array<int, kColours> code;
    code.fill(-1);
    code[static_cast<size_t>(reg.background)] = 0;
    if (code[static_cast<size_t>(reg.colour_1)] < 0)
        code[static_cast<size_t>(reg.colour_1)] = 1;
    if (code[static_cast<size_t>(reg.colour_2)] < 0)
        code[static_cast<size_t>(reg.colour_2)] = 2;
    int own = own_colour(s.wide, reg.shared());
    beyond = own == kNoFit;
    if (beyond) {
        // The colour 0-7 with which the four draw the double-wide pixels nearest: each colour
        // the cell has is drawn in the nearest of the three shared ones or the own one.
        Counts n{};
        for (int r = 0; r < 8; ++r)
            for (int p = 0; p < 4; ++p)
                ++n[static_cast<size_t>(cell.wide(r, p))];
        // The colours the cell has, each with its pixels and its distance to the nearest shared.
        struct Present {
            int colour, pixels;
            int64_t shared;
        };
        std::array<Present, kColours> present;
        size_t count = 0;
        for (int k = 0; k < kColours; ++k) {
            if (n[static_cast<size_t>(k)] == 0)
                continue;
            const auto& to = dist[static_cast<size_t>(k)];
            present[count++] = {k, n[static_cast<size_t>(k)],
                                std::min({to[static_cast<size_t>(reg.background)],
                                          to[static_cast<size_t>(reg.colour_1)],
                                          to[static_cast<size_t>(reg.colour_2)]})};
        }
        // The most double-wide pixels drawn as they are, then the least error.
        std::pair<int, int64_t> best{-1, 0};
        for (int c = 0; c < 8; ++c) {
            const int exact = code[static_cast<size_t>(c)] < 0 ? s.even[static_cast<size_t>(c)] : 0;
            int64_t error = 0;
            for (size_t i = 0; i < count; ++i)
                error +=
                    present[i].pixels *
                    std::min(present[i].shared,
                             dist[static_cast<size_t>(present[i].colour)][static_cast<size_t>(c)]);
            if (exact > best.first || (exact == best.first && error < best.second))
                best = {exact, error}, own = c;
        }
    }
    if (own == kNone)
        own = kSpareColour;
    else if (code[static_cast<size_t>(own)] < 0)
        code[static_cast<size_t>(own)] = 3;
    const int four[4] = {reg.background, reg.colour_1, reg.colour_2, own};
    if (beyond) {
        for (int k = 0; k < kColours; ++k) {
            if (code[static_cast<size_t>(k)] >= 0 || !(s.wide >> k & 1))
                continue;
            int best = 0;
            for (int j = 1; j < 4; ++j)
                if (dist[static_cast<size_t>(k)][static_cast<size_t>(four[j])] <
                    dist[static_cast<size_t>(k)][static_cast<size_t>(four[best])])
                    best = j;
            code[static_cast<size_t>(k)] = best;
        }
    }
    Drawn d{0, static_cast<uint8_t>(kMulticolourCell | own), {}};
    // The double-wide pixels drawn as they are: two alike pixels of one of the four colours.
    GlyphPattern exact = 0;
    for (int r = 0; r < 8; ++r) {
        unsigned byte = 0;
        for (int p = 0; p < 4; ++p) {
            const int left = cell.wide(r, p);
            const int c = code[static_cast<size_t>(left)];
            byte = byte << 2 | static_cast<unsigned>(c);
            exact |= pair_bit(r, p) *
                     (four[c] == left && left == cell.pixel(r, p * cell.step + cell.step - 1));
        }
        d.pattern |= GlyphPattern{byte} << (8 * r);
    }
    // There every value that draws the colour drawn there draws it.
    const GlyphPattern lo = d.pattern & kLowBits, hi = d.pattern >> 1 & kLowBits;
    const GlyphPattern at[4] = {kLowBits & ~(lo | hi), lo & ~hi, hi & ~lo, lo & hi};
    for (size_t v = 0; v < 4; ++v)
        for (size_t w = 0; w < 4; ++w)
            if (four[v] == four[w])
                d.fit.shows[v] |= exact & at[w];
    return d;
}

} // namespace

ScreenImport import_multicolour_entries(const EntryPicture& picture, MulticolourChoice choice) {
    ScreenImport out;
    const int cols = picture.cols, rows = picture.rows;
    if (cols < 1 || rows < 1 || cols > kMostCols || rows > kMostRows ||
        (picture.step != 1 && picture.step != 2) ||
        picture.entry.size() != static_cast<size_t>(32 * picture.step * cols * rows)) {
        out.error = "is no screen of 1-80 x 1-50 cells";
        return out;
    }
    std::vector<Survey> cells(static_cast<size_t>(cols) * rows);
    Counts whole{};
    for (int i = 0; i < cols * rows; ++i)
        cells[static_cast<size_t>(i)] = survey_cell(cell_at(picture, i % cols, i / cols), whole);

    Registers reg{};
    reg.background =
        choice.background >= 0
            ? choice.background & 15
            : static_cast<int>(std::max_element(whole.begin(), whole.end()) - whole.begin());
    for (Survey& s : cells)
        s.hires = s.uneven && own_colour(s.full, 1u << reg.background) >= 0;
    if (choice.colour_1 >= 0 && choice.colour_2 >= 0) {
        reg.colour_1 = choice.colour_1 & 15;
        reg.colour_2 = choice.colour_2 & 15;
    } else {
        search_registers(cells, whole, reg);
    }

    const Distances dist = palette_distances();
    std::vector<GlyphPattern> patterns(cells.size());
    std::vector<uint8_t> attrs(cells.size());
    std::vector<PairFit> fits(cells.size());
    for (int i = 0; i < cols * rows; ++i) {
        const Survey& s = cells[static_cast<size_t>(i)];
        const CellView cell = cell_at(picture, i % cols, i / cols);
        bool beyond = false;
        const Drawn d = s.hires ? draw_hires(cell, s, reg.background)
                                : draw_multicolour(cell, s, reg, dist, beyond);
        patterns[static_cast<size_t>(i)] = d.pattern;
        attrs[static_cast<size_t>(i)] = d.attr;
        fits[static_cast<size_t>(i)] = d.fit;
        out.uneven_pairs += s.uneven && !s.hires;
        out.beyond_mode += beyond;
    }

    const CellPatterns distinct = distinct_patterns(patterns);
    out.cells = cols * rows;
    out.distinct = static_cast<int>(distinct.patterns.size());
    const GlyphChoice chosen = choose_glyphs(distinct, fits, kGlyphCount);
    const NewCharset made = charset_of_patterns(distinct, chosen.kept, out.charset);
    CharMap& map = out.map;
    map.look.machine = MapMachine::C64;
    map.look.background = static_cast<uint8_t>(reg.background);
    map.look.set_multicolour(true);
    map.look.multicolour_1 = static_cast<uint8_t>(reg.colour_1);
    map.look.multicolour_2 = static_cast<uint8_t>(reg.colour_2);
    fit_map_size(map, cols, rows);
    std::array<bool, kGlyphCount> used{};
    for (int y = 0; y < map.rows; ++y)
        for (int x = 0; x < map.cols; ++x) {
            if (x >= cols || y >= rows) {
                map.at(x, y) = made.blank;
                map.attr(x, y) = blank_attribute(MapMachine::C64);
                continue;
            }
            const size_t i = static_cast<size_t>(y * cols + x);
            const int code = made.code_of[static_cast<size_t>(chosen.shown[i])];
            const GlyphPattern glyph = glyph_pattern(out.charset, code);
            map.at(x, y) = code;
            map.attr(x, y) = attrs[i];
            used[static_cast<size_t>(code)] = true;
            out.near_glyph += glyph != patterns[i];
            out.unlike_pixels += pairs_unlike(fits[i], glyph);
        }
    out.glyphs = static_cast<int>(std::count(used.begin(), used.end(), true));

    out.note = pair_import_note(out.uneven_pairs, out.beyond_mode, out.near_glyph, made.codes);
    return out;
}

ScreenImport import_multicolour_screen(const Picture& picture, MulticolourChoice choice) {
    EntryPicture entries;
    if (whole_picture(picture)) {
        for (const MapSize& size : kMapSizes)
            if (2 * picture.width == 8 * size.cols && picture.height == 8 * size.rows)
                entries = {size.cols, size.rows, 1, {}};
        if (entries.cols == 0 && picture.width % 8 == 0 && picture.height % 8 == 0 &&
            picture.width <= 8 * kMostCols && picture.height <= 8 * kMostRows)
            entries = {picture.width / 8, picture.height / 8, 2, {}};
    }
    if (entries.cols == 0) {
        ScreenImport out;
        out.error = "is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                    ": a multicolour screen picture is a multiple of 8 pixels each way, at most "
                    "640 x 400, or half as wide as a whole screen (160 x 200)";
        return out;
    }
    entries.entry = palette_entries(picture, MapMachine::C64);
    return import_multicolour_entries(entries, choice);
}

} // namespace fontarel
