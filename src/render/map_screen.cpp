#include "render/map_screen.h"

#include <algorithm>
#include <array>

#include "model/map_colours.h"

namespace fontarel {

void render_map_screen(Raster& target, const CharMap& map, const CharsetStore& store,
                       Colour colour0, Colour colour1) {
    const int cols = std::clamp(std::min(map.cols, target.width() / 8), 0, kMapCapacityCols);
    const int rows = std::clamp(std::min(map.rows, target.height() / 8), 0, kMapCapacityRows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const uint8_t attr = map.attr(c, r);
            const int code = map.at(c, r) & 0xFF;
            const auto glyph = store.glyph(shown_glyph(map.look, code));
            // The colour of each bit pair (multicolour) or of a clear and a set bit.
            std::array<Colour, 4> colours{colour0, colour1, 0, 0};
            const bool pairs = is_multicolour_cell(map, attr);
            if (pairs) {
                colours = multicolour_colours(map, attr);
            } else if (map.look.machine != MapMachine::Mono) {
                const CellColours cc = cell_colours(map.look, attr, code);
                colours[0] = cc.paper;
                colours[1] = cc.ink;
            }
            for (int y = 0; y < 8; ++y) {
                uint32_t* out = target.row(8 * r + y) + 8 * c;
                for (int x = 0; x < 8; ++x) {
                    const int index =
                        pairs ? glyph[y] >> (6 - (x & 6)) & 3 : glyph[y] >> (7 - x) & 1;
                    out[x] = to_pixel(colours[static_cast<size_t>(index)]);
                }
            }
        }
    target.mark_dirty(0, 0, 8 * cols, 8 * rows);
}

} // namespace fontarel
