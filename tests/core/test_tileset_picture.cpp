// The tileset picture: each tile at its place in the grid, pixel for pixel the level picture of a
// level of that tile alone, on each machine and mode; the rest of the last row black.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "render/level_screen.h"
#include "render/tileset_picture.h"

namespace fontarel {
namespace {

TEST(TilesetPicture, EachTileIsTheLevelPictureOfThatTileAtItsPlace) {
    auto store = std::make_unique<CharsetStore>();
    for (int i = 0; i < kCharsetBytes; ++i)
        store->bytes[i] = static_cast<uint8_t>(i * 37 + i / 256 + 11);
    const struct {
        int w, h, count;
        MapMachine machine;
        TextMode mode;
    } cases[] = {
        {2, 3, 5, MapMachine::Mono, TextMode::Standard},
        {1, 1, 16, MapMachine::C64, TextMode::Multicolour},
        {3, 2, 35, MapMachine::C64, TextMode::ExtendedBackground},
        {2, 2, 33, MapMachine::ZxSpectrum, TextMode::Standard},
    };
    auto screen = std::make_unique<CharMap>();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " tiles");
        screen->look = ScreenLook{c.machine, c.mode, 6, 9, 13, 4, 5, 14};
        TileSet tiles(c.w, c.h, c.count);
        for (int t = 0; t < c.count; ++t)
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x)
                    tiles.set_cell(t, x, y,
                                   {static_cast<uint8_t>(t * 53 + y * 8 + x * 3 + 1),
                                    static_cast<uint8_t>((t * 3 + x + 5 * y) % 16 + 240)});
        const Colour c0 = 0x102030, c1 = 0xA0B0C0;
        const Raster picture = render_tileset_picture(tiles, *screen, *store, c0, c1);
        const int columns = std::min(c.count, 16), rows = (c.count + 15) / 16;
        const int tw = 8 * c.w, th = 8 * c.h;
        ASSERT_EQ(picture.width(), columns * tw);
        ASSERT_EQ(picture.height(), rows * th);
        for (int t = 0; t < columns * rows; ++t) {
            Raster want(tw, th);
            if (t < c.count)
                render_level_screen(want, tiles, Level(1, 1, static_cast<uint16_t>(t)), *screen,
                                    *store, c0, c1);
            const int left = t % columns * tw, top = t / columns * th;
            int differ = 0;
            for (int y = 0; y < th; ++y)
                for (int x = 0; x < tw; ++x)
                    differ += picture.pixel(left + x, top + y) != want.pixel(x, y);
            EXPECT_EQ(differ, 0) << "tile " << t;
        }
    }
}

} // namespace
} // namespace fontarel
