#pragma once
// --export-level tmx: the level as a Tiled map and its tileset picture beside it.

#include <ostream>

#include "cli/command_line.h"
#include "cli/command_line_run.h"
#include "formats/project.h"

namespace fontarel {

// Writes line.output (the TMX text) and tileset_picture_path(line.output) (the tileset picture
// as PNG, by `encode_png`) from `project`, both or neither: the picture first, then the map, and
// the picture put back as it was should the map not be written. A failure prints one line
// "fontarel: FILE ..." to `err`, naming the file, and returns kExitFileError; else kExitOk.
int run_tmx_export(const CommandLine& line, const Project& project, PngEncoder encode_png,
                   std::ostream& err);

} // namespace fontarel
