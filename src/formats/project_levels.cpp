#include "formats/project_levels.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace fontarel::project_parts {

namespace {

constexpr std::string_view kTileKeys[] = {"width",    "height", "count",
                                          "encoding", "codes",  "attributes"};
constexpr std::string_view kLevelKeys[] = {"columns", "rows", "encoding", "tiles"};

// The unpacked bytes of a packed string, which must hold exactly `size` bytes.
std::span<const uint8_t> unpacked_at(const Json& object, const UnpackedFields& fields,
                                     const std::string& where, size_t size) {
    text_of(member(object, where.substr(where.find('.') + 1), where), where);
    const auto it = fields.find(where);
    if (it == fields.end()) // cannot happen: every string at a packed place is unpacked
        refuse(where, "is not packed");
    if (it->second.size != size)
        refuse(where, "unpacks to " + std::to_string(it->second.size) + " bytes, not " +
                          std::to_string(size));
    return {it->second.bytes.get(), it->second.size};
}

TileSet read_tiles(const Json& tiles, const UnpackedFields& fields) {
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
        const auto codes = unpacked_at(tiles, fields, "tiles.codes", size);
        const auto attrs = unpacked_at(tiles, fields, "tiles.attributes", size);
        TileSet set(w, h, count);
        for (int t = 0; t < count; ++t)
            fill(set, t, codes.subspan(t * cells, cells), attrs.subspan(t * cells, cells));
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

// Puts one row of tile numbers into the level once each is checked against the tile count.
void put_row(Level& level, int row, std::span<const uint16_t> tiles, int count,
             const std::string& where) {
    const auto most = std::ranges::max_element(tiles);
    if (*most >= count)
        refuse(where, "has tile " + std::to_string(*most) + " in row " + std::to_string(row) +
                          ", past the " + std::to_string(count) + " tiles");
    level.set_row(0, row, tiles);
}

Level read_level(const Json& level, const UnpackedFields& fields, int tile_count) {
    const int cols = integer_at(level, "columns", "level.columns", 1, kMaxLevelSide);
    const int rows = integer_at(level, "rows", "level.rows", 1, kMaxLevelSide);
    Level out(cols, rows);
    std::vector<uint16_t> row(static_cast<size_t>(cols));
    if (is_packed(level, "level")) {
        const size_t row_bytes = 2 * row.size();
        const auto bytes = unpacked_at(level, fields, "level.tiles", row_bytes * rows);
        for (int r = 0; r < rows; ++r) {
            const uint8_t* b = bytes.data() + row_bytes * r; // little-endian tile numbers
            for (size_t c = 0; c < row.size(); ++c)
                row[c] = static_cast<uint16_t>(b[2 * c] | b[2 * c + 1] << 8);
            put_row(out, r, row, tile_count, "level.tiles");
        }
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

void read_levels(const Json& root, const UnpackedFields& fields, Project& p, Json& kept) {
    if (root.contains("tiles")) {
        const Json& tiles = object_at(root, "tiles", "tiles");
        p.tiles = read_tiles(tiles, fields);
        if (Json more = unknown_members(tiles, kTileKeys); !more.empty())
            kept["tiles"] = std::move(more);
    }
    if (root.contains("level")) {
        const Json& level = object_at(root, "level", "level");
        p.level = read_level(level, fields, p.tiles.count());
        if (Json more = unknown_members(level, kLevelKeys); !more.empty())
            kept["level"] = std::move(more);
    }
}

void write_levels(const Project& p, const Json& kept, Json& root, std::vector<PackedField>& packed) {
    if (p.tiles == TileSet{} && p.level == Level{} && !kept.contains("tiles") &&
        !kept.contains("level"))
        return;
    root["tiles"] = tiles_json(p.tiles, packed);
    add_kept(root["tiles"], kept, "tiles", kTileKeys);
    root["level"] = level_json(p.level, packed);
    add_kept(root["level"], kept, "level", kLevelKeys);
}

} // namespace fontarel::project_parts
