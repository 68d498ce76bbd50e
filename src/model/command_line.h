#pragma once
// The program's arguments: none or one font to edit, --help, --version, and the two export forms
// that write a file and end without opening a window:
//   --export FORMAT [--first N] [--count M] INPUT OUTPUT
//   --export-map FORMAT --size WxH INPUT OUTPUT

#include <string>
#include <vector>

#include "model/export_common.h"
#include "model/export_formats.h"

namespace fontarel {

enum class CommandAction {
    Edit,         // start the editor: a single argument is the font, any other list loads nothing
    Help,         // print usage_text()
    Version,      // print the version
    ExportGlyphs, // font INPUT, loaded at glyph 0, written as `format`
    ExportMap,    // map INPUT of map_cols x map_rows codes, written as `format`
    Fail,         // an export form with a mistake: `error` says what
};

struct CommandLine {
    CommandAction action = CommandAction::Edit;
    ExportFormat format = ExportFormat::Byte;
    GlyphSelection glyphs; // ExportGlyphs: --first (0) and --count (up to glyph 255)
    int map_cols = 0;      // ExportMap: --size
    int map_rows = 0;
    std::string input;
    std::string output;
    std::string error; // Fail: one line, without the program's name
};

// Only the exact single arguments "--help" and "--version" print; an argument list whose first
// argument is "--export" or "--export-map" is an export (or a Fail); every other list is Edit.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

// The usage lines --help prints, ending in a line feed.
std::string usage_text();

} // namespace fontarel
