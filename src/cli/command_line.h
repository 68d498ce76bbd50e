#pragma once
// The program's arguments: none or one font to edit, --help (-h), --version (-V), and the forms
// that write files and end without opening a window:
//   --export FORMAT [--first N] [--count M] [--load-address HEX] INPUT OUTPUT
//   --export-map FORMAT --size WxH [--machine M] [--colours FILE] [--charset FONT]
//                [--multicolour D022,D023] INPUT OUTPUT
//   --import-screen PICTURE --font OUT.fnt --map OUT.map [--charset IN] [--project OUT.fontarel]
//                [--machine M --colours OUT] [--multicolour D022,D023]
//   --export-tiles FORMAT [--load-address HEX] INPUT OUTPUT
//   --export-level FORMAT [--load-address HEX] INPUT OUTPUT
//   --export-materials FORMAT [--load-address HEX] INPUT OUTPUT
//   --export-tile-tags FORMAT [--load-address HEX] INPUT OUTPUT
//   --to-project INPUT OUTPUT.fontarel [--compact]

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "formats/export_common.h"
#include "formats/export_formats.h"
#include "formats/export_level.h"

namespace fontarel {

enum class CommandAction {
    Edit,         // start the editor: a single argument is the font, any other list loads nothing
    Help,         // print usage_text()
    Version,      // print the version
    ExportGlyphs, // font INPUT, loaded at glyph 0, written as `format`
    ExportMap,    // map INPUT of map_cols x map_rows codes, written as `format`
    ImportScreen, // screen picture INPUT into the charset `output` and the map `map_output`
    ExportTiles,  // the tile set of INPUT (read_level_input), written as `format`
    ExportLevel,  // the level of INPUT, written as `format`; Png draws it
    ExportMaterials, // the glyphs' materials of INPUT, written as `format`
    ExportTileTags,  // the tile tags of INPUT, written as `format`
    ToProject,       // what opening INPUT gives, written as a project to `output`
    Fail,            // an export form with a mistake: `error` says what
    Refuse,          // an option the editor does not take: `error` names it; the usage follows it
};

// The map sizes --size takes, as the usage names them.
inline constexpr std::string_view kSizeList = "32x24, 40x24, 40x25, 80x50, 64x30";

struct CommandLine {
    CommandAction action = CommandAction::Edit;
    bool recover = false; // Edit: --recover; `input` holds its FILE, if one was given
    ExportFormat format = ExportFormat::Byte;
    GlyphSelection glyphs; // ExportGlyphs: --first (0) and --count (up to glyph 255)
    // ExportGlyphs and the four data exports as Prg: --load-address, 0-ffff; each form has its
    // own default.
    int load_address = kDefaultLoadAddress;
    int map_cols = 0; // ExportMap: --size; 0 when INPUT is to give it
    int map_rows = 0;
    bool machine_given = false; // ExportMap: --machine, which a project's yields to
    // ExportMap: the machine the map is drawn for (--machine; Scr and B800 imply theirs) and the
    // file of its cells' attributes (--colours); without one, every cell has the blank attribute.
    // ImportScreen: the machine whose colours the picture is read in, and the attribute file
    // written beside the map (--colours, needed with a machine).
    MapMachine machine = MapMachine::Mono;
    // ExportMap and ImportScreen: --multicolour, the C64's multicolour mode with these two
    // registers ($d022, $d023, 0-15); it implies --machine c64. ImportScreen reads the picture in
    // double-wide pixels with these registers.
    bool multicolour = false;
    int multicolour_1 = 0, multicolour_2 = 0;
    // --machine atari (mode 2), atari4 or atari5: the Atari's character mode. ExportMap:
    // --atari-colours, COLBK then COLPF0-3, even colour values 0-254.
    uint8_t atari_mode = kAtariTwoColours;
    bool atari_colours_given = false;
    std::array<uint8_t, 5> atari_colours{};
    bool compact = false; // ToProject: --compact, the charset compacted on the way
    // The data exports: --decimal, --split-words, --colours-only (tiles) and --region (level);
    // ExportMap: --region (cells of the map).
    DataShape shape;
    std::string colours;
    std::string input;          // the file read: the font, the map, or ImportScreen's PICTURE
    std::string output;         // the file written; ImportScreen: --font
    std::string map_output;     // ImportScreen: --map
    std::string project_output; // ImportScreen: --project, the project with all of it
    std::string charset; // ImportScreen: --charset, the font to match; empty for a new charset.
                         // ExportMap as Scr: the font whose glyphs are drawn
    std::string error;   // Fail and Refuse: one line, without the program's name
};

// Only the exact single arguments "--help" or "-h" and "--version" or "-V" print; an argument list
// whose first argument is "--export", "--export-map", "--export-tiles", "--export-level",
// "--export-materials" or "--export-tile-tags" is an export, one whose first argument is
// "--import-screen" an import, one whose first argument is "--to-project" a conversion (or a
// Fail). Any other list
// that holds an argument beginning with "--" is Refused; the rest are Edit, where an argument with
// one dash ("-x") is a file name like any other.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

// The data that ExportTiles, ExportLevel, ExportMaterials and ExportTileTags write; Tiles for any
// other action.
DataExport data_export_of(CommandAction action);

// The usage lines --help prints, ending in a line feed.
std::string usage_text();

} // namespace fontarel
