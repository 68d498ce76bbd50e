#pragma once
// Merging glyph patterns down to a number that fits a charset, the closest first (see
// import_screen_new_charset for the exact order).

#include <span>
#include <vector>

#include "formats/glyph_pattern.h"

namespace fontarel {

// `patterns` in order of first appearance, `cells[i]` the cells that show pattern i (at least 1
// each); `keep` at least 1. Returns the indices of the patterns that remain, min(keep, count) of
// them, ascending.
std::vector<int> merge_patterns(std::span<const GlyphPattern> patterns, std::vector<int> cells,
                                int keep);

} // namespace fontarel
