#pragma once
// The glyphs of a multicolour screen, chosen by what its cells draw: for each value a glyph's bit
// pair may hold, a cell knows at which of its 32 double-wide pixels that value draws the picture,
// so the cells' patterns are merged down to a charset by the fewest double-wide pixels that the
// screen then draws unlike the picture.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "formats/cell_glyphs.h"

namespace fontarel {

// What a cell draws with a glyph: bit 2j of `shows[v]` is set when bit pair j of the glyph (bits
// 2j + 1 and 2j, the higher the left pixel) holding v draws the picture's colour, or both its
// pixels, at that double-wide pixel; every other bit is clear. A double-wide pixel that no value
// draws (a colour that is not the cell's, or two unlike pixels in a multicolour cell) has none.
struct PairFit {
    std::array<GlyphPattern, 4> shows{};
};

// The double-wide pixels, 0-32, that a cell draws unlike the picture with `glyph`.
int pairs_unlike(const PairFit& fit, GlyphPattern glyph);

// The remarks of an import of double-wide pixels, sentences joined by ". ", empty when there is
// nothing to say: the cells whose pixel pairs differ, the cells with colours the mode cannot show,
// and the cells a near glyph shows once the patterns were reduced to `glyphs`.
std::string pair_import_note(int uneven_pairs, int beyond_mode, int near_glyph, int glyphs);

struct GlyphChoice {
    std::vector<int> kept;  // the patterns that become glyphs, ascending
    std::vector<int> shown; // the pattern each cell shows, one of `kept`
};

// `cells` are the distinct patterns of the cells, `fits[i]` what cell i draws; `keep` is at least
// 1. While more than `keep` patterns remain, the one is dropped whose cells (its own and those
// that showed a dropped one before) then draw the fewest double-wide pixels more unlike the
// picture, each cell showing the remaining pattern that draws it nearest; of equally cheap ones
// the latest (by first appearance). Every cell shows, of the patterns that remain, one that draws
// the fewest double-wide pixels unlike it: its own pattern when that is one, else the earliest.
GlyphChoice choose_glyphs(const CellPatterns& cells, std::span<const PairFit> fits, int keep);

} // namespace fontarel
