#pragma once
// The project file (.fontarel): everything the user made in one text file that diffs well in
// version control and that a build script reads with jq. A JSON object:
//   "format": "fontarel-project", "version": 1 (the major version; a later one is refused),
//   "machine": "Mono" | "C64" | "ZX Spectrum" | "PC text",
//   "background": the C64's background ($d021) or the Spectrum's border, 0 otherwise,
//   "multicolour": {"on": false, "colour_1": 1, "colour_2": 2}, the C64's multicolour switch
//     ($d016 bit 4) and registers ($d022, $d023), written for the C64 only and optional,
//   "ecm": {"on": false, "background_1": 1, "background_2": 2, "background_3": 3}, the C64's
//     extended background colour mode ($d011 bit 6) and its background registers 1-3 ($d022-$d024),
//     written for the C64 only and optional; it and multicolour are never both on,
//   "colours": {"bit0": "#rrggbb", "bit1": "#rrggbb"}, the glyph colours,
//   "glyphs": 256 strings of 16 hexadecimal digits, glyph rows 0-7 (bit 7 the leftmost pixel),
//   "materials": 256 hexadecimal digits, glyph g's material (0-15) the digit g, written when any
//     is not 0 and optional,
//   "map": {"columns": W, "rows": H, "codes": H strings of 2 W digits, "attributes": the same},
//   "tiles": {"width": w, "height": h, "codes": a string of 2 w h digits a tile, its cells row by
//     row, "attributes": the same, "tags": a tag 0-255 a tile and "names": a string of at most 32
//     characters a tile, each list written when any tile has one and optional}, and "level":
//     {"columns": C, "rows": R, "tiles": R strings of 4 C digits, each tile number in 4}: both
//     optional, written when they differ from a new program's (one blank 4 x 4 tile, a 16 x 16
//     level).
// A level of more than 65,536 tiles is written packed instead, so that saving and opening a large
// one costs about what zlib does: {"columns": C, "rows": R, "encoding": "zlib-base64", "tiles":
// one string}, the string being the C R tile numbers row by row, each in 2 bytes little-endian,
// compressed by zlib (RFC 1950) and then in base64 (RFC 4648, '=' padded, no line breaks). A tile
// set of more than 65,536 cells (w h times its count) likewise: {"width": w, "height": h, "count":
// n, "encoding": "zlib-base64", "codes": one string, "attributes": one string}, each the n w h
// bytes that the hex strings would hold, tile after tile, packed the same way. Both forms are read.
// Keys the program does not know are kept, at the top and in every object it reads, and written
// again by the next save, in the same object.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/colour.h"
#include "model/level.h"

namespace fontarel {

struct Project {
    CharsetStore charset;
    // The size in use, its codes and attributes, the machine and background. Cells outside the
    // size in use are not part of a project: a read gives them code 0 and the machine's blank
    // attribute.
    CharMap map;
    Colour colour0 = 0, colour1 = 0xFFFFFF; // glyph bit 0 and bit 1
    // Every level cell names a tile of the set.
    TileSet tiles;
    Level level;
    // The keys of the file read that the program does not know, as a JSON object's text, or
    // empty: the unknown top-level keys, and under the key of each object read ("map", "level",
    // ...) an object of that one's unknown keys.
    std::string kept;
};

// The largest project file read, by the program and the converter alike: a 4,096 x 4,096 level
// and a full tile set fit with room to spare whatever their contents (at most about 45 MB
// packed), as does such a level in hex strings, as files written before packing hold it (about
// 70 MB).
constexpr int64_t kLargestProject = int64_t{128} << 20;

// Whether the bytes look like a project: a JSON object whose "format" names it, found within
// the first 4 kB. The full check is read_project's.
bool is_project(std::span<const uint8_t> bytes);

// The file's text: two-space indents, a glyph or a map row a line, ending in a newline. A packed
// string is written straight into the result: the text's pages are the only large memory touched.
std::string project_text(const Project& project);

// The same text handed to `write` in pieces, in order, each valid only during the call (a packed
// string in pieces of at most 64 kB): a save that writes them to its file as they come holds no
// more than a few hundred kB, whatever the level.
void write_project_text(const Project& project, const std::function<void(std::string_view)>& write);

// Reads a project into `out`; returns an empty text on success. Otherwise `out` is unchanged and
// the text says what is wrong in one line, naming the key: `"map.rows" is 26, not a map size`,
// `"level.tiles" is not base64`. Besides `bytes`, a packed level costs its blocks and a band of
// 32 rows of tile numbers: neither its whole string nor its unpacked bytes are copied.
std::string read_project(std::span<const uint8_t> bytes, Project& out);

} // namespace fontarel
