#pragma once
// BASIC DATA lines: numbered from 1000 in steps of 10, values in decimal joined by commas, one
// line a glyph (eight row bytes) or a map row. Nothing but DATA lines, so the text can be merged
// into a program that READs them.

#include <string>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/export_common.h"

namespace fontarel {

constexpr int kBasicFirstLine = 1000;
constexpr int kBasicLineStep = 10;

std::string glyphs_as_basic(const CharsetStore& store, GlyphSelection glyphs);
std::string map_as_basic(const CharMap& map);

} // namespace fontarel
