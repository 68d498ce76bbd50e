// CTM projects (see ctm.h): every version's header and body is first taken apart into one
// Layout (spans of the file's bytes, checked against the file's length and the program's
// limits), from which a single builder makes the project.

#include "formats/ctm.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "model/map_colours.h"

namespace fontarel {

namespace {

constexpr size_t kV4Header = 24;
constexpr size_t kV5Header = 20;
constexpr int kV5TileSystem = 1, kV5Expanded = 2, kV5Multicolour = 4;
constexpr int kV6Multicolour = 1, kV6TileSystem = 2;
constexpr int kTileSystem = 1; // versions 7 on
constexpr uint8_t kMarker = 0xDA, kMarkerBase = 0xB0;
constexpr size_t kMaxNameLength = 32;
enum ScreenMode { kHiresText, kMulticolourText, kExtendedText, kHiresBitmap, kMulticolourBitmap };

// What a file holds, in the file's own bytes. Counts are checked against the program's limits
// and every span against the file's length before anything is built from it.
struct Layout {
    int version = 0;
    ScreenLook look;    // the background and registers their low nybbles
    uint8_t colour = 0; // the character colour of colour method 0, a low nybble
    bool extended = false;
    int method = 0; // 0 global, 1 per tile, 2 per character (version 4: per tile cell)
    bool tile_system = true, expanded = false;
    int characters = 0;
    std::span<const uint8_t> glyphs;
    // With colour per character: the colour of character c is char_colours[c * step + offset].
    std::span<const uint8_t> char_colours;
    size_t char_colour_step = 1, char_colour_offset = 0;
    // A byte a character whose material is its high nybble (versions 4 to 7: the attributes) or
    // its low one (version 8 on: the materials block).
    std::span<const uint8_t> materials;
    int material_shift = 4;
    int tiles = 1, tile_width = 1, tile_height = 1;
    std::span<const uint8_t> cells; // 16-bit character numbers; empty when expanded
    // With colour per tile: the colour of tile t is tile_colours[t * step + offset].
    std::span<const uint8_t> tile_colours;
    size_t tile_colour_step = 1, tile_colour_offset = 0;
    std::span<const uint8_t> cell_colours; // version 4: a byte a tile cell
    // Versions 6 on, with the tile system: a tag byte a tile, and a name a tile (UTF-8).
    std::span<const uint8_t> tags;
    std::vector<std::string> names;
    int cols = 0, rows = 0;
    std::span<const uint8_t> level;
    size_t level_number_bytes = 2;

    int tile_cells() const { return tile_width * tile_height; }
};

unsigned word_at(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | unsigned{bytes[at + 1]} << 8;
}

std::string range_text(int lo, int hi) {
    return "not " + std::to_string(lo) + " to " + std::to_string(hi);
}

std::string flag_check(const char* name, uint8_t value) {
    if (value <= 1)
        return {};
    return std::string(name) + " is " + std::to_string(value) + ", not 0 or 1";
}

std::string hex_byte(unsigned b) {
    constexpr const char* kDigits = "0123456789ABCDEF";
    return std::string("$") + kDigits[b >> 4 & 15] + kDigits[b & 15];
}

// The checks every version shares: the colour method, the tile and level sizes and counts.
std::string check_sizes(const Layout& l) {
    if (l.method > 2)
        return "colour method is " + std::to_string(l.method) +
               ", not 0 (global), 1 (per tile) or " +
               (l.version == 4 ? "2 (per tile cell)" : "2 (per character)");
    if (!l.tile_system && l.method == 1)
        return "colour method is 1 (per tile) with the tile system off";
    if (l.tile_width < 1 || l.tile_width > kMaxTileSide)
        return "tile width is " + std::to_string(l.tile_width) + ", " + range_text(1, kMaxTileSide);
    if (l.tile_height < 1 || l.tile_height > kMaxTileSide)
        return "tile height is " + std::to_string(l.tile_height) + ", " +
               range_text(1, kMaxTileSide);
    if (!l.tile_system && l.tile_cells() != 1)
        return "tile size is " + std::to_string(l.tile_width) + " x " +
               std::to_string(l.tile_height) + " with the tile system off, not 1 x 1";
    if (l.tile_system && l.tiles > kMaxTiles)
        return "tile count is " + std::to_string(l.tiles) + ", more than " +
               std::to_string(kMaxTiles);
    if (!l.tile_system && l.characters > kMaxTiles)
        return "character count is " + std::to_string(l.characters) +
               " with the tile system off, more than the " + std::to_string(kMaxTiles) +
               " tiles they would make";
    if (l.cols < 1 || l.cols > kMaxLevelSide)
        return "level width is " + std::to_string(l.cols) + ", " + range_text(1, kMaxLevelSide);
    if (l.rows < 1 || l.rows > kMaxLevelSide)
        return "level height is " + std::to_string(l.rows) + ", " + range_text(1, kMaxLevelSide);
    if (l.expanded && int64_t{l.tiles} * l.tile_cells() > l.characters)
        return "character count is " + std::to_string(l.characters) + ": the expanded tiles (" +
               std::to_string(l.tiles) + " of " + std::to_string(l.tile_cells()) + " cells) need " +
               std::to_string(int64_t{l.tiles} * l.tile_cells());
    return {};
}

// ---- Versions 4 and 5: a fixed header, then parts whose sizes follow from it.

std::string read_fixed_layout(std::span<const uint8_t> bytes, Layout& l) {
    const size_t header = l.version == 4 ? kV4Header : kV5Header;
    if (bytes.size() < header)
        return "is " + std::to_string(bytes.size()) + " bytes, shorter than the " +
               std::to_string(header) + "-byte header of a version " + std::to_string(l.version) +
               " CTM file";
    l.look.background = bytes[4] & 15;
    l.look.multicolour_1 = bytes[5] & 15;
    l.look.multicolour_2 = bytes[6] & 15;
    l.colour = bytes[7] & 15;
    l.method = bytes[8];
    l.characters = static_cast<int>(word_at(bytes, 10)) + 1;
    if (l.version == 4) {
        if (std::string why = flag_check("multicolour flag", bytes[9]); !why.empty())
            return why;
        if (std::string why = flag_check("expanded flag", bytes[19]); !why.empty())
            return why;
        l.look.set_multicolour(bytes[9] == 1);
        l.tiles = bytes[12] + 1;
        l.tile_width = bytes[13];
        l.tile_height = bytes[14];
        l.cols = static_cast<int>(word_at(bytes, 15));
        l.rows = static_cast<int>(word_at(bytes, 17));
        l.expanded = bytes[19] == 1;
        l.level_number_bytes = 1;
    } else {
        const uint8_t flags = bytes[9];
        l.tile_system = flags & kV5TileSystem;
        l.expanded = l.tile_system && (flags & kV5Expanded);
        l.look.set_multicolour(flags & kV5Multicolour);
        l.tiles = static_cast<int>(word_at(bytes, 12)) + 1;
        l.tile_width = bytes[14];
        l.tile_height = bytes[15];
        l.cols = static_cast<int>(word_at(bytes, 16));
        l.rows = static_cast<int>(word_at(bytes, 18));
    }
    if (std::string why = check_sizes(l); !why.empty())
        return why;

    const size_t chars = static_cast<size_t>(l.characters);
    const size_t cells =
        l.tile_system ? static_cast<size_t>(l.tiles) * static_cast<size_t>(l.tile_cells()) : 0;
    const size_t cell_bytes = l.expanded ? 0 : 2 * cells;
    const size_t cell_colour_bytes = l.version == 4 ? cells : 0;
    const size_t tile_colour_bytes = l.tile_system && l.method == 1 ? size_t(l.tiles) : 0;
    const size_t level_bytes =
        l.level_number_bytes * static_cast<size_t>(l.cols) * static_cast<size_t>(l.rows);
    const size_t expected = header + chars * kGlyphRows + chars + cell_bytes + cell_colour_bytes +
                            tile_colour_bytes + level_bytes;
    if (bytes.size() != expected) {
        const bool short_of = bytes.size() < expected;
        const size_t off = short_of ? expected - bytes.size() : bytes.size() - expected;
        return "is " + std::to_string(bytes.size()) + " bytes, " + std::to_string(off) +
               (short_of ? " short of" : " more than") + " the " + std::to_string(expected) +
               " its counts make (" + std::to_string(l.characters) + " characters, " +
               (l.tile_system
                    ? std::to_string(l.tiles) + " tiles of " + std::to_string(l.tile_width) +
                          " x " + std::to_string(l.tile_height) + (l.expanded ? " expanded" : "")
                    : std::string("no tile system")) +
               ", colour method " + std::to_string(l.method) + ", a level of " +
               std::to_string(l.cols) + " x " + std::to_string(l.rows) + ")";
    }
    size_t at = header;
    const auto take = [&](size_t n) {
        const auto part = bytes.subspan(at, n);
        at += n;
        return part;
    };
    l.glyphs = take(chars * kGlyphRows);
    l.char_colours = take(chars);
    l.materials = l.char_colours;
    l.cells = take(cell_bytes);
    l.cell_colours = take(cell_colour_bytes);
    l.tile_colours = take(tile_colour_bytes);
    l.level = take(level_bytes);
    return {};
}

// ---- Versions 6 and later: a header, then numbered blocks, each sized by its own counts.

class Blocks {
  public:
    Blocks(std::span<const uint8_t> bytes, size_t at) : bytes_(bytes), at_(at) {}

    // The next block's marker, for the block called `name`.
    bool begin(const char* name) {
        name_ = name;
        const unsigned want = kMarkerBase + static_cast<unsigned>(number_);
        if (at_ + 2 > bytes_.size()) {
            why_ = "ends at offset " + std::to_string(bytes_.size()) + " before block " +
                   std::to_string(number_) + " (" + name + ")";
            return false;
        }
        if (bytes_[at_] != kMarker || bytes_[at_ + 1] != want) {
            why_ = "block " + std::to_string(number_) + " (" + name + ") at offset " +
                   std::to_string(at_) + " begins " + hex_byte(bytes_[at_]) + " " +
                   hex_byte(bytes_[at_ + 1]) + ", not " + hex_byte(kMarker) + " " + hex_byte(want);
            return false;
        }
        at_ += 2;
        ++number_;
        return true;
    }
    // The next n bytes of the block begun, for `what`.
    bool take(size_t n, const char* what, std::span<const uint8_t>& out) {
        if (bytes_.size() - at_ < n) {
            why_ = "block " + std::to_string(number_ - 1) + " (" + name_ + ") needs " +
                   std::to_string(n) + " bytes of " + what + " at offset " + std::to_string(at_) +
                   ", but the file ends " + std::to_string(bytes_.size() - at_) + " bytes on";
            return false;
        }
        out = bytes_.subspan(at_, n);
        at_ += n;
        return true;
    }
    bool word(const char* what, unsigned& value) {
        std::span<const uint8_t> two;
        if (!take(2, what, two))
            return false;
        value = word_at(two, 0);
        return true;
    }
    // `count` zero-ended names of at most kMaxNameLength characters, into `out` as UTF-8: a
    // byte is taken as the character of that number (Latin-1), a control character becomes '?'.
    bool names(int count, std::vector<std::string>& out) {
        for (int t = 0; t < count; ++t) {
            const size_t left = bytes_.size() - at_;
            const auto* start = bytes_.data() + at_;
            const auto* end = std::find(start, start + std::min(left, kMaxNameLength + 1), 0);
            if (end == start + std::min(left, kMaxNameLength + 1)) {
                why_ =
                    "tile " + std::to_string(t) + "'s name at offset " + std::to_string(at_) +
                    (left <= kMaxNameLength
                         ? " runs to the end of the file without its end"
                         : " has no end within " + std::to_string(kMaxNameLength) + " characters");
                return false;
            }
            std::string& name = out.emplace_back();
            for (const auto* c = start; c != end; ++c) {
                if (*c < 0x20 || (*c >= 0x7F && *c < 0xA0))
                    name += '?';
                else if (*c < 0x80)
                    name += static_cast<char>(*c);
                else
                    name +=
                        {static_cast<char>(0xC0 | *c >> 6), static_cast<char>(0x80 | (*c & 63))};
            }
            at_ += static_cast<size_t>(end - start) + 1;
        }
        return true;
    }
    // Nothing may follow the last block.
    bool end() {
        if (at_ == bytes_.size())
            return true;
        why_ = "is " + std::to_string(bytes_.size()) + " bytes, " +
               std::to_string(bytes_.size() - at_) + " more than its blocks make (the last, " +
               name_ + ", ends at offset " + std::to_string(at_) + ")";
        return false;
    }
    std::string why() const { return why_; }

  private:
    std::span<const uint8_t> bytes_;
    size_t at_;
    int number_ = 0;
    const char* name_ = "";
    std::string why_;
};

std::string read_block_layout(std::span<const uint8_t> bytes, Layout& l) {
    const int v = l.version;
    size_t header = v == 6 ? 10 : v == 7 ? 12 : v == 9 ? 19 : 14; // 8 and 82: 14
    // The prerelease layout of version 8 has one colour base more: its first block one byte on.
    const bool prerelease = v == 8 && bytes.size() > 16 && bytes[15] == kMarker &&
                            bytes[16] == kMarkerBase && bytes[14] != kMarker;
    header += prerelease;
    if (bytes.size() < header)
        return "is " + std::to_string(bytes.size()) + " bytes, shorter than the " +
               std::to_string(header) + "-byte header of a version " + std::to_string(v) +
               " CTM file";
    int mode = kHiresText;
    int flags = 0;
    // The background and the two multicolour registers, in three bytes from `at`.
    const auto registers = [&](size_t at) {
        l.look.background = bytes[at];
        l.look.multicolour_1 = bytes[at + 1];
        l.look.multicolour_2 = bytes[at + 2];
    };
    if (v == 6) {
        registers(4);
        l.colour = bytes[7];
        l.method = bytes[8];
        flags = bytes[9];
        mode = flags & kV6Multicolour ? kMulticolourText : kHiresText;
        l.tile_system = flags & kV6TileSystem;
    } else {
        if (v == 7) {
            registers(4);
            l.look.background_3 = bytes[7];
            l.colour = bytes[8];
            l.method = bytes[9];
            mode = bytes[10];
            flags = bytes[11];
        } else {
            mode = bytes[4];
            l.method = bytes[5];
            flags = bytes[6];
            const size_t colours = v == 9 ? 12 : 7; // background, multicolour 1 and 2, ...
            registers(colours);
            l.look.background_3 = bytes[colours + 3];
            // ... background 4, then the colour bases; the text modes' character colour is the
            // fourth base in the prerelease layout, else the first.
            l.colour = bytes[colours + (prerelease ? 7 : 4)];
        }
        l.tile_system = flags & kTileSystem;
    }
    l.look.background &= 15;
    l.look.multicolour_1 &= 15;
    l.look.multicolour_2 &= 15;
    // The extended background colour mode's registers $d022-$d024: the two multicolour ones
    // and background 4.
    l.look.background_1 = l.look.multicolour_1;
    l.look.background_2 = l.look.multicolour_2;
    l.look.background_3 &= 15;
    l.colour &= 15;
    if (mode == kHiresBitmap || mode == kMulticolourBitmap)
        return "is a bitmap-mode CTM project: only text modes are read";
    if (mode > kMulticolourBitmap)
        return "screen mode is " + std::to_string(mode) +
               ", not 0 (hi-res text), 1 (multicolour text) or 2 (extended background text)";
    l.look.set_multicolour(mode == kMulticolourText);
    l.look.set_extended(mode == kExtendedText);
    // Colour bytes a character or tile from version 8 on: one in the text modes, four in the
    // prerelease layout, whose fourth is the text modes' colour.
    const size_t k = prerelease ? 4 : 1;
    const size_t colour_at = k - 1;

    Blocks b(bytes, header);
    unsigned n = 0;
    std::span<const uint8_t> part;
    if (!b.begin("charset") || !b.word("the character count", n))
        return b.why();
    l.characters = static_cast<int>(n) + 1;
    const size_t chars = static_cast<size_t>(l.characters);
    if (!b.take(chars * kGlyphRows, "glyphs", l.glyphs))
        return b.why();
    if (!b.begin(v >= 8 ? "materials" : "character attributes") ||
        !b.take(chars, v >= 8 ? "materials" : "attributes", part))
        return b.why();
    l.char_colours = part;
    l.materials = part;
    l.material_shift = v >= 8 ? 0 : 4;
    if (v >= 8 && l.method == 2) {
        if (!b.begin("character colours") || !b.take(chars * k, "colours", l.char_colours))
            return b.why();
        l.char_colour_step = k;
        l.char_colour_offset = colour_at;
    }
    if (l.tile_system) {
        std::span<const uint8_t> size;
        if (!b.begin("tiles") || !b.word("the tile count", n) || !b.take(2, "tile size", size))
            return b.why();
        l.tiles = static_cast<int>(n) + 1;
        l.tile_width = size[0];
        l.tile_height = size[1];
        // The sizes are checked before they size the cells that follow.
        l.cols = l.rows = 1;
        if (std::string why = check_sizes(l); !why.empty())
            return why;
        const size_t tiles = static_cast<size_t>(l.tiles);
        if (!b.take(2 * tiles * static_cast<size_t>(l.tile_cells()), "tile cells", l.cells))
            return b.why();
        if (l.method == 1) {
            const size_t step = v >= 8 ? k : 1;
            if (!b.begin("tile colours") || !b.take(tiles * step, "colours", l.tile_colours))
                return b.why();
            l.tile_colour_step = step;
            l.tile_colour_offset = v >= 8 ? colour_at : 0;
        }
        if (!b.begin("tile tags") || !b.take(tiles, "tags", l.tags))
            return b.why();
        if (!b.begin("tile names") || !b.names(l.tiles, l.names))
            return b.why();
    }
    unsigned cols = 0, rows = 0;
    if (!b.begin("map") || !b.word("the map width", cols) || !b.word("the map height", rows))
        return b.why();
    l.cols = static_cast<int>(cols);
    l.rows = static_cast<int>(rows);
    if (std::string why = check_sizes(l); !why.empty())
        return why;
    if (!b.take(2 * size_t{cols} * size_t{rows}, "map cells", l.level) || !b.end())
        return b.why();
    return {};
}

// ---- The project, from any version's layout.

// The file's number at cell i of the level (1 or 2 bytes, little-endian).
unsigned level_number(const Layout& l, size_t i) {
    return l.level_number_bytes == 1 ? l.level[i] : word_at(l.level, 2 * i);
}

// Eight 16-bit numbers in one value of the compiler's vector extension (GCC and Clang), which
// becomes one vector register where the machine has them. The maxima are kept signed, each number
// less 32768 (its top bit flipped), as the signed maximum is the one such registers have.
using Lanes = uint16_t __attribute__((vector_size(16)));
using SignedLanes = int16_t __attribute__((vector_size(16)));

// A whole block of 16-bit little-endian numbers, rows `stride` bytes apart in the file, copied
// into `block`; returns the largest. Most of a large level takes this way, so the copy and the
// maximum share one pass over the bytes, eight numbers at a time.
uint16_t copy_whole_block(const uint8_t* from, size_t stride, Level::Block& block) {
    constexpr size_t kSide = Level::kBlockSide, kLaneBytes = sizeof(Lanes);
    static_assert(kSide * 2 == 4 * kLaneBytes, "a row is four lane values");
    constexpr Lanes kTop = {0x8000, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000};
    // Four maxima, one for each quarter of a row, held in registers; -32768 is number 0.
    SignedLanes m0 = std::bit_cast<SignedLanes>(kTop), m1 = m0, m2 = m0, m3 = m0;
    uint8_t* to = reinterpret_cast<uint8_t*>(block.data());
    const auto step = [&](SignedLanes& most, size_t quarter) {
        Lanes n;
        std::memcpy(&n, from + kLaneBytes * quarter, kLaneBytes);
        std::memcpy(to + kLaneBytes * quarter, &n, kLaneBytes);
        const auto flipped = std::bit_cast<SignedLanes>(n ^ kTop);
        most = most > flipped ? most : flipped;
    };
    for (size_t r = 0; r < kSide; ++r, from += stride, to += 2 * kSide) {
        step(m0, 0);
        step(m1, 1);
        step(m2, 2);
        step(m3, 3);
    }
    m0 = m0 > m1 ? m0 : m1;
    m2 = m2 > m3 ? m2 : m3;
    const Lanes all = std::bit_cast<Lanes>(m0 > m2 ? m0 : m2) ^ kTop;
    uint16_t largest = 0;
    for (size_t i = 0; i < 8; ++i)
        largest = std::max<uint16_t>(largest, all[i]);
    return largest;
}

// The largest of `codes` into `most`, and the number of them past the 256 glyphs kept added to
// `beyond`, eight codes at a time.
void tally_codes(std::span<const uint16_t> codes, unsigned& most, int& beyond) {
    constexpr size_t kLanes = sizeof(Lanes) / sizeof(uint16_t);
    constexpr Lanes kTop = {0x8000, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000};
    constexpr SignedLanes kLastKept = {255 - 0x8000, 255 - 0x8000, 255 - 0x8000, 255 - 0x8000,
                                       255 - 0x8000, 255 - 0x8000, 255 - 0x8000, 255 - 0x8000};
    // Signed lanes as in copy_whole_block: each code less 32768; a comparison gives -1 where true.
    // The counts of a lane are added up every 4,096 steps, before they could overflow.
    constexpr size_t kChunk = 4096 * kLanes;
    SignedLanes largest = std::bit_cast<SignedLanes>(kTop);
    size_t i = 0;
    while (i + kLanes <= codes.size()) {
        SignedLanes past = {};
        for (const size_t end = std::min(codes.size(), i + kChunk); i + kLanes <= end;
             i += kLanes) {
            Lanes n;
            std::memcpy(&n, codes.data() + i, sizeof n);
            const auto flipped = std::bit_cast<SignedLanes>(n ^ kTop);
            largest = largest > flipped ? largest : flipped;
            past -= flipped > kLastKept;
        }
        for (size_t k = 0; k < kLanes; ++k)
            beyond += past[k];
    }
    const Lanes top = std::bit_cast<Lanes>(largest) ^ kTop;
    for (size_t k = 0; k < kLanes; ++k)
        most = std::max<unsigned>(most, top[k]);
    for (; i < codes.size(); ++i) {
        most = std::max<unsigned>(most, codes[i]);
        beyond += codes[i] >= kGlyphCount;
    }
}

// Copies the rows [y, y + rows) of columns [x, x + cols) into `block` (cells past them 0) and
// returns the largest number copied.
unsigned fill_block(const Layout& l, int x, int y, int cols, int rows, Level::Block& block) {
    constexpr int kSide = Level::kBlockSide;
    const size_t width = static_cast<size_t>(l.cols);
    const size_t first = static_cast<size_t>(y) * width + static_cast<size_t>(x);
    if (cols == kSide && rows == kSide && l.level_number_bytes == 2 &&
        std::endian::native == std::endian::little)
        return copy_whole_block(l.level.data() + 2 * first, 2 * width, block);
    unsigned most = 0;
    block.fill(0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const unsigned n =
                level_number(l, first + static_cast<size_t>(r) * width + static_cast<size_t>(c));
            block[static_cast<size_t>(kSide * r + c)] = static_cast<uint16_t>(n);
            most = std::max(most, n);
        }
    return most;
}

// The level, a block of the model's at a time straight from the file's bytes; every number is
// checked below `limit`. The blocks are made in one allocation, each piece sharing it: opening a
// large level then costs one allocation and one release, not one a block, and a block's first
// edit copies it as for any shared piece. The allocation lives while any of its blocks does (at
// most the level's size).
std::string build_level(const Layout& l, int limit, Level& level) {
    constexpr int kSide = Level::kBlockSide;
    const int block_cols = (l.cols + kSide - 1) / kSide, block_rows = (l.rows + kSide - 1) / kSide;
    const size_t count = static_cast<size_t>(block_cols) * static_cast<size_t>(block_rows);
    const auto all = std::make_shared_for_overwrite<Level::Block[]>(count);
    std::vector<Level::Piece> pieces;
    pieces.reserve(count);
    for (int y = 0; y < l.rows; y += kSide)
        for (int x = 0; x < l.cols; x += kSide) {
            Level::Block& block = all[pieces.size()];
            const int cols = std::min(kSide, l.cols - x), rows = std::min(kSide, l.rows - y);
            if (fill_block(l, x, y, cols, rows, block) >= static_cast<unsigned>(limit)) {
                // The first cell in the file's order that is past the set, for the message.
                for (size_t n = 0;; ++n)
                    if (const unsigned v = level_number(l, n); v >= static_cast<unsigned>(limit))
                        return "level cell (" + std::to_string(n % static_cast<size_t>(l.cols)) +
                               ", " + std::to_string(n / static_cast<size_t>(l.cols)) + ") names " +
                               (l.tile_system ? "tile " : "character ") + std::to_string(v) +
                               ", past the " + std::to_string(limit) +
                               (l.tile_system ? " tiles" : " characters");
            }
            pieces.emplace_back(all, &block); // blocks in block_index order: row by row
        }
    level = Level(l.cols, l.rows, std::move(pieces));
    return {};
}

std::string build(const Layout& l, Project& p, std::vector<std::string>& remarks) {
    const size_t chars = static_cast<size_t>(l.characters);
    const size_t kept = std::min<size_t>(chars, kGlyphCount);
    std::copy_n(l.glyphs.begin(), kept * kGlyphRows, p.charset.bytes.begin());
    for (size_t c = 0; c < kept && c < l.materials.size(); ++c)
        p.charset.materials[c] = static_cast<uint8_t>(l.materials[c] >> l.material_shift & 15);
    set_map_machine(p.map, MapMachine::C64);
    p.map.look = l.look;
    p.map.look.machine = MapMachine::C64;

    // Tile cells first: a character past the file's is refused before anything is built on it.
    // Without the tile system every character is a tile of one cell.
    const int tiles = l.tile_system ? l.tiles : l.characters;
    const int cells_a_tile = l.tile_cells();
    int beyond_kept = 0; // cells of characters the charset does not keep
    // The colour of each character, when the method takes it from there.
    const bool per_character = l.method == 2 && l.version != 4;
    std::vector<uint8_t> character_colours(per_character ? chars : 0);
    for (size_t c = 0; c < character_colours.size(); ++c)
        character_colours[c] = l.char_colours[c * l.char_colour_step + l.char_colour_offset] & 15;
    // Every tile cell's code and colour in flat arrays, tile after tile, each in one simple pass
    // (most of a large set's time would otherwise go to the loops of each small tile); a code is
    // at most 65,535, the largest character number.
    const size_t n = static_cast<size_t>(cells_a_tile), total = static_cast<size_t>(tiles) * n;
    std::vector<uint16_t> codes(total);
    if (!l.tile_system || l.expanded) // tile t is character t, or its cells the next characters
        for (size_t i = 0; i < total; ++i)
            codes[i] = static_cast<uint16_t>(i);
    else if (std::endian::native == std::endian::little)
        std::memcpy(codes.data(), l.cells.data(), 2 * total);
    else
        for (size_t i = 0; i < total; ++i)
            codes[i] = static_cast<uint16_t>(word_at(l.cells, 2 * i));
    unsigned most = 0;
    tally_codes(codes, most, beyond_kept);
    if (most >= chars) {
        // The first cell in the file's order that names a character past the file's.
        const size_t i = static_cast<size_t>(
            std::find_if(codes.begin(), codes.end(), [&](uint16_t c) { return c >= chars; }) -
            codes.begin());
        const size_t cell = i % n;
        return "tile " + std::to_string(i / n) + ", cell (" +
               std::to_string(cell % static_cast<size_t>(l.tile_width)) + ", " +
               std::to_string(cell / static_cast<size_t>(l.tile_width)) + ") names character " +
               std::to_string(codes[i]) + ", past the " + std::to_string(chars) + " characters";
    }
    std::vector<uint8_t> colours(total);
    if (per_character)
        for (size_t i = 0; i < total; ++i)
            colours[i] = character_colours[codes[i]];
    else if (l.method == 2)
        for (size_t i = 0; i < total; ++i)
            colours[i] = l.cell_colours[i] & 15;
    else if (l.method == 1)
        for (size_t t = 0; t < static_cast<size_t>(tiles); ++t)
            std::fill_n(colours.begin() + static_cast<std::ptrdiff_t>(t * n), n,
                        l.tile_colours[t * l.tile_colour_step + l.tile_colour_offset] & 15);
    else
        std::fill(colours.begin(), colours.end(), l.colour & 15);
    // One allocation for every tile, each piece sharing it, as the level's blocks do. A Tile
    // starts blank, the cells outside the tile size included.
    const auto all = std::make_shared<Tile[]>(static_cast<size_t>(tiles));
    std::vector<TileSet::Piece> pieces;
    pieces.reserve(static_cast<size_t>(tiles));
    for (size_t t = 0, i = 0; t < static_cast<size_t>(tiles); ++t) {
        Tile& made = all[t];
        for (int y = 0; y < l.tile_height; ++y)
            for (int x = 0; x < l.tile_width; ++x, ++i)
                made.at(x, y) = {static_cast<uint8_t>(codes[i] < kGlyphCount ? codes[i] : 0),
                                 colours[i]};
        if (t < l.tags.size())
            made.tag = l.tags[t];
        if (t < l.names.size())
            made.name = l.names[t];
        pieces.emplace_back(all, &made);
    }
    p.tiles = TileSet(l.tile_width, l.tile_height, std::move(pieces));
    if (std::string why = build_level(l, tiles, p.level); !why.empty())
        return why;

    if (chars > kGlyphCount) {
        std::string remark = "Kept the first 256 of " + std::to_string(chars) + " characters: ";
        if (beyond_kept == 0)
            remark += "no tile cell uses the others";
        else
            remark += std::to_string(beyond_kept) +
                      (beyond_kept == 1 ? " tile cell of characters 256 and above shows"
                                        : " tile cells of characters 256 and above show") +
                      " character 0";
        remarks.push_back(std::move(remark));
    }
    return {};
}

} // namespace

bool is_ctm(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 'C' && bytes[1] == 'T' && bytes[2] == 'M';
}

std::string read_ctm(std::span<const uint8_t> bytes, Project& out,
                     std::vector<std::string>& remarks) {
    if (!is_ctm(bytes))
        return "is no CTM file: it does not begin with \"CTM\" and a version";
    Layout l;
    l.version = bytes[3];
    std::string why;
    if (l.version == 4 || l.version == 5) {
        why = read_fixed_layout(bytes, l);
    } else if ((l.version >= 6 && l.version <= 9) || l.version == 82) {
        why = read_block_layout(bytes, l); // 82 (8.2) has the layout of 8
    } else {
        return "is a CTM file of version " + std::to_string(l.version) +
               ": only versions 4 to 9 and 82 (8.2) are read";
    }
    if (!why.empty())
        return why;
    Project p;
    std::vector<std::string> said;
    if (why = build(l, p, said); !why.empty())
        return why;
    out = std::move(p);
    remarks.insert(remarks.end(), said.begin(), said.end());
    return {};
}

void take_ctm_registers(CharMap& map, const CharMap& ctm) {
    if (map.look.machine != MapMachine::C64)
        convert_map_machine(map, MapMachine::C64);
    map.look = ctm.look;
    map.look.machine = MapMachine::C64;
}

} // namespace fontarel
