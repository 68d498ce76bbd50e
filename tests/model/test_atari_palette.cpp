// The Atari's colours: a table of register values against the colours the README's formula gives
// them (worked out apart from the program), and what the registers show in each mode.

#include <gtest/gtest.h>

#include "model/atari_palette.h"

namespace fontarel {
namespace {

TEST(AtariPalette, RegisterValuesShowTheFormulasColours) {
    const struct {
        int value;
        Colour rgb;
    } table[] = {{0, rgb(0, 0, 0)},          {1, rgb(0, 0, 0)},         {14, rgb(255, 255, 255)},
                 {8, rgb(146, 146, 146)},    {40, rgb(199, 127, 104)},  {202, rgb(135, 218, 121)},
                 {148, rgb(26, 85, 134)},    {70, rgb(162, 74, 151)}};
    for (const auto& t : table)
        EXPECT_EQ(atari_colour(static_cast<uint8_t>(t.value)), t.rgb) << t.value;
    EXPECT_EQ(atari_palette().size(), 128u);
}

TEST(AtariPalette, EachModeShowsItsRegisters) {
    ScreenLook look;
    look.machine = MapMachine::Atari;
    look.colbk = 2;
    look.colpf = {40, 202, 148, 70};
    const Colour bk = atari_colour(2), pf0 = atari_colour(40), pf1 = atari_colour(202),
                 pf2 = atari_colour(148), pf3 = atari_colour(70);
    EXPECT_EQ(atari_pair_colours(look, false), (std::array<Colour, 4>{bk, pf0, pf1, pf2}));
    EXPECT_EQ(atari_pair_colours(look, true), (std::array<Colour, 4>{bk, pf0, pf1, pf3}));
    // Two colours: COLPF1's luminance ($A) in COLPF2's hue ($9), on COLPF2; inverse swaps them.
    EXPECT_EQ(atari_two_colours(look, false), (std::array<Colour, 2>{pf2, atari_colour(0x9A)}));
    EXPECT_EQ(atari_two_colours(look, true), (std::array<Colour, 2>{atari_colour(0x9A), pf2}));
}

} // namespace
} // namespace fontarel
