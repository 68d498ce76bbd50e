// Levels far larger than a screen, as ratios within one run:
// 1. one tile put down on the level (press and release through the event loop, the step recorded
//    and the Level window redrawn) on a 4,096 x 4,096-tile level against the same on a 40 x 25 one;
// 2. the memory a 4,096 x 4,096 level of 4 x 4 tiles adds once every one of its cells is written,
//    and what one undo step of a stroke over it keeps (in its label, in bytes).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

struct LevelProgram {
    HeadlessToolkit tk;
    App app{tk};
    explicit LevelProgram(const std::string& sizes) {
        open_program(app);
        dispatch_menu(app, id(MenuId::MapC64)); // a 40 x 25 view
        tk.text_answers.push_back(sizes);
        dispatch_event(app, (tk.inject_menu(id(MenuId::NewLevel)), tk.wait_event()));
        dispatch_event(app, (tk.inject_menu(id(MenuId::NewTile)), tk.wait_event()));
    }
    void event(int kind, int x, int y, int buttons) {
        tk.inject_canvas(kLevelCanvas, kind, x, y, buttons);
        dispatch_event(app, tk.wait_event());
    }
};

// Stamps alternate tiles 1 and 0 over the view, each a press and a release.
void put_tiles(benchmark::State& state, const std::string& sizes) {
    LevelProgram p(sizes);
    if (!p.app.level_views.level_shown || p.app.s.current_tile != 1) {
        state.SkipWithError("no level window with a current tile 1");
        return;
    }
    p.event(kKindLeftDown, 17, 17, kButtonLeft);
    p.event(kKindLeftUp, 17, 17, 0);
    if (p.app.s.levels.level().at(0, 0) != 1) {
        state.SkipWithError("the press put no tile down");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        p.app.s.current_tile = n & 1;
        const int x = 64 * (n % 10) + 5, y = 64 * (n / 10 % 6) + 5;
        p.event(kKindLeftDown, x, y, kButtonLeft);
        p.event(kKindLeftUp, x, y, 0);
        ++n;
    }
}
void put_tile_on_40x25_tiles(benchmark::State& state) {
    put_tiles(state, "4x4, 40x25");
}
BENCHMARK(put_tile_on_40x25_tiles);
void put_tile_on_4096x4096_tiles(benchmark::State& state) {
    put_tiles(state, "4x4, 4096x4096");
}
BENCHMARK(put_tile_on_4096x4096_tiles);

long resident_bytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// Every cell of a 4,096 x 4,096 level written (so no block is shared any more), through the
// document as the Level window writes; then one stroke of 64 tiles as one step.
void memory_of_a_full_4096_level(benchmark::State& state) {
    for (auto _ : state) {
        LevelProgram p("4x4, 4096x4096");
        const long before = resident_bytes();
        LevelDoc& doc = p.app.s.levels;
        for (int y = 0; y < kMaxLevelSide; ++y)
            for (int x = 0; x < kMaxLevelSide; ++x)
                doc.set_level_tile(x, y, (x ^ y) & 1);
        if (doc.level().at(1, 0) != 1 || doc.level().at(kMaxLevelSide - 1, kMaxLevelSide - 2) != 1) {
            state.SkipWithError("the level was not written");
            return;
        }
        doc.take_change(); // the filling is not the stroke measured
        const long filled = resident_bytes();
        const size_t history_before = p.app.s.history.bytes();
        p.event(kKindLeftDown, 5, 5, kButtonLeft);
        for (int i = 1; i < 64; ++i)
            p.event(kKindMouseMove, 5 + 4 * i, 5, kButtonLeft);
        p.event(kKindLeftUp, 5 + 4 * 63, 5, 0);
        // A label, not counters: the CSV report takes counters only when every benchmark has them.
        state.SetLabel("level_bytes " + std::to_string(filled - before) + " stroke_step_bytes " +
                       std::to_string(p.app.s.history.bytes() - history_before));
    }
}
BENCHMARK(memory_of_a_full_4096_level)->Iterations(1);

} // namespace
} // namespace fontarel
