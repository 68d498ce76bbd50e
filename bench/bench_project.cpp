// The project file with a 4,096 x 4,096 level, as ratios within one run:
// 1. saving it (project_text) against compressing its raw tile numbers with zlib at the level the
//    file uses, and opening it (read_project) against decompressing them;
// 2. the peak resident memory a save adds, against the size of the text written (the text made
//    whole by project_text, and written to a file as it is made by write_project_text), and the
//    peak an open adds, against the level plus one buffer of its raw tile numbers (in the label,
//    bytes).
// The level is a game's: rooms of a few hundred tiles, with one cell in 30 random.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <zlib.h>

#include "formats/packed_bytes.h"
#include "formats/project.h"

namespace fontarel {
namespace {

constexpr int kSide = kMaxLevelSide;
constexpr int kTiles = 300;

Project game_project() {
    Project p;
    p.tiles = TileSet(4, 4, kTiles);
    for (int t = 0; t < kTiles; ++t)
        for (int i = 0; i < 16; ++i)
            p.tiles.set_cell(t, i % 4, i / 4,
                             {static_cast<uint8_t>(t + i), static_cast<uint8_t>(t % 16)});
    p.level = Level(kSide, kSide);
    std::mt19937 random(1);
    std::vector<uint16_t> row(kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            // Rooms of 24 x 16 tiles: walls of 8 kinds, floors of 40 patterns by the room.
            const int room = (x / 24 * 7 + y / 16 * 13) % 200;
            const bool wall = x % 24 == 0 || y % 16 == 0;
            row[x] = static_cast<uint16_t>(wall ? 1 + room % 8 : 10 + (room + x % 5 + y % 3) % 40);
            if (random() % 30 == 0)
                row[x] = static_cast<uint16_t>(random() % kTiles);
        }
        p.level.set_row(0, y, row);
    }
    return p;
}

std::vector<uint8_t> raw_tile_numbers(const Level& level) {
    std::vector<uint8_t> raw;
    raw.reserve(2 * size_t{kSide} * kSide);
    for (int y = 0; y < level.rows(); ++y)
        for (int x = 0; x < level.cols(); ++x)
            raw.insert(raw.end(), {static_cast<uint8_t>(level.at(x, y)),
                                   static_cast<uint8_t>(level.at(x, y) >> 8)});
    return raw;
}

// The project, its text, and the text checked: the level packed, and read back the same.
struct Fixture {
    Project project = game_project();
    std::string text = project_text(project);
    std::string fault;
    Fixture() {
        const size_t at = text.find("\"level\": {");
        if (at == std::string::npos ||
            text.find("\"encoding\": \"zlib-base64\"", at) == std::string::npos ||
            text.size() > size_t{16} << 20)
            fault = "the level is not packed";
        Project back;
        const std::string why =
            read_project({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, back);
        if (!why.empty() || !(back.level == project.level) || !(back.tiles == project.tiles))
            fault = "the text does not read back the same: " + why;
    }
};
Fixture& fixture() {
    static Fixture f;
    return f;
}

void save_4096_project(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.fault.empty())
        return state.SkipWithError(f.fault.c_str());
    for (auto _ : state) {
        const std::string text = project_text(f.project);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(save_4096_project)->Unit(benchmark::kMillisecond);

void compress_4096_tile_numbers(benchmark::State& state) {
    const std::vector<uint8_t> raw = raw_tile_numbers(fixture().project.level);
    std::vector<uint8_t> packed(compressBound(raw.size()));
    for (auto _ : state) {
        uLongf size = packed.size();
        if (compress2(packed.data(), &size, raw.data(), raw.size(), kPackLevel) != Z_OK)
            return state.SkipWithError("zlib failed");
        benchmark::DoNotOptimize(packed.data());
    }
}
BENCHMARK(compress_4096_tile_numbers)->Unit(benchmark::kMillisecond);

void open_4096_project(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.fault.empty())
        return state.SkipWithError(f.fault.c_str());
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(f.text.data()),
                                         f.text.size());
    for (auto _ : state) {
        Project p;
        if (!read_project(bytes, p).empty())
            return state.SkipWithError("the project was not read");
        benchmark::DoNotOptimize(&p);
    }
}
BENCHMARK(open_4096_project)->Unit(benchmark::kMillisecond);

// Into a buffer of its own each time, as a reader must.
void decompress_4096_tile_numbers(benchmark::State& state) {
    const std::vector<uint8_t> raw = raw_tile_numbers(fixture().project.level);
    std::vector<uint8_t> packed(compressBound(raw.size()));
    uLongf packed_size = packed.size();
    compress2(packed.data(), &packed_size, raw.data(), raw.size(), kPackLevel);
    for (auto _ : state) {
        std::unique_ptr<uint8_t[]> out(new uint8_t[raw.size()]);
        uLongf size = raw.size();
        if (uncompress(out.get(), &size, packed.data(), packed_size) != Z_OK || size != raw.size())
            return state.SkipWithError("zlib failed");
        benchmark::DoNotOptimize(out.get());
    }
}
BENCHMARK(decompress_4096_tile_numbers)->Unit(benchmark::kMillisecond);

long status_kb(const char* field) {
    long kb = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, field, std::strlen(field)) == 0)
                kb = std::atol(line + std::strlen(field));
        std::fclose(f);
    }
    return kb;
}
// Sets the peak resident memory back to what is resident now; false where the system cannot.
bool reset_peak() {
    FILE* f = std::fopen("/proc/self/clear_refs", "w");
    const bool ok = f && std::fputs("5", f) >= 0;
    if (f)
        std::fclose(f);
    return ok;
}

// In a child process of its own, so that nothing the other benchmarks left in the heap counts:
// what a save adds to the peak resident memory, and what an open adds.
void memory_of_4096_save_and_open(benchmark::State& state) {
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0)
            return state.SkipWithError("no pipe");
        const pid_t child = fork();
        if (child == 0) {
            long figures[6] = {-1, -1, -1, -1, -1, -1};
            {
                Project p = game_project();
                figures[3] = static_cast<long>(p.level.block_bytes());
                // First the text written to a file as it is made, while the heap holds nothing
                // freed that it could take again.
                long streamed = -1;
                if (FILE* file = std::tmpfile(); file && reset_peak()) {
                    const long before = status_kb("VmHWM:");
                    write_project_text(p, [&](std::string_view piece) {
                        std::fwrite(piece.data(), 1, piece.size(), file);
                    });
                    std::fflush(file);
                    figures[5] = (status_kb("VmHWM:") - before) << 10;
                    streamed = std::ftell(file);
                    std::fclose(file);
                }
                if (reset_peak()) {
                    const long before = status_kb("VmHWM:");
                    const std::string text = project_text(p);
                    figures[0] = (status_kb("VmHWM:") - before) << 10;
                    figures[1] = static_cast<long>(text.size());
                    if (streamed != figures[1])
                        figures[5] = -1;
                    if (reset_peak()) {
                        const long before_open = status_kb("VmHWM:");
                        Project back;
                        read_project({reinterpret_cast<const uint8_t*>(text.data()), text.size()},
                                     back);
                        figures[2] = (status_kb("VmHWM:") - before_open) << 10;
                        figures[4] = back.level == p.level ? 2L * kSide * kSide : -1;
                    }
                }
            }
            const bool sent = write(out[1], figures, sizeof figures) == sizeof figures;
            _exit(sent ? 0 : 1);
        }
        close(out[1]);
        long figures[6] = {-1, -1, -1, -1, -1, -1};
        const bool got = read(out[0], figures, sizeof figures) == sizeof figures;
        close(out[0]);
        waitpid(child, nullptr, 0);
        if (!got || figures[0] < 0 || figures[2] < 0 || figures[4] < 0 || figures[5] < 0)
            return state.SkipWithError(
                ("the child could not measure its peak memory: " + std::to_string(figures[0]) +
                 " " + std::to_string(figures[2]) + " " + std::to_string(figures[4]) + " " +
                 std::to_string(figures[5]))
                    .c_str());
        state.SetLabel("save_peak_bytes " + std::to_string(figures[0]) + " file_bytes " +
                       std::to_string(figures[1]) + " open_peak_bytes " +
                       std::to_string(figures[2]) + " level_bytes " + std::to_string(figures[3]) +
                       " raw_bytes " + std::to_string(figures[4]) + " streamed_save_peak_bytes " +
                       std::to_string(figures[5]));
    }
}
BENCHMARK(memory_of_4096_save_and_open)->Iterations(1);

} // namespace
} // namespace fontarel
