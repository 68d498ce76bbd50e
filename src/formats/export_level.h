#pragma once
// The tile set, the level, the glyphs' materials and the tiles' tags of a project as data for a
// game, in the export formats.
//
// The tiles: tile after tile, tile 0 first. Each tile is its width x height character codes row
// by row, then, when the map is drawn for a machine (any but Mono), the attribute bytes of the
// same cells in the same order. A tile is width x height bytes, twice that with attributes, and
// tile t starts at t times that.
// The level: its tile numbers row by row, row 0 first, columns left to right; one byte a number
// while the set has at most 256 tiles, else a 16-bit word a number, low byte first.
// The materials: 256 bytes, glyph 0 first, each the material (0-15) of its glyph.
// The tile tags: a byte a tile of the set, tile 0 first, each the tile's tag.
//
// Formats: assembler source in the three dialects (.byte, !byte, defb) and C source, each with
// the sizes as constants before a labelled table; raw binary, the bytes alone; PRG, two bytes of
// load address (low byte first) and then the bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/export_formats.h"
#include "formats/project.h"

namespace fontarel {

// The four exports of a project's data, which share their formats and the making of their files.
enum class DataExport { Tiles, Level, Materials, TileTags };

// Label fallbacks of export_label.
inline constexpr const char* kTilesLabelFallback = "tiles";
inline constexpr const char* kLevelLabelFallback = "level";
inline constexpr const char* kMaterialsLabelFallback = "materials";
inline constexpr const char* kTileTagsLabelFallback = "tile_tags";
// Where a PRG loads when no address is given: clear of a charset at the usual $3000-$37ff, the
// tiles from $4000 (8 kB before the level), the level from $6000 (4 kB before the materials), the
// 256 materials from $7000 and the tile tags right after them from $7100 (36,608 tiles fit).
inline constexpr int kTilesLoadAddress = 0x4000;
inline constexpr int kLevelLoadAddress = 0x6000;
inline constexpr int kMaterialsLoadAddress = 0x7000;
inline constexpr int kTileTagsLoadAddress = 0x7100;

// The label fallback and the default load address of an export, as above.
const char* data_export_label_fallback(DataExport kind);
int data_export_load_address(DataExport kind);

// The formats of the data exports by their command-line names: byte, acme, defb, c, bin and prg,
// and for the level also png (its picture, which render/level_screen.h draws). The names are
// exact and lower case; `level` chooses the level's list.
std::optional<ExportFormat> level_export_format_named(std::string_view name, bool level);
// Those names joined by ", ".
std::string level_export_format_names(bool level);

// Bytes a tile in the file: width x height, doubled when the map's machine has attributes.
int tile_bytes(const Project& project);
// Bytes a tile number in the level file: 1 while the set has at most 256 tiles, else 2.
int level_number_bytes(const Project& project);

// The data alone, as the layout above gives it: count x tile_bytes bytes of tiles, and
// cols x rows x level_number_bytes bytes of level.
std::vector<uint8_t> tiles_data(const Project& project);
std::vector<uint8_t> level_data(const Project& project);
// 256 bytes of materials, and tiles.count() bytes of tile tags.
std::vector<uint8_t> materials_data(const Project& project);
std::vector<uint8_t> tile_tags_data(const Project& project);

// Empty when the data of `kind` can be written as `format`; otherwise why not, in a sentence for
// the user: a PRG cannot hold more bytes than lie between its load address and $ffff.
std::string data_export_refusal(DataExport kind, ExportFormat format, const Project& project,
                                int load_address);
std::string tiles_export_refusal(ExportFormat format, const Project& project, int load_address);
std::string level_export_refusal(ExportFormat format, const Project& project, int load_address);

// How an export is shaped for a game's build: the source formats' numbers in decimal rather than
// hex; 16-bit numbers (a level of more than 256 tiles) as two tables, LABEL_lo of their low bytes
// and LABEL_hi of their high bytes, the binary formats holding the one and then the other; the
// tiles' attributes as their colour nybbles alone (attribute & 15); and a part of the level,
// x, y, w, h in tiles.
struct DataShape {
    bool decimal = false;
    bool split_words = false;
    bool colours_only = false;
    int x = 0, y = 0, w = 0, h = 0; // all of the level while w is 0
    bool part() const { return w > 0; }
};

// "X,Y,W,H": four whole numbers, X and Y from 0, W and H from 1, each at most kMaxLevelSide, taken
// as the shape's part; false, changing nothing, for any other text.
bool read_data_region(std::string_view text, DataShape& shape);
// The shape's part as read_data_region reads it: "25,0,10,5".
std::string data_region_text(const DataShape& shape);
// Empty when the shape's part lies inside `cols` x `rows` places; else why not, naming the region
// and the size in `unit` ("the region 25,0,10,5 is not inside the map of 40 x 25 cells").
std::string data_region_refusal(const DataShape& shape, int cols, int rows, std::string_view what,
                                std::string_view unit);

// Empty when `shape` fits the export of `kind`, else why not: a part of anything but the level, or
// a part not inside the level ("the region 25,0,10,5 is not inside the level of 30 x 20 tiles").
std::string data_shape_refusal(DataExport kind, const DataShape& shape, const Project& project);
// The shape's part of `level`, which data_region_refusal must have found inside it.
Level level_part(const Level& level, const DataShape& shape);
// The project as the shape cuts it: the level its part, the tiles' attributes their nybbles.
Project shaped_project(const Project& project, const DataShape& shape);

// The whole file of an export of `kind`; `label` names the table in source formats and prefixes
// its constants, `load_address` (modulo 65536) begins a PRG. Empty for a format not in the list
// (Png among them: the caller draws the level's picture) and for what a refusal refuses. Split
// words asked of numbers that all fit a byte give one table, and `note` (when given) says so.
std::vector<uint8_t> export_data_file(DataExport kind, ExportFormat format, const Project& project,
                                      std::string_view label, int load_address,
                                      const DataShape& shape = {}, std::string* note = nullptr);
std::vector<uint8_t> export_tiles_file(ExportFormat format, const Project& project,
                                       std::string_view label,
                                       int load_address = kTilesLoadAddress);
std::vector<uint8_t> export_level_file(ExportFormat format, const Project& project,
                                       std::string_view label,
                                       int load_address = kLevelLoadAddress);
std::vector<uint8_t> export_materials_file(ExportFormat format, const Project& project,
                                           std::string_view label,
                                           int load_address = kMaterialsLoadAddress);
std::vector<uint8_t> export_tile_tags_file(ExportFormat format, const Project& project,
                                           std::string_view label,
                                           int load_address = kTileTagsLoadAddress);

} // namespace fontarel
