// The level's picture: every pixel is its character's glyph bit in the colours the machine shows,
// worked out here from the tiles, the level and the palette, across a level larger than the map
// that draws it a window at a time; and the size beyond which a picture is refused.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../helpers/ctm_writer.h"
#include "formats/ctm.h"
#include "formats/export_level.h"
#include "model/map_colours.h"
#include "render/level_screen.h"

namespace fontarel {
namespace {

// The colour the screen shows for pixel px % 8 of a glyph row in a cell of attribute `attr`: on
// Mono the two glyph colours; on the C64 its palette, a multicolour cell's bit pairs double wide.
Colour screen_pixel(uint8_t row, int px, int attr, const CharMap& screen, Colour c0, Colour c1) {
    const auto palette = machine_palette(MapMachine::C64).colours;
    const bool set = row >> (7 - px % 8) & 1;
    if (screen.look.machine == MapMachine::Mono)
        return set ? c1 : c0;
    if (screen.look.multicolour() && attr >= 8) {
        const int pair = row >> (6 - (px % 8 & 6)) & 3;
        const int index[4] = {screen.look.background, screen.look.multicolour_1,
                              screen.look.multicolour_2, attr - 8};
        return palette[static_cast<size_t>(index[pair])];
    }
    return palette[static_cast<size_t>(set ? attr : screen.look.background)];
}

TEST(LevelScreen, EveryPixelIsItsCharactersGlyphBitInTheMachinesColours) {
    auto store = std::make_unique<CharsetStore>();
    for (int i = 0; i < kCharsetBytes; ++i)
        store->bytes[i] = static_cast<uint8_t>(i * 37 + i / 256 + 11);
    // 5 tiles of 8 x 7 characters in an 11 x 8 level: 88 x 56 characters, more than one window
    // of the largest map each way. Attributes 0-15: half the C64 cells multicolour ones.
    TileSet tiles(8, 7, 5);
    for (int t = 0; t < 5; ++t)
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 8; ++x)
                tiles.set_cell(t, x, y,
                               {static_cast<uint8_t>(t * 53 + y * 8 + x),
                                static_cast<uint8_t>((t * 3 + x + y) % 16)});
    Level level(11, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 11; ++x)
            level.set(x, y, static_cast<uint16_t>((x * 3 + y * 2) % 5));
    const int width = 8 * 8 * 11, height = 8 * 7 * 8;
    ASSERT_EQ(level_screen_width(tiles, level), width);
    ASSERT_EQ(level_screen_height(tiles, level), height);

    const Colour colour0 = 0x102030, colour1 = 0xA0B0C0;
    auto screen = std::make_unique<CharMap>();
    for (bool c64 : {false, true}) {
        SCOPED_TRACE(c64 ? "C64 multicolour" : "Mono");
        if (c64) {
            screen->look.machine = MapMachine::C64;
            screen->look.background = 6;
            screen->look.set_multicolour(true);
            screen->look.multicolour_1 = 9;
            screen->look.multicolour_2 = 13;
        }
        // One column and row beyond the level, to see that nothing is drawn there.
        Raster picture(width + 8, height + 8, 0x777777);
        render_level_screen(picture, tiles, level, *screen, *store, colour0, colour1);
        int wrong = 0;
        for (int py = 0; py < height; ++py)
            for (int px = 0; px < width; ++px) {
                const int cx = px / 8, cy = py / 8;
                const TileCell cell = tiles.cell(level.at(cx / 8, cy / 7), cx % 8, cy % 7);
                const uint8_t row = store->glyph(cell.code)[py % 8];
                wrong += picture.pixel(px, py) !=
                         screen_pixel(row, px, cell.attr, *screen, colour0, colour1);
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(picture.pixel(width, 0), 0x777777);
        EXPECT_EQ(picture.pixel(0, height), 0x777777);
    }
}

// A CTM project of each colour method, in hi-res and multicolour: read, exported as
// bytes and drawn, it gives back what the file describes, worked out here from the description.
TEST(LevelScreen, CtmProjectsExportAndDrawAsTheFileDescribes) {
    for (const int method : {0, 1, 2})
        for (const bool multicolour : {false, true}) {
            SCOPED_TRACE("method " + std::to_string(method) + (multicolour ? " multicolour" : ""));
            CtmDescription d;
            d.colour_method = method;
            d.multicolour = multicolour;
            d.character_colour = 10;
            for (int c = 0; c < 20; ++c)
                d.glyphs.push_back({static_cast<uint8_t>(c * 13 + 1), 0x81, 0x5A, 0x3C,
                                    static_cast<uint8_t>(c), 0xF0, 0x0F, 0xC3});
            for (int c = 0; c < 20; ++c)
                d.attributes.push_back(static_cast<uint8_t>(0x30 | (c * 7) % 16));
            d.tiles = 3;
            d.tile_width = 3;
            d.tile_height = 2;
            for (int i = 0; i < 18; ++i)
                d.cells.push_back(static_cast<uint16_t>((i * 5) % 20));
            d.tile_colours = {0x25, 0x0B, 0x0F};
            d.level_width = 5;
            d.level_height = 4;
            for (int i = 0; i < 20; ++i)
                d.level.push_back(static_cast<uint16_t>((i * i) % 3));
            Project p;
            std::vector<std::string> remarks;
            ASSERT_EQ(read_ctm(ctm_bytes(d), p, remarks), "");
            EXPECT_EQ(p.map.look.multicolour(), multicolour);
            EXPECT_EQ(p.map.look.background, d.background);

            // The colour each cell ends with, whatever the method.
            auto attr = [&](int tile, int cell) -> uint8_t {
                const int code = d.cells[static_cast<size_t>(6 * tile + cell)];
                return method == 0   ? d.character_colour
                       : method == 1 ? d.tile_colours[static_cast<size_t>(tile)] & 15
                                     : d.attributes[static_cast<size_t>(code)] & 15;
            };
            std::vector<uint8_t> tiles, level;
            for (int t = 0; t < 3; ++t) {
                for (int i = 0; i < 6; ++i)
                    tiles.push_back(static_cast<uint8_t>(d.cells[static_cast<size_t>(6 * t + i)]));
                for (int i = 0; i < 6; ++i)
                    tiles.push_back(attr(t, i));
            }
            for (uint16_t t : d.level)
                level.push_back(static_cast<uint8_t>(t));
            EXPECT_EQ(export_tiles_file(ExportFormat::Bin, p, "tiles", 0), tiles);
            EXPECT_EQ(export_level_file(ExportFormat::Bin, p, "level", 0), level);

            Raster picture(8 * 15, 8 * 8);
            render_level_screen(picture, p.tiles, p.level, p.map, p.charset, 0, 0xFFFFFF);
            CharMap described; // the screen as the file describes it
            described.look.machine = MapMachine::C64;
            described.look.background = d.background;
            described.look.set_multicolour(multicolour);
            described.look.multicolour_1 = d.multicolour_1;
            described.look.multicolour_2 = d.multicolour_2;
            int wrong = 0;
            for (int py = 0; py < 64; ++py)
                for (int px = 0; px < 120; ++px) {
                    const int cx = px / 8, cy = py / 8;
                    const int tile = d.level[static_cast<size_t>(5 * (cy / 2) + cx / 3)];
                    const int cell = 3 * (cy % 2) + cx % 3;
                    const int code = d.cells[static_cast<size_t>(6 * tile + cell)];
                    const uint8_t row = d.glyphs[static_cast<size_t>(code)][py % 8];
                    wrong += picture.pixel(px, py) !=
                             screen_pixel(row, px, attr(tile, cell), described, 0, 0xFFFFFF);
                }
            EXPECT_EQ(wrong, 0);
        }
}

TEST(LevelScreen, PicturesTooLargeAreRefused) {
    const struct {
        int tile_width, tile_height, cols, rows;
        bool drawn;
    } cases[] = {
        {1, 1, 4096, 256, true},   // 32768 x 2048: the most pixels on the widest side
        {8, 8, 512, 16, true},     // 32768 x 1024
        {1, 1, 4096, 257, false},  // one row of pixels too many
        {8, 1, 513, 1, false},     // 32832 wide
        {1, 8, 1, 512, true},      // 8 x 32768
        {8, 8, 512, 512, false},   // 32768 x 32768: each side fits, not the whole
        {8, 8, 4096, 4096, false}, // the largest level
    };
    for (const auto& c : cases) {
        const TileSet tiles(c.tile_width, c.tile_height);
        const Level level(c.cols, c.rows);
        const std::string refusal = level_screen_refusal(tiles, level);
        EXPECT_EQ(refusal.empty(), c.drawn) << c.cols << " x " << c.rows << ": " << refusal;
    }
    EXPECT_EQ(level_screen_refusal(TileSet(8, 8), Level(4096, 4096)),
              "a picture of the level would be 262144 x 262144 pixels: at most 32768 on a side "
              "and 67108864 in all");
}

} // namespace
} // namespace fontarel
