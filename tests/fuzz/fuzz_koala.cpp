// The Koala reader on any bytes: a file of a Koala painting's size always comes in, another size
// is refused in one line. Inputs of other sizes are also cycled into a painting, so that short
// inputs reach the multicolour import. What comes in is a 40 x 25 C64 map in multicolour whose
// cells, drawn as the machine draws them, show the painting but for those the import counted.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "formats/koala.h"
#include "model/map_colours.h"

using namespace fontarel;

namespace {

void expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void check(std::span<const uint8_t> bytes) {
    const bool size = bytes.size() == 10003 || bytes.size() == 10002;
    const ScreenImport screen = import_koala(bytes);
    expect(screen.ok() == size, "a painting's size, and only that, comes in");
    expect(!screen.ok() || is_koala(bytes) || is_picture(bytes), "what comes in is called one");
    if (!screen.ok()) {
        expect(screen.error.find('\n') == std::string::npos, "a refusal of one line");
        return;
    }
    const CharMap& map = screen.map;
    expect(map.look.machine == MapMachine::C64 && map.look.multicolour() && map.cols == 40 &&
               map.rows == 25,
           "a C64 multicolour map of 40 x 25");
    expect(screen.cells == 1000 && screen.glyphs <= 256 && screen.uneven_pairs == 0,
           "1000 cells, at most 256 glyphs, no pixel pairs");
    int background = 0;
    const EntryPicture painting = decode_koala(bytes, background);
    expect(map.look.background == background, "the painting's own background");
    const auto palette = machine_palette(MapMachine::C64).colours;
    int unlike = 0;
    for (int cell = 0; cell < 1000; ++cell) {
        const int cx = cell % 40, cy = cell / 40;
        const uint8_t attr = map.attr(cx, cy);
        expect(is_multicolour_cell(map, attr), "every cell multicolour");
        const std::array<Colour, 4> colours = multicolour_colours(map, attr);
        bool same = true;
        for (int r = 0; r < 8; ++r) {
            const unsigned row = screen.charset.glyph(map.at(cx, cy))[static_cast<size_t>(r)];
            for (int p = 0; p < 4; ++p)
                same &=
                    colours[row >> (6 - 2 * p) & 3] ==
                    palette[painting.entry[static_cast<size_t>((8 * cy + r) * 160 + 4 * cx + p)]];
        }
        unlike += !same;
    }
    expect(unlike <= screen.beyond_mode + screen.near_glyph, "only counted cells differ");
    expect(screen.note.empty() == (screen.beyond_mode + screen.near_glyph == 0),
           "a note exactly when a cell was counted");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    check(bytes);
    if (size == 0 || size == 10003 || size == 10002)
        return 0;
    std::vector<uint8_t> painting(10003);
    for (size_t i = 0; i < painting.size(); ++i)
        painting[i] = data[i % size];
    check(painting);
    return 0;
}
