#include "model/glyph_transforms.h"

#include <algorithm>

namespace fontarel {

namespace {

// Clockwise: the new pixel at (column 7 - y, row x) is the old pixel at (column x, row y). Pass k
// collects old column 7 - k (bit 0 of every row, each row then shifted right) into new row 7 - k,
// old row l landing in bit l.
void rotate_clockwise(std::span<uint8_t, 8> rows, RotateScratch& scratch) {
    for (int k = 0; k < 8; ++k) {
        uint8_t& out = scratch[7 - k];
        out = 0;
        for (int l = 0; l < 8; ++l) {
            if (rows[l] & 1) {
                out |= static_cast<uint8_t>(1 << l);
            }
            rows[l] >>= 1;
        }
    }
    std::copy_n(scratch.begin(), 8, rows.begin());
}

// Anticlockwise: the new pixel at (column y, row 7 - x) is the old pixel at (column x, row y). Pass
// k shifts old column 7 - k into new row k, old row 0 ending in bit 7 (the leftmost pixel). Eight
// shifts push out whatever the scratch row held before.
void rotate_anticlockwise(std::span<uint8_t, 8> rows, RotateScratch& scratch) {
    for (int k = 0; k < 8; ++k) {
        for (int l = 0; l < 8; ++l) {
            scratch[k] = static_cast<uint8_t>((scratch[k] << 1) | (rows[l] & 1));
            rows[l] >>= 1;
        }
    }
    std::copy_n(scratch.begin(), 8, rows.begin());
}

} // namespace

void build_bit_reverse_table(BitReverseTable& table) {
    for (int v = 0; v < 256; ++v) {
        int r = 0;
        int t = v;
        for (int bit = 0; bit < 8; ++bit) {
            r = ((r << 1) | (t & 1)) & 0xFF;
            t >>= 1;
        }
        table[v] = r;
    }
}

void transform_glyph(std::span<uint8_t, 8> glyph, GlyphOp op, const BitReverseTable& table,
                     RotateScratch& scratch) {
    switch (op) {
    case GlyphOp::Invert:
        for (uint8_t& b : glyph) {
            b = static_cast<uint8_t>(b ^ 0xFF);
        }
        break;
    case GlyphOp::Clear:
        std::fill(glyph.begin(), glyph.end(), uint8_t{0});
        break;
    case GlyphOp::MirrorLeftRight:
        for (uint8_t& b : glyph) {
            b = static_cast<uint8_t>(table[b] & 0xFF); // only the low byte of an entry counts
        }
        break;
    case GlyphOp::ShiftLeft: // the leftmost pixel (bit 7) re-enters at the right
        for (uint8_t& b : glyph) {
            b = static_cast<uint8_t>((b << 1) | (b >> 7));
        }
        break;
    case GlyphOp::ShiftRight: // the rightmost pixel (bit 0) re-enters at the left
        for (uint8_t& b : glyph) {
            b = static_cast<uint8_t>((b >> 1) | ((b & 1) << 7));
        }
        break;
    case GlyphOp::ShiftUp: // the top row re-enters at the bottom
        std::rotate(glyph.begin(), glyph.begin() + 1, glyph.end());
        break;
    case GlyphOp::ShiftDown: // the bottom row re-enters at the top
        std::rotate(glyph.begin(), glyph.end() - 1, glyph.end());
        break;
    case GlyphOp::MirrorUpDown:
        std::reverse(glyph.begin(), glyph.end());
        break;
    case GlyphOp::RotateClockwise:
        rotate_clockwise(glyph, scratch);
        break;
    case GlyphOp::RotateAnticlockwise:
        rotate_anticlockwise(glyph, scratch);
        break;
    }
}

void transform_multicolour_glyph(std::span<uint8_t, 8> glyph, GlyphOp op,
                                 const BitReverseTable& table, RotateScratch& scratch) {
    switch (op) {
    case GlyphOp::MirrorLeftRight:
        for (uint8_t& b : glyph) {
            b = static_cast<uint8_t>((b >> 6) | ((b >> 2) & 0x0C) | ((b << 2) & 0x30) | (b << 6));
        }
        break;
    case GlyphOp::ShiftLeft:
        for (uint8_t& b : glyph) {
            b = static_cast<uint8_t>((b << 2) | (b >> 6));
        }
        break;
    case GlyphOp::ShiftRight:
        for (uint8_t& b : glyph) {
            b = static_cast<uint8_t>((b >> 2) | (b << 6));
        }
        break;
    case GlyphOp::RotateClockwise:
    case GlyphOp::RotateAnticlockwise:
        break;
    default:
        transform_glyph(glyph, op, table, scratch);
        break;
    }
}

} // namespace fontarel
