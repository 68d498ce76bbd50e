// The level drawn a window at a time: each window of the level's characters goes into a map and
// through render_map_screen, so a level's character looks exactly as a map's cell of the same
// code and attribute, and the work follows the picture's size, each level cell read once a
// character.

#include "render/level_screen.h"

#include <algorithm>
#include <memory>

#include "render/map_screen.h"

namespace fontarel {

namespace {

// The window: the largest map size, which the map's cell array holds.
constexpr int kWindowCols = 80;
constexpr int kWindowRows = 50;

} // namespace

std::string level_screen_refusal(const TileSet& tiles, const Level& level) {
    const int64_t w = level_screen_width(tiles, level), h = level_screen_height(tiles, level);
    if (w <= kLevelScreenMostSide && h <= kLevelScreenMostSide && w * h <= kLevelScreenMostPixels)
        return {};
    return "a picture of the level would be " + std::to_string(w) + " x " + std::to_string(h) +
           " pixels: at most " + std::to_string(kLevelScreenMostSide) + " on a side and " +
           std::to_string(kLevelScreenMostPixels) + " in all";
}

void render_level_screen(Raster& target, const TileSet& tiles, const Level& level,
                         const CharMap& screen, const CharsetStore& store, Colour colour0,
                         Colour colour1) {
    // Characters of the level that reach into the picture.
    const int cols = static_cast<int>(
        std::min<int64_t>(level_screen_width(tiles, level), target.width()) / 8);
    const int rows = static_cast<int>(
        std::min<int64_t>(level_screen_height(tiles, level), target.height()) / 8);
    auto window = std::make_unique<CharMap>(screen);
    // The level's picture keeps 8 pixel rows a character: the Atari's tall mode is drawn as its
    // four-colour mode.
    if (window->look.atari_tall())
        window->look.atari_mode = kAtariFourColours;
    for (int y = 0; y < rows; y += kWindowRows)
        for (int x = 0; x < cols; x += kWindowCols) {
            window->cols = std::min(kWindowCols, cols - x);
            window->rows = std::min(kWindowRows, rows - y);
            level_screen_to_map(tiles, level, x, y, *window);
            Raster piece(8 * window->cols, 8 * window->rows);
            render_map_screen(piece, *window, store, colour0, colour1);
            target.blit(piece, 8 * x, 8 * y);
        }
}

} // namespace fontarel
