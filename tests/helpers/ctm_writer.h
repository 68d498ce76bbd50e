#pragma once
// Writes version 5 CTM project bytes for tests, straight from the file layout (a 20-byte header;
// glyphs, character attributes, with the tile system on the tile cells unless expanded and the tile
// colours with colour method 1; the level, 16-bit numbers: tiles, or characters with the tile
// system off), as the editor's own version 5 files have it.
//
// The writer writes what it is given and checks nothing, so that a test can make a file that is
// wrong in exactly one way. The counts in the header come from the description:
//   characters = glyphs.size(), tiles = `tiles`, level size = level_width x level_height;
// the lists (attributes, cells, tile_colours, level) are written as they are, whatever their
// length. Fill them with fill_ctm_lists to get a sound file of the sizes described.
//
//   CtmDescription d;
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
    int version = 5; // written as it is: any other number makes a file of an unknown version
    uint8_t background = 6, multicolour_1 = 1, multicolour_2 = 2, character_colour = 14;
    int colour_method = 0; // 0 global, 1 per tile, 2 per character
    bool multicolour = false;
    bool expanded = false;   // no tile cells in the file: they follow from the character order
    bool tile_system = true; // off: no tile cells or colours, the level names characters
    std::vector<std::array<uint8_t, 8>> glyphs; // one a character, rows from the top
    std::vector<uint8_t> attributes;            // one a character, colour in the low nybble
    int tiles = 1;
    int tile_width = 2, tile_height = 2;
    // tiles x width x height character numbers, tile by tile; written with the tile system on
    std::vector<uint16_t> cells;
    std::vector<uint8_t> tile_colours; // one a tile; written with the tile system and method 1
    int level_width = 4, level_height = 4;
    std::vector<uint16_t> level; // level_width x level_height numbers, row by row
};

// Makes each list the length the counts ask for, keeping what it holds: attributes 0, cells and
// tile colours counting up (cell i of tile t is character (t x cells a tile + i) modulo the
// characters), the level counting up modulo the tiles (the characters with the tile system off).
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
    const size_t named = d.tile_system ? tiles : chars;
    for (size_t i = d.level.size(); i < level; ++i)
        d.level.push_back(static_cast<uint16_t>(named ? i % named : 0));
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
    byte((d.tile_system ? 1 : 0) | (d.expanded ? 2 : 0) | (d.multicolour ? 4 : 0));
    word(characters - 1);
    word(d.tiles - 1);
    byte(d.tile_width);
    byte(d.tile_height);
    word(d.level_width);
    word(d.level_height);
    for (const auto& glyph : d.glyphs)
        out.insert(out.end(), glyph.begin(), glyph.end());
    out.insert(out.end(), d.attributes.begin(), d.attributes.end());
    if (d.tile_system && !d.expanded)
        for (uint16_t c : d.cells)
            word(c);
    if (d.tile_system && d.colour_method == 1)
        out.insert(out.end(), d.tile_colours.begin(), d.tile_colours.end());
    for (uint16_t t : d.level)
        word(t);
    return out;
}

} // namespace fontarel
