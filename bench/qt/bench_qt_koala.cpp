// Cost of importing a Koala painting, against decoding the same painting as a 320 x 200 PNG with
// Qt's reader in the same run: the painting of random bitmaps and colours (1000 distinct cells
// merged down to 256 glyphs, few cells that fit: the worst case) and one of 64 bitmaps in the
// mode's colours (every cell fits); and the 320 x 200 picture itself read in multicolour.

#include <benchmark/benchmark.h>

#include <random>

#include "formats/koala.h"
#include "model/map_colours.h"
#include "toolkit/qt/picture_decoder.h"
#include "toolkit/qt/png_encoder.h"
#include "toolkit/raster.h"

namespace fontarel {
namespace {

struct Painting {
    std::vector<uint8_t> koala, png;
    Picture picture;
    explicit Painting(bool fits) : koala(10003) {
        std::mt19937 random(5);
        for (size_t i = 2; i < 10002; ++i)
            koala[i] = static_cast<uint8_t>(random());
        for (size_t cell = 0; cell < 1000 && fits; ++cell) {
            const size_t from = 2 + 8 * (random() % 64);
            std::copy_n(koala.begin() + static_cast<long>(from), 8,
                        koala.begin() + static_cast<long>(2 + 8 * cell));
            koala[8002 + cell] = 0xDA;
            koala[9002 + cell] &= 7;
        }
        koala[10002] = 6;
        int background = 0;
        const EntryPicture cells = decode_koala(koala, background);
        const auto palette = machine_palette(MapMachine::C64).colours;
        Raster raster(320, 200);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x)
                raster.set_pixel(x, y, palette[cells.entry[static_cast<size_t>(y * 160 + x / 2)]]);
        png = encode_png_with_qt(raster);
        picture = picture_of(raster);
    }
};
const Painting& painting(bool fits) {
    static const Painting random(false), fitting(true);
    return fits ? fitting : random;
}

void koala_png_decode(benchmark::State& state) {
    const Painting& p = painting(state.range(0) != 0);
    for (auto _ : state) {
        Picture picture;
        benchmark::DoNotOptimize(decode_picture_with_qt(p.png, picture));
        benchmark::DoNotOptimize(picture.pixels.data());
    }
}
BENCHMARK(koala_png_decode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void koala_import(benchmark::State& state) {
    const Painting& p = painting(state.range(0) != 0);
    for (auto _ : state) {
        const ScreenImport screen = import_koala(p.koala);
        benchmark::DoNotOptimize(screen.map.cells.data());
    }
}
BENCHMARK(koala_import)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void koala_picture_import(benchmark::State& state) {
    const Painting& p = painting(state.range(0) != 0);
    for (auto _ : state) {
        const ScreenImport screen = import_multicolour_screen(p.picture, {6});
        benchmark::DoNotOptimize(screen.map.cells.data());
    }
}
BENCHMARK(koala_picture_import)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace fontarel
