// Cost of the redraws, as ratios within one run: a full refresh of the charset view and the glyph
// editor against a memset of the same number of picture bytes, and one hover frame of the charset
// canvas against the same.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "app/app.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "toolkit/headless/headless_toolkit.h"
#include "app/charset_canvas.h"
#include "model/labels.h"
#include "render/charset_picture.h"
#include "render/geometry.h"

namespace fontarel {
namespace {

struct Program {
    HeadlessToolkit tk;
    App app{tk};
    Program() {
        open_program(app);
        std::mt19937 random(7);
        for (auto& b : app.s.charset->bytes)
            b = static_cast<uint8_t>(random());
    }
    // Bytes a full refresh writes: charset image, charset canvas surface, glyph canvas.
    size_t refresh_bytes() const {
        return tk.image(kCharsetImage)->byte_size() +
               tk.control(kCharsetCanvas)->picture.byte_size() +
               tk.control(kGlyphCanvas)->picture.byte_size();
    }
};

void refresh_chain(benchmark::State& state) {
    Program p;
    for (auto _ : state) {
        refresh_charset_views(p.app);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.refresh_bytes()));
}
BENCHMARK(refresh_chain);

void memset_same_bytes(benchmark::State& state) {
    Program p;
    std::vector<uint8_t> buffer(p.refresh_bytes());
    int value = 0;
    for (auto _ : state) {
        std::memset(buffer.data(), ++value, buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(memset_same_bytes);

void charset_hover_frame(benchmark::State& state) {
    Program p;
    int x = 0;
    for (auto _ : state) {
        p.tk.inject_canvas(kCharsetCanvas, kKindMouseMove, x, 255 - x);
        p.tk.wait_event();
        charset_canvas_event(p.app);
        x = (x + 17) & 255;
    }
}
BENCHMARK(charset_hover_frame);

} // namespace
} // namespace fontarel

BENCHMARK_MAIN();
