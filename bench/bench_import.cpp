// Cost of the screen imports, against decoding the same picture's BMP bytes in the same run:
// a 640 x 400 picture of at most 256 distinct cells made into a new charset and a map, and matched
// to the charset it was drawn with, also in each machine's colours (C64, Spectrum, PC text); and,
// in milliseconds, a 640 x 400 picture of 4000 distinct cells (random pixels) merged down to 256
// glyphs.

#include <benchmark/benchmark.h>

#include <random>

#include "model/builtin_charsets.h"
#include "formats/picture_import.h"
#include "toolkit/raster.h"

namespace fontarel {
namespace {

constexpr int kWidth = 640, kHeight = 400; // 80 x 50 cells

// Each cell of the picture one glyph of the charset (its pixels white on black), or random pixels.
Raster screen(const CharsetStore* charset, unsigned seed) {
    std::mt19937 random(seed);
    Raster raster(kWidth, kHeight);
    for (int cy = 0; cy < kHeight / 8; ++cy)
        for (int cx = 0; cx < kWidth / 8; ++cx) {
            const int code = static_cast<int>(random() % 256);
            for (int r = 0; r < 8; ++r) {
                const unsigned row =
                    charset != nullptr ? charset->glyph(code)[static_cast<size_t>(r)] : random();
                for (int b = 0; b < 8; ++b)
                    if (row >> (7 - b) & 1)
                        raster.set_pixel(8 * cx + b, 8 * cy + r, 0xFFFFFF);
            }
        }
    return raster;
}

struct Screens {
    CharsetStore charset;
    std::vector<uint8_t> bmp;
    Picture picture, random_cells;
    Screens() {
        load_builtin_glyphs(charset, builtin_charset(Machine::Cga));
        const Raster drawn = screen(&charset, 1);
        bmp = encode_bmp(drawn);
        picture = picture_of(drawn);
        random_cells = picture_of(screen(nullptr, 2));
    }
};
const Screens& screens() {
    static const Screens s;
    return s;
}

void screen_picture_decode(benchmark::State& state) {
    const Screens& s = screens();
    for (auto _ : state) {
        Picture picture;
        benchmark::DoNotOptimize(decode_bmp(s.bmp, picture));
        benchmark::DoNotOptimize(picture.pixels.data());
    }
}
BENCHMARK(screen_picture_decode);

void screen_import_new_charset(benchmark::State& state) {
    const Screens& s = screens();
    for (auto _ : state) {
        const ScreenImport out = import_screen_new_charset(s.picture, 0, 0xFFFFFF);
        benchmark::DoNotOptimize(out.map.cells.data());
    }
}
BENCHMARK(screen_import_new_charset);

void screen_import_current_charset(benchmark::State& state) {
    const Screens& s = screens();
    for (auto _ : state) {
        const ScreenImport out = import_screen_current_charset(s.picture, s.charset, 0, 0xFFFFFF);
        benchmark::DoNotOptimize(out.map.cells.data());
    }
}
BENCHMARK(screen_import_current_charset);

void screen_import_colour(benchmark::State& state) {
    const Screens& s = screens();
    const auto machine = static_cast<MapMachine>(state.range(0));
    for (auto _ : state) {
        const ScreenImport out =
            import_screen_current_charset(s.picture, s.charset, 0, 0xFFFFFF, machine);
        benchmark::DoNotOptimize(out.map.attrs.data());
    }
}
BENCHMARK(screen_import_colour)->DenseRange(1, 3);

void screen_reduction_4000_cells(benchmark::State& state) {
    const Screens& s = screens();
    for (auto _ : state) {
        const ScreenImport out = import_screen_new_charset(s.random_cells, 0, 0xFFFFFF);
        if (out.distinct != 4000 || out.glyphs != 256)
            state.SkipWithError("the random cells did not make 4000 patterns merged to 256");
        benchmark::DoNotOptimize(out.map.cells.data());
    }
}
BENCHMARK(screen_reduction_4000_cells)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace fontarel
