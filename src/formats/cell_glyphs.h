#pragma once
// The glyphs of a screen's cells, shared by the screen imports: the distinct cell patterns, the
// map size that holds the cells, the nearest glyphs of patterns, and a new charset made of the
// patterns (see import_screen_new_charset for the rules).

#include <span>
#include <vector>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "formats/glyph_pattern.h"

namespace fontarel {

struct CellPatterns {
    std::vector<GlyphPattern> patterns; // each distinct pattern once, in order of first appearance
    std::vector<int> count;             // cells of each pattern
    std::vector<int> pattern;           // each cell's pattern index, cells in the order given
};

// The distinct patterns of at most 80 x 50 cells.
CellPatterns distinct_patterns(std::span<const GlyphPattern> cells);

// Sets the map's size in use to the smallest machine size that holds cols x rows cells (fewest
// cells of the sizes at least as wide and as tall); 80 x 50 holds every screen picture.
void fit_map_size(CharMap& map, int cols, int rows);

// For each pattern, the code of the glyph with the fewest differing pixels among the first
// `count`, the lowest code on ties; with `inverse`, for the inverse of each pattern.
std::vector<int> nearest_glyphs(std::span<const GlyphPattern> patterns, const CharsetStore& store,
                                int count, bool inverse = false);

// The glyph with the fewest set pixels among the first `count`, the lowest code on ties.
int nearest_to_blank(const CharsetStore& store, int count);

// A new charset of the patterns: what each pattern shows and which code the cells outside the
// picture get.
struct NewCharset {
    std::vector<int> code_of; // each pattern's code: its own glyph, or the nearest after a merge
    int codes = 0;            // glyphs the patterns made, from glyph 0
    int blank = 0;            // a blank glyph for the cells outside the picture
};

// Replaces `charset`: the patterns `kept` (indices into `cells.patterns`, ascending, at most 256)
// become glyph 0 on, the glyphs after them blank; each pattern's code is the kept glyph with the
// fewest differing pixels (the lowest code on ties), for a kept one its own. The blank code is the
// patterns' own blank one, else the first glyph after the patterns, else the glyph with the fewest
// set pixels.
NewCharset charset_of_patterns(const CellPatterns& cells, const std::vector<int>& kept,
                               CharsetStore& charset);

// charset_of_patterns with the patterns that remain after merging down to 256 by merge_patterns.
NewCharset make_new_charset(const CellPatterns& cells, CharsetStore& charset);

} // namespace fontarel
