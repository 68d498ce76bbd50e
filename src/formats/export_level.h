#pragma once
// The tile set and the level of a project as data for a game, in the export formats.
//
// The tiles: tile after tile, tile 0 first. Each tile is its width x height character codes row
// by row, then, when the map is drawn for a machine (any but Mono), the attribute bytes of the
// same cells in the same order. A tile is width x height bytes, twice that with attributes, and
// tile t starts at t times that.
// The level: its tile numbers row by row, row 0 first, columns left to right; one byte a number
// while the set has at most 256 tiles, else a 16-bit word a number, low byte first.
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

// Label fallbacks of export_label.
inline constexpr const char* kTilesLabelFallback = "tiles";
inline constexpr const char* kLevelLabelFallback = "level";
// Where a PRG loads when no address is given: clear of a charset at the usual $3000-$37ff, the
// tiles from $4000, the level from $6000.
inline constexpr int kTilesLoadAddress = 0x4000;
inline constexpr int kLevelLoadAddress = 0x6000;

// The formats of the tile and level exports by their command-line names: byte, acme, defb, c,
// bin and prg, and for the level also png (its picture, which render/level_screen.h draws) and
// tmx (a Tiled map and its tileset picture, export_tmx.h and render/tileset_picture.h). The
// names are exact and lower case; `level` chooses the level's list.
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

// Empty when the tiles (the level) can be written as `format`; otherwise why not, in a sentence
// for the user: a PRG cannot hold more bytes than lie between its load address and $ffff.
std::string tiles_export_refusal(ExportFormat format, const Project& project, int load_address);
std::string level_export_refusal(ExportFormat format, const Project& project, int load_address);

// The whole file of a tile or level export; `label` names the table in source formats and
// prefixes its constants, `load_address` (modulo 65536) begins a PRG. Empty for a format not in
// the list (Png and Tmx among them: the caller draws the picture) and for what the refusal
// refuses.
std::vector<uint8_t> export_tiles_file(ExportFormat format, const Project& project,
                                       std::string_view label,
                                       int load_address = kTilesLoadAddress);
std::vector<uint8_t> export_level_file(ExportFormat format, const Project& project,
                                       std::string_view label,
                                       int load_address = kLevelLoadAddress);

} // namespace fontarel
