#pragma once
// Whole-glyph transforms: invert, clear, mirrors, cyclic shifts and quarter-turn rotations, on the
// eight row bytes of one glyph.

#include <array>
#include <cstdint>
#include <span>

namespace fontarel {

// The whole-glyph operations of the Char menu and the shift buttons.
enum class GlyphOp : int {
    Invert = 0,
    Clear = 1,
    MirrorLeftRight = 2,
    ShiftLeft = 3,
    ShiftRight = 4,
    ShiftUp = 5,
    ShiftDown = 6,
    MirrorUpDown = 7,
    RotateClockwise = 8,
    RotateAnticlockwise = 9,
};

using BitReverseTable = std::array<int32_t, 256>;
using RotateScratch = std::array<uint8_t, 9>;

// Entry v := v with its eight bits in reverse order.
void build_bit_reverse_table(BitReverseTable& table);
// Transforms the 8 rows of one glyph in place. `table` must have been built; the rotations use
// `scratch` for their new rows.
void transform_glyph(std::span<uint8_t, 8> glyph, GlyphOp op, const BitReverseTable& table,
                     RotateScratch& scratch);
// The same on a C64 multicolour glyph, 4 x 8 pixels of two bits each, as the user sees it: mirror
// left-right reverses the order of the bit pairs, the shifts move one pair (two bits, the pair
// pushed out re-entering at the other side), and the rotations change nothing (a 4 x 8 glyph has
// none); the other operations are transform_glyph's.
void transform_multicolour_glyph(std::span<uint8_t, 8> glyph, GlyphOp op,
                                 const BitReverseTable& table, RotateScratch& scratch);

} // namespace fontarel
