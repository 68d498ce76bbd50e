// Cost of the redraws on the in-memory toolkit, as ratios within one run:
// 1. the full refresh chain (charset image, charset canvas with cursor, glyph editor, map 80 x 50
//    with grid) with every picture drawn from nothing, against a memset of the same bytes; and the
//    same chain after one pixel edit with the map filled with the edited glyph (every map cell
//    changes), the worst case of an edit, also on a C64 map of mixed colours, in hi-res and in
//    multicolour;
// 2. one map hover frame at 80 x 50, against a memset of the map picture.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "app/views/charset_canvas.h"
#include "app/views/map_canvas.h"
#include "app/views/present.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

struct Program {
    HeadlessToolkit tk;
    App app{tk};
    // `machine`: the Colour menu row; with C64 the cells get mixed colours, (column + row) % 16,
    // which in multicolour makes half of them multicolour cells.
    explicit Program(MenuId machine = MenuId::MachineMono, bool multicolour = false) {
        open_program(app);
        std::mt19937 random(7);
        for (auto& b : app.s.charset->bytes)
            b = static_cast<uint8_t>(random());
        dispatch_menu(app, id(MenuId::MapPc));
        dispatch_menu(app, id(machine));
        if (multicolour)
            dispatch_menu(app, id(MenuId::Multicolour));
        dispatch_menu(app, id(MenuId::FillMap));
        if (machine != MenuId::MachineMono) {
            CharMap& map = *app.s.map;
            for (int r = 0; r < map.rows; ++r)
                for (int c = 0; c < map.cols; ++c)
                    map.attr(c, r) = static_cast<uint8_t>((c + r) % 16);
        }
        present(app);
    }
    size_t map_bytes() const { return tk.control(kMapCanvas)->picture.byte_size(); }
    // Bytes a full refresh writes: charset image, charset canvas surface, glyph canvas, map.
    size_t refresh_bytes() const {
        return tk.image(kCharsetImage)->byte_size() +
               tk.control(kCharsetCanvas)->picture.byte_size() +
               tk.control(kGlyphCanvas)->picture.byte_size() + map_bytes();
    }
};

void memset_bench(benchmark::State& state, size_t bytes) {
    std::vector<uint8_t> buffer(bytes);
    int value = 0;
    for (auto _ : state) {
        std::memset(buffer.data(), ++value, buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// Every picture from nothing: the caches are dropped, so every pixel is written.
void full_refresh_chain(benchmark::State& state) {
    Program p;
    for (auto _ : state) {
        p.app.views.grid.invalidate();
        p.app.views.editor.invalidate();
        p.app.views.map.invalidate();
        present(p.app);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(full_refresh_chain);

void memset_of_the_refresh_bytes(benchmark::State& state) {
    memset_bench(state, Program().refresh_bytes());
}
BENCHMARK(memset_of_the_refresh_bytes);

// One pixel of the current glyph flipped, which every one of the 4,000 map cells shows; on a Mono
// map, and on a C64 map whose cells have mixed colours.
void pixel_edit(benchmark::State& state, MenuId machine, bool multicolour = false) {
    Program p(machine, multicolour);
    if (multicolour != p.app.s.map->look.multicolour())
        state.SkipWithError("the map is not in the mode measured");
    int n = 0;
    for (auto _ : state) {
        p.app.store().glyph(p.app.s.current_char)[n & 7] ^= static_cast<uint8_t>(1 << (n >> 3 & 7));
        ++n;
        present(p.app);
        benchmark::ClobberMemory();
    }
}
void pixel_edit_with_full_map(benchmark::State& state) {
    pixel_edit(state, MenuId::MachineMono);
}
BENCHMARK(pixel_edit_with_full_map);
void pixel_edit_with_full_colour_map(benchmark::State& state) {
    pixel_edit(state, MenuId::MachineC64);
}
BENCHMARK(pixel_edit_with_full_colour_map);
void pixel_edit_with_full_multicolour_map(benchmark::State& state) {
    pixel_edit(state, MenuId::MachineC64, true);
}
BENCHMARK(pixel_edit_with_full_multicolour_map);

void map_hover_frame(benchmark::State& state) {
    Program p;
    int x = 0, y = 0;
    for (auto _ : state) {
        p.tk.inject_canvas(kMapCanvas, kKindMouseMove, x, y);
        dispatch_event(p.app, p.tk.wait_event());
        x = (x + 37) % 1280;
        y = (y + 23) % 800;
    }
}
BENCHMARK(map_hover_frame);

void memset_of_the_map_picture(benchmark::State& state) {
    memset_bench(state, Program().map_bytes());
}
BENCHMARK(memset_of_the_map_picture);

} // namespace
} // namespace fontarel

BENCHMARK_MAIN();
