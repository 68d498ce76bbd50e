#pragma once
// The project file's "tiles" and "level": hex strings while small, packed strings (packed_bytes.h)
// once larger than kPackedCells.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "formats/project_parts.h"
#include "model/level.h"

namespace fontarel::project_parts {

// Cells (tile numbers of a level; cells of all tiles of a set) above which they are packed.
inline constexpr int64_t kPackedCells = 65536;

// A packed string still to write: where it goes in the tree (a JSON pointer, "/level/tiles"), its
// size in bytes before packing, and its bytes handed over piece by piece (empty once all are
// given).
struct PackedField {
    std::string pointer;
    size_t size = 0;
    std::function<std::span<const uint8_t>()> next;
};

// Reads "tiles" and "level", both optional (left as they are when absent), and adds their
// unknown keys to `kept`.
void read_levels(const Json& root, const PackedTexts& packed, TileSet& tiles, Level& level,
                 Json& kept);

// Adds "tiles" and "level" to `root` when they differ from a new program's or `kept` holds keys
// of theirs; a field to be packed is left as a placeholder and listed in `packed`. The fields
// read `tiles` and `level`, which must outlive them.
void write_levels(const TileSet& tiles, const Level& level, const Json& kept, Json& root,
                  std::vector<PackedField>& packed);

} // namespace fontarel::project_parts
