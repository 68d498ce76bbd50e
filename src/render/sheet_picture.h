#pragma once
// The picture of an exported charset (see glyph_sheet_pixels): 128 x 128 pixels, one a glyph pixel.

#include <cstdint>

#include "model/charset_store.h"
#include "formats/export_common.h"
#include "toolkit/raster.h"

namespace fontarel {

// Writes the sheet into the top-left 128 x 128 pixels of `target` (clipped to it).
void render_glyph_sheet(Raster& target, const CharsetStore& store, GlyphSelection glyphs,
                        int32_t clear, int32_t set);

} // namespace fontarel
