#pragma once
// The Atari's 128 colours and what its colour registers show in each character mode.

#include <array>
#include <cstdint>
#include <span>

#include "model/colour.h"
#include "model/screen_look.h"

namespace fontarel {

// The machine's colours in register order: entry i is colour value 2i (hue i / 8, luminance
// 2 x (i % 8)); an odd value shows as the even one below it. Built from the NTSC hue-angle
// construction the README states: luminance linear from black to white, hue 0 grey, hues 1-15 at
// 24 degree steps around the colour-difference plane.
constexpr int kAtariColours = 128;
std::span<const Colour> atari_palette();
inline Colour atari_colour(uint8_t value) {
    return atari_palette()[value >> 1];
}

// The colours of an Atari four-colour cell's bit pairs 00, 01, 10 and 11: COLBK, COLPF0, COLPF1,
// and COLPF2, or COLPF3 for a code with bit 7 set (`inverse`).
std::array<Colour, 4> atari_pair_colours(const ScreenLook& look, bool inverse);
// A two-colour cell's clear and set pixels: COLPF2, and COLPF1's luminance in COLPF2's hue; the
// two swapped for `inverse`.
std::array<Colour, 2> atari_two_colours(const ScreenLook& look, bool inverse);

} // namespace fontarel
