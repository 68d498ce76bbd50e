// The Atari's colours (see atari_palette.h).

#include "model/atari_palette.h"

#include <algorithm>
#include <cmath>

namespace fontarel {

namespace {

// Y in 0-1 and the colour-difference pair (I, Q) to 8-bit RGB, clipped.
Colour from_yiq(double y, double i, double q) {
    const auto level = [](double v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    return rgb(level(y + 0.956 * i + 0.621 * q), level(y - 0.272 * i - 0.647 * q),
               level(y - 1.106 * i + 1.703 * q));
}

std::array<Colour, kAtariColours> make_palette() {
    // Hue 1 (gold) starts at -15 degrees, each later hue 24 degrees on; the chroma is one size
    // for every hue and luminance.
    constexpr double kFirstHueDegrees = -15.0, kHueStepDegrees = 24.0, kChroma = 0.2;
    constexpr double kPi = 3.14159265358979323846;
    std::array<Colour, kAtariColours> out{};
    for (int hue = 0; hue < 16; ++hue)
        for (int lum = 0; lum < 8; ++lum) {
            const double y = lum / 7.0;
            const double angle = (kFirstHueDegrees + kHueStepDegrees * (hue - 1)) * kPi / 180.0;
            const double chroma = hue == 0 ? 0.0 : kChroma;
            out[static_cast<size_t>(8 * hue + lum)] =
                from_yiq(y, chroma * std::cos(angle), chroma * std::sin(angle));
        }
    return out;
}

} // namespace

std::span<const Colour> atari_palette() {
    static const std::array<Colour, kAtariColours> palette = make_palette();
    return palette;
}

std::array<Colour, 4> atari_pair_colours(const ScreenLook& look, bool inverse) {
    return {atari_colour(look.colbk), atari_colour(look.colpf[0]), atari_colour(look.colpf[1]),
            atari_colour(look.colpf[inverse ? 3 : 2])};
}

std::array<Colour, 2> atari_two_colours(const ScreenLook& look, bool inverse) {
    const Colour paper = atari_colour(look.colpf[2]);
    const Colour ink = atari_colour(static_cast<uint8_t>((look.colpf[2] & 0xF0) | (look.colpf[1] & 0x0F)));
    if (inverse)
        return {ink, paper};
    return {paper, ink};
}

} // namespace fontarel
