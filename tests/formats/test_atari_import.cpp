// Atari four-colour screens: pictures made of random glyphs and registers come back drawn exactly
// as they were, a screen of more patterns than glyphs is merged down to 128, and pictures of
// sizes the mode cannot show are refused.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "formats/atari_import.h"
#include "model/atari_palette.h"

namespace fontarel {
namespace {

Colour colour(int value) {
    return atari_palette()[static_cast<size_t>(value >> 1)];
}

// The imported map drawn as the machine draws it, one picture pixel a double-wide pixel (or two,
// `step` 2): glyph code & 127, pair 11 in COLPF3 where the code has bit 7.
Picture draw(const ScreenImport& screen, int cols, int rows, int step) {
    const ScreenLook& look = screen.map.look;
    Picture p{4 * step * cols, 8 * rows, std::vector<int32_t>(size_t{32} * step * cols * rows)};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const int code = screen.map.at(x / (4 * step), y / 8);
            const int pair = x / step % 4;
            const int v = screen.charset.glyph(code & 127)[y % 8] >> (6 - 2 * pair) & 3;
            const int reg = v == 0 ? look.colbk : look.colpf[v == 3 && (code & 128) ? 3 : v - 1];
            p.pixels[static_cast<size_t>(y * p.width + x)] = colour(reg);
        }
    return p;
}

// A screen of `kinds` random glyphs in five random registers, COLBK the most frequent colour;
// a third of its cells show COLPF3.
Picture random_screen(std::mt19937& random, int cols, int rows, int kinds, int step) {
    std::vector<std::array<uint8_t, 8>> glyphs(static_cast<size_t>(kinds));
    for (auto& g : glyphs)
        for (uint8_t& row : g)
            row = static_cast<uint8_t>(random() & random()); // mostly 00 pairs: COLBK
    std::array<int, 5> reg{};
    for (size_t i = 0; i < reg.size(); ++i)
        do
            reg[i] = static_cast<int>(random() % 128) * 2;
        while (std::find(reg.begin(), reg.begin() + static_cast<long>(i), reg[i]) !=
               reg.begin() + static_cast<long>(i));
    Picture p{4 * step * cols, 8 * rows, std::vector<int32_t>(size_t{32} * step * cols * rows)};
    for (int cy = 0; cy < rows; ++cy)
        for (int cx = 0; cx < cols; ++cx) {
            const auto& g = glyphs[random() % glyphs.size()];
            const bool inverse = random() % 3 == 0;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 4 * step; ++x) {
                    const int v = g[static_cast<size_t>(y)] >> (6 - 2 * (x / step)) & 3;
                    const int r = v == 3 && inverse ? 4 : v;
                    p.pixels[static_cast<size_t>((8 * cy + y) * p.width + 4 * step * cx + x)] =
                        colour(reg[static_cast<size_t>(r)]);
                }
        }
    return p;
}

TEST(AtariImport, ScreensOfFiveRegistersComeBackAsTheyWere) {
    std::mt19937 random(41);
    const struct {
        int cols, rows, kinds, step;
    } screens[] = {{40, 24, 60, 1}, {40, 24, 100, 2}, {7, 3, 5, 1}, {1, 1, 1, 1}, {21, 2, 9, 2}};
    for (const auto& s : screens) {
        SCOPED_TRACE(s.cols * 100 + s.kinds);
        const Picture picture = random_screen(random, s.cols, s.rows, s.kinds, s.step);
        const ScreenImport screen = import_atari_screen(picture);
        ASSERT_TRUE(screen.ok()) << screen.error;
        EXPECT_EQ(screen.map.look.machine, MapMachine::Atari);
        EXPECT_EQ(screen.map.look.atari_mode, 4);
        EXPECT_EQ(screen.note, "");
        EXPECT_EQ(screen.unlike_pixels, 0);
        const Picture back = draw(screen, s.cols, s.rows, s.step);
        EXPECT_EQ(back.pixels, picture.pixels);
    }
}

TEST(AtariImport, MorePatternsThanGlyphsAreMergedToTheFirst128) {
    std::mt19937 random(42);
    const Picture picture = random_screen(random, 40, 24, 400, 1);
    const ScreenImport screen = import_atari_screen(picture);
    ASSERT_TRUE(screen.ok()) << screen.error;
    EXPECT_LE(screen.glyphs, 128);
    EXPECT_GT(screen.distinct, 128);
    EXPECT_GT(screen.near_glyph, 0);
    EXPECT_NE(screen.note.find("Reduced to 128 glyphs: " + std::to_string(screen.near_glyph) +
                               " cells show a near glyph"),
              std::string::npos)
        << screen.note;
    for (int g = 128; g < 256; ++g)
        for (const uint8_t row : screen.charset.glyph(g))
            ASSERT_EQ(row, 0) << g;
    // Every cell draws within its unlike pixels: never more than the count says.
    const Picture back = draw(screen, 40, 24, 1);
    int differ = 0;
    for (size_t i = 0; i < back.pixels.size(); ++i)
        differ += back.pixels[i] != picture.pixels[i];
    EXPECT_EQ(differ, screen.unlike_pixels);
}

TEST(AtariImport, SizesTheModeCannotShowAreRefused) {
    const struct {
        int width, height;
        bool ok;
    } sizes[] = {{160, 192, true}, {320, 192, true}, {4, 8, true},     {168, 192, true},
                 {162, 8, false},  {160, 200, false}, {328, 8, false}, {6, 8, false},
                 {8, 12, false}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.width * 1000 + s.height);
        const Picture p{s.width, s.height,
                        std::vector<int32_t>(static_cast<size_t>(s.width) * s.height)};
        const ScreenImport screen = import_atari_screen(p);
        EXPECT_EQ(screen.ok(), s.ok) << screen.error;
        if (!s.ok)
            EXPECT_EQ(screen.error.rfind("is " + std::to_string(s.width) + " x " +
                                             std::to_string(s.height) +
                                             ": an Atari four-colour screen picture",
                                         0),
                      0u);
    }
}

} // namespace
} // namespace fontarel
