#pragma once
// CTM projects: a C64 game's charset, tiles and level in one file, versions 4 to 9 (version byte
// 82 for 8.2). Every number is little-endian; "N - 1" fields hold one less than the count.
//
// Version 4, a header of 24 bytes:
//    0-2  "CTM"   3 version   4 background ($d021)   5 multicolour 1   6 multicolour 2
//    7    the global character colour (colour RAM)   8 colour method: 0 global, 1 per tile,
//         2 per tile cell     9 multicolour flag (0 or 1)
//   10-11 characters - 1   12 tiles - 1   13 tile width   14 tile height
//   15-16 level width   17-18 level height   19 expanded flag (0 or 1)   20-23 not used
//   Body: the glyphs (characters x 8 bytes, rows from the top, bit 7 the leftmost pixel); an
//   attribute byte a character; the tile cells, tiles x width x height 16-bit character numbers,
//   a tile's row by row (none when expanded: cell i of tile t is then character
//   t x width x height + i); a colour byte a tile cell (tiles x width x height of them, used by
//   method 2); with method 1 a colour byte a tile; the level, width x height 8-bit tile numbers.
//
// Version 5, a header of 20 bytes: 4-8 as version 4 (method 2 is per character: its attribute),
//    9 flags: bit 0 tile system, bit 1 expanded, bit 2 multicolour
//   10-11 characters - 1   12-13 tiles - 1   14 tile width   15 tile height
//   16-17 level width   18-19 level height
//   Body: the glyphs; the attributes; with the tile system on the tile cells (unless expanded) and
//   with method 1 a colour byte a tile; the level, 16-bit numbers: tiles, or characters with the
//   tile system off.
//
// Versions 6 and later: a header, then numbered blocks, each starting with $DA, $B0 + n (n
// counting the file's blocks from 0).
//   6:  4 background  5 multicolour 1  6 multicolour 2  7 character colour  8 colour method
//       9 flags: bit 0 multicolour, bit 1 tile system                        (blocks at 10)
//   7:  4 background  5 multicolour 1  6 multicolour 2  7 background 4  8 character colour
//       9 colour method  10 screen mode  11 flags: bit 0 tile system          (blocks at 12)
//   8, 82: 4 screen mode  5 colour method  6 flags  7 background  8 multicolour 1
//       9 multicolour 2  10 background 4  11-13 colour bases 0-2             (blocks at 14)
//       A prerelease layout of 8 has a fourth base at 14 (the text modes' character colour) and
//       its blocks at 15; it is known by the marker there.
//   9:  4 screen mode  5 colour method  6 flags  7-8 grid width  9-10 grid height  11 not used
//       12 background  13 multicolour 1  14 multicolour 2  15 background 4
//       16-18 colour bases 0-2 (base 0 the text modes' character colour)      (blocks at 19)
//   Screen modes: 0 hi-res text, 1 multicolour text, 2 extended background colour text,
//   3 hi-res bitmap, 4 multicolour bitmap. Colour methods: 0 global, 1 per tile, 2 per character.
//   Blocks: the charset (characters - 1, 16 bits, then the glyphs); a byte a character (6, 7:
//   colour in the low nybble, material in the high; 8 on: the material); 8 on, with colour per
//   character: k colour bytes a character (k 1 in text modes, 4 in the prerelease layout whose
//   fourth byte is the colour); with the tile system on: the tiles (tiles - 1, 16 bits, width,
//   height, 16-bit character numbers), with colour per tile a tile colour block (k bytes a tile
//   from 8 on, else one), a tag byte a tile, a zero-ended name of at most 32 characters a tile
//   (both kept with the tile, the name read as Latin-1);
//   last the map: 16-bit width and height, then 16-bit numbers, tiles or characters.
//
// The colour of each tile cell (its colour-RAM nybble; in multicolour mode 8-15 make a multicolour
// cell) is the global colour, the tile's, the cell's or its character's, by the colour method.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/project.h"

namespace fontarel {

// The largest file the program's limits allow: 65,536 characters with four colour bytes each,
// 4,096 tiles of 8 x 8 cells with their colours, tags and longest names, and a level of
// 4,096 x 4,096, with every header and block marker.
constexpr size_t kLargestCtm = 24 + 2 * 8 + 2 + size_t{65536} * (8 + 1 + 4) + 4 +
                               size_t{4096} * (64 * 2 + 64 + 4 + 1 + 33) + 4 +
                               size_t{4096} * 4096 * 2;

// Whether the bytes begin with "CTM" and a version byte, whatever the version: read_ctm says which
// versions it reads.
bool is_ctm(std::span<const uint8_t> bytes);

// Reads a CTM project; returns an empty text on success. `out` then holds the file's first 256
// glyphs (the rest blank), a C64 map of the file's background, multicolour switch and registers
// (its cells and size as a new Project's, since a CTM has no screen), the tile set with each
// cell's code and colour attribute, and the level. Without the tile system every character is a
// 1 x 1 tile of its own, tile n character n, and the level holds them. `remarks` gets a line for
// anything read but not kept as the file has it (characters past 256, extended background
// colours). Otherwise `out` and `remarks` are unchanged and the text says in one line what is
// wrong, naming the field: "tile width is 9, not 1 to 8".
std::string read_ctm(std::span<const uint8_t> bytes, Project& out,
                     std::vector<std::string>& remarks);

// What a CTM project's map (`ctm`, as read_ctm makes it) gives the map in use, whose cells it
// keeps, since a CTM has no screen: the map becomes a C64 map (its attributes converted as the
// Colour menu converts them, when it was another machine's) with the file's look: its
// background, text mode and registers.
void take_ctm_registers(CharMap& map, const CharMap& ctm);

} // namespace fontarel
