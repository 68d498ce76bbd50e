#pragma once
// An X11 bitmap font in BDF 2.1: one character a glyph of the selection, ENCODING its code, 8 x 8
// pixels on a baseline under row 6 (ascent 7, descent 1), each row two hexadecimal digits. The
// encoding is the charset's own (the registry "FontSpecific"), since no code page is known for it.

#include <string>
#include <string_view>

#include "model/charset_store.h"
#include "formats/export_common.h"

namespace fontarel {

// `family` names the font in its FONT name and FAMILY_NAME; it must hold no '-' or '"'.
std::string glyphs_as_bdf(const CharsetStore& store, GlyphSelection glyphs,
                          std::string_view family);

} // namespace fontarel
