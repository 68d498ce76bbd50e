#include "model/charset_compact.h"

#include <array>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "model/map_colours.h"

namespace fontarel {

namespace {

// The bits of a code that name its glyph (63, 127 or 255); the bits above them are the cell's
// own (a background register, the Atari's inverse) and are kept as they are.
int glyph_mask(const CharMap& map) {
    return shown_glyph(map.look, 255);
}

// A glyph's bytes and material in one number: glyphs alike have the same.
struct GlyphKey {
    uint64_t bytes;
    uint8_t material;
    bool operator==(const GlyphKey&) const = default;
};
struct GlyphKeyHash {
    size_t operator()(const GlyphKey& k) const {
        return std::hash<uint64_t>{}(k.bytes ^ k.material);
    }
};

GlyphKey key_of(const CharsetStore& store, int g) {
    GlyphKey k{0, store.materials[static_cast<size_t>(g)]};
    std::memcpy(&k.bytes, store.glyph(g).data(), kGlyphRows);
    return k;
}

// The glyphs in place, by what they look like, each the first place given.
using Places = std::unordered_map<GlyphKey, int, GlyphKeyHash>;

void put_glyph(CharsetStore& to, int place, const CharsetStore& from, int g) {
    std::memcpy(to.glyph(place).data(), from.glyph(g).data(), kGlyphRows);
    to.materials[static_cast<size_t>(place)] = from.materials[static_cast<size_t>(g)];
}

// The code of a cell whose glyph `g` moves to `place`, keeping the bits above the mask.
int renumbered(int code, int mask, int place) {
    return (code & ~mask & 255) | place;
}

// Renumbers every cell of the map (all of its capacity) whose glyph has a place in `to` (-1: none).
void renumber_map(CharMap& map, const std::array<int, kGlyphCount>& to, int mask) {
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c) {
            const int code = map.at(c, r) & 255;
            if (to[static_cast<size_t>(code & mask)] >= 0)
                map.at(c, r) = renumbered(code, mask, to[static_cast<size_t>(code & mask)]);
        }
}

// The same for every tile cell, writing only the tiles that change.
void renumber_tiles(TileSet& tiles, const std::array<int, kGlyphCount>& to, int mask) {
    for (int t = 0; t < tiles.count(); ++t)
        for (int y = 0; y < tiles.height(); ++y)
            for (int x = 0; x < tiles.width(); ++x) {
                TileCell cell = tiles.cell(t, x, y);
                const int place = to[static_cast<size_t>(cell.code & mask)];
                if (place < 0)
                    continue;
                const auto code = static_cast<uint8_t>(renumbered(cell.code, mask, place));
                if (code != cell.code) {
                    cell.code = code;
                    tiles.set_cell(t, x, y, cell);
                }
            }
}

} // namespace

std::string compact_report(const CompactCounts& n) {
    return std::to_string(n.in_use) + " glyphs in use: " + std::to_string(n.merged) +
           " duplicates merged, " + std::to_string(n.dropped) + " unused dropped, " +
           std::to_string(n.free) + " free";
}

CompactCounts compact_charset(CharsetStore& store, CharMap& map, TileSet* tiles, int keep_first,
                              int keep_last) {
    const int mask = glyph_mask(map);
    // The glyphs in use, in the order first met.
    std::array<bool, kGlyphCount> used{};
    std::vector<int> order;
    const auto meet = [&](int code) {
        const int g = code & mask;
        if (!used[static_cast<size_t>(g)]) {
            used[static_cast<size_t>(g)] = true;
            order.push_back(g);
        }
    };
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.cols; ++c)
            meet(map.at(c, r));
    for (int t = 0; tiles && t < tiles->count(); ++t)
        for (int y = 0; y < tiles->height(); ++y)
            for (int x = 0; x < tiles->width(); ++x)
                meet(tiles->cell(t, x, y).code);

    CompactCounts n;
    CharsetStore out;
    std::array<int, kGlyphCount> to;
    to.fill(-1);
    Places places;
    const auto kept = [&](int g) { return g >= keep_first && g <= keep_last; };
    for (int g = std::max(keep_first, 0); g <= std::min(keep_last, mask); ++g) {
        put_glyph(out, g, store, g);
        to[static_cast<size_t>(g)] = g;
        places.try_emplace(key_of(store, g), g);
        ++n.in_use;
    }
    int next = 0;
    for (const int g : order) {
        if (to[static_cast<size_t>(g)] >= 0)
            continue; // kept where it is
        if (const auto it = places.find(key_of(store, g)); it != places.end()) {
            to[static_cast<size_t>(g)] = it->second;
            ++n.merged;
            continue;
        }
        while (kept(next))
            ++next;
        // There is room: the glyphs in use number at most mask + 1, the kept ones among them.
        put_glyph(out, next, store, g);
        to[static_cast<size_t>(g)] = next;
        places.emplace(key_of(store, g), next);
        ++next;
        ++n.in_use;
    }
    n.dropped = kGlyphCount - n.in_use - n.merged;
    n.free = kGlyphCount - n.in_use;
    renumber_map(map, to, mask);
    if (tiles)
        renumber_tiles(*tiles, to, mask);
    store = out;
    return n;
}

std::string expand_tiles(CharsetStore& store, CharMap& map, TileSet& tiles) {
    const int mask = glyph_mask(map);
    const int w = tiles.width(), h = tiles.height();
    const int cells = tiles.count() * w * h;
    // The places the tile cells take, then one for each glyph of the map that none of them has.
    Places places;
    for (int t = 0, i = 0; t < tiles.count(); ++t)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x, ++i)
                if (i <= mask)
                    places.try_emplace(key_of(store, tiles.cell(t, x, y).code & mask), i);
    std::vector<int> extra; // glyphs of the map, in the order first met
    std::array<bool, kGlyphCount> met{};
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.cols; ++c) {
            const int g = map.at(c, r) & mask;
            if (!met[static_cast<size_t>(g)] && !places.contains(key_of(store, g)))
                extra.push_back(g);
            met[static_cast<size_t>(g)] = true;
        }
    const int needed = cells + static_cast<int>(extra.size());
    if (needed > mask + 1)
        return "needs " + std::to_string(needed) + " glyphs; " + std::to_string(mask + 1) +
               " fit: compact or delete tiles first";

    CharsetStore out;
    for (int t = 0, i = 0; t < tiles.count(); ++t)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x, ++i) {
                TileCell cell = tiles.cell(t, x, y);
                put_glyph(out, i, store, cell.code & mask);
                const auto code = static_cast<uint8_t>(renumbered(cell.code, mask, i));
                if (code != cell.code) {
                    cell.code = code;
                    tiles.set_cell(t, x, y, cell);
                }
            }
    std::array<int, kGlyphCount> to;
    to.fill(-1);
    for (int g = 0; g <= mask; ++g)
        if (const auto it = places.find(key_of(store, g)); it != places.end())
            to[static_cast<size_t>(g)] = it->second;
    for (size_t k = 0; k < extra.size(); ++k) {
        const int place = cells + static_cast<int>(k);
        put_glyph(out, place, store, extra[k]);
        to[static_cast<size_t>(extra[k])] = place;
    }
    renumber_map(map, to, mask); // the tiles' cells have their places already
    store = out;
    return {};
}

} // namespace fontarel
