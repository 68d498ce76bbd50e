#pragma once
// Pictures turned into glyphs: a charset picture of 16 x 16 glyphs, and a screen picture turned
// into a charset and a map (identical cells sharing one glyph) or matched against a charset. The
// picture arrives decoded; decoding its file is the platform's work.

#include <cstdint>
#include <string>
#include <vector>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "formats/font_import.h"
#include "model/picture.h"

namespace fontarel {

// The set/clear decision for every pixel, row by row (1 = set); `reduced` says whether the picture
// had more than two colours.
//  - Two colours: each gets its own bit, paired with the program's two so that the pair lies
//    nearest them: the picture colour that lies further along the way from `clear_colour` to
//    `set_colour` (RGB distance) is set. A picture in exactly the program's colours thus imports as
//    drawn, and a black and white picture imports with white set whenever the set colour is the
//    lighter one, black set otherwise. When the way is no guide (the picture's two colours lie
//    equally near both pairings, e.g. black and white against red and green), the lighter colour is
//    set, or the darker when the set colour is darker than the clear colour; two equally light
//    colours: the second to appear row by row is set.
//  - One colour: set when it is nearer `set_colour` than `clear_colour`.
//  - More colours: set when its perceived lightness (0.299 R + 0.587 G + 0.114 B) lies above the
//    midpoint between the picture's darkest and lightest colours, or below it when the set colour
//    is darker than the clear colour, so that the side of the set colour is set, as with two.
std::vector<uint8_t> picture_bits(const Picture& picture, int32_t clear_colour, int32_t set_colour,
                                  bool& reduced);

// A square picture of 16 x 16 glyphs, a multiple of 128 pixels wide (k = width / 128 picture pixels
// a glyph pixel, sampled at the centre of each k x k block): glyph g from cell (g % 16, g / 16).
// All 256 glyphs are present. An error reads after the file's name: "is 300 x 200: a charset
// picture is square, 128, 256, ... pixels wide".
FontImport import_charset_picture(const Picture& picture, int32_t clear_colour, int32_t set_colour);

// A screen picture: width and height multiples of 8, at most 640 x 400; one picture pixel a glyph
// pixel, each 8 x 8 cell one glyph. The map takes the smallest machine size that holds the
// picture's cells (fewest cells of the sizes at least as wide and as tall); its cells outside the
// picture show a blank glyph (see each import for which).
//
// For a machine other than Mono the picture is read in the machine's colours instead of the
// program's two: every pixel is matched to the nearest palette entry (RGB distance, the lowest
// index on ties), and each cell gets an attribute and the pattern that draws it with that
// attribute, each entry set when it lies nearer the attribute's ink than its paper:
//  - C64: the background is the picture's most frequent entry (the lowest index on ties); a
//    cell's ink is its most frequent entry but the background (the lowest on ties), or light blue
//    (blank_attribute) in a cell of background alone.
//  - Spectrum: the cell's most frequent entry (the lowest on ties) is the paper, the next the ink,
//    both at the BRIGHT level that draws the cell's pixels nearest (the normal level on ties). A
//    cell of one colour is blank, that paper with black ink (white ink on black).
//  - PC text: the most frequent entry is the background and the next the foreground, exchanged
//    when only the next one is one of the 8 background colours; when neither is, the background
//    is the one of those 8 nearest the most frequent entry. A cell of one colour is blank on that
//    background with light grey (black on light grey), or full in a bright colour on black.
// The map's cells outside the picture get blank_attribute(machine); the map's machine is
// `machine`, its background the C64's as above, else start_background(machine).
struct ScreenImport {
    CharsetStore charset; // new charset: the distinct patterns from glyph 0 in order of appearance
    CharMap map;          // cols x rows: the smallest machine size that holds the picture
    int cells = 0;        // cells of the picture
    int distinct = 0;     // distinct cell patterns before any reduction
    int glyphs = 0;       // distinct codes the picture's cells got
    // Colour: cells of more than two palette colours, each pixel drawn in the nearer of its
    // attribute's two colours; and cells of one or two colours that no attribute of the machine
    // draws as they are (C64: two colours but the background; Spectrum: two BRIGHT levels; PC
    // text: two bright colours).
    int many_colours = 0, clashing = 0;
    // C64 multicolour (see import_multicolour_entries): cells whose pixel pairs differ, read by
    // their left pixels; cells of colours the mode cannot show; cells whose glyph is a near one.
    int uneven_pairs = 0, beyond_mode = 0, near_glyph = 0;
    // C64 multicolour: double-wide pixels the screen draws unlike the picture (0-32 a cell).
    int unlike_pixels = 0;
    // e.g. "Reduced to 256 glyphs: 37 cells differ by up to 3 pixels", "12 cells had more than
    // two colours", "3 cells had colours that cannot share a C64 cell"; sentences joined by ". ";
    // empty when every cell shows exactly its pattern in two colours.
    std::string note;
    std::string error; // reads after the file's name, as for import_charset_picture
    bool ok() const { return error.empty(); }
};

// The charset is replaced: glyph 0 on are the distinct cell patterns in the order they first
// appear (row by row), the glyphs after them blank. The cells outside the picture get a blank
// glyph: the picture's own blank pattern, or else the first glyph after the patterns; when 256
// non-blank patterns fill the charset, the glyph with the fewest set pixels (the lowest code on
// ties).
//
// More than 256 distinct patterns are merged down to 256, the closest first, where the distance of
// two patterns is the number of pixels in which they differ: while more than 256 patterns remain,
// take the smallest distance between two remaining patterns; of the pairs at that distance take the
// one whose earlier pattern (by first appearance) comes first, and of those the one whose other
// pattern comes first. Of that pair the pattern that stands for fewer cells (counting the cells
// merged into it; the later pattern when both stand for equally many) is dropped, and its cells
// count for the other from then on. The 256 that remain become the glyphs in their order of first
// appearance, and every cell shows the glyph nearest its own pattern (the lowest code on ties),
// never further than the pattern it was merged into; `note` says how many cells changed and by
// how many pixels at most.
ScreenImport import_screen_new_charset(const Picture& picture, int32_t clear_colour,
                                       int32_t set_colour, MapMachine machine = MapMachine::Mono);

// The charset stays; each cell gets the code of the glyph with the fewest differing pixels (the
// lowest code on ties), and the cells outside the picture the glyph with the fewest set pixels
// (the lowest code on ties). `charset` of the result is a copy of `current`; `note` says how many
// cells differ from their glyphs and by how many pixels at most. In Spectrum and PC text colours
// a cell whose glyph differs from its pattern takes the glyph nearest the inverse pattern instead,
// with ink and paper exchanged, when that one differs in fewer pixels (and PC text's ink can be a
// background colour): a screen drawn in either polarity finds the charset's glyphs.
ScreenImport import_screen_current_charset(const Picture& picture, const CharsetStore& current,
                                           int32_t clear_colour, int32_t set_colour,
                                           MapMachine machine = MapMachine::Mono);

// The screen's cells into `map`, as a screen import takes them: its size, its codes, in colour
// its attributes too (and the C64's background and multicolour registers). A multicolour screen
// makes the map a C64 map in multicolour, and a screen read in hi-res turns a C64 map's
// multicolour off, or its cells of colours 8-15 would show as multicolour cells. The cells outside
// the screen's size keep what they held.
void place_screen(CharMap& map, const ScreenImport& screen);

} // namespace fontarel
