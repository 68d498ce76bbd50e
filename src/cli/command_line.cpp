#include "cli/command_line.h"

#include <charconv>
#include <string_view>

#include "formats/export_level.h"
#include "formats/recovery_journal.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

// The machines of --machine, the Atari once for each of its character modes.
constexpr struct {
    const char* name;
    MapMachine machine;
    uint8_t atari_mode;
} kMachines[] = {{"mono", MapMachine::Mono, kAtariTwoColours},
                 {"c64", MapMachine::C64, kAtariTwoColours},
                 {"zx", MapMachine::ZxSpectrum, kAtariTwoColours},
                 {"pc", MapMachine::PcText, kAtariTwoColours},
                 {"atari", MapMachine::Atari, kAtariTwoColours},
                 {"atari4", MapMachine::Atari, kAtariFourColours},
                 {"atari5", MapMachine::Atari, kAtariTall}};

constexpr std::string_view kMachineList = "c64, zx, pc, atari, atari4, atari5, mono";

bool read_machine(std::string_view text, CommandLine& out) {
    for (const auto& m : kMachines)
        if (text == m.name) {
            out.machine = m.machine;
            out.atari_mode = m.atari_mode;
            return true;
        }
    return false;
}

const char* machine_option(MapMachine machine) {
    for (const auto& m : kMachines)
        if (m.machine == machine)
            return m.name;
    return "mono";
}

// The machine whose screen memory a format writes, whose attributes its cells then have; Mono
// for the source formats, which write whatever machine they are given.
MapMachine screen_machine(ExportFormat format) {
    switch (format) {
    case ExportFormat::Scr:
        return MapMachine::ZxSpectrum;
    case ExportFormat::B800:
        return MapMachine::PcText;
    default:
        return MapMachine::Mono;
    }
}

// The options of --export-map after --size, checked against the format; empty when they fit.
std::string check_map_options(CommandLine& out, bool has_machine, const std::string& machine) {
    const std::string format = export_format_info(out.format).name;
    if (has_machine && !read_machine(machine, out))
        return "--machine '" + machine + "' is none of " + std::string(kMachineList);
    const MapMachine screen = screen_machine(out.format);
    if (screen != MapMachine::Mono) {
        if (has_machine && out.machine != screen)
            return format + " holds " + machine_name(screen) + " attributes: --machine " +
                   machine_option(screen) + " or none";
        out.machine = screen;
    } else if (!out.colours.empty() && out.machine == MapMachine::Mono) {
        return "--colours needs --machine c64, zx or pc: what the attribute bytes mean";
    }
    if (out.machine == MapMachine::Atari && !out.colours.empty())
        return "--colours is not for the Atari, whose cells have no attribute bytes";
    if (out.atari_colours_given && out.machine != MapMachine::Atari)
        return "--atari-colours needs --machine atari, atari4 or atari5";
    // Without --size the INPUT must be a project, which brings the size and the glyphs; that is
    // checked when it is read.
    if (out.map_cols == 0)
        return {};
    const std::string refusal = map_export_refusal(out.format, out.map_cols, out.map_rows);
    if (!refusal.empty())
        return refusal;
    // The two formats that draw the glyphs: a raw map without a font would show blank cells, which
    // is checked once INPUT is read (a project brings its glyphs).
    const bool draws = out.format == ExportFormat::Scr || out.format == ExportFormat::Png;
    if (!draws && !out.charset.empty())
        return "--charset is only for the map formats scr and png";
    return {};
}

CommandLine failure(std::string message) {
    CommandLine out;
    out.action = CommandAction::Fail;
    out.error = std::move(message);
    return out;
}

// The two file arguments of an export, INPUT then OUTPUT; false when there are not exactly two.
bool take_files(const std::vector<std::string>& files, CommandLine& out) {
    if (files.size() != 2)
        return false;
    out.input = files[0];
    out.output = files[1];
    return true;
}

// A decimal number of at most four digits, nothing else.
bool read_number(std::string_view text, int& value) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// A colour 0-15: decimal, or "$" and one or two hexadecimal digits.
bool read_colour(std::string_view text, int& value) {
    if (text.size() > 1 && text[0] == '$') {
        text.remove_prefix(1);
        if (text.size() > 2 || text.find_first_not_of("0123456789abcdefABCDEF") != text.npos)
            return false;
        std::from_chars(text.data(), text.data() + text.size(), value, 16);
    } else if (!read_number(text, value)) {
        return false;
    }
    return value <= 15;
}

// --atari-colours COLBK,COLPF0,COLPF1,COLPF2,COLPF3 into `out`; else the one line that says what
// it takes.
std::string read_atari_colours(std::string_view text, CommandLine& out) {
    std::string_view rest = text;
    for (size_t i = 0; i < out.atari_colours.size(); ++i) {
        const size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        int value = 0;
        const bool last = i + 1 == out.atari_colours.size();
        if (!read_number(item, value) || !is_atari_colour(value) ||
            (comma == rest.npos) != last) {
            return "--atari-colours '" + std::string(text) +
                   "' is not five even colour values 0-254 for COLBK,COLPF0,COLPF1,COLPF2,COLPF3, "
                   "as 0,40,202,148,70";
        }
        out.atari_colours[i] = static_cast<uint8_t>(value);
        rest = last ? rest : rest.substr(comma + 1);
    }
    out.atari_colours_given = true;
    return {};
}


// --multicolour D022,D023 into `out`; else the one line that says what it takes.
std::string read_multicolour(std::string_view text, CommandLine& out) {
    const size_t comma = text.find(',');
    if (comma == text.npos || !read_colour(text.substr(0, comma), out.multicolour_1) ||
        !read_colour(text.substr(comma + 1), out.multicolour_2))
        return "--multicolour '" + std::string(text) +
               "' is not two colours 0-15 for $d022,$d023, as 9,$a";
    out.multicolour = true;
    return {};
}

// --multicolour is the C64's: it implies --machine c64 and refuses another machine.
std::string multicolour_machine(CommandLine& out) {
    if (out.machine != MapMachine::Mono && out.machine != MapMachine::C64)
        return std::string("--multicolour is for C64 maps, not ") + machine_name(out.machine);
    out.machine = MapMachine::C64;
    return {};
}

bool read_size(std::string_view text, int& cols, int& rows) {
    const size_t x = text.find('x');
    if (x == std::string_view::npos || !read_number(text.substr(0, x), cols) ||
        !read_number(text.substr(x + 1), rows))
        return false;
    for (const auto& size : kMapSizes)
        if (size.cols == cols && size.rows == rows)
            return true;
    return false;
}

CommandLine parse_export(const std::vector<std::string>& arguments) {
    const std::string& form = arguments[0];
    const bool map = form == "--export-map";
    const std::string names = export_format_names(map);
    if (arguments.size() < 2)
        return failure(form + " needs a FORMAT: " + names);
    const auto format = export_format_named(arguments[1]);
    if (!format || !(map ? export_format_info(*format).maps : export_format_info(*format).glyphs))
        return failure("unknown " + std::string(map ? "map " : "") + "format '" + arguments[1] +
                       "': use one of " + names);

    CommandLine out;
    out.action = map ? CommandAction::ExportMap : CommandAction::ExportGlyphs;
    out.format = *format;
    std::string first, count, size, address, machine, multicolour, atari_colours, region;
    bool has_first = false, has_count = false, has_size = false, has_address = false,
         has_machine = false, has_multicolour = false, has_atari_colours = false,
         has_region = false;
    std::vector<std::string> files;
    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool glyph_option =
            !map && (a == "--first" || a == "--count" || a == "--load-address");
        const bool map_option = map && (a == "--size" || a == "--machine" || a == "--colours" ||
                                        a == "--charset" || a == "--multicolour" ||
                                        a == "--atari-colours" || a == "--region");
        if (glyph_option || map_option) {
            if (i + 1 == arguments.size())
                return failure(a + " needs a value");
            const std::string& value = arguments[++i];
            if (a == "--first")
                first = value, has_first = true;
            else if (a == "--count")
                count = value, has_count = true;
            else if (a == "--load-address")
                address = value, has_address = true;
            else if (a == "--machine")
                machine = value, has_machine = true;
            else if (a == "--colours")
                out.colours = value;
            else if (a == "--charset")
                out.charset = value;
            else if (a == "--multicolour")
                multicolour = value, has_multicolour = true;
            else if (a == "--atari-colours")
                atari_colours = value, has_atari_colours = true;
            else if (a == "--region")
                region = value, has_region = true;
            else
                size = value, has_size = true;
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return failure("unknown option '" + a + "' for " + form);
        } else {
            files.push_back(a);
        }
    }
    if (!take_files(files, out))
        return failure(form + " needs an INPUT and an OUTPUT file, and no other arguments");

    if (map) {
        if (has_multicolour) {
            const std::string mistake = read_multicolour(multicolour, out);
            if (!mistake.empty())
                return failure(mistake);
            if (!has_machine && screen_machine(out.format) == MapMachine::Mono)
                machine = "c64", has_machine = true;
        }
        if (has_atari_colours) {
            const std::string mistake = read_atari_colours(atari_colours, out);
            if (!mistake.empty())
                return failure(mistake);
        }
        out.machine_given = has_machine;
        if (has_region && !read_data_region(region, out.shape))
            return failure("--region '" + region + "' is not X,Y,W,H in cells, W and H at least 1");
        if (has_size && !read_size(size, out.map_cols, out.map_rows))
            return failure("--size '" + size + "' is none of " + std::string(kSizeList));
        std::string mistake = check_map_options(out, has_machine, machine);
        if (mistake.empty() && out.multicolour)
            mistake = multicolour_machine(out);
        return mistake.empty() ? out : failure(mistake);
    }
    if (has_first && (!read_number(first, out.glyphs.first) || out.glyphs.first > 255))
        return failure("--first '" + first + "' is no glyph number 0-255");
    const int most = kGlyphCount - out.glyphs.first;
    out.glyphs.count = most;
    if (has_count &&
        (!read_number(count, out.glyphs.count) || out.glyphs.count < 1 || out.glyphs.count > most))
        return failure("--count '" + count + "' is not 1-" + std::to_string(most) + " from glyph " +
                       std::to_string(out.glyphs.first));
    if (has_address && out.format != ExportFormat::Prg)
        return failure("--load-address is only for the format prg");
    if (has_address && !read_load_address(address, out.load_address))
        return failure("--load-address '" + address + "' is not 1-4 hexadecimal digits");
    return out;
}

// The forms of the data exports: the data each writes, and what its format mistakes call it.
struct DataForm {
    const char* form;
    CommandAction action;
    DataExport kind;
    const char* data;
};
constexpr DataForm kDataForms[] = {
    {"--export-tiles", CommandAction::ExportTiles, DataExport::Tiles, "tiles"},
    {"--export-level", CommandAction::ExportLevel, DataExport::Level, "level"},
    {"--export-materials", CommandAction::ExportMaterials, DataExport::Materials, "materials"},
    {"--export-tile-tags", CommandAction::ExportTileTags, DataExport::TileTags, "tile tags"},
};

// The data export whose form `argument` is, or null.
const DataForm* data_form(std::string_view argument) {
    for (const DataForm& f : kDataForms)
        if (argument == f.form)
            return &f;
    return nullptr;
}

// The data exports: FORMAT, then INPUT and OUTPUT with --load-address, --decimal, --split-words,
// --colours-only and --region anywhere among them.
CommandLine parse_level_export(const std::vector<std::string>& arguments) {
    const std::string& form = arguments[0];
    const DataForm& data = *data_form(form);
    const bool level = data.kind == DataExport::Level;
    const std::string names = level_export_format_names(level);
    if (arguments.size() < 2)
        return failure(form + " needs a FORMAT: " + names);
    const auto format = level_export_format_named(arguments[1], level);
    if (!format)
        return failure("unknown " + std::string(data.data) + " format '" + arguments[1] +
                       "': use one of " + names);
    CommandLine out;
    out.action = data.action;
    out.format = *format;
    out.load_address = data_export_load_address(data.kind);
    std::vector<std::string> files;
    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--load-address") {
            if (i + 1 == arguments.size())
                return failure(a + " needs a value");
            const std::string& address = arguments[++i];
            if (out.format != ExportFormat::Prg)
                return failure("--load-address is only for the format prg");
            if (!read_load_address(address, out.load_address))
                return failure("--load-address '" + address + "' is not 1-4 hexadecimal digits");
        } else if (a == "--decimal") {
            if (!asm_dialect(out.format) && out.format != ExportFormat::C)
                return failure("--decimal is only for the source formats byte, acme, defb and c");
            out.shape.decimal = true;
        } else if (a == "--split-words" || a == "--region") {
            if (!level)
                return failure(a + " is only for --export-level");
            if (a == "--split-words") {
                out.shape.split_words = true;
                continue;
            }
            if (i + 1 == arguments.size())
                return failure(a + " needs a value");
            const std::string& region = arguments[++i];
            if (!read_data_region(region, out.shape))
                return failure("--region '" + region +
                               "' is not X,Y,W,H in tiles, W and H at least 1");
        } else if (a == "--colours-only") {
            if (data.kind != DataExport::Tiles)
                return failure("--colours-only is only for --export-tiles");
            out.shape.colours_only = true;
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return failure("unknown option '" + a + "' for " + form);
        } else {
            files.push_back(a);
        }
    }
    if (!take_files(files, out))
        return failure(form + " needs an INPUT and an OUTPUT file, and no other arguments");
    return out;
}

// --import-screen: PICTURE anywhere among the options, each option once.
CommandLine parse_import_screen(const std::vector<std::string>& arguments) {
    const std::string form = arguments[0];
    CommandLine out;
    out.action = CommandAction::ImportScreen;
    std::vector<std::string> pictures;
    std::string machine, multicolour;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        std::string* value = a == "--font"          ? &out.output
                             : a == "--map"         ? &out.map_output
                             : a == "--charset"     ? &out.charset
                             : a == "--colours"     ? &out.colours
                             : a == "--machine"     ? &machine
                             : a == "--project"     ? &out.project_output
                             : a == "--multicolour" ? &multicolour
                                                    : nullptr;
        if (value != nullptr) {
            if (i + 1 == arguments.size() || arguments[i + 1].empty() ||
                arguments[i + 1].rfind("--", 0) == 0)
                return failure(a + (value == &multicolour ? " needs a value" : " needs a file"));
            if (!value->empty())
                return failure(a + " is given twice");
            *value = arguments[++i];
            if (value == &machine && !read_machine(machine, out))
                return failure("--machine '" + machine + "' is none of " +
                               std::string(kMachineList));
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return failure("unknown option '" + a + "' for " + form);
        } else {
            pictures.push_back(a);
        }
    }
    if (pictures.size() != 1)
        return failure(form + " needs one PICTURE file, and no other arguments");
    // The charset and the map go to a font and a map file, or into a project, or both.
    if (out.output.empty() != out.map_output.empty() ||
        (out.output.empty() && out.project_output.empty()))
        return failure(form + " needs --font OUT.fnt and --map OUT.map, or --project OUT.fontarel");
    if (!multicolour.empty()) {
        std::string mistake = read_multicolour(multicolour, out);
        if (mistake.empty())
            mistake = multicolour_machine(out);
        if (mistake.empty() && !out.charset.empty())
            mistake = "--multicolour makes a new charset: it does not go with --charset";
        if (!mistake.empty())
            return failure(mistake);
    }
    // A machine's colours need a file to go to: --colours, or the project. --colours without a
    // machine is for a Koala painting, which brings its own; that is known once PICTURE is read.
    if (out.machine == MapMachine::Atari && (!out.colours.empty() || !out.charset.empty() ||
                                             out.atari_mode == kAtariTwoColours))
        return failure("--machine atari4 or atari5 reads a four-colour Atari screen into a new "
                       "charset: no --colours, no --charset");
    if (out.machine != MapMachine::Mono && out.machine != MapMachine::Atari &&
        out.colours.empty() && out.project_output.empty())
        return failure("--machine c64, zx or pc and --colours OUT go together: the colours read "
                       "from the picture are written there");
    out.input = pictures[0];
    return out;
}

// --to-project: INPUT and OUTPUT, and --compact anywhere.
CommandLine parse_to_project(const std::vector<std::string>& arguments) {
    const std::string& form = arguments[0];
    CommandLine out;
    out.action = CommandAction::ToProject;
    std::vector<std::string> files;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--compact")
            out.compact = true;
        else if (a.size() > 1 && a[0] == '-' && a[1] == '-')
            return failure("unknown option '" + a + "' for " + form);
        else
            files.push_back(a);
    }
    if (!take_files(files, out))
        return failure(form + " needs an INPUT and an OUTPUT file, and no other arguments");
    return out;
}

} // namespace

CommandLine parse_command_line(const std::vector<std::string>& arguments) {
    CommandLine out;
    if (arguments.empty())
        return out;
    const std::string& first = arguments[0];
    if (first == "--export" || first == "--export-map")
        return parse_export(arguments);
    if (first == "--import-screen")
        return parse_import_screen(arguments);
    if (data_form(first) != nullptr)
        return parse_level_export(arguments);
    if (first == "--to-project")
        return parse_to_project(arguments);
    if (arguments.size() == 1 && (first == "--help" || first == "-h"))
        out.action = CommandAction::Help;
    else if (arguments.size() == 1 && (first == "--version" || first == "-V"))
        out.action = CommandAction::Version;
    if (out.action != CommandAction::Edit)
        return out;
    if (first == kRecoverOption && arguments.size() <= 2 &&
        (arguments.size() == 1 || arguments[1].rfind("--", 0) != 0)) {
        out.recover = true;
        if (arguments.size() == 2)
            out.input = arguments[1];
        return out;
    }
    // The editor takes no other option: a mistyped or misplaced one must not pass for a font name.
    for (const std::string& a : arguments) {
        if (a.rfind("--", 0) != 0)
            continue;
        out.action = CommandAction::Refuse;
        if (a == "--help" || a == "--version")
            out.error = a + " takes no other arguments";
        else if (a == kRecoverOption)
            out.error = a + " takes one file at most, and must be the first argument";
        else if (a == "--export" || a == "--export-map" || a == "--import-screen" ||
                 data_form(a) != nullptr || a == "--to-project")
            out.error = a + " must be the first argument";
        else
            out.error = "unknown option '" + a + "'";
        break;
    }
    return out;
}

DataExport data_export_of(CommandAction action) {
    for (const DataForm& f : kDataForms)
        if (f.action == action)
            return f.kind;
    return DataExport::Tiles;
}

std::string usage_text() {
    return "Usage: fontarel [FONT]\n"
           "       fontarel --export FORMAT [--first N] [--count M] INPUT OUTPUT\n"
           "       fontarel --export-map FORMAT [--size WxH] [--machine M] [--colours FILE]\n"
           "                [--charset FONT] [--multicolour D022,D023] [--region X,Y,W,H]\n"
           "                [--atari-colours BK,PF0,PF1,PF2,PF3] INPUT OUTPUT\n"
           "       fontarel --import-screen PICTURE --font OUT.fnt --map OUT.map [--charset IN]\n"
           "                [--machine M --colours OUT] [--project OUT.fontarel]\n"
           "                [--multicolour D022,D023]\n"
           "       fontarel --export-tiles FORMAT [--load-address HEX] [--decimal]\n"
           "                [--colours-only] INPUT OUTPUT\n"
           "       fontarel --export-level FORMAT [--load-address HEX] [--decimal]\n"
           "                [--split-words] [--region X,Y,W,H] INPUT OUTPUT\n"
           "       fontarel --export-materials FORMAT [--load-address HEX] INPUT OUTPUT\n"
           "       fontarel --export-tile-tags FORMAT [--load-address HEX] INPUT OUTPUT\n"
           "       fontarel --to-project INPUT OUTPUT.fontarel [--compact]\n"
           "       fontarel --recover [FILE]\n"
           "       fontarel --help | -h | --version | -V\n"
           "\n"
           "Without --export, opens the editor; FONT is loaded at glyph 0: raw glyph bytes,\n"
           "or a PSF or BDF font, or a project (.fontarel) with its map and colours.\n"
           "--recover opens the editor with the work of the last run that ended, which the\n"
           "editor keeps in ~/.local/state/fontarel/ as it goes; --recover FILE, with the\n"
           "work in that recovery file (one of another run that ended earlier).\n"
           "A FONT named -h or -V, or beginning with --, is given with its folder: ./-h\n"
           "\n"
           "--export writes glyphs of the raw font INPUT, loaded at glyph 0, to OUTPUT:\n"
           "  FORMAT  " +
           export_format_names(false) +
           "\n"
           "  --first N  the first glyph, 0-255 (default 0)\n"
           "  --count M  the number of glyphs (default: up to glyph 255)\n"
           "  --load-address HEX  for prg: the load address, 1-4 hex digits (default 3000)\n"
           "  INPUT may also be a PSF (plain or gzip-compressed), BDF or PRG font, known by\n"
           "  its content; its glyphs keep their codes (a PRG's start at glyph 0); or a\n"
           "  project (.fontarel), whose glyphs and glyph colours png draws\n"
           "--export-map writes the raw map INPUT of W x H codes to OUTPUT:\n"
           "  FORMAT  " +
           export_format_names(true) +
           "\n"
           "  --size WxH  one of " +
           std::string(kSizeList) +
           "\n"
           "  INPUT may also be a project (.fontarel), which brings its size, machine,\n"
           "  colours and glyphs: --size is then optional, and the options given win\n"
           "  --machine M     the machine the map is drawn for: c64, zx, pc, atari (two\n"
           "                  colours), atari4 (four), atari5 (four, tall) or mono\n"
           "                  (default); c64, zx, pc: the cells' attribute array follows\n"
           "                  the codes; atari: the colour registers follow them\n"
           "  --atari-colours BK,PF0,PF1,PF2,PF3  the Atari's COLBK and COLPF0-3, even\n"
           "                  colour values 0-254 (default 0,40,202,148,70)\n"
           "  --colours FILE  the cells' attribute bytes, W x H of them (default: blank)\n"
           "  --charset FONT  for scr (32x24 only) and png: the font whose glyphs the screen\n"
           "                  shows (needed unless INPUT is a project); png is the screen as the "
           "machine shows it, one glyph pixel\n"
           "                  a picture pixel (320 x 200 for 40x25), multicolour included\n"
           "  --region X,Y,W,H  only the W x H cells from column X, row Y\n"
           "  scr is a ZX Spectrum SCREEN$ (6912 bytes), b800 PC text memory: code and\n"
           "  attribute byte a cell; each takes its machine's attributes\n"
           "--import-screen turns a screen PICTURE (PNG, BMP or GIF, its width and height\n"
           "multiples of 8, at most 640 x 400) into glyphs, one picture pixel a glyph pixel:\n"
           "  --font OUT.fnt  the charset, 2048 bytes: the cells' distinct patterns from glyph 0\n"
           "  --map OUT.map   the map of the smallest size that holds the picture, row by row\n"
           "  --charset IN    keep the raw font IN instead: each cell gets its nearest glyph\n"
           "  --machine M     read the picture in the colours of c64, zx or pc; each cell's\n"
           "                  attribute bytes go to --colours OUT; atari4 reads a four-\n"
           "                  colour Atari screen (160 or 320 x 192) into 128 glyphs\n"
           "  --project OUT.fontarel  the charset, the map, its colours and machine in one\n"
           "                  project file, beside or instead of --font, --map and --colours\n"
           "  PICTURE may also be a Koala painting (.koa, .kla: 10003 bytes), which comes in\n"
           "  as a C64 multicolour screen of 40 x 25 cells\n"
           "--export-tiles writes the tile set of INPUT, a project or a CTM project, to\n"
           "OUTPUT, tile after tile: its codes row by row, then, on a machine other than\n"
           "mono, its attributes:\n"
           "  FORMAT  " +
           level_export_format_names(false) +
           "\n"
           "--export-level writes the level of INPUT to OUTPUT, its tile numbers row by\n"
           "row: a byte each for up to 256 tiles, else 16-bit words, low byte first:\n"
           "  FORMAT  " +
           level_export_format_names(true) +
           "\n"
           "  png is the whole level as the map's machine shows it, one glyph pixel a\n"
           "  picture pixel, in the project's glyphs and colours\n"
           "  tmx is a Tiled map, and beside it OUTPUT.tiles.png (OUTPUT without .tmx),\n"
           "  its tiles drawn as png draws them, 16 a row\n"
           "--export-materials writes the materials of INPUT's 256 glyphs to OUTPUT, a byte\n"
           "(0-15) each, glyph 0 first, and --export-tile-tags the tags of its tiles, a\n"
           "byte each, tile 0 first:\n"
           "  FORMAT  " +
           level_export_format_names(false) +
           "\n"
           "  For all four, bin is the bytes alone, prg the load address, then the bytes:\n"
           "  --load-address HEX  1-4 hex digits (default 4000 for tiles, 6000 for levels,\n"
           "                      7000 for materials, 7100 for tile tags)\n"
           "  --decimal           numbers in decimal, not hex (byte, acme, defb, c)\n"
           "  --colours-only      --export-tiles: each attribute as its colour nybble alone\n"
           "  --split-words       --export-level: 16-bit tile numbers as two tables, NAME_lo\n"
           "                      of the low bytes, then NAME_hi of the high bytes\n"
           "  --region X,Y,W,H    --export-level: W x H tiles from column X, row Y\n"
           "--to-project writes what opening INPUT gives the editor as a project file\n"
           "OUTPUT: INPUT is known by its content, as for FONT: a project, a CTM project, a\n"
           "  Koala painting, a PSF or BDF font, or else raw glyph bytes from glyph 0; the\n"
           "  rest (the map, the colours) is what the editor starts with. What the reading\n"
           "  did not keep (characters past 256, cells that differ from their glyphs) is\n"
           "  said, a line each\n"
           "  --compact  the charset compacted on the way, as Char > Compact charset does:\n"
           "             alike glyphs made one, unused ones dropped, the rest to the front\n"
           "--multicolour D022,D023 (each 0-15, decimal or $ hex) is the C64's multicolour\n"
           "character mode with these two shared colours, implying --machine c64:\n"
           "--export-map names them beside the background, and --import-screen reads the\n"
           "picture in pairs of pixels, each cell in the two, the background and one colour\n"
           "0-7 of its own.\n"
           "Exit status 0 when the file was written; otherwise a message and nothing written.\n";
}

} // namespace fontarel
