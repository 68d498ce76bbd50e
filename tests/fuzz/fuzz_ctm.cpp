// The CTM reader on any bytes: a refusal is one line and leaves the project and the remarks as they
// were; a project read keeps within the program's limits, every level cell naming a tile of the
// set. The input also describes a sound file (version, colour method, flags, counts and contents
// taken from its bytes, cycled), written with the tests' writer: that one must read back as
// described.

#include <algorithm>
#include <string>
#include <vector>

#include "../helpers/ctm_writer.h"
#include "formats/ctm.h"
#include "fuzz_font_check.h"

using namespace fontarel;
using fuzz::expect;

namespace {

void check_any(std::span<const uint8_t> bytes) {
    Project p;
    p.colour0 = 0x123456;
    p.charset.bytes[5] = 0xA5;
    std::vector<std::string> remarks;
    const std::string why = read_ctm(bytes, p, remarks);
    if (!why.empty()) {
        expect(why.find('\n') == std::string::npos, "a refusal of one line");
        expect(p.colour0 == 0x123456 && p.charset.bytes[5] == 0xA5 &&
                   p.map.machine == MapMachine::Mono && remarks.empty(),
               "a refusal changes nothing");
        return;
    }
    expect(is_ctm(bytes), "what is read is called a CTM file");
    expect(p.map.machine == MapMachine::C64 && p.map.background < 16 && p.map.multicolour_1 < 16 &&
               p.map.multicolour_2 < 16,
           "a C64 map of C64 colours");
    const int characters = (bytes[10] | bytes[11] << 8) + 1;
    expect(remarks.size() == (characters > 256 ? 1u : 0u),
           "a remark exactly for characters past 256");
    const TileSet& tiles = p.tiles;
    for (int t = 0; t < tiles.count(); ++t)
        for (int y = 0; y < kMaxTileSide; ++y)
            for (int x = 0; x < kMaxTileSide; ++x) {
                const TileCell cell = tiles.cell(t, x, y);
                expect(x < tiles.width() && y < tiles.height() ? cell.attr < 16
                                                               : cell == TileCell{},
                       "colour-RAM attributes, nothing outside the tile size");
            }
    for (int y = 0; y < p.level.rows(); ++y)
        for (int x = 0; x < p.level.cols(); ++x)
            expect(p.level.at(x, y) < tiles.count(), "every level cell names a tile of the set");
}

// Bytes of the input, cycled; 0 when there are none.
struct Source {
    const uint8_t* data;
    size_t size, at = 0;
    unsigned next() { return size ? data[at++ % size] : 0; }
    unsigned next16() { return next() | next() << 8; }
};

void check_described(const uint8_t* data, size_t size) {
    Source in{data, size};
    CtmDescription d;
    const unsigned kind = in.next();
    d.version = 4 + (kind & 1);
    d.expanded = kind & 2;
    d.multicolour = kind & 4;
    d.tile_system = d.version == 4 || !(kind & 8);
    d.colour_method = static_cast<int>(in.next() % 3);
    d.background = static_cast<uint8_t>(in.next());
    d.multicolour_1 = static_cast<uint8_t>(in.next());
    d.multicolour_2 = static_cast<uint8_t>(in.next());
    d.character_colour = static_cast<uint8_t>(in.next());
    d.tile_width = d.tile_system ? 1 + static_cast<int>(in.next() % 8) : 1;
    d.tile_height = d.tile_system ? 1 + static_cast<int>(in.next() % 8) : 1;
    const int cells = d.tile_width * d.tile_height;
    d.tiles = 1 + static_cast<int>(in.next() % (d.version == 4 ? 256 : 300));
    int characters = 1 + static_cast<int>(in.next16() % 320);
    if (d.expanded)
        characters = std::max(characters, d.tiles * cells);
    d.level_width = 1 + static_cast<int>(in.next() % 40);
    d.level_height = 1 + static_cast<int>(in.next() % 40);
    for (int c = 0; c < characters; ++c) {
        std::array<uint8_t, 8> glyph{};
        for (uint8_t& row : glyph)
            row = static_cast<uint8_t>(in.next());
        d.glyphs.push_back(glyph);
        d.attributes.push_back(static_cast<uint8_t>(in.next()));
    }
    for (int i = 0; i < d.tiles * cells && !d.expanded; ++i)
        d.cells.push_back(static_cast<uint16_t>(in.next16() % characters));
    for (int t = 0; t < d.tiles; ++t)
        d.tile_colours.push_back(static_cast<uint8_t>(in.next()));
    for (int i = 0; i < d.level_width * d.level_height; ++i)
        d.level.push_back(static_cast<uint16_t>(in.next16() % d.tiles));
    fill_ctm_lists(d); // expanded: cell i of the tiles is character i

    const std::vector<uint8_t> bytes = ctm_bytes(d);
    check_any(bytes);
    Project p;
    std::vector<std::string> remarks;
    expect(read_ctm(bytes, p, remarks).empty(), "a sound file is read");
    for (int c = 0; c < 256; ++c) {
        const auto glyph = p.charset.glyph(c);
        expect(c < characters
                   ? std::equal(glyph.begin(), glyph.end(), d.glyphs[c].begin())
                   : std::all_of(glyph.begin(), glyph.end(), [](uint8_t row) { return row == 0; }),
               "the first 256 glyphs, the rest blank");
    }
    expect(p.map.background == (d.background & 15) && p.map.multicolour == d.multicolour &&
               p.map.multicolour_1 == (d.multicolour_1 & 15) &&
               p.map.multicolour_2 == (d.multicolour_2 & 15),
           "the file's registers and multicolour switch");
    expect(p.tiles.count() == d.tiles && p.tiles.width() == d.tile_width &&
               p.tiles.height() == d.tile_height,
           "the tile set's size");
    for (int i = 0; i < d.tiles * cells; ++i) {
        const int t = i / cells, code = d.cells[static_cast<size_t>(i)];
        const unsigned colour = d.colour_method == 0   ? d.character_colour
                                : d.colour_method == 1 ? d.tile_colours[static_cast<size_t>(t)]
                                                       : d.attributes[static_cast<size_t>(code)];
        const TileCell want{static_cast<uint8_t>(code < 256 ? code : 0),
                            static_cast<uint8_t>(colour & 15)};
        expect(p.tiles.cell(t, i % cells % d.tile_width, i % cells / d.tile_width) == want,
               "each tile cell's character and colour");
    }
    expect(p.level.cols() == d.level_width && p.level.rows() == d.level_height, "the level's size");
    for (int i = 0; i < d.level_width * d.level_height; ++i)
        expect(p.level.at(i % d.level_width, i / d.level_width) == d.level[static_cast<size_t>(i)],
               "each level cell");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check_any({data, size});
    check_described(data, size);
    return 0;
}
