#pragma once
// Screen pictures read for the Atari's four-colour character mode: a charset of at most 128
// glyphs and an Atari map whose cells draw the picture in double-wide pixels, four colours a cell.

#include "formats/picture_import.h"
#include "model/picture.h"

namespace fontarel {

// A picture of double-wide pixels, every pixel matched to the nearest of the Atari's 128 colours
// (RGB distance, the lowest on ties): at most 160 x 192, one picture pixel a double-wide pixel
// (its width a multiple of 4, 4 a cell row), or at most 320 x 192, wider than 160, read by pairs
// (a multiple of 8), each pair as its left pixel; the height a multiple of 8. Another size is
// refused: "is 300 x 200: an Atari four-colour screen picture is ...".
//
// COLBK is the picture's most frequent colour (the lowest on ties). COLPF0 and COLPF1 and the two
// colours of COLPF2 and COLPF3 are, among the 12 most frequent other colours, the ones with which
// the fewest double-wide pixels differ from the picture, each cell choosing COLPF2, or COLPF3 (its
// codes with bit 7 set) when that makes fewer differ; on ties the earlier choice in the order of
// frequency. Each double-wide pixel is drawn in the nearest of its cell's four colours. The cells'
// patterns are merged down to 128 glyphs by the double-wide pixels they then draw unlike the
// picture, as the C64's multicolour import does; `note` counts the cells whose pairs differ,
// whose colours the mode cannot show, and whose glyph is a near one. The map is an Atari map in
// mode 4 with those registers, of the smallest size that holds the cells; the cells outside the
// picture show a blank glyph.
ScreenImport import_atari_screen(const Picture& picture);

} // namespace fontarel
