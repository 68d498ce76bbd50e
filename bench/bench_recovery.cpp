// Cost of the recovery file, as a ratio within one run: 7. a stroke of 200 edits on the map, each
// event handled as the loop handles it, with the recovery file written at the stroke's end (the
// clock moved on two seconds a stroke, so that every stroke writes), against the same stroke
// without recovery.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/recovery.h"
#include "app/start_up.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

void stroke_of_200_edits(benchmark::State& state, bool recovery) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "fontarel_bench_recovery";
    fs::remove_all(folder);
    HeadlessToolkit tk;
    tk.state_folder_path = recovery ? folder.string() + "/" : "";
    App app{tk};
    open_program(app);
    dispatch_menu(app, id(MenuId::MapPc));
    int n = 0;
    for (auto _ : state) {
        tk.clock_ms += 2000;
        app.s.current_char = static_cast<uint8_t>(65 + n % 2); // each stroke changes the cells
        for (int i = 0; i <= 200; ++i) {
            tk.inject_canvas(kMapCanvas,
                             i == 0    ? kKindLeftDown
                             : i < 200 ? kKindMouseMove
                                       : kKindLeftUp,
                             16 * (i % 80) + 8, 16 * (i / 80) + 8, i < 200 ? kButtonLeft : 0);
            dispatch_event(app, tk.wait_event());
        }
        ++n;
    }
    // The stroke did what it is meant to: it painted, and the file was written or was not.
    finish_recovery_writes(app);
    const bool written = fs::exists(folder) && !fs::is_empty(folder);
    if (app.s.map->at(10, 1) != 65 + (n - 1) % 2 || written != recovery)
        state.SkipWithError("the strokes did not paint, or recovery did not write as meant");
    shut_down(app);
    fs::remove_all(folder);
}
void stroke_with_recovery(benchmark::State& state) {
    stroke_of_200_edits(state, true);
}
BENCHMARK(stroke_with_recovery);
void stroke_without_recovery(benchmark::State& state) {
    stroke_of_200_edits(state, false);
}
BENCHMARK(stroke_without_recovery);

} // namespace
} // namespace fontarel
