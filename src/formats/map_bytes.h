#pragma once
// Map files: one code byte per cell of the map size in use, row 0 from column 0 on, then row 1,
// and so on. No header: the file does not record the size, so it is read and written in whatever
// size is in use. Map colour files are laid out alike, with each cell's attribute byte: the C64's
// colour RAM, the Spectrum's attribute block (768 bytes at 32 x 24) or the PC's attribute bytes.

#include <cstdint>
#include <span>
#include <vector>

#include "model/char_map.h"

namespace fontarel {

// Length in bytes of a map file in the size in use: columns x rows.
int64_t map_file_length(const CharMap& map);

// The file body: one byte per cell in use, the low 8 bits of its code.
std::vector<uint8_t> map_file_bytes(const CharMap& map);

// Gives the cells in use, in file order, the codes of the bytes until either runs out. Cells past
// the last byte, and all cells outside the size in use, keep their codes.
void place_map_bytes(CharMap& map, std::span<const uint8_t> bytes);

// The colour file body: one byte per cell in use, its attribute as it is (values past the
// machine's range included). Its length is map_file_length.
std::vector<uint8_t> map_colour_file_bytes(const CharMap& map);

// As place_map_bytes, for the attributes: cells past the last byte keep theirs, and a byte is
// kept as it is, whatever the map's machine.
void place_map_colour_bytes(CharMap& map, std::span<const uint8_t> bytes);

} // namespace fontarel
