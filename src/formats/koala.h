#pragma once
// Koala paintings: C64 multicolour bitmaps of 160 x 200 double-wide pixels, read into a multicolour
// character screen. The file: a 2-byte load address; 8000 bytes of bitmap, 8 bytes a cell (top row
// first, each byte four double-wide pixels, bit pairs from the left), cells row by row, 40 x 25;
// 1000 bytes of screen RAM, a cell's 01 colour in the high nybble and its 10 colour in the low;
// 1000 bytes of colour RAM, the 11 colour in the low nybble; one background byte (00), its low
// nybble. 10003 bytes, or 10002 without the background byte, which is then black.

#include <cstdint>
#include <span>
#include <string_view>

#include "formats/multicolour_import.h"

namespace fontarel {

// 10003 or 10002 bytes that do not begin with a PNG, GIF or BMP signature.
bool is_koala(std::span<const uint8_t> bytes);
// Whether a file's name ends in ".koa" or ".kla", in any case.
bool has_koala_name(std::string_view path);

// The painting as 40 x 25 cells of double-wide pixels (step 1); `background` its own byte's.
// Bytes of another size give no cells.
EntryPicture decode_koala(std::span<const uint8_t> bytes, int& background);

// The painting through import_multicolour_entries with its own background; `choice` may fix the
// registers. Another size is refused: "is 9000 bytes: a Koala painting is 10003 (10002 without
// the background byte)".
ScreenImport import_koala(std::span<const uint8_t> bytes, MulticolourChoice choice = {});

} // namespace fontarel
