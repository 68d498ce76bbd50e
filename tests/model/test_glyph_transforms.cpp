// The glyph transforms on single glyphs: the bit-reverse table, known bytes, and the identities the
// transforms must satisfy on assorted glyphs.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/glyph_transforms.h"

using namespace fontarel;

namespace {

using Glyph = std::array<uint8_t, 8>;

struct Transforms : ::testing::Test {
    BitReverseTable table{};
    RotateScratch scratch{};

    void SetUp() override { build_bit_reverse_table(table); }

    Glyph apply(Glyph g, GlyphOp op, int times = 1) {
        for (int i = 0; i < times; ++i) {
            transform_glyph(std::span<uint8_t, 8>(g), op, table, scratch);
        }
        return g;
    }

    // Pixel (x, y): bit 7 of a row is column 0.
    static bool pixel(const Glyph& g, int x, int y) { return (g[y] >> (7 - x)) & 1; }
};

// No symmetry at all, so a wrong axis or direction cannot map it onto itself.
constexpr Glyph kAsymmetric{0xF0, 0x80, 0xC0, 0x81, 0x01, 0x3C, 0x02, 0x07};
const std::vector<Glyph> kSamples{
    Glyph{},
    Glyph{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    Glyph{0x80, 0, 0, 0, 0, 0, 0, 0},
    Glyph{0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00}, // an "A"
    kAsymmetric,
    Glyph{0xA5, 0x5A, 0x12, 0x48, 0x01, 0x80, 0xFE, 0x7F},
};

} // namespace

TEST_F(Transforms, BitReverseTableReversesEveryByte) {
    EXPECT_EQ(table[0x01], 0x80);
    EXPECT_EQ(table[0x03], 0xC0);
    EXPECT_EQ(table[0x0F], 0xF0);
    EXPECT_EQ(table[0x12], 0x48);
    EXPECT_EQ(table[0xA5], 0xA5);
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(table[table[v]], v) << v;
        for (int bit = 0; bit < 8; ++bit) {
            ASSERT_EQ((table[v] >> (7 - bit)) & 1, (v >> bit) & 1) << v << " bit " << bit;
        }
    }
}

TEST_F(Transforms, TopLeftPixelLandsWhereEachTransformSendsIt) {
    const Glyph top_left{0x80, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(apply(top_left, GlyphOp::RotateClockwise), (Glyph{0x01, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(apply(top_left, GlyphOp::RotateAnticlockwise), (Glyph{0, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(apply(top_left, GlyphOp::ShiftLeft), (Glyph{0x01, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(apply(top_left, GlyphOp::ShiftUp), (Glyph{0, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(apply(top_left, GlyphOp::ShiftDown), (Glyph{0, 0x80, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(apply(top_left, GlyphOp::ShiftRight), (Glyph{0x40, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(apply(top_left, GlyphOp::MirrorUpDown), (Glyph{0, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(apply(top_left, GlyphOp::MirrorLeftRight), (Glyph{0x01, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Transforms, RowBytesWrapAndMirror) {
    EXPECT_EQ(apply(Glyph{0x01}, GlyphOp::ShiftRight)[0], 0x80);
    EXPECT_EQ(apply(Glyph{0x81}, GlyphOp::MirrorLeftRight)[0], 0x81);
    EXPECT_EQ(apply(Glyph{0x81}, GlyphOp::ShiftLeft)[0], 0x03);
    EXPECT_EQ(apply(Glyph{0x12}, GlyphOp::MirrorLeftRight)[0], 0x48);
    EXPECT_EQ(apply(kAsymmetric, GlyphOp::Invert),
              (Glyph{0x0F, 0x7F, 0x3F, 0x7E, 0xFE, 0xC3, 0xFD, 0xF8}));
    EXPECT_EQ(apply(kAsymmetric, GlyphOp::Clear), Glyph{});
}

TEST_F(Transforms, RotationsFollowThePixelMappings) {
    // Every pixel of an asymmetric glyph, and a stale scratch, so a rotation that relies on clean
    // scratch rows or swaps an axis shows up.
    scratch.fill(0xAA);
    const Glyph cw = apply(kAsymmetric, GlyphOp::RotateClockwise);
    scratch.fill(0x55);
    const Glyph ccw = apply(kAsymmetric, GlyphOp::RotateAnticlockwise);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(pixel(cw, 7 - y, x), pixel(kAsymmetric, x, y)) << x << "," << y;
            EXPECT_EQ(pixel(ccw, y, 7 - x), pixel(kAsymmetric, x, y)) << x << "," << y;
        }
    }
}

TEST_F(Transforms, CyclesAndInversesGiveTheGlyphBack) {
    for (const Glyph& g : kSamples) {
        EXPECT_EQ(apply(g, GlyphOp::ShiftLeft, 8), g);
        EXPECT_EQ(apply(g, GlyphOp::ShiftRight, 8), g);
        EXPECT_EQ(apply(g, GlyphOp::ShiftUp, 8), g);
        EXPECT_EQ(apply(g, GlyphOp::ShiftDown, 8), g);
        EXPECT_EQ(apply(apply(g, GlyphOp::ShiftLeft), GlyphOp::ShiftRight), g);
        EXPECT_EQ(apply(apply(g, GlyphOp::ShiftUp), GlyphOp::ShiftDown), g);
        EXPECT_EQ(apply(g, GlyphOp::RotateClockwise, 4), g);
        EXPECT_EQ(apply(g, GlyphOp::RotateAnticlockwise, 4), g);
        EXPECT_EQ(apply(apply(g, GlyphOp::RotateClockwise), GlyphOp::RotateAnticlockwise), g);
        EXPECT_EQ(apply(g, GlyphOp::RotateClockwise, 2), apply(g, GlyphOp::RotateAnticlockwise, 2));
        EXPECT_EQ(apply(g, GlyphOp::Invert, 2), g);
        EXPECT_EQ(apply(g, GlyphOp::MirrorLeftRight, 2), g);
        EXPECT_EQ(apply(g, GlyphOp::MirrorUpDown, 2), g);
        // Half a turn is both mirrors.
        EXPECT_EQ(apply(g, GlyphOp::RotateClockwise, 2),
                  apply(apply(g, GlyphOp::MirrorLeftRight), GlyphOp::MirrorUpDown));
    }
    // Fewer than eight shifts or four turns must not already give it back.
    EXPECT_NE(apply(kAsymmetric, GlyphOp::ShiftLeft, 7), kAsymmetric);
    EXPECT_NE(apply(kAsymmetric, GlyphOp::ShiftUp, 4), kAsymmetric);
    EXPECT_NE(apply(kAsymmetric, GlyphOp::RotateClockwise, 2), kAsymmetric);
}

TEST_F(Transforms, UnknownOperationChangesNothing) {
    EXPECT_EQ(apply(kAsymmetric, static_cast<GlyphOp>(10)), kAsymmetric);
    EXPECT_EQ(apply(kAsymmetric, static_cast<GlyphOp>(-1)), kAsymmetric);
}

// Multicolour glyphs are moved as 4 x 8 double-wide pixels: one row 0b00'01'10'11 (0x1B) through
// every operation, with the rest of the glyph where it shows what moves rows.
TEST_F(Transforms, MulticolourGlyphsMoveBitPairs) {
    const Glyph g{0x1B, 0xC0, 0, 0, 0, 0, 0, 0x03};
    const struct {
        GlyphOp op;
        Glyph want;
    } cases[] = {
        {GlyphOp::MirrorLeftRight, {0xE4, 0x03, 0, 0, 0, 0, 0, 0xC0}}, // 11 10 01 00
        {GlyphOp::ShiftLeft, {0x6C, 0x03, 0, 0, 0, 0, 0, 0x0C}},       // 01 10 11 00
        {GlyphOp::ShiftRight, {0xC6, 0x30, 0, 0, 0, 0, 0, 0xC0}},      // 11 00 01 10
        {GlyphOp::RotateClockwise, g},
        {GlyphOp::RotateAnticlockwise, g},
        {GlyphOp::ShiftUp, {0xC0, 0, 0, 0, 0, 0, 0x03, 0x1B}},
        {GlyphOp::MirrorUpDown, {0x03, 0, 0, 0, 0, 0, 0xC0, 0x1B}},
        {GlyphOp::Invert, {0xE4, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFC}},
        {GlyphOp::Clear, {}},
    };
    for (const auto& c : cases) {
        Glyph out = g;
        transform_multicolour_glyph(std::span<uint8_t, 8>(out), c.op, table, scratch);
        EXPECT_EQ(out, c.want) << static_cast<int>(c.op);
    }
}
