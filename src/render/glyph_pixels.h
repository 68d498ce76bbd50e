#pragma once
// Row bytes expanded to ready-made pixel runs, so that views render glyphs by copying words instead
// of plotting pixels one call at a time.

#include <array>
#include <cstdint>

namespace fontarel {

// How the glyph views colour a glyph's rows: two colours, of clear and of set bits (colours[0] and
// [1]); or, for a C64 multicolour glyph, the four colours of the bit pairs 00, 01, 10 and 11.
struct GlyphLook {
    std::array<int, 4> colours{};
    bool multicolour = false;

    static GlyphLook two(int colour0, int colour1) { return {{colour0, colour1, 0, 0}, false}; }
    bool operator==(const GlyphLook&) const = default;
};

// For each of the 256 row bytes, its 8 glyph pixels as 2-pixel-wide blocks: 16 pixel words, left
// pixel first; set bits in colour1, clear bits in colour0. Or, for a C64 multicolour glyph, its 4
// bit pairs as 4-pixel-wide blocks in colours[pair]. The table is rebuilt only when the colours
// change.
class DoubledRowPixels {
  public:
    static constexpr int kPixels = 16;
    static constexpr int kBytes = kPixels * 4;

    void use_colours(int colour0, int colour1);
    void use_multicolours(const std::array<int, 4>& colours);
    void use(const GlyphLook& look) {
        if (look.multicolour)
            use_multicolours(look.colours);
        else
            use_colours(look.colours[0], look.colours[1]);
    }
    const uint32_t* row(uint8_t bits) const { return table_[bits].data(); }

  private:
    // colours_[0] and [1] the two colours, [2] = -1; or the four of a multicolour table.
    std::array<int, 4> colours_{-1, -1, -1, -1};
    std::array<std::array<uint32_t, kPixels>, 256> table_{};
};

} // namespace fontarel
