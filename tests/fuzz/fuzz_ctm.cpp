// The CTM reader on any bytes, of every version: a refusal is one line and leaves the project and
// the remarks as they were; a project read keeps within the program's limits, every level cell
// naming a tile of the set, and reads the same again. The input also describes a sound project
// (colour method, flags, counts and contents taken from its bytes, cycled), written as version 5
// with the tests' writer and as the numbered blocks of versions 6, 7, 8 (both layouts), 8.2 and 9
// (written here): the version 5 file must read back as described, and every other version to the
// same project.

#include <algorithm>
#include <string>
#include <vector>

#include "../helpers/ctm_writer.h"
#include "formats/ctm.h"
#include "fuzz_font_check.h"

using namespace fontarel;
using fuzz::expect;

namespace {

bool same_project(const Project& a, const Project& b) {
    return a.charset.bytes == b.charset.bytes && a.tiles == b.tiles && a.level == b.level &&
           a.map.look.machine == b.map.look.machine &&
           a.map.look.background == b.map.look.background &&
           a.map.look.multicolour() == b.map.look.multicolour() &&
           a.map.look.multicolour_1 == b.map.look.multicolour_1 &&
           a.map.look.multicolour_2 == b.map.look.multicolour_2;
}

void check_any(std::span<const uint8_t> bytes) {
    Project p;
    p.colour0 = 0x123456;
    p.charset.bytes[5] = 0xA5;
    std::vector<std::string> remarks;
    const std::string why = read_ctm(bytes, p, remarks);
    if (!why.empty()) {
        expect(why.find('\n') == std::string::npos, "a refusal of one line");
        expect(p.colour0 == 0x123456 && p.charset.bytes[5] == 0xA5 &&
                   p.map.look.machine == MapMachine::Mono && remarks.empty(),
               "a refusal changes nothing");
        return;
    }
    expect(is_ctm(bytes), "what is read is called a CTM file");
    expect(p.map.look.machine == MapMachine::C64 && p.map.look.background < 16 &&
               p.map.look.multicolour_1 < 16 && p.map.look.multicolour_2 < 16,
           "a C64 map of C64 colours");
    expect(remarks.size() <= 2, "remarks only for characters past 256 and lost colours");
    for (const std::string& r : remarks)
        expect(!r.empty() && r.find('\n') == std::string::npos, "remarks of one line each");
    const TileSet& tiles = p.tiles;
    expect(tiles.count() >= 1 && tiles.count() <= kMaxTiles, "a tile set within the limits");
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
    Project again;
    std::vector<std::string> said;
    expect(read_ctm(bytes, again, said).empty() && same_project(p, again) && said == remarks,
           "the same bytes read the same again");
}

// Bytes of the input, cycled; 0 when there are none.
struct Source {
    const uint8_t* data;
    size_t size, at = 0;
    unsigned next() { return size ? data[at++ % size] : 0; }
    unsigned next16() { return next() | next() << 8; }
};

// The described project as numbered blocks: version 6, 7, 8 (prerelease: the layout with four
// colour bases and four colour bytes a character or tile, the fourth the text colour), 82 or 9.
std::vector<uint8_t> block_bytes(const CtmDescription& d, int version, bool prerelease) {
    std::vector<uint8_t> out = {'C', 'T', 'M', static_cast<uint8_t>(version)};
    const auto byte = [&](unsigned v) { out.push_back(static_cast<uint8_t>(v)); };
    const auto word = [&](unsigned v) {
        byte(v & 0xFF);
        byte(v >> 8 & 0xFF);
    };
    int block = 0;
    const auto begin = [&] {
        byte(0xDA);
        byte(0xB0 + static_cast<unsigned>(block++));
    };
    const unsigned method = static_cast<unsigned>(d.colour_method), mode = d.multicolour;
    const size_t k = prerelease ? 4 : 1;
    const auto colour = [&](uint8_t c) { // k bytes, the text colour last; the others not read
        for (size_t i = 1; i < k; ++i)
            byte(0xF0 + i);
        byte(c);
    };
    if (version == 6) {
        for (unsigned v : {unsigned{d.background}, unsigned{d.multicolour_1},
                           unsigned{d.multicolour_2}, unsigned{d.character_colour}, method})
            byte(v);
        byte((d.multicolour ? 1 : 0) | (d.tile_system ? 2 : 0));
    } else if (version == 7) {
        for (unsigned v :
             {unsigned{d.background}, unsigned{d.multicolour_1}, unsigned{d.multicolour_2}, 0x0Bu,
              unsigned{d.character_colour}, method, mode, unsigned{d.tile_system}})
            byte(v);
    } else {
        byte(mode);
        byte(method);
        byte(d.tile_system);
        if (version == 9) {
            word(40);
            word(25);
            byte(0);
        }
        for (unsigned v :
             {unsigned{d.background}, unsigned{d.multicolour_1}, unsigned{d.multicolour_2}, 0x0Bu})
            byte(v);
        if (prerelease)
            for (unsigned v : {0x09u, 0x0Au, 0x0Cu, unsigned{d.character_colour}})
                byte(v);
        else
            for (unsigned v : {unsigned{d.character_colour}, 0x0Au, 0x0Cu})
                byte(v);
    }
    const size_t chars = d.glyphs.size();
    begin();
    word(static_cast<unsigned>(chars - 1));
    for (const auto& glyph : d.glyphs)
        out.insert(out.end(), glyph.begin(), glyph.end());
    begin();
    for (size_t c = 0; c < chars; ++c) // attributes (6, 7), else materials
        byte(version <= 7 ? d.attributes[c] : 0x30);
    if (version >= 8 && method == 2) {
        begin();
        for (size_t c = 0; c < chars; ++c)
            colour(d.attributes[c]);
    }
    if (d.tile_system) {
        begin();
        word(static_cast<unsigned>(d.tiles - 1));
        byte(static_cast<unsigned>(d.tile_width));
        byte(static_cast<unsigned>(d.tile_height));
        for (uint16_t c : d.cells)
            word(c);
        if (method == 1) {
            begin();
            for (int t = 0; t < d.tiles; ++t) {
                if (version <= 7)
                    byte(d.tile_colours[static_cast<size_t>(t)]);
                else
                    colour(d.tile_colours[static_cast<size_t>(t)]);
            }
        }
        begin();
        for (int t = 0; t < d.tiles; ++t)
            byte(static_cast<unsigned>(t));
        begin();
        for (int t = 0; t < d.tiles; ++t) {
            for (int i = 0; i < t % 33; ++i)
                byte('a' + static_cast<unsigned>(i % 26));
            byte(0);
        }
    }
    begin();
    word(static_cast<unsigned>(d.level_width));
    word(static_cast<unsigned>(d.level_height));
    for (uint16_t n : d.level)
        word(n);
    return out;
}

void check_described(const uint8_t* data, size_t size) {
    Source in{data, size};
    CtmDescription d;
    const unsigned kind = in.next();
    d.tile_system = !(kind & 8);
    d.expanded = d.tile_system && (kind & 2);
    d.multicolour = kind & 4;
    d.colour_method = static_cast<int>(in.next() % 3);
    if (!d.tile_system && d.colour_method == 1)
        d.colour_method = 2; // colour per tile needs tiles
    d.background = static_cast<uint8_t>(in.next() & 15);
    d.multicolour_1 = static_cast<uint8_t>(in.next() & 15);
    d.multicolour_2 = static_cast<uint8_t>(in.next() & 15);
    d.character_colour = static_cast<uint8_t>(in.next() & 15);
    d.tile_width = d.tile_system ? 1 + static_cast<int>(in.next() % 8) : 1;
    d.tile_height = d.tile_system ? 1 + static_cast<int>(in.next() % 8) : 1;
    const int cells = d.tile_width * d.tile_height;
    d.tiles = 1 + static_cast<int>(in.next() % 300);
    int characters = 1 + static_cast<int>(in.next16() % 320);
    if (d.expanded)
        characters = std::max(characters, d.tiles * cells);
    const int named = d.tile_system ? d.tiles : characters; // what the level's numbers name
    d.level_width = 1 + static_cast<int>(in.next() % 40);
    d.level_height = 1 + static_cast<int>(in.next() % 40);
    for (int c = 0; c < characters; ++c) {
        std::array<uint8_t, 8> glyph{};
        for (uint8_t& row : glyph)
            row = static_cast<uint8_t>(in.next());
        d.glyphs.push_back(glyph);
        d.attributes.push_back(static_cast<uint8_t>(in.next() & 15));
    }
    for (int i = 0; i < d.tiles * cells && !d.expanded; ++i)
        d.cells.push_back(static_cast<uint16_t>(in.next16() % characters));
    for (int t = 0; t < d.tiles; ++t)
        d.tile_colours.push_back(static_cast<uint8_t>(in.next() & 15));
    for (int i = 0; i < d.level_width * d.level_height; ++i)
        d.level.push_back(static_cast<uint16_t>(in.next16() % named));
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
    expect(p.map.look.background == d.background && p.map.look.multicolour() == d.multicolour &&
               p.map.look.multicolour_1 == d.multicolour_1 &&
               p.map.look.multicolour_2 == d.multicolour_2,
           "the file's registers and multicolour switch");
    expect(p.tiles.count() == named && p.tiles.width() == d.tile_width &&
               p.tiles.height() == d.tile_height,
           "the tile set's size: a tile of each character without the tile system");
    for (int i = 0; i < named * cells; ++i) {
        const int t = i / cells;
        const int code = d.tile_system ? d.cells[static_cast<size_t>(i)] : t;
        const unsigned colour = d.colour_method == 0   ? d.character_colour
                                : d.colour_method == 1 ? d.tile_colours[static_cast<size_t>(t)]
                                                       : d.attributes[static_cast<size_t>(code)];
        const TileCell want{static_cast<uint8_t>(code < 256 ? code : 0),
                            static_cast<uint8_t>(colour)};
        expect(p.tiles.cell(t, i % cells % d.tile_width, i % cells / d.tile_width) == want,
               "each tile cell's character and colour");
    }
    expect(p.level.cols() == d.level_width && p.level.rows() == d.level_height, "the level's size");
    for (int i = 0; i < d.level_width * d.level_height; ++i)
        expect(p.level.at(i % d.level_width, i / d.level_width) == d.level[static_cast<size_t>(i)],
               "each level cell");

    if (d.expanded)
        return; // versions 6 on have no expanded tiles
    for (const auto& [version, prerelease] :
         {std::pair{6, false}, {7, false}, {8, false}, {8, true}, {82, false}, {9, false}}) {
        const std::vector<uint8_t> blocks = block_bytes(d, version, prerelease);
        check_any(blocks);
        Project q;
        std::vector<std::string> said;
        expect(read_ctm(blocks, q, said).empty(), "a sound file of numbered blocks is read");
        expect(same_project(p, q) && said == remarks,
               "every version of one project reads to the same project");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check_any({data, size});
    check_described(data, size);
    return 0;
}
