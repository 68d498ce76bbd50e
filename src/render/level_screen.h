#pragma once
// The whole level as the machine's screen would show it, one glyph pixel a picture pixel: the
// picture a level export writes as PNG.

#include <cstdint>
#include <string>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/colour.h"
#include "model/level.h"
#include "toolkit/raster.h"

namespace fontarel {

// The largest picture of a level drawn: pixels on a side, and in all (256 MB of pixels).
constexpr int64_t kLevelScreenMostSide = 32768;
constexpr int64_t kLevelScreenMostPixels = int64_t{1} << 26;

// Pixels of the whole level: 8 x tile width x columns by 8 x tile height x rows.
inline int64_t level_screen_width(const TileSet& tiles, const Level& level) {
    return int64_t{8} * tiles.width() * level.cols();
}
inline int64_t level_screen_height(const TileSet& tiles, const Level& level) {
    return int64_t{8} * tiles.height() * level.rows();
}

// Empty when the level's picture can be drawn; otherwise why not, in a sentence for the user:
// "a picture of the level would be 40960 x 2048 pixels: at most 32768 on a side and 67108864 in
// all".
std::string level_screen_refusal(const TileSet& tiles, const Level& level);

// Draws the whole level into the top-left level_screen_width x level_screen_height pixels, each
// character exactly as render_map_screen draws a cell of a map with `screen`'s machine,
// background and multicolour registers (its cells and size are not used). Clipped to the picture.
void render_level_screen(Raster& target, const TileSet& tiles, const Level& level,
                         const CharMap& screen, const CharsetStore& store, Colour colour0,
                         Colour colour1);

} // namespace fontarel
