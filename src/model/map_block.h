#pragma once
// Blocks of map cells: a rectangle copied out of the map, pasted back clipped to the map in use, and
// the forms it takes on the clipboard: a private form that keeps width, height and codes, and plain
// text as assembler, one `.byte` line a row, that pastes straight into a source file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/char_map.h"

namespace fontarel {

// A rectangle of cells in the map's own coordinates: columns left..left+width-1, rows
// top..top+height-1. Empty when width or height is 0.
struct CellRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const CellRect&) const = default;
};

// The rectangle spanned by two cells (either order), clipped to the map in use.
CellRect cells_between(const CharMap& map, int column0, int row0, int column1, int row1);

struct MapBlock {
    int width = 0, height = 0;
    std::vector<uint8_t> codes; // width * height, row by row
    std::vector<uint8_t> attrs{}; // the cells' attributes in the same order, or empty for none
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const MapBlock&) const = default;
};

// The codes and attributes of `rect` (clipped to the map in use).
MapBlock copy_block(const CharMap& map, CellRect rect);
// Writes the block with its top-left cell at (left, top), clipped to the map in use, attributes
// too when it has them; returns the rectangle written (empty when none of it lands on the map).
CellRect paste_block(CharMap& map, const MapBlock& block, int left, int top);
// The cells of `rect` (clipped to the map in use) as a map of their own: the clipped size in use,
// the same look, its top-left cell from the rectangle's; the rest of its array blank. A map of
// 1 x 1 when nothing of `rect` lies on the map.
CharMap map_part(const CharMap& map, CellRect rect);
// Every cell of `rect` (clipped to the map in use) := code, with the machine's blank attribute.
void clear_block(CharMap& map, CellRect rect, uint8_t code = 0);

// The private clipboard form: width and height (2 bytes each, low byte first), then the codes,
// then, when the block has them, the attributes. Plain text carries codes only.
std::vector<uint8_t> block_bytes(const MapBlock& block);
std::optional<MapBlock> block_from_bytes(std::span<const uint8_t> bytes);

// Plain text: one line a row, "        .byte $20,$41,..." in the export's default dialect and number
// style, each line ending in a line feed.
std::string block_text(const MapBlock& block);
// Reads plain text back: rows of `.byte`, `!byte`, `defb` lines (hexadecimal `$xx`, `0xxh`/`xxh`,
// or decimal numbers), C initialiser rows (`{1, 2, 3},` or `0x41, 0x42,`) or lines of
// comma-separated decimals; comments and labels are ignored; rows of different lengths or a value
// outside 0-255 give nothing. Nothing (std::nullopt) when the text is none of these.
std::optional<MapBlock> block_from_text(std::string_view text);

// The code a typed character writes: its code in the program's code page (as the title shows
// characters), or with `screen_codes` the C64 screen code of an upper-case character set (@ = 0,
// A-Z and a-z = 1-26, [ \ ] ^ _ = 27-31, space, digits and signs = their ASCII codes 32-63);
// std::nullopt for a character it has no code for.
std::optional<uint8_t> typed_code(char32_t character, bool screen_codes);

} // namespace fontarel
