#pragma once
// The picture of an exported charset: the 16 x 16 glyph grid at one picture pixel per glyph pixel,
// 128 x 128 pixels, in the program's two colours. The model makes the pixels; the picture file is
// encoded elsewhere.

#include <cstdint>
#include <vector>

#include "model/charset_store.h"
#include "formats/export_common.h"

namespace fontarel {

constexpr int kSheetSize = 128; // pixels, both ways

// 128 * 128 colour values, rows top-down: pixel (x, y) is bit 7 - x % 8 of row y % 8 of glyph
// 16 * (y / 8) + x / 8, `set` where the bit is 1, `clear` where it is 0 and in the cells of glyphs
// outside the selection (every glyph keeps its place in the grid).
std::vector<int32_t> glyph_sheet_pixels(const CharsetStore& store, GlyphSelection glyphs,
                                        int32_t clear, int32_t set);

} // namespace fontarel
