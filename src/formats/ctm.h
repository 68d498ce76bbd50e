#pragma once
// CTM projects: a C64 game's charset, tiles and level in one file, versions 4 and 5. Every number
// is little-endian; "N - 1" fields hold one less than the count.
//
// Version 5, a header of 20 bytes:
//    0-2  "CTM"              3  version, 5
//    4    background ($d021)  5  multicolour 1 ($d022)  6  multicolour 2 ($d023)
//    7    the global character colour (colour RAM)
//    8    colour method: 0 global, 1 per tile, 2 per character
//    9    flags: bit 0 tile system on, bit 1 expanded data, bit 2 multicolour mode
//   10-11 characters - 1     12-13 tiles - 1      14 tile width   15 tile height
//   16-17 level width (tiles)  18-19 level height (tiles)
// With the tile system off, tiles are single characters: the tile size must be 1 x 1.
//
// Version 4, a header of 24 bytes:
//    0-2  "CTM"              3  version, 4
//    4-7  the four colours as in version 5
//    8    colour method (0-2)  9  multicolour flag (0 or 1)
//   10-11 characters - 1     12 tiles - 1 (so at most 256)  13 tile width  14 tile height
//   15    expanded flag (0 or 1)
//   16-17 level width        18-19 level height    20-23 reserved (not read)
//
// The body, in this order:
//   1. the charset: characters x 8 bytes, a glyph's rows from the top, bit 7 the leftmost pixel;
//   2. one attribute byte a character: its colour (colour RAM 0-15) in the low nybble;
//   3. the tile cells: tiles x width x height character numbers, 16 bits each, a tile's cells
//      row by row. None when the data is expanded: cell i of tile t is then character
//      t x width x height + i, the characters being laid out tile by tile;
//   4. with colour method 1 only: one byte a tile, its colour in the low nybble;
//   5. the level: width x height tile numbers, row by row, 8 bits each in version 4, 16 in 5.
//
// The colour of each tile cell (its colour-RAM nybble; in multicolour mode 8-15 make a multicolour
// cell) is the global colour, the tile's, or its character's attribute, by the colour method.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/project.h"

namespace fontarel {

// The largest file the program's limits allow: version 5 with 65,536 characters, 4,096 tiles of
// 8 x 8 cells, their colours and a level of 4,096 x 4,096.
constexpr size_t kLargestCtm =
    20 + size_t{65536} * 9 + size_t{4096} * 64 * 2 + 4096 + size_t{4096} * 4096 * 2;

// Whether the bytes begin with "CTM" and a version byte, whatever the version: read_ctm says which
// versions it reads.
bool is_ctm(std::span<const uint8_t> bytes);

// Reads a CTM project; returns an empty text on success. `out` then holds the file's first 256
// glyphs (the rest blank), a C64 map of the file's background, multicolour switch and registers
// (its cells and size as a new Project's, since a CTM has no screen), the tile set with each
// cell's code and colour attribute, and the level. `remarks` gets a line for anything read but not
// kept as the file has it (characters past 256). Otherwise `out` and `remarks` are unchanged and
// the text says in one line what is wrong, naming the field: "tile width is 9, not 1 to 8".
std::string read_ctm(std::span<const uint8_t> bytes, Project& out,
                     std::vector<std::string>& remarks);

} // namespace fontarel
