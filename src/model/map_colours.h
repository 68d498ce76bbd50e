#pragma once
// The colours of the machines a map can be drawn for: their palettes, what a cell's attribute byte
// means in colours, and the pen and paper that painting composes into an attribute. Cells store
// palette indices, never colour values.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/char_map.h"
#include "model/colour.h"

namespace fontarel {

struct Palette {
    const char* name;
    // C64 and PC: the 16 colours. Spectrum: the 8 colours at the normal level, then the same 8
    // BRIGHT. Atari: the 128 colours of the even colour values 0-254 (atari_palette). Mono: none.
    std::span<const Colour> colours;
};

Palette machine_palette(MapMachine machine);
// The machine's menu name: "Mono", "C64", "ZX Spectrum", "PC text", "Atari".
const char* machine_name(MapMachine machine);

// How a cell is drawn: set pixels in `ink`, clear pixels in `paper`; `marker` for a FLASH or blink
// bit, shown as a static mark. Attribute values past the machine's range are masked to it.
struct CellColours {
    Colour ink = 0, paper = 0;
    bool marker = false;
    bool operator==(const CellColours&) const = default;
};
// For C64, `background` is the paper of every cell. Not meaningful for Mono and Atari, whose
// cells have no attribute.
CellColours cell_colours(MapMachine machine, uint8_t attr, uint8_t background);

// The glyph a cell of `code` shows: code & 63 on a C64 in extended background colour mode, code &
// 127 on an Atari, else the code.
inline int shown_glyph(const ScreenLook& look, int code) {
    return look.c64_extended()                  ? code & 63
           : look.machine == MapMachine::Atari ? code & 127
                                                : code & 255;
}
// A cell's colours by its code too: on a C64 in extended background colour mode the paper is
// background register code >> 6; on an Atari the two-colour mode's colours, inverse for a code
// with bit 7 set; elsewhere as cell_colours of the machine.
CellColours cell_colours(const ScreenLook& look, uint8_t attr, int code);

// Whether a cell of attribute `attr` shows its glyph in bit pairs: a C64 map with multicolour
// on and a colour-RAM nybble of 8-15, or any cell of an Atari map in four colours.
bool is_pair_cell(const ScreenLook& look, uint8_t attr);
inline bool is_multicolour_cell(const CharMap& map, uint8_t attr) {
    return is_pair_cell(map.look, attr);
}
// The colours of a C64 multicolour cell's bit pairs 00, 01, 10 and 11: the background, the two
// multicolour registers, and the nybble minus 8.
std::array<Colour, 4> multicolour_colours(const ScreenLook& look, uint8_t attr);
inline std::array<Colour, 4> multicolour_colours(const CharMap& map, uint8_t attr) {
    return multicolour_colours(map.look, attr);
}
// The colours of the bit pairs of a cell of `code` and `attr` where is_pair_cell holds: on an
// Atari atari_pair_colours (COLPF3 for bit 7 of the code), else multicolour_colours.
std::array<Colour, 4> pair_colours(const ScreenLook& look, uint8_t attr, int code);

// The palette choices of the pen (the colour of set pixels) and of the paper; the paper count is 0
// where the machine's cells have no paper of their own (C64, Mono).
int pen_choices(MapMachine machine);
int paper_choices(MapMachine machine);
// The background (C64) or border (Spectrum) choices; 0 where the machine has none.
int background_choices(MapMachine machine);
// The attribute that painting writes with the chosen pen and paper (indices into the palette):
// C64 the pen; Spectrum ink = pen & 7 with BRIGHT = pen >= 8, paper & 7; PC pen in bits 0-3,
// paper in bits 4-6. `marker` sets the FLASH (Spectrum) or blink (PC) bit, bit 7.
uint8_t compose_attribute(MapMachine machine, int pen, int paper, bool marker = false);
// On a C64 map with multicolour on, the pen is one of the colours 0-7 and `marker` (the pen paints
// multicolour cells) adds 8; on every other map these are pen_choices and compose_attribute of
// the map's machine.
int pen_choices(const CharMap& map);
uint8_t compose_attribute(const CharMap& map, int pen, int paper, bool marker);
// The name of the pen's `marker` choice: "Flash" (Spectrum), "Blink" (PC), "Multicolour cell"
// (C64 with multicolour on), "Inverse (COLPF3)" (Atari: the pen paints codes with bit 7 set);
// null where the map has none.
const char* marker_name(const CharMap& map);

// Makes `machine` the map's machine and keeps what the cells look like: from one colour machine
// to another, each attribute's ink and paper become the nearest colours (in RGB) that the new
// machine's attributes give, ink to ink and paper to paper, a FLASH or blink bit carried over
// where the new machine has one (on the C64 the paper is the background, which starts anew).
// A map whose cells were never coloured, and a change from or to Mono, go as set_map_machine.
void convert_map_machine(CharMap& map, MapMachine machine);

// The attribute in words, after the code in the map window's title: " ink 2 paper 7", with
// " bright", " flash" or " blink" for those bits; C64 " ink 2"; empty for Mono.
std::string attribute_text(MapMachine machine, uint8_t attr);

} // namespace fontarel
