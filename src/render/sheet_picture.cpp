#include "render/sheet_picture.h"

#include <vector>

#include "formats/export_sheet.h"

namespace fontarel {

void render_glyph_sheet(Raster& target, const CharsetStore& store, GlyphSelection glyphs,
                        int32_t clear, int32_t set) {
    const std::vector<int32_t> pixels = glyph_sheet_pixels(store, glyphs, clear, set);
    for (int y = 0; y < kSheetSize; ++y) {
        for (int x = 0; x < kSheetSize; ++x) {
            target.set_pixel(x, y, pixels[static_cast<size_t>(y) * kSheetSize + x]);
        }
    }
}

} // namespace fontarel
