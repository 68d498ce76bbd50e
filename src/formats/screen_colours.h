#pragma once
// A screen picture read in the colours of a map's machine: each 8 x 8 cell becomes a glyph pattern
// and an attribute byte that draw it, as near as the machine allows (see import_screen_new_charset
// for the rule).

#include <cstdint>
#include <vector>

#include "model/char_map.h"
#include "formats/glyph_pattern.h"
#include "model/picture.h"

namespace fontarel {

struct ColourCells {
    std::vector<GlyphPattern> patterns; // each cell's pattern, cells row by row
    std::vector<uint8_t> attrs;         // each cell's attribute, in the same order
    uint8_t background = 0;             // C64: the picture's most frequent colour; else 0
    int many_colours = 0;               // cells of more than two palette colours
    int clashing = 0; // cells of one or two colours that their attribute still cannot draw
};

// Every pixel of `picture` as the nearest entry of the machine's palette (RGB distance, the lowest
// index on ties), in the same order; `machine` not Mono.
std::vector<uint8_t> palette_entries(const Picture& picture, MapMachine machine);

// `picture` whole, its width and height multiples of 8; `machine` not Mono (Mono gives no cells).
ColourCells read_colour_cells(const Picture& picture, MapMachine machine);

// The attribute that draws the inverse pattern in the same colours, ink and paper exchanged; false
// where the machine cannot exchange them (C64, Mono; PC text when the ink is one of the 8 bright
// colours, which no background can be).
bool swapped_attribute(MapMachine machine, uint8_t attr, uint8_t& swapped);

} // namespace fontarel
