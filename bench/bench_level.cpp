// Levels far larger than a screen, as ratios within one run:
// 1. one tile put down on the level (press and release through the event loop, the step recorded
//    and the Level window redrawn) on a 4,096 x 4,096-tile level against the same on a 40 x 25 one;
// 2. the memory a 4,096 x 4,096 level of 4 x 4 tiles adds once every one of its cells is written,
//    and what one undo step of a stroke over it keeps (in its label, in bytes);
// 3. opening a CTM project with a 512 x 512 level (as Open... does: the file read, the project
//    taken, the step recorded) against reading the file's bytes; and the reader alone;
// 4. compacting the charset of a project with a 4,096 x 4,096 level of 4,096 tiles of 4 x 4 cells
//    and 256 glyphs in use against one pass over the level's tile numbers and the tiles' cells.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "../tests/helpers/ctm_writer.h"
#include "app/app.h"
#include "app/commands/ctm_commands.h"
#include "app/commands/history_commands.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "formats/ctm.h"
#include "model/charset_compact.h"
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
        if (doc.level().at(1, 0) != 1 ||
            doc.level().at(kMaxLevelSide - 1, kMaxLevelSide - 2) != 1) {
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

// Version 5 projects of 1,000 tiles of 4 x 4 cells and a 512 x 512 level, in files of their own;
// two that differ in every block, so that each open replaces a different level, as opening
// another project does.
struct CtmFile {
    std::string path;
    size_t size = 0;
    explicit CtmFile(int seed = 0)
        : path("/tmp/fontarel-bench-level-" + std::to_string(seed) + ".ctm") {
        CtmDescription d;
        d.glyphs.assign(256, {0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00});
        d.tiles = 1000;
        d.tile_width = d.tile_height = 4;
        d.level_width = d.level_height = 512;
        fill_ctm_lists(d);
        for (size_t i = 0; i < d.level.size(); ++i)
            d.level[i] = static_cast<uint16_t>((i * 7919 + static_cast<size_t>(seed)) % 1000);
        d.cells[0] = static_cast<uint16_t>(seed);
        const std::vector<uint8_t> bytes = ctm_bytes(d);
        size = bytes.size();
        write_whole_file(path, bytes);
    }
};

void read_512_ctm_file(benchmark::State& state) {
    const CtmFile file;
    HeadlessToolkit tk;
    for (auto _ : state) {
        std::vector<uint8_t> bytes;
        // As the program reads a file it imports: its size, then that many bytes.
        if (!tk.read_file_start(file.path, tk.file_size(file.path), bytes) ||
            bytes.size() != file.size)
            state.SkipWithError("the file did not read");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(read_512_ctm_file);

// The reader alone on the same file's bytes: the project made and dropped.
void read_512_ctm_project(benchmark::State& state) {
    const CtmFile file;
    HeadlessToolkit tk;
    std::vector<uint8_t> bytes;
    tk.read_file_start(file.path, tk.file_size(file.path), bytes);
    for (auto _ : state) {
        Project project;
        std::vector<std::string> remarks;
        if (!read_ctm(bytes, project, remarks).empty() || project.level.at(1, 0) != 7919 % 1000) {
            state.SkipWithError("the project was not read");
            break;
        }
        benchmark::DoNotOptimize(project);
    }
}
BENCHMARK(read_512_ctm_project);

void open_512_ctm(benchmark::State& state) {
    const CtmFile files[2] = {CtmFile(0), CtmFile(1)};
    HeadlessToolkit tk;
    App app{tk};
    open_program(app);
    // Before measuring: an open gives the whole 512 x 512 level with the file's tiles, and its
    // undo gives back the blank level the program started with.
    const EditState start = current_edit_state(app);
    open_ctm(app, files[1].path, "Open");
    record_step(app, start);
    const Level& level = app.s.levels.level();
    const TileSet& tiles = app.s.levels.tiles();
    const bool opened = level.cols() == 512 && level.rows() == 512 && tiles.count() == 1000 &&
                        tiles.cell(0, 0, 0).code == 1 &&
                        tiles.cell(999, 3, 3).code == 15999 % 256 &&
                        level.at(511, 511) == (size_t{512 * 512 - 1} * 7919 + 1) % 1000;
    undo_step(app);
    if (!opened || app.s.levels.level().cols() != 16 || app.s.levels.tiles().count() != 1) {
        state.SkipWithError("the project was not opened, or its undo did not give the level back");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        const EditState before = current_edit_state(app);
        open_ctm(app, files[n & 1].path, "Open");
        record_step(app, before);
        if (app.s.levels.level().cols() != 512 ||
            app.s.levels.level().at(1, 0) != (7919 + (n & 1)) % 1000) {
            state.SkipWithError("the project was not opened");
            break;
        }
        ++n;
    }
}
BENCHMARK(open_512_ctm);

// A 4,096 x 4,096 level whose every block differs, over 4,096 tiles of 4 x 4 cells that use all
// 256 glyphs, half of them alike, and the C64 start map.
struct CompactScene {
    CharsetStore store;
    CharMap map;
    TileSet tiles{4, 4, 1};
    Level level{kMaxLevelSide, kMaxLevelSide};
    CompactScene() {
        for (int g = 0; g < kGlyphCount; ++g)
            store.glyph(g)[0] = static_cast<uint8_t>(g / 2);
        for (int t = 1; t < kMaxTiles; ++t)
            tiles.append(tiles.tile(0));
        for (int t = 0; t < kMaxTiles; ++t)
            for (int i = 0; i < 16; ++i)
                tiles.set_cell(t, i % 4, i / 4, {static_cast<uint8_t>(t * 16 + i), 1});
        std::vector<uint16_t> row(kMaxLevelSide);
        for (int y = 0; y < kMaxLevelSide; ++y) {
            for (int x = 0; x < kMaxLevelSide; ++x)
                row[static_cast<size_t>(x)] = static_cast<uint16_t>((x * 31 + y * 17) % kMaxTiles);
            level.set_row(0, y, row);
        }
    }
};

// One pass over what compacting could read: every tile number of the level and every tile cell.
void pass_over_level_and_tiles(benchmark::State& state) {
    const CompactScene scene;
    for (auto _ : state) {
        uint64_t sum = 0;
        for (int y = 0; y < scene.level.rows(); ++y)
            for (int x = 0; x < scene.level.cols(); ++x)
                sum += scene.level.at(x, y);
        for (int t = 0; t < scene.tiles.count(); ++t)
            for (int i = 0; i < 16; ++i)
                sum += scene.tiles.cell(t, i % 4, i / 4).code;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(pass_over_level_and_tiles);

void compact_4096_level(benchmark::State& state) {
    const CompactScene scene;
    {
        CompactScene s = scene;
        const CompactCounts n = compact_charset(s.store, s.map, &s.tiles, 1, 0);
        if (n.in_use != 128 || n.merged != 128 || s.tiles.cell(0, 1, 0).code != 0) {
            state.SkipWithError("the charset was not compacted to its 128 different glyphs");
            return;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        CompactScene s = scene; // the pieces shared: a copy is pointers
        state.ResumeTiming();
        benchmark::DoNotOptimize(compact_charset(s.store, s.map, &s.tiles, 1, 0));
    }
}
BENCHMARK(compact_4096_level);

} // namespace
} // namespace fontarel
