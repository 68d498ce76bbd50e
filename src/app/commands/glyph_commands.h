#pragma once
// Commands on whole glyphs: erase, insert and delete by position, and the transforms of the Char
// menu and the shift buttons.

#include "app/app.h"
#include "model/glyph_transforms.h"

namespace fontarel {

// All 2048 bytes := 0.
void erase_charset(App& app);
// Blank glyph at current_char; later glyphs move up one place (the old glyph 255 is lost).
void insert_glyph(App& app);
// Glyph at current_char removed; later glyphs move down one place, glyph 255 becomes blank.
void delete_glyph(App& app);
// Transforms the current glyph, or every glyph of the range when the range check box is checked.
void apply_glyph_op(App& app, GlyphOp op);
// Asks for a material, 0-15, and gives it to the current glyph, or to every glyph of the range
// when the range check box is checked. Anything else is refused with one line, changing nothing.
void set_glyph_material(App& app);
// "Compact charset": the glyphs the map and the tiles use, alike ones made one, moved to the front
// (the range's glyphs kept where they are while its box is ticked), the map and the tiles
// renumbered, nothing shown changed; says what it did ("212 glyphs in use: ..."). A new program's
// blank tile and level count as none.
void compact_glyphs(App& app);

} // namespace fontarel
