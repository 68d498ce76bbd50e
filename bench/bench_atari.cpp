// The Atari's four-colour map against its two-colour map, as a ratio within one run: a full
// 40 x 24 map drawn from nothing by the map's renderer, every cell a random code (bit 7 included)
// of random glyphs, in mode 4 and in mode 2. Each first checks that a cell of code $81 shows
// what its mode draws.

#include <benchmark/benchmark.h>

#include <random>

#include "model/atari_palette.h"
#include "render/map_picture.h"

namespace fontarel {
namespace {

void atari_map(benchmark::State& state, uint8_t mode) {
    CharsetStore store;
    std::mt19937 random(11);
    for (auto& b : store.bytes)
        b = static_cast<uint8_t>(random());
    store.glyph(1)[0] = 0x1B; // pairs 00 01 10 11
    CharMap map;
    map.cols = 40;
    map.rows = 24;
    map.look.machine = MapMachine::Atari;
    map.look.atari_mode = mode;
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.cols; ++c)
            map.at(c, r) = static_cast<int32_t>(random() % 256);
    map.at(0, 0) = 0x81;
    Raster target(16 * map.cols, 16 * map.rows);
    MapRenderer renderer;
    renderer.render(target, map, store, 0, 0xFFFFFF, false);
    // Glyph row 0's last pair: COLPF3 in four colours; in two colours a set bit of an inverse
    // cell, COLPF2.
    const Colour expected = atari_colour(mode == kAtariTwoColours ? map.look.colpf[2]
                                                                  : map.look.colpf[3]);
    if (target.pixel(15, 1) != expected) {
        state.SkipWithError("the map does not show the mode measured");
        return;
    }
    for (auto _ : state) {
        renderer.invalidate();
        renderer.render(target, map, store, 0, 0xFFFFFF, false);
        benchmark::ClobberMemory();
    }
}

void atari_four_colour_map(benchmark::State& state) {
    atari_map(state, kAtariFourColours);
}
BENCHMARK(atari_four_colour_map);

void atari_two_colour_map(benchmark::State& state) {
    atari_map(state, kAtariTwoColours);
}
BENCHMARK(atari_two_colour_map);

} // namespace
} // namespace fontarel
