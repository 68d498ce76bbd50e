#include "render/map_screen.h"

#include <algorithm>
#include <array>

#include "model/map_colours.h"

namespace fontarel {

void render_map_screen(Raster& target, const CharMap& map, const CharsetStore& store,
                       Colour colour0, Colour colour1) {
    const int cols = std::clamp(std::min(map.cols, target.width() / 8), 0, kMapCapacityCols);
    const int cell_height = map_screen_cell_height(map);
    const int rows =
        std::clamp(std::min(map.rows, target.height() / cell_height), 0, kMapCapacityRows);
    const int repeat = cell_height / 8; // pixel rows a glyph row takes
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const uint8_t attr = map.attr(c, r);
            const int code = map.at(c, r) & 0xFF;
            const auto glyph = store.glyph(shown_glyph(map.look, code));
            // The colour of each bit pair (multicolour) or of a clear and a set bit.
            std::array<Colour, 4> colours{colour0, colour1, 0, 0};
            const bool pairs = is_pair_cell(map.look, attr);
            if (pairs) {
                colours = pair_colours(map.look, attr, code);
            } else if (map.look.machine != MapMachine::Mono) {
                const CellColours cc = cell_colours(map.look, attr, code);
                colours[0] = cc.paper;
                colours[1] = cc.ink;
            }
            for (int y = 0; y < cell_height; ++y) {
                uint32_t* out = target.row(cell_height * r + y) + 8 * c;
                const uint8_t bits = glyph[y / repeat];
                for (int x = 0; x < 8; ++x) {
                    const int index = pairs ? bits >> (6 - (x & 6)) & 3 : bits >> (7 - x) & 1;
                    out[x] = to_pixel(colours[static_cast<size_t>(index)]);
                }
            }
        }
    target.mark_dirty(0, 0, 8 * cols, cell_height * rows);
}

} // namespace fontarel
