// CTM projects (see ctm.h).

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

// What the header says, checked against the program's limits.
struct Header {
    int version = 0;
    uint8_t background = 0, multicolour_1 = 0, multicolour_2 = 0, colour = 0; // low nybbles
    int method = 0; // 0 global, 1 per tile, 2 per character
    bool expanded = false, multicolour = false;
    int characters = 0, tiles = 0, tile_width = 0, tile_height = 0, cols = 0, rows = 0;

    size_t header_bytes() const { return version == 4 ? kV4Header : kV5Header; }
    size_t level_number_bytes() const { return version == 4 ? 1 : 2; }
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

// Reads and checks the header; an empty text when it is sound.
std::string read_header(std::span<const uint8_t> bytes, Header& h) {
    if (!is_ctm(bytes))
        return "is no CTM file: it does not begin with \"CTM\" and a version";
    h.version = bytes[3];
    if (h.version != 4 && h.version != 5)
        return "is a CTM file of version " + std::to_string(h.version) +
               ": only versions 4 and 5 are read";
    if (bytes.size() < h.header_bytes())
        return "is " + std::to_string(bytes.size()) + " bytes, shorter than the " +
               std::to_string(h.header_bytes()) + "-byte header of a version " +
               std::to_string(h.version) + " CTM file";
    h.background = bytes[4] & 15;
    h.multicolour_1 = bytes[5] & 15;
    h.multicolour_2 = bytes[6] & 15;
    h.colour = bytes[7] & 15;
    h.method = bytes[8];
    h.characters = static_cast<int>(word_at(bytes, 10)) + 1;
    bool tile_system = true;
    if (h.version == 5) {
        const uint8_t flags = bytes[9];
        tile_system = flags & kV5TileSystem;
        h.expanded = flags & kV5Expanded;
        h.multicolour = flags & kV5Multicolour;
        h.tiles = static_cast<int>(word_at(bytes, 12)) + 1;
        h.tile_width = bytes[14];
        h.tile_height = bytes[15];
    } else {
        if (std::string why = flag_check("multicolour flag", bytes[9]); !why.empty())
            return why;
        if (std::string why = flag_check("expanded flag", bytes[15]); !why.empty())
            return why;
        h.multicolour = bytes[9] == 1;
        h.expanded = bytes[15] == 1;
        h.tiles = bytes[12] + 1;
        h.tile_width = bytes[13];
        h.tile_height = bytes[14];
    }
    h.cols = static_cast<int>(word_at(bytes, 16));
    h.rows = static_cast<int>(word_at(bytes, 18));

    if (h.method > 2)
        return "colour method is " + std::to_string(h.method) +
               ", not 0 (global), 1 (per tile) or 2 (per character)";
    if (h.tile_width < 1 || h.tile_width > kMaxTileSide)
        return "tile width is " + std::to_string(h.tile_width) + ", " + range_text(1, kMaxTileSide);
    if (h.tile_height < 1 || h.tile_height > kMaxTileSide)
        return "tile height is " + std::to_string(h.tile_height) + ", " +
               range_text(1, kMaxTileSide);
    if (!tile_system && h.tile_cells() != 1)
        return "tile size is " + std::to_string(h.tile_width) + " x " +
               std::to_string(h.tile_height) + " with the tile system off, not 1 x 1";
    if (h.tiles > kMaxTiles)
        return "tile count is " + std::to_string(h.tiles) + ", more than " +
               std::to_string(kMaxTiles);
    if (h.cols < 1 || h.cols > kMaxLevelSide)
        return "level width is " + std::to_string(h.cols) + ", " + range_text(1, kMaxLevelSide);
    if (h.rows < 1 || h.rows > kMaxLevelSide)
        return "level height is " + std::to_string(h.rows) + ", " + range_text(1, kMaxLevelSide);
    if (h.expanded && static_cast<int64_t>(h.tiles) * h.tile_cells() > h.characters)
        return "character count is " + std::to_string(h.characters) + ": the expanded tiles (" +
               std::to_string(h.tiles) + " of " + std::to_string(h.tile_cells()) + " cells) need " +
               std::to_string(int64_t{h.tiles} * h.tile_cells());
    return {};
}

// The file's length as the header's counts make it.
size_t expected_size(const Header& h) {
    const size_t chars = static_cast<size_t>(h.characters);
    const size_t tiles = static_cast<size_t>(h.tiles);
    size_t n = h.header_bytes() + chars * kGlyphRows + chars;
    if (!h.expanded)
        n += 2 * tiles * static_cast<size_t>(h.tile_cells());
    if (h.method == 1)
        n += tiles;
    return n + h.level_number_bytes() * static_cast<size_t>(h.cols) * static_cast<size_t>(h.rows);
}

std::string counts_text(const Header& h) {
    return std::to_string(h.characters) + " characters, " + std::to_string(h.tiles) + " tiles of " +
           std::to_string(h.tile_width) + " x " + std::to_string(h.tile_height) +
           (h.expanded ? " expanded" : "") + ", colour method " + std::to_string(h.method) +
           ", a level of " + std::to_string(h.cols) + " x " + std::to_string(h.rows);
}

} // namespace

bool is_ctm(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 'C' && bytes[1] == 'T' && bytes[2] == 'M';
}

std::string read_ctm(std::span<const uint8_t> bytes, Project& out,
                     std::vector<std::string>& remarks) {
    Header h;
    if (std::string why = read_header(bytes, h); !why.empty())
        return why;
    const size_t expected = expected_size(h);
    if (bytes.size() != expected) {
        const bool short_of = bytes.size() < expected;
        const size_t off = short_of ? expected - bytes.size() : bytes.size() - expected;
        return "is " + std::to_string(bytes.size()) + " bytes, " + std::to_string(off) +
               (short_of ? " short of" : " more than") + " the " + std::to_string(expected) +
               " its counts make (" + counts_text(h) + ")";
    }

    // The body's parts, in file order.
    const size_t chars = static_cast<size_t>(h.characters);
    const size_t glyphs_at = h.header_bytes();
    const size_t attrs_at = glyphs_at + chars * kGlyphRows;
    const size_t cells_at = attrs_at + chars;
    const size_t cell_bytes =
        h.expanded ? 0 : 2 * static_cast<size_t>(h.tiles) * static_cast<size_t>(h.tile_cells());
    const size_t tile_colours_at = cells_at + cell_bytes;
    const size_t level_at = tile_colours_at + (h.method == 1 ? static_cast<size_t>(h.tiles) : 0);

    Project p;
    const size_t kept = std::min<size_t>(chars, kGlyphCount);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(glyphs_at), kept * kGlyphRows,
                p.charset.bytes.begin());
    set_map_machine(p.map, MapMachine::C64);
    p.map.background = h.background;
    p.map.multicolour = h.multicolour;
    p.map.multicolour_1 = h.multicolour_1;
    p.map.multicolour_2 = h.multicolour_2;

    // Tile cells first: a character past the file's is refused before anything is built on it.
    p.tiles = TileSet(h.tile_width, h.tile_height, 1);
    int beyond_kept = 0; // cells of characters the charset does not keep
    for (int t = 0; t < h.tiles; ++t) {
        const size_t tile = static_cast<size_t>(t);
        Tile made;
        for (int i = 0; i < h.tile_cells(); ++i) {
            const size_t cell = tile * static_cast<size_t>(h.tile_cells()) + static_cast<size_t>(i);
            const unsigned code =
                h.expanded ? static_cast<unsigned>(cell) : word_at(bytes, cells_at + 2 * cell);
            const int x = i % h.tile_width, y = i / h.tile_width;
            if (code >= chars)
                return "tile " + std::to_string(t) + ", cell (" + std::to_string(x) + ", " +
                       std::to_string(y) + ") names character " + std::to_string(code) +
                       ", past the " + std::to_string(chars) + " characters";
            uint8_t attr = h.colour;
            if (h.method == 1)
                attr = bytes[tile_colours_at + tile] & 15;
            else if (h.method == 2)
                attr = bytes[attrs_at + code] & 15;
            beyond_kept += code >= kGlyphCount;
            made.at(x, y) = {static_cast<uint8_t>(code < kGlyphCount ? code : 0), attr};
        }
        if (t == 0)
            p.tiles.set_piece(0, std::make_shared<const Tile>(made));
        else
            p.tiles.append(made);
    }

    // The level in one pass, row by row as the file has it, each row checked as a whole and
    // written a block at a time.
    p.level = Level(h.cols, h.rows);
    const size_t step = h.level_number_bytes();
    const uint8_t* at = bytes.data() + level_at;
    std::vector<uint16_t> row(static_cast<size_t>(h.cols));
    for (int y = 0; y < h.rows; ++y) {
        if (step == 2 && std::endian::native == std::endian::little) {
            std::memcpy(row.data(), at, 2 * row.size()); // the file's words are the row's
        } else {
            for (size_t x = 0; x < row.size(); ++x)
                row[x] = step == 1 ? at[x] : static_cast<uint16_t>(at[2 * x] | at[2 * x + 1] << 8);
        }
        at += step * row.size();
        // Four running maxima, so that no comparison waits for the one before it.
        unsigned m0 = 0, m1 = 0, m2 = 0, m3 = 0;
        const uint16_t* r = row.data();
        size_t x = 0;
        for (; x + 4 <= row.size(); x += 4) {
            m0 = std::max<unsigned>(m0, r[x]);
            m1 = std::max<unsigned>(m1, r[x + 1]);
            m2 = std::max<unsigned>(m2, r[x + 2]);
            m3 = std::max<unsigned>(m3, r[x + 3]);
        }
        for (; x < row.size(); ++x)
            m0 = std::max<unsigned>(m0, r[x]);
        if (std::max({m0, m1, m2, m3}) >= static_cast<unsigned>(h.tiles)) {
            const auto x = std::find_if(row.begin(), row.end(), [&](uint16_t t) { return t >= h.tiles; }) - row.begin();
            return "level cell (" + std::to_string(x) + ", " + std::to_string(y) +
                   ") names tile " + std::to_string(row[static_cast<size_t>(x)]) + ", past the " +
                   std::to_string(h.tiles) + " tiles";
        }
        p.level.set_row(0, y, row);
    }

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
    out = std::move(p);
    return {};
}

} // namespace fontarel
