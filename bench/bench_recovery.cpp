// Cost of the recovery file, as ratios within one run, in CPU time of the whole process (the
// writing thread included: each iteration waits for its write, and the time is the process's):
// 1. a stroke of 200 events painting tiles on a 1,024 x 1,024-tile level, with the change appended
//    to the recovery file (the clock moved on two seconds a stroke, so that every stroke writes),
//    against the same stroke with recovery off: at most 1.1 x;
// 2. the same stroke on a 4,096 x 4,096 level against a 64 x 64 one, both with recovery on: at
//    most 1.1 x;
// 3. a stroke of 200 edits on the map with its change appended, against the same without
//    recovery: at most 1.05 x;
// 4. the peak resident memory one base write of a full 4,096 x 4,096 level adds, against the size
//    of the file it writes (in the label): at most 1 x.
// The strokes are checked to have painted and the file to have been written (or not) first.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/recovery.h"
#include "app/start_up.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;

struct LevelProgram {
    HeadlessToolkit tk;
    App app{tk};
    fs::path folder;
    LevelProgram(const std::string& sizes, bool recovery)
        : folder(fs::temp_directory_path() / ("fontarel_bench_recovery_" + sizes.substr(6))) {
        fs::remove_all(folder);
        tk.state_folder_path = recovery ? folder.string() + "/" : "";
        open_program(app);
        dispatch_menu(app, id(MenuId::MapC64)); // a 40 x 25 view
        tk.text_answers.push_back(sizes);
        dispatch_event(app, (tk.inject_menu(id(MenuId::NewLevel)), tk.wait_event()));
        dispatch_event(app, (tk.inject_menu(id(MenuId::NewTile)), tk.wait_event()));
    }
    ~LevelProgram() {
        shut_down(app);
        fs::remove_all(folder);
    }
    void event(int kind, int x, int y, int buttons) {
        tk.inject_canvas(kLevelCanvas, kind, x, y, buttons);
        dispatch_event(app, tk.wait_event());
    }
    // 200 events over the view's 10 x 6 tiles, putting down tile 0 or 1; the stroke's change is
    // handed to the recovery file as it ends, and written before this returns.
    void stroke(int n) {
        tk.clock_ms += kRecoveryGap;
        app.s.current_tile = n & 1;
        for (int i = 0; i <= 200; ++i) {
            const int x = 64 * (i % 10) + 5, y = 64 * (i / 10 % 6) + 5;
            event(i == 0 ? kKindLeftDown : i < 200 ? kKindMouseMove : kKindLeftUp, x, y,
                  i < 200 ? kButtonLeft : 0);
        }
        finish_recovery_writes(app);
    }
    int64_t file_bytes() {
        finish_recovery_writes(app);
        std::error_code ec;
        const auto n = fs::file_size(app.recovery.own_file, ec);
        return ec ? -1 : static_cast<int64_t>(n);
    }
};

void strokes(benchmark::State& state, const std::string& sizes, bool recovery) {
    LevelProgram p(sizes, recovery);
    p.stroke(1);
    const int64_t before = p.file_bytes();
    p.stroke(0);
    p.stroke(1);
    const int64_t after = p.file_bytes();
    const bool painted = p.app.s.levels.level().at(9, 5) == 1 && p.app.s.levels.level().at(0, 0) == 1;
    if (!painted || (recovery ? !(after > before && before > 0) : after != -1)) {
        state.SkipWithError("the strokes did not paint, or the journal was not written as meant");
        return;
    }
    int n = 0;
    for (auto _ : state)
        p.stroke(n++);
}

void stroke_1024_with_recovery(benchmark::State& state) {
    strokes(state, "4x4, 1024x1024", true);
}
void stroke_1024_without_recovery(benchmark::State& state) {
    strokes(state, "4x4, 1024x1024", false);
}
void stroke_4096_with_recovery(benchmark::State& state) {
    strokes(state, "4x4, 4096x4096", true);
}
void stroke_64_with_recovery(benchmark::State& state) {
    strokes(state, "4x4, 64x64", true);
}
BENCHMARK(stroke_1024_with_recovery)->MeasureProcessCPUTime();
BENCHMARK(stroke_1024_without_recovery)->MeasureProcessCPUTime();
BENCHMARK(stroke_4096_with_recovery)->MeasureProcessCPUTime();
BENCHMARK(stroke_64_with_recovery)->MeasureProcessCPUTime();

void stroke_of_200_map_edits(benchmark::State& state, bool recovery) {
    const fs::path folder = fs::temp_directory_path() / "fontarel_bench_recovery_map";
    fs::remove_all(folder);
    HeadlessToolkit tk;
    tk.state_folder_path = recovery ? folder.string() + "/" : "";
    App app{tk};
    open_program(app);
    dispatch_menu(app, id(MenuId::MapPc));
    int n = 0;
    const auto stroke = [&] {
        tk.clock_ms += kRecoveryGap;
        app.s.current_char = static_cast<uint8_t>(65 + n % 2); // each stroke changes the cells
        for (int i = 0; i <= 200; ++i) {
            tk.inject_canvas(kMapCanvas, i == 0 ? kKindLeftDown : i < 200 ? kKindMouseMove : kKindLeftUp,
                             16 * (i % 80) + 8, 16 * (i / 80) + 8, i < 200 ? kButtonLeft : 0);
            dispatch_event(app, tk.wait_event());
        }
        finish_recovery_writes(app);
        ++n;
    };
    stroke();
    stroke();
    const bool written = fs::exists(app.recovery.own_file);
    if (app.s.map->at(10, 1) != 66 || written != recovery) {
        state.SkipWithError("the strokes did not paint, or recovery did not write as meant");
    } else {
        for (auto _ : state)
            stroke();
    }
    shut_down(app);
    fs::remove_all(folder);
}
void stroke_with_recovery(benchmark::State& state) {
    stroke_of_200_map_edits(state, true);
}
void stroke_without_recovery(benchmark::State& state) {
    stroke_of_200_map_edits(state, false);
}
BENCHMARK(stroke_with_recovery)->MeasureProcessCPUTime();
BENCHMARK(stroke_without_recovery)->MeasureProcessCPUTime();

// Kilobytes of /proc/self/status's line `key` (VmRSS, VmHWM).
long status_kb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    return -1;
}

// A 4,096 x 4,096 level whose every block differs, then one base write: the rise of the peak
// resident memory (reset just before it) against the bytes of the file written.
void memory_of_a_4096_base_write(benchmark::State& state) {
    for (auto _ : state) {
        LevelProgram p("4x4, 4096x4096", true);
        Level level(kMaxLevelSide, kMaxLevelSide);
        std::vector<uint16_t> row(kMaxLevelSide);
        for (int y = 0; y < kMaxLevelSide; ++y) {
            for (int x = 0; x < kMaxLevelSide; ++x)
                row[static_cast<size_t>(x)] = static_cast<uint16_t>((x * 7 + y * 3) % 2);
            level.set_row(0, y, row);
        }
        p.app.s.levels.replace_level(std::move(level));
        p.app.recovery.due = true;
        p.app.recovery.base_wanted = true;
        p.tk.clock_ms += kRecoveryGap;
        finish_recovery_writes(p.app);
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
        const long before = status_kb("VmRSS");
        write_recovery_when_due(p.app); // the first write: the base
        const int64_t bytes = p.file_bytes();
        const long rise = (status_kb("VmHWM") - before) * 1024;
        if (bytes < int64_t{kMaxLevelSide} * kMaxLevelSide || before < 0) {
            state.SkipWithError("no base of the level was written, or no peak to read");
            return;
        }
        state.SetLabel("peak_rise_bytes " + std::to_string(rise) + " file_bytes " +
                       std::to_string(bytes) + " ratio " +
                       std::to_string(static_cast<double>(rise) / static_cast<double>(bytes)));
    }
}
BENCHMARK(memory_of_a_4096_base_write)->Iterations(1);

} // namespace
} // namespace fontarel
