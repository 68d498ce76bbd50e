#pragma once
// Pictures turned into glyphs: a charset picture of 16 x 16 glyphs, and a screen picture turned
// into a charset and a map (identical cells sharing one glyph) or matched against a charset. The
// picture arrives decoded; decoding its file is the platform's work.

#include <cstdint>
#include <string>
#include <vector>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/font_import.h"

namespace fontarel {

// A decoded picture: width x height colour values, rows top-down, each red + 256 * green + 65536 *
// blue (the program's colour values).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<int32_t> pixels;
};

// The set/clear decision for every pixel, row by row (1 = set). With exactly two colours in the
// picture, a pixel is set when it is nearer `set_colour` than `clear_colour`; otherwise when it is
// lighter (perceived lightness) than the midpoint between the picture's darkest and lightest
// colours, and `reduced` says the picture had more than two colours.
std::vector<uint8_t> picture_bits(const Picture& picture, int32_t clear_colour,
                                  int32_t set_colour, bool& reduced);

// A square picture of 16 x 16 glyphs, a multiple of 128 pixels wide (k = width / 128 picture pixels
// a glyph pixel, sampled at the centre of each k x k block): glyph g from cell (g % 16, g / 16).
FontImport import_charset_picture(const Picture& picture, int32_t clear_colour, int32_t set_colour);

// A screen picture: width and height multiples of 8, at most 640 x 400.
struct ScreenImport {
    CharsetStore charset; // new charset: the distinct patterns from glyph 0 in order of appearance
    CharMap map;          // cols x rows: the smallest machine size that holds the picture
    int cells = 0;        // cells of the picture
    int distinct = 0;     // distinct cell patterns before any reduction
    std::string note;     // e.g. "Reduced to 256 glyphs: 37 cells differ by up to 3 pixels"
    std::string error;
    bool ok() const { return error.empty(); }
};
ScreenImport import_screen_new_charset(const Picture& picture, int32_t clear_colour,
                                       int32_t set_colour);
// The charset stays; each cell gets the code of the glyph with the fewest differing pixels (the
// lowest code on ties). `charset` of the result is a copy of `current`.
ScreenImport import_screen_current_charset(const Picture& picture, const CharsetStore& current,
                                           int32_t clear_colour, int32_t set_colour);

} // namespace fontarel
