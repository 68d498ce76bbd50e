#pragma once
// What the program does for the command-line forms that open no window: the usage, the version and
// the exports, run without a display.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "formats/font_import.h"
#include "formats/project.h"
#include "model/picture.h"
#include "toolkit/raster.h"

namespace fontarel {

// The bytes of a PNG file of a raster; empty when it cannot be made.
using PngEncoder = std::vector<uint8_t> (*)(const Raster&);
// The picture in the bytes of a picture file; false when they hold none it reads.
using PictureDecoder = bool (*)(std::span<const uint8_t>, Picture&);

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFileError = 1; // the input could not be read or the output not written
constexpr int kExitUsage = 2;     // a mistake in the arguments

// The INPUT of the data exports (--export-tiles, --export-level, --export-materials and
// --export-tile-tags): a project file or a CTM project (known by their content), whose tiles,
// level, map machine and registers, glyphs, their materials and glyph colours go into
// `project`. False, with `why` (one line that begins with the file's name), when the file cannot
// be read or holds no project that can be. What reading a CTM project remarked (characters past
// 256 dropped) goes to `remarks`, each line beginning with the file's name.
bool read_level_input(const std::string& path, Project& project, std::string& why,
                      std::vector<std::string>* remarks = nullptr);

// Carries out `line` when its action is not Edit: prints the usage or kProgramVersion to `out`,
// or reads INPUT and writes OUTPUT (whole or not at all, through the safe save); an OUTPUT that is
// INPUT (by any name or link) is refused. The font INPUT of --export is raw glyph bytes, or a PSF,
// BDF or PRG font by detect_font_kind, whose note (if any) goes to `err` as a line
// "fontarel: INPUT: note", or a charset picture read with `decode_picture`. A failure prints one
// line "fontarel: ..." to `err` and writes nothing; a Refuse prints that line and the usage.
// Returns the exit status; kExitUsage for Edit, which is not run here. An import reads a Koala
// painting (known by its content, or by its name when its size is wrong) itself, another picture
// with `decode_picture`, writes the charset and the map (both or neither: a map that cannot be
// written takes the charset file back to what it was) and prints one line of what it made to
// `out`. The tile and level exports read INPUT with read_level_input; a level's png is drawn by
// render_level_screen in the project's glyph colours, a tmx is written by write_tmx_export, and a
// picture too large to draw or data
// that a PRG cannot hold is a mistake in the arguments. --to-project reads INPUT as Open... does
// (see open_as_project) and writes the project through the project writer, in pieces; what the
// reading did not keep goes to `err`, a line "fontarel: INPUT: remark" each.
int run_command_line(const CommandLine& line, PngEncoder encode_png, std::ostream& out,
                     std::ostream& err, PictureDecoder decode_picture = decode_bmp);

} // namespace fontarel
