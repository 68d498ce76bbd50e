#pragma once
// Constant glyph tables built into the program: 8 row bytes per glyph in the CharsetStore layout
// (row 0 first, bit 7 the leftmost pixel); glyph k of a block is meant for character code k.
// The machine blocks are generated into builtin_glyph_data.cpp by tools/bin2table.py; their
// lengths are fixed because the load commands copy whole blocks and build inverse halves at
// fixed offsets.

#include <array>
#include <cstdint>

namespace fontarel {

// Code page 437 in the PC CGA style: 0 and 255 blank, 1-31 PC symbols, 127 the house.
extern const std::array<uint8_t, 2048> cga_glyphs;
// Code page 866 Cyrillic, lighter strokes than cga_glyphs; 240-255 signs (≡ ± ≥ ≤ ...).
extern const std::array<uint8_t, 2048> cp866_glyphs;
// Codes 0-143: 0-31 blank, 32-127 printable (£ at 96, © at 127), 128-143 quadrant blocks.
extern const std::array<uint8_t, 1152> zx_spectrum_glyphs;
// The machine's own codes 0-63 (space, graphics, signs, digits at 28, capitals at 38).
extern const std::array<uint8_t, 512> zx80_glyphs;
// Codes 0-127: 0-31 quadrant blocks, 32-127 ASCII (£ at 96, © at 127).
extern const std::array<uint8_t, 1024> jupiter_ace_glyphs;
// Screen-code order: 0 @, 1-26 A-Z, 64-127 graphics, 128-255 stored reverse-video forms.
extern const std::array<uint8_t, 2048> c64_caps_glyphs;
// Internal (screen-code) order: 0-63 ATASCII 32-95, 64-95 graphics, 96-127 diamond, a-z, rest.
extern const std::array<uint8_t, 1024> atari_xl_glyphs;
// Codes 0-127: 0-31 block graphics, 32-95 ASCII, 96-126 KOI-7 Cyrillic capitals, 127 solid.
extern const std::array<uint8_t, 1024> microsha_glyphs;

// The digits 0-9 and A-F, each drawn in columns 0-2 (bits 7-5) of rows 1-6; rows 0 and 7 clear.
extern const std::array<std::array<uint8_t, 8>, 16> hex_digit_glyphs;

} // namespace fontarel
