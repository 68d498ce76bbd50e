#pragma once
// Writes CTM project bytes for tests, straight from the file layout (version 4: a 24-byte header,
// version 5: 20 bytes; then glyphs, character attributes, tile cells unless expanded, tile colours
// with colour method 1, and the level, 8-bit tile numbers in version 4, 16-bit in 5).
//
// The writer writes what it is given and checks nothing, so that a test can make a file that is
// wrong in exactly one way. The counts in the header come from the description:
//   characters = glyphs.size(), tiles = `tiles`, level size = level_width x level_height;
// the lists (attributes, cells, tile_colours, level) are written as they are, whatever their
// length. Fill them with fill_ctm_lists to get a sound file of the sizes described.
//
//   CtmDescription d;
//   d.version = 4;
//   d.glyphs = {{0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00}};
//   d.tile_width = d.tile_height = 1;
//   d.level_width = d.level_height = 2;
//   fill_ctm_lists(d);                       // then change what the test is about
//   std::vector<uint8_t> bytes = ctm_bytes(d);

#include <array>
#include <cstdint>
#include <vector>

namespace fontarel {

struct CtmDescription {
    int version = 5; // 4 or 5; any other number is written as it is
    uint8_t background = 6, multicolour_1 = 1, multicolour_2 = 2, character_colour = 14;
    int colour_method = 0; // 0 global, 1 per tile, 2 per character
    bool multicolour = false;
    bool expanded = false;   // no tile cells in the file: they follow from the character order
    bool tile_system = true; // version 5 only (flag bit 0); off means 1 x 1 tiles
    std::vector<std::array<uint8_t, 8>> glyphs; // one a character, rows from the top
    std::vector<uint8_t> attributes;            // one a character, colour in the low nybble
    int tiles = 1;
    int tile_width = 2, tile_height = 2;
    std::vector<uint16_t> cells;       // tiles x width x height character numbers, tile by tile
    std::vector<uint8_t> tile_colours; // one a tile; written with colour method 1 only
    int level_width = 4, level_height = 4;
    std::vector<uint16_t> level; // level_width x level_height tile numbers, row by row
};

// Makes each list the length the counts ask for, keeping what it holds: attributes 0, cells and
// tile colours counting up (cell i of tile t is character (t x cells a tile + i) modulo the
// characters), the level counting up modulo the tiles.
inline void fill_ctm_lists(CtmDescription& d) {
    const size_t chars = d.glyphs.size();
    const size_t tiles = static_cast<size_t>(d.tiles);
    const size_t cells = tiles * static_cast<size_t>(d.tile_width * d.tile_height);
    const size_t level = static_cast<size_t>(d.level_width) * static_cast<size_t>(d.level_height);
    d.attributes.resize(chars, 0);
    for (size_t i = d.cells.size(); i < cells; ++i)
        d.cells.push_back(static_cast<uint16_t>(chars ? i % chars : 0));
    for (size_t i = d.tile_colours.size(); i < tiles; ++i)
        d.tile_colours.push_back(static_cast<uint8_t>(i & 15));
    for (size_t i = d.level.size(); i < level; ++i)
        d.level.push_back(static_cast<uint16_t>(tiles ? i % tiles : 0));
}

inline std::vector<uint8_t> ctm_bytes(const CtmDescription& d) {
    std::vector<uint8_t> out = {'C', 'T', 'M', static_cast<uint8_t>(d.version)};
    const auto byte = [&](int v) { out.push_back(static_cast<uint8_t>(v)); };
    const auto word = [&](int v) {
        byte(v & 0xFF);
        byte((v >> 8) & 0xFF);
    };
    byte(d.background);
    byte(d.multicolour_1);
    byte(d.multicolour_2);
    byte(d.character_colour);
    byte(d.colour_method);
    const int characters = static_cast<int>(d.glyphs.size());
    if (d.version == 4) {
        byte(d.multicolour ? 1 : 0);
        word(characters - 1);
        byte(d.tiles - 1);
        byte(d.tile_width);
        byte(d.tile_height);
        byte(d.expanded ? 1 : 0);
        word(d.level_width);
        word(d.level_height);
        for (int i = 0; i < 4; ++i)
            byte(0);
    } else {
        byte((d.tile_system ? 1 : 0) | (d.expanded ? 2 : 0) | (d.multicolour ? 4 : 0));
        word(characters - 1);
        word(d.tiles - 1);
        byte(d.tile_width);
        byte(d.tile_height);
        word(d.level_width);
        word(d.level_height);
    }
    for (const auto& glyph : d.glyphs)
        out.insert(out.end(), glyph.begin(), glyph.end());
    out.insert(out.end(), d.attributes.begin(), d.attributes.end());
    if (!d.expanded)
        for (uint16_t c : d.cells)
            word(c);
    if (d.colour_method == 1)
        out.insert(out.end(), d.tile_colours.begin(), d.tile_colours.end());
    for (uint16_t t : d.level) {
        if (d.version == 4)
            byte(t);
        else
            word(t);
    }
    return out;
}

} // namespace fontarel
