#pragma once
// Screen pictures read for the C64's multicolour character mode: a charset, and a C64 map with
// multicolour on whose cells draw the picture in double-wide pixels where the mode allows.

#include <cstdint>
#include <vector>

#include "formats/picture_import.h"
#include "model/picture.h"

namespace fontarel {

// What the import may choose itself. The background ($d021) is the picture's most frequent colour
// (counted in picture pixels, the lowest index on ties) unless given; the two multicolour registers
// ($d022, $d023) are searched unless both are given.
struct MulticolourChoice {
    int background = -1;              // 0-15, or -1
    int colour_1 = -1, colour_2 = -1; // 0-15 each, or -1 for both
};

// A picture as C64 palette indices 0-15, rows top-down: either each picture pixel one double-wide
// pixel (`step` 1, 4 entries a cell row) or each pair of picture pixels one (`step` 2, 8 entries a
// cell row, the pair's two pixels both kept so that a cell may use them at full width).
struct EntryPicture {
    int cols = 0, rows = 0; // cells, at most 80 x 50
    int step = 2;
    std::vector<uint8_t> entry; // 8 * rows rows of 4 * step * cols entries
};

// The import proper. It draws the picture with as few double-wide pixels unlike it as it can: a
// double-wide pixel (4 in a cell row, 32 in a cell) is unlike when the screen draws either of its
// picture pixels in another palette entry than the picture has; `unlike_pixels` counts them over
// the picture's cells. Every cell is read one of three ways:
//  - multicolour (attribute 8 + c): its double-wide pixels are of the background, the two
//    registers and at most one more colour c, 0-7 (the colour RAM's value minus 8); bit pair 00 the
//    background, 01 register 1, 10 register 2, 11 c. A cell of no more colours gets c = 6, as the
//    blank attribute (14) has.
//  - hi-res (attribute c, 0-7): only where the two pixels of some pair differ (step 2), and its
//    pixels at full width are of the background and one colour c, 0-7.
//  - neither: it is read as multicolour, each pair as its left pixel (a pair of two unlike pixels
//    is always unlike), with the c (0-7) that draws the most double-wide pixels as they are (whose
//    two pixels are alike and of c, when c is neither register nor the background); on ties the
//    one that draws the cell nearest (RGB distance of each double-wide pixel to the nearest of the
//    four colours, summed), then the lowest. Each pixel is drawn in the nearest of the four colours
//    (the first in the order 00, 01, 10, 11 on ties). Counted in `uneven_pairs` when a pair
//    differs, in `beyond_mode` when its colours do not fit.
// The registers searched: of the pairs of colours other than the background (105), the one with
// which the cells but those read as hi-res draw the fewest double-wide pixels unlike the picture,
// each cell with its best c as above; on ties the one that lets the most of those cells fit
// multicolour, then the one whose colours cover more of the picture's pixels, then the lowest
// (register 1 the lower colour).
// The patterns then become a new charset as import_screen_new_charset makes one; more than 256 are
// merged down to 256 by the double-wide pixels the cells draw unlike the picture (choose_glyphs):
// the pattern whose cells cost the fewest more when each shows its nearest remaining pattern is
// dropped first, and every cell shows the remaining glyph that draws it nearest (its own pattern
// when that is one, else the lowest code). `near_glyph` counts the cells whose glyph is not their
// pattern. So every cell that no count names shows exactly the picture's palette entries. The map
// is a C64 map with multicolour on, the registers and background set, the smallest machine size
// that holds the cells; the cells outside the picture show a blank glyph in the blank attribute.
ScreenImport import_multicolour_entries(const EntryPicture& picture, MulticolourChoice choice);

// A screen picture, each pixel matched to the nearest C64 palette entry (RGB distance, the lowest
// index on ties). It is read at half width (step 1) when twice its width and its height are the
// pixels of one of the map sizes (160 x 200 for 40 x 25 cells, 128 x 192, 160 x 192, 256 x 240,
// 320 x 400), else by pairs (step 2), as a screen picture (a multiple of 8 pixels each way, at most
// 640 x 400); another size is refused: "is 300 x 200: a multicolour screen picture ...".
ScreenImport import_multicolour_screen(const Picture& picture, MulticolourChoice choice = {});

} // namespace fontarel
