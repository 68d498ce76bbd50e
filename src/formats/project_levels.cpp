#include "formats/project_levels.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>

namespace fontarel::project_parts {

namespace {

constexpr std::string_view kTileKeys[] = {"width", "height",     "count", "encoding",
                                          "codes", "attributes", "tags",  "names"};
constexpr std::string_view kLevelKeys[] = {"columns", "rows", "encoding", "tiles"};

// The packed string that is `object`'s member at `where`, unpacked into `out`, which it must fill
// exactly.
void unpack_at(const Json& object, const PackedTexts& packed, const std::string& where,
               std::span<uint8_t> out) {
    text_of(member(object, where.substr(where.find('.') + 1), where), where);
    const auto it = packed.find(where);
    if (it == packed.end()) // cannot happen: the parser notes every string at a packed place
        refuse(where, "is not packed");
    PackedReader reader(it->second.text());
    if (!reader.read(out, out.size()) || !reader.finish(out.size()))
        refuse(where, reader.why());
}

// The tiles' "tags" (0-255) and "names", each a list of one a tile when present.
void read_labels(const Json& tiles, TileSet& set) {
    const bool tags = tiles.contains("tags"), names = tiles.contains("names");
    if (!tags && !names)
        return;
    const size_t count = static_cast<size_t>(set.count());
    const Json* tag_list = tags ? &array_at(tiles, "tags", "tiles.tags", count) : nullptr;
    const Json* name_list = names ? &array_at(tiles, "names", "tiles.names", count) : nullptr;
    for (size_t t = 0; t < count; ++t) {
        Tile tile = set.tile(static_cast<int>(t));
        const std::string at = "[" + std::to_string(t) + "]";
        if (tag_list) {
            const Json& v = (*tag_list)[t];
            if (!v.is_number_integer() || v.get<int64_t>() < 0 || v.get<int64_t>() > 255)
                refuse("tiles.tags" + at, "is not a tag 0-255");
            tile.tag = static_cast<uint8_t>(v.get<int64_t>());
        }
        if (name_list) {
            tile.name = text_of((*name_list)[t], "tiles.names" + at);
            if (!tile_name_fits(tile.name))
                refuse("tiles.names" + at, "is not a name of at most " +
                                               std::to_string(kMaxTileName) +
                                               " characters without control characters");
        }
        set.set_piece(static_cast<int>(t), std::make_shared<const Tile>(std::move(tile)));
    }
}

TileSet read_tiles(const Json& tiles, const PackedTexts& packed) {
    const int w = integer_at(tiles, "width", "tiles.width", 1, kMaxTileSide);
    const int h = integer_at(tiles, "height", "tiles.height", 1, kMaxTileSide);
    const size_t cells = static_cast<size_t>(w * h);
    const auto fill = [&](TileSet& set, int t, std::span<const uint8_t> codes,
                          std::span<const uint8_t> attrs) {
        for (size_t i = 0; i < cells; ++i)
            set.set_cell(t, static_cast<int>(i % w), static_cast<int>(i / w), {codes[i], attrs[i]});
    };
    if (is_packed(tiles, "tiles")) {
        const int count = integer_at(tiles, "count", "tiles.count", 1, kMaxTiles);
        const size_t size = cells * static_cast<size_t>(count);
        std::vector<uint8_t> codes(size), attrs(size);
        unpack_at(tiles, packed, "tiles.codes", codes);
        unpack_at(tiles, packed, "tiles.attributes", attrs);
        TileSet set(w, h, count);
        for (int t = 0; t < count; ++t)
            fill(set, t, std::span(codes).subspan(t * cells, cells),
                 std::span(attrs).subspan(t * cells, cells));
        return set;
    }
    const Json& codes = member(tiles, "codes", "tiles.codes");
    if (!codes.is_array() || codes.empty() || codes.size() > kMaxTiles)
        refuse("tiles.codes", "is not a list of 1-" + std::to_string(kMaxTiles));
    if (tiles.contains("count") &&
        integer_at(tiles, "count", "tiles.count", 1, kMaxTiles) != static_cast<int>(codes.size()))
        refuse("tiles.count", "is not the number of \"tiles.codes\"");
    const Json& attrs = array_at(tiles, "attributes", "tiles.attributes", codes.size());
    TileSet set(w, h, static_cast<int>(codes.size()));
    std::vector<uint8_t> code_bytes(cells), attr_bytes(cells);
    for (size_t t = 0; t < codes.size(); ++t) {
        const std::string at = "[" + std::to_string(t) + "]";
        hex_bytes(codes[t], "tiles.codes" + at, code_bytes);
        hex_bytes(attrs[t], "tiles.attributes" + at, attr_bytes);
        fill(set, static_cast<int>(t), code_bytes, attr_bytes);
    }
    return set;
}

// The tiles' tags and names, each list written when any tile has one.
void put_labels(const TileSet& tiles, Json& j) {
    Json tags = Json::array(), names = Json::array();
    bool any_tag = false, any_name = false;
    for (int t = 0; t < tiles.count(); ++t) {
        const Tile& tile = tiles.tile(t);
        tags.push_back(tile.tag);
        names.push_back(tile.name);
        any_tag = any_tag || tile.tag != 0;
        any_name = any_name || !tile.name.empty();
    }
    if (any_tag)
        j["tags"] = std::move(tags);
    if (any_name)
        j["names"] = std::move(names);
}

// Puts one row of tile numbers into the level once each is checked against the tile count.
void put_row(Level& level, int row, std::span<const uint16_t> tiles, int count,
             const std::string& where) {
    const auto most = std::ranges::max_element(tiles);
    if (*most >= count)
        refuse(where, "has tile " + std::to_string(*most) + " in row " + std::to_string(row) +
                          ", past the " + std::to_string(count) + " tiles");
    level.set_row(0, row, tiles);
}

// Fills rows y0 to y0 + 31 (or to the last) of the level from their little-endian tile numbers, a
// block at a time; a block of tile 0 alone stays the blank one that levels share.
void fill_blocks(Level& level, int y0, std::span<const uint8_t> band, int tile_count) {
    constexpr int kSide = Level::kBlockSide;
    const size_t row_bytes = 2 * static_cast<size_t>(level.cols());
    const int h = std::min(kSide, level.rows() - y0);
    Level::Block block;
    for (int x0 = 0; x0 < level.cols(); x0 += kSide) {
        const int w = std::min(kSide, level.cols() - x0);
        if (w < kSide || h < kSide)
            block.fill(0); // past the level's edge
        for (int y = 0; y < h; ++y) {
            const uint8_t* b = band.data() + row_bytes * y + 2 * x0;
            uint16_t* to = block.data() + kSide * y;
            if constexpr (std::endian::native == std::endian::little)
                std::memcpy(to, b, 2 * static_cast<size_t>(w));
            else
                for (int x = 0; x < w; ++x)
                    to[x] = static_cast<uint16_t>(b[2 * x] | b[2 * x + 1] << 8);
        }
        // Over the whole block (zero past the edge), in a loop of fixed length that the compiler
        // turns into vector instructions.
        uint16_t most = 0;
        for (const uint16_t t : block)
            most = std::max(most, t);
        if (most >= tile_count) {
            const auto at = std::find_if(block.begin(), block.end(),
                                         [&](uint16_t t) { return t >= tile_count; });
            const int row = y0 + static_cast<int>(at - block.begin()) / kSide;
            refuse("level.tiles", "has tile " + std::to_string(*at) + " in row " +
                                      std::to_string(row) + ", past the " +
                                      std::to_string(tile_count) + " tiles");
        }
        if (most != 0)
            level.set_piece(level.block_index(x0, y0), std::make_shared<const Level::Block>(block));
    }
}

// The packed tile numbers unpacked a band of block rows at a time, straight into the level: no
// buffer of them all is made.
void read_packed_level(const Json& object, const PackedTexts& packed, Level& level,
                       int tile_count) {
    text_of(member(object, "tiles", "level.tiles"), "level.tiles");
    const auto it = packed.find("level.tiles");
    if (it == packed.end()) // cannot happen: the parser notes every string at a packed place
        refuse("level.tiles", "is not packed");
    const size_t row_bytes = 2 * static_cast<size_t>(level.cols());
    const size_t expected = row_bytes * static_cast<size_t>(level.rows());
    std::vector<uint8_t> band(row_bytes * Level::kBlockSide);
    PackedReader reader(it->second.text());
    for (int y0 = 0; y0 < level.rows(); y0 += Level::kBlockSide) {
        const size_t rows = static_cast<size_t>(std::min(Level::kBlockSide, level.rows() - y0));
        if (!reader.read(std::span(band).first(row_bytes * rows), expected))
            refuse("level.tiles", reader.why());
        fill_blocks(level, y0, band, tile_count);
    }
    if (!reader.finish(expected))
        refuse("level.tiles", reader.why());
}

Level read_level(const Json& level, const PackedTexts& packed, int tile_count) {
    const int cols = integer_at(level, "columns", "level.columns", 1, kMaxLevelSide);
    const int rows = integer_at(level, "rows", "level.rows", 1, kMaxLevelSide);
    Level out(cols, rows);
    std::vector<uint16_t> row(static_cast<size_t>(cols));
    if (is_packed(level, "level")) {
        read_packed_level(level, packed, out, tile_count);
        return out;
    }
    const Json& lines = array_at(level, "tiles", "level.tiles", static_cast<size_t>(rows));
    std::vector<uint8_t> line(2 * row.size()); // big-endian, as the hex digits read
    for (int r = 0; r < rows; ++r) {
        const std::string at = "level.tiles[" + std::to_string(r) + "]";
        hex_bytes(lines[static_cast<size_t>(r)], at, line);
        for (size_t c = 0; c < row.size(); ++c)
            row[c] = static_cast<uint16_t>(line[2 * c] << 8 | line[2 * c + 1]);
        put_row(out, r, row, tile_count, at);
    }
    return out;
}

// The level's tile numbers a row at a time, little-endian, read block by block.
std::function<std::span<const uint8_t>()> level_rows(const Level& level) {
    auto row = std::make_shared<std::vector<uint8_t>>(2 * static_cast<size_t>(level.cols()));
    return [&level, row, r = 0]() mutable -> std::span<const uint8_t> {
        if (r == level.rows())
            return {};
        constexpr int kSide = Level::kBlockSide;
        for (int x0 = 0; x0 < level.cols(); x0 += kSide) {
            const uint16_t* src =
                level.piece(level.block_index(x0, r))->data() + kSide * (r % kSide);
            uint8_t* dst = row->data() + 2 * x0;
            for (int i = 0; i < std::min(kSide, level.cols() - x0); ++i) {
                dst[2 * i] = static_cast<uint8_t>(src[i]);
                dst[2 * i + 1] = static_cast<uint8_t>(src[i] >> 8);
            }
        }
        ++r;
        return *row;
    };
}

// A whole buffer handed over in one piece.
std::function<std::span<const uint8_t>()> all_of(std::vector<uint8_t> bytes) {
    auto held = std::make_shared<std::vector<uint8_t>>(std::move(bytes));
    return [held, given = false]() mutable -> std::span<const uint8_t> {
        if (given)
            return {};
        given = true;
        return *held;
    };
}

Json tiles_json(const TileSet& tiles, std::vector<PackedField>& packed) {
    const size_t cells = static_cast<size_t>(tiles.width() * tiles.height());
    const bool pack = static_cast<int64_t>(cells) * tiles.count() > kPackedCells;
    std::vector<uint8_t> codes(cells * (pack ? tiles.count() : 1)), attrs(codes.size());
    Json code_list = Json::array(), attr_list = Json::array();
    for (int t = 0; t < tiles.count(); ++t) {
        const size_t base = pack ? cells * t : 0;
        for (size_t i = 0; i < cells; ++i) {
            const TileCell cell = tiles.cell(t, static_cast<int>(i % tiles.width()),
                                             static_cast<int>(i / tiles.width()));
            codes[base + i] = cell.code;
            attrs[base + i] = cell.attr;
        }
        if (!pack) {
            code_list.push_back(hex_text(codes));
            attr_list.push_back(hex_text(attrs));
        }
    }
    Json j = {{"width", tiles.width()}, {"height", tiles.height()}};
    if (!pack) {
        j["codes"] = std::move(code_list);
        j["attributes"] = std::move(attr_list);
        return j;
    }
    j["count"] = tiles.count();
    j["encoding"] = kPacked;
    j["codes"] = "";
    j["attributes"] = "";
    packed.push_back({"/tiles/codes", codes.size(), all_of(std::move(codes))});
    packed.push_back({"/tiles/attributes", attrs.size(), all_of(std::move(attrs))});
    return j;
}

Json level_json(const Level& level, std::vector<PackedField>& packed) {
    Json j = {{"columns", level.cols()}, {"rows", level.rows()}};
    if (int64_t{level.cols()} * level.rows() > kPackedCells) {
        j["encoding"] = kPacked;
        j["tiles"] = "";
        packed.push_back({"/level/tiles", 2 * static_cast<size_t>(level.cols()) * level.rows(),
                          level_rows(level)});
        return j;
    }
    Json lines = Json::array();
    std::vector<uint8_t> line(2 * static_cast<size_t>(level.cols()));
    for (int r = 0; r < level.rows(); ++r) {
        for (int x = 0; x < level.cols(); ++x) {
            line[2 * static_cast<size_t>(x)] = static_cast<uint8_t>(level.at(x, r) >> 8);
            line[2 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(level.at(x, r));
        }
        lines.push_back(hex_text(line));
    }
    j["tiles"] = std::move(lines);
    return j;
}

} // namespace

void read_levels(const Json& root, const PackedTexts& packed, TileSet& tiles, Level& level,
                 Json& kept) {
    if (root.contains("tiles")) {
        const Json& object = object_at(root, "tiles", "tiles");
        tiles = read_tiles(object, packed);
        read_labels(object, tiles);
        if (Json more = unknown_members(object, kTileKeys); !more.empty())
            kept["tiles"] = std::move(more);
    }
    if (root.contains("level")) {
        const Json& object = object_at(root, "level", "level");
        level = read_level(object, packed, tiles.count());
        if (Json more = unknown_members(object, kLevelKeys); !more.empty())
            kept["level"] = std::move(more);
    }
}

void write_levels(const TileSet& tiles, const Level& level, const Json& kept, Json& root,
                  std::vector<PackedField>& packed) {
    if (tiles == TileSet{} && level == Level{} && !kept.contains("tiles") &&
        !kept.contains("level"))
        return;
    root["tiles"] = tiles_json(tiles, packed);
    put_labels(tiles, root["tiles"]);
    add_kept(root["tiles"], kept, "tiles", kTileKeys);
    root["level"] = level_json(level, packed);
    add_kept(root["level"], kept, "level", kLevelKeys);
}

} // namespace fontarel::project_parts
