#pragma once
// --export-level tmx: the level as a Tiled map and its tileset picture beside it.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/project.h"
#include "toolkit/raster.h"

namespace fontarel {

// Writes `output` (the TMX text) and tileset_picture_path(output) (the tileset picture as PNG,
// by `encode_png`) from `project`, both or neither: the picture first, then the map, and the
// picture put back as it was should the map not be written. Empty when both were written; else
// one line that names the file: "level.tiles.png cannot be written". A picture path that is
// `input` (by any name or link) is refused.
std::string write_tmx_export(const std::string& input, const std::string& output,
                             const Project& project,
                             std::vector<uint8_t> (*encode_png)(const Raster&));

} // namespace fontarel
