#include "render/map_picture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "render/geometry.h"
#include "render/glyph_pixels.h"

namespace fontarel {

namespace {

constexpr int kBytesPerPixel = 3;
constexpr int kCellBytes = kBytesPerPixel * kCellPixels;

// The top edge of a cell: colour1 at even offsets, colour0 at odd ones.
void dotted_top_edge(uint8_t* row, int cells, int colour0, int colour1) {
    for (int x = 0; x < cells * kCellPixels; ++x) {
        store_colour(row + kBytesPerPixel * x, (x & 1) ? colour0 : colour1);
    }
}

} // namespace

void render_char_map(Raster& target, const CharMap& map, const CharsetStore& store, int colour0,
                     int colour1, bool grid) {
    // Only whole cells that fit both the array and the picture are drawn.
    const int cols =
        std::clamp(std::min<int>(map.cols, target.width() / kCellPixels), 0, kMapCapacityCols);
    const int rows =
        std::clamp(std::min<int>(map.rows, target.height() / kCellPixels), 0, kMapCapacityRows);
    if (cols == 0 || rows == 0) {
        return;
    }
    static DoubledRowPixels pixels;
    pixels.use_colours(colour0, colour1);
    const size_t line_bytes = static_cast<size_t>(cols) * kCellBytes;
    std::vector<uint8_t> top_edge;
    if (grid) {
        top_edge.resize(line_bytes);
        dotted_top_edge(top_edge.data(), cols, colour0, colour1);
    }
    for (int r = 0; r < rows; ++r) {
        const auto& codes = map.cells[r];
        const int top = kCellPixels * r;
        for (int y = 0; y < kGlyphRows; ++y) {
            uint8_t* line = target.row(top + 2 * y);
            for (int c = 0; c < cols; ++c) {
                const uint8_t bits = store.glyph(codes[c] & 0xFF)[y];
                std::memcpy(line + c * kCellBytes, pixels.row(bits), DoubledRowPixels::kBytes);
            }
            std::memcpy(target.row(top + 2 * y + 1), line, line_bytes);
        }
        if (!grid) {
            continue;
        }
        std::memcpy(target.row(top), top_edge.data(), line_bytes);
        for (int s = 0; s < kCellPixels; ++s) {
            uint8_t* line = target.row(top + s);
            const int colour = (s & 1) ? colour1 : colour0;
            for (int c = 0; c < cols; ++c) {
                store_colour(line + c * kCellBytes, colour);
            }
        }
    }
}

} // namespace fontarel
