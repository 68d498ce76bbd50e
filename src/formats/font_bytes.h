#pragma once
// Font files: raw glyph rows, byte for byte the layout of the charset store, placed relative to a
// starting glyph (the current character). File byte i is store byte 8 * first + i. No header.

#include <cstdint>
#include <span>

#include "model/charset_store.h"

namespace fontarel {

// Bytes of a file of `file_size` bytes that a load from glyph `first` takes: all of them, or only
// as many as fit before the end of the store. 0 for an empty or negative size.
int64_t font_load_count(int64_t file_size, uint8_t first);

// Copies file bytes into the store from glyph `first` on. Bytes beyond store byte 2047 are
// ignored; a length that is no multiple of 8 fills the leading rows of a last glyph.
void place_font_bytes(CharsetStore& store, uint8_t first, std::span<const uint8_t> bytes);

// True when `byte_count` bytes (more than 0) from glyph `first` on lie inside the store.
bool font_save_fits(uint8_t first, int byte_count);

// The body of a font file of `byte_count` bytes from glyph `first` on; empty when it does not fit.
std::span<const uint8_t> font_file_bytes(const CharsetStore& store, uint8_t first, int byte_count);

} // namespace fontarel
