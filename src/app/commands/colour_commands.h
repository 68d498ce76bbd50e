#pragma once
// The Colour menu: the map's machine, the pen, paper and background colours chosen from the
// machine's palette, and what painting writes. Painting itself (a cell, a fill, typing) asks
// paint_cell.

#include <array>
#include <bitset>

#include "app/app.h"

namespace fontarel {

// Makes `machine` the map's machine (one undo step); the pen and paper start as its blank cell.
void set_machine(App& app, MapMachine machine);
void choose_pen_colour(App& app);
void choose_paper_colour(App& app);
void choose_background_colour(App& app);
void set_paint_mode(App& app, PaintMode mode);
// C64 multicolour character mode on or off, and its registers 1 ($d022) and 2 ($d023); each an
// undo step. Nothing on another machine (the rows are greyed there).
void toggle_multicolour(App& app);
void choose_multicolour_register(App& app, int which);
template <int which> void choose_multicolour(App& app) {
    choose_multicolour_register(app, which);
}
// The C64's extended background colour mode on or off (multicolour goes off with it on), and
// its background registers 1-3 ($d022-$d024); nothing on another machine.
// The glyph the editor shows and edits: the current code's, which in the extended background
// colour mode is glyph code & 63, as the screen shows it.
int edited_glyph(const App& app);
void toggle_extended_background(App& app);
void choose_extended_background_register(App& app, int which);
template <int which> void choose_extended_background(App& app) {
    choose_extended_background_register(app, which);
}
// The Atari's character mode (2, 4 or 5) and its five colour registers, each chosen from the
// machine's 128 colours after the register is chosen from a list; an undo step each. Nothing on
// another machine (the rows are greyed there).
void set_atari_mode(App& app, uint8_t mode);
void choose_atari_colours(App& app);
// The code a paint writes over `old` on an Atari map, where the pen's inverse box is the code's
// bit 7: the glyph of `code` (of `old` when painting colours only) with bit 7 from `inverse`, or
// `code` itself when painting codes only.
int32_t atari_painted_code(int32_t old, int32_t code, PaintMode mode, bool inverse);
// The glyphs the glyph views show (and edit) in multicolour: on a C64 map with multicolour on,
// those that most of the map and tile cells using them show in multicolour (an unused glyph: when
// most cells are multicolour cells), whatever the pen paints; on an Atari map in four colours,
// every glyph.
std::bitset<256> multicolour_glyph_set(const App& app);
// Whether glyph `code` is one of them; multicolour_glyphs asks it of the current glyph.
bool multicolour_glyph(const App& app, int code);
bool multicolour_glyphs(const App& app);
// The colours of the bit pairs 00, 01, 10 and 11 of a glyph as the pen paints it in multicolour:
// on an Atari, pair 11 in COLPF3 while the pen's inverse box is on.
std::array<Colour, 4> pen_multicolours(const App& app);

// Writes what the paint mode says into a cell in use: `code`, the pen's attribute, or both. A
// Mono map gets the code only; an Atari map atari_painted_code.
void paint_cell(App& app, int column, int row, int32_t code);
// The map window's title for a hovered cell: "Character map (3,2):65[41]", with the attribute in
// words after it on a machine's map (" ink 2 paper 7").
std::string hover_title(const App& app, int column, int row);
// Check marks follow the machine and the paint mode (also when undo changes the machine); rows
// that mean nothing for the machine are greyed out.
void show_colour_state(App& app);

} // namespace fontarel
