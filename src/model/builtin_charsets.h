#pragma once
// Pure cores of the Char -> Charset commands: which block each machine loads, how it fills the
// store, and which pixel colours go with it. Setting the colours in the application state and
// refreshing the views is left to the caller.

#include <cstdint>
#include <span>

#include "model/charset_store.h"
#include "model/colour.h"

namespace fontarel {

enum class Machine { Cga, Cp866, ZxSpectrum, Zx80, JupiterAce, C64Caps, AtariXl, Microsha };

struct BuiltinCharset {
    std::span<const uint8_t> glyphs; // copied to store bytes 0..size-1
    int inverse_bytes;               // m: bytes m..2m-1 := bytes 0..m-1 XOR 0xFF; 0 = none
    Colour colour0;                  // colour of clear bits
    Colour colour1;                  // colour of set bits
};

// The fixed description of machine m's charset; valid for the life of the program.
const BuiltinCharset& builtin_charset(Machine m);

// Copies set.glyphs to the start of the store, then, if set.inverse_bytes is m > 0, makes bytes
// m..2m-1 the complement of bytes 0..m-1. Bytes beyond both are left as they were.
void load_builtin_glyphs(CharsetStore& store, const BuiltinCharset& set);

// Colours that go with the generated hex set: white digits on black.
constexpr Colour kHexColour0 = rgb(0, 0, 0);
constexpr Colour kHexColour1 = rgb(255, 255, 255);

// Overwrites the whole store so that glyph c shows c in two hex digits: the high digit in
// columns 0-2, the low digit in columns 4-6, rows 1-6.
void build_hex_glyphs(CharsetStore& store);

} // namespace fontarel
