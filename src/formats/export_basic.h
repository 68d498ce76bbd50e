#pragma once
// BASIC DATA lines: numbered from 1000 in steps of 10, values in decimal joined by commas, one
// line a glyph (eight row bytes) or a map row; a map row of more than kBasicValuesPerLine codes
// goes on as many lines as it needs. Nothing but DATA lines, so the text can be merged into a
// program that READs them.

#include <string>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "formats/export_common.h"

namespace fontarel {

constexpr int kBasicFirstLine = 1000;
constexpr int kBasicLineStep = 10;

// The longest line, line number included, that the C64's screen editor takes, in characters.
constexpr int kBasicLineLength = 80;
// Values on one line: so many of three digits, with their commas, after a line number of five
// digits and " DATA " still fit.
constexpr int kBasicValuesPerLine = 16;
static_assert(5 + 6 + kBasicValuesPerLine * 4 - 1 <= kBasicLineLength);

std::string glyphs_as_basic(const CharsetStore& store, GlyphSelection glyphs);
// A map drawn for a machine (not Mono) goes on, after its codes, with the attribute bytes of its
// cells in the same layout, so a program READs the codes first and then the colours.
std::string map_as_basic(const CharMap& map);

} // namespace fontarel
