#pragma once
// Screen files that a machine's display reads as they are: the Spectrum's SCREEN$ (its bitmap
// with the glyphs drawn in, then its attributes) and a PC text screen as the memory at B800h holds
// it (a code byte and an attribute byte a cell).

#include <cstdint>
#include <string>
#include <vector>

#include "model/char_map.h"
#include "model/charset_store.h"

namespace fontarel {

// The Spectrum's screen: 32 x 24 cells of 8 x 8 pixels.
constexpr int kSpectrumCols = 32;
constexpr int kSpectrumRows = 24;
constexpr int kSpectrumBitmapBytes = kSpectrumCols * kSpectrumRows * kGlyphRows;           // 6144
constexpr int kSpectrumScreenBytes = kSpectrumBitmapBytes + kSpectrumCols * kSpectrumRows; // 6912

// The offset in the bitmap of the first byte of pixel row y (0-191): the screen is kept in three
// thirds of 64 rows, and within a third the pixel rows of one cell row are 256 bytes apart.
constexpr int spectrum_row_offset(int y) {
    return ((y & 0xC0) << 5) | ((y & 7) << 8) | ((y & 0x38) << 2);
}

// Empty when a map of `cols` x `rows` can be written as a Spectrum screen; otherwise the reason:
// "Spectrum screen needs a 32x24 map, not 40x25".
std::string spectrum_screen_refusal(int cols, int rows);

// The attribute a cell has on `target`: its own when the map is drawn for that machine, else the
// blank attribute of `target` (the bytes of another machine would mean other colours there).
uint8_t attribute_on(const CharMap& map, int column, int row, MapMachine target);

// The 6912 bytes of a SCREEN$ of the map: each cell's glyph (its code in `store`) drawn into the
// bitmap, set pixels as 1 bits, then the 768 attributes row by row. Empty when the map in use is
// not 32 x 24.
std::vector<uint8_t> spectrum_screen_bytes(const CharMap& map, const CharsetStore& store);

// The map in use as PC text memory: row by row, each cell its code, then its attribute.
std::vector<uint8_t> pc_text_screen_bytes(const CharMap& map);

} // namespace fontarel
