// The level as a Tiled map, as ratios within one run:
// 1. the TMX text of a 4,096 x 4,096 level of 4,096 tiles against the level's bytes alone (the bin
//    export), the same tile numbers in both: the text costs a constant times the bytes;
// 2. the tileset picture of 4,096 tiles of 4 x 4 characters against the level picture of a level
//    of those tiles of the same size in pixels (16 x 256 tiles): laying the tiles out costs
//    nothing beyond drawing them.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "formats/export_level.h"
#include "formats/export_tmx.h"
#include "render/level_screen.h"
#include "render/tileset_picture.h"

namespace fontarel {
namespace {

std::unique_ptr<Project> large_project() {
    auto p = std::make_unique<Project>();
    p->map.look.machine = MapMachine::C64;
    p->map.look.set_multicolour(true);
    for (int i = 0; i < kCharsetBytes; ++i)
        p->charset.bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    p->tiles = TileSet(4, 4, kMaxTiles);
    for (int t = 0; t < kMaxTiles; ++t)
        for (int c = 0; c < 16; ++c)
            p->tiles.set_cell(t, c % 4, c / 4,
                              {static_cast<uint8_t>(t + c), static_cast<uint8_t>((t + c) % 16)});
    p->level = Level(kMaxLevelSide, kMaxLevelSide);
    std::vector<uint16_t> row(kMaxLevelSide);
    for (int y = 0; y < kMaxLevelSide; ++y) {
        for (int x = 0; x < kMaxLevelSide; ++x)
            row[x] = static_cast<uint16_t>((x * 7 + y * 13) % kMaxTiles);
        p->level.set_row(0, y, row);
    }
    return p;
}

// One project for every step: building it takes longer than a step.
const Project* shared_project() {
    static const auto p = large_project();
    return p.get();
}

void BM_TmxText(benchmark::State& state) {
    const Project* p = shared_project();
    const std::string text = tmx_text(p->tiles, p->level, p->map.look, "level.tiles.png");
    // The last number of the grid is the last tile number plus one.
    const std::string last = std::to_string(p->level.at(kMaxLevelSide - 1, kMaxLevelSide - 1) + 1);
    if (text.find(last + "\n  </data>") == std::string::npos) {
        state.SkipWithError("the grid does not end in the level's last tile number");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(tmx_text(p->tiles, p->level, p->map.look, "level.tiles.png"));
}
BENCHMARK(BM_TmxText)->Unit(benchmark::kMillisecond);

void BM_TmxLevelBytes(benchmark::State& state) {
    const Project* p = shared_project();
    if (level_data(*p).size() != size_t{2} * kMaxLevelSide * kMaxLevelSide) {
        state.SkipWithError("not two bytes a tile number");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(level_data(*p));
}
BENCHMARK(BM_TmxLevelBytes)->Unit(benchmark::kMillisecond);

// The level of the tiles in their order, 16 a row.
Level tileset_sized_level() {
    Level level(16, 256);
    for (int t = 0; t < kMaxTiles; ++t)
        level.set(t % 16, t / 16, static_cast<uint16_t>(t));
    return level;
}

void BM_TilesetPicture(benchmark::State& state) {
    const Project* p = shared_project();
    const Raster picture =
        render_tileset_picture(p->tiles, p->map, p->charset, p->colour0, p->colour1);
    Raster level_picture(16 * 32, 256 * 32);
    render_level_screen(level_picture, p->tiles, tileset_sized_level(), p->map, p->charset,
                        p->colour0, p->colour1);
    if (picture.width() != level_picture.width() || picture.height() != level_picture.height() ||
        !std::equal(picture.bytes(), picture.bytes() + picture.byte_size(),
                    level_picture.bytes())) {
        state.SkipWithError("the tileset picture is not the level picture of its tiles in order");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(
            render_tileset_picture(p->tiles, p->map, p->charset, p->colour0, p->colour1));
}
BENCHMARK(BM_TilesetPicture)->Unit(benchmark::kMillisecond);

void BM_TilesetSizedLevelPicture(benchmark::State& state) {
    const Project* p = shared_project();
    const Level level = tileset_sized_level();
    for (auto _ : state) {
        Raster picture(16 * 32, 256 * 32);
        render_level_screen(picture, p->tiles, level, p->map, p->charset, p->colour0, p->colour1);
        benchmark::DoNotOptimize(picture.bytes());
    }
}
BENCHMARK(BM_TilesetSizedLevelPicture)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace fontarel
