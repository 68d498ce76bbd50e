#include "cli/command_line_run.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/tmx_export_run.h"
#include "formats/atari_import.h"
#include "formats/ctm.h"
#include "formats/export_level.h"
#include "formats/export_sheet.h"
#include "formats/font_bytes.h"
#include "formats/koala.h"
#include "formats/map_bytes.h"
#include "formats/multicolour_import.h"
#include "formats/opened_project.h"
#include "formats/picture_import.h"
#include "formats/project.h"
#include "model/charset_compact.h"
#include "model/colour.h"
#include "model/map_block.h"
#include "model/map_colours.h"
#include "model/version.h"
#include "render/level_screen.h"
#include "render/map_screen.h"
#include "render/sheet_picture.h"
#include "toolkit/file_io.h"

namespace fontarel {

namespace {

int fail(std::ostream& err, int status, const std::string& message) {
    err << "fontarel: " << message << "\n";
    return status;
}

// The glyph colours a picture is drawn in: a project's own, else the program's at start (clear
// pixels black, set pixels white).
struct GlyphColours {
    Colour bit0 = kStartClearColour, bit1 = kStartSetColour;
};

// Enough of a file to tell a project by.
constexpr int64_t kSniffBytes = 4096;

// The whole input file, at most `limit` bytes of it; false (with `why`) when it cannot be read. A
// project is read whole up to the one limit every reader of a project has, and refused by its size
// past it, before anything is parsed.
bool read_input(const std::string& path, int64_t limit, std::vector<uint8_t>& bytes,
                std::string& why) {
    const int64_t size = file_size(path);
    if (size == -2 || size < 1) {
        why = size == -2              ? "is a folder"
              : size == 0             ? "is empty"
              : is_special_file(path) ? "is not a regular file"
                                      : "does not exist";
        return false;
    }
    if (read_file_start(path, kSniffBytes, bytes) && is_project(bytes))
        limit = kLargestProject;
    if (limit == kLargestProject && size > kLargestProject) {
        why = "is larger than 128 MB: too large for a project";
        return false;
    }
    if (!read_file_start(path, std::min(size, limit), bytes) ||
        static_cast<int64_t>(bytes.size()) != std::min(size, limit)) {
        why = "cannot be read";
        return false;
    }
    return true;
}

// The file of a glyph export; false (with `why`) when it cannot be made.
bool glyph_file(const CommandLine& line, PngEncoder encode_png, const CharsetStore& store,
                GlyphColours colours, std::vector<uint8_t>& out, std::string& why) {
    if (line.format != ExportFormat::Png) {
        out = export_glyphs(line.format, store, line.glyphs,
                            export_label(line.output, kGlyphLabelFallback), line.load_address);
        return true;
    }
    Raster picture(kSheetSize, kSheetSize);
    render_glyph_sheet(picture, store, line.glyphs, static_cast<int>(colours.bit0),
                       static_cast<int>(colours.bit1));
    if (encode_png != nullptr)
        out = encode_png(picture);
    why = "no PNG encoder";
    return !out.empty();
}

// The largest font file that is read whole (a BDF of many characters outside 0-255 may be large);
// of a raw font only the first 2048 bytes count.
constexpr int64_t kFontFileLimit = int64_t{64} << 20;

// The glyphs of the font file `input`, placed from glyph 0 as the editor loads a font, and the
// import's remark in `note`; false (with `why`) when it is no font that can be read. A project
// gives its glyph colours to `colours` too, when asked for.
bool read_font(const std::vector<uint8_t>& input, int64_t file_bytes, PictureDecoder decode_picture,
               CharsetStore& store, std::string& note, std::string& why,
               GlyphColours* colours = nullptr) {
    if (is_project(input)) {
        auto project = std::make_unique<Project>();
        why = read_project(input, *project);
        if (!why.empty())
            return false;
        store = project->charset;
        if (colours != nullptr)
            *colours = {project->colour0, project->colour1};
        return true;
    }
    const FontFileKind kind = detect_font_kind(input);
    if (kind == FontFileKind::Raw) {
        place_font_bytes(store, 0, input);
        return true;
    }
    if (file_bytes > kFontFileLimit) {
        why = "is larger than 64 MB: too large to be read as a font";
        return false;
    }
    FontImport font;
    if (kind != FontFileKind::Picture)
        font = import_font_file(input);
    else {
        // In the program's colours as they are at start: clear pixels black, set pixels white.
        Picture picture;
        if (decode_picture == nullptr || !decode_picture(input, picture))
            font.error = "is no picture this program can read (PNG, BMP or GIF)";
        else
            font = import_charset_picture(picture, kStartClearColour, kStartSetColour);
    }
    if (!font.ok()) {
        why = font.error;
        return false;
    }
    note = font.note;
    place_imported_glyphs(store, font);
    return true;
}

// The --colours file's attributes into the map in use and the --charset font into `glyphs`, each
// when given; false (with `why`, the file's name first) when one cannot be read or does not fit.
bool read_map_options(const CommandLine& line, PictureDecoder decode, CharMap& map,
                      CharsetStore& glyphs, std::string& why) {
    const int64_t cells = int64_t{map.cols} * map.rows;
    const std::string size = std::to_string(map.cols) + "x" + std::to_string(map.rows);
    std::vector<uint8_t> bytes;
    // The Atari's mode as --machine names it, and its registers as --atari-colours gives them.
    if (map.look.machine == MapMachine::Atari && line.machine == MapMachine::Atari)
        map.look.atari_mode = line.atari_mode;
    if (line.atari_colours_given) {
        map.look.colbk = line.atari_colours[0];
        std::copy(line.atari_colours.begin() + 1, line.atari_colours.end(),
                  map.look.colpf.begin());
    }
    if (!line.colours.empty()) {
        if (!read_input(line.colours, cells + 1, bytes, why)) {
            why = line.colours + " " + why;
            return false;
        }
        if (static_cast<int64_t>(bytes.size()) != cells) {
            why = line.colours + " is no colour file of a " + size + " map: that is " +
                  std::to_string(cells) + " bytes";
            return false;
        }
        place_map_colour_bytes(map, bytes);
    }
    if (!line.charset.empty()) {
        // Any font --export reads, from glyph 0 on.
        std::string note;
        if (!read_input(line.charset, kFontFileLimit, bytes, why)) {
            why = line.charset + " " + why;
            return false;
        }
        if (!read_font(bytes, file_size(line.charset), decode, glyphs, note, why)) {
            why = line.charset + ": " + why;
            return false;
        }
    }
    return true;
}

// The map of an --export-map from a raw map INPUT: its codes in the --size given, the machine,
// then the options; false (with `why`, the file's name first) when INPUT has not exactly one byte
// a cell.
bool read_map(const CommandLine& line, const std::vector<uint8_t>& codes, PictureDecoder decode,
              CharMap& map, CharsetStore& glyphs, std::string& why) {
    const int64_t cells = int64_t{line.map_cols} * line.map_rows;
    const std::string size = std::to_string(line.map_cols) + "x" + std::to_string(line.map_rows);
    if (static_cast<int64_t>(codes.size()) != cells) {
        why = line.input + " is no " + size + " map: that is " + std::to_string(cells) + " bytes";
        return false;
    }
    map.cols = line.map_cols;
    map.rows = line.map_rows;
    place_map_bytes(map, codes);
    set_map_machine(map, line.machine);
    return read_map_options(line, decode, map, glyphs, why);
}

// The map of an --export-map from a project INPUT: its size, machine, colours and glyphs, each
// yielding to the option that names it; false (with `why`) as read_map, or when the project
// cannot be read or the format does not take its size.
bool read_project_map(const CommandLine& line, const std::vector<uint8_t>& input,
                      PictureDecoder decode, CharMap& map, CharsetStore& glyphs,
                      GlyphColours& colours, std::string& why, bool& usage) {
    auto project = std::make_unique<Project>();
    why = read_project(input, *project);
    if (!why.empty()) {
        why = line.input + ": " + why;
        return false;
    }
    map = project->map;
    glyphs = project->charset;
    colours = {project->colour0, project->colour1};
    if (line.map_cols != 0) {
        map.cols = line.map_cols;
        map.rows = line.map_rows;
    }
    // A machine named, or implied by the format, wins over the project's.
    if ((line.machine_given || line.machine != MapMachine::Mono) &&
        line.machine != map.look.machine)
        set_map_machine(map, line.machine);
    usage = true;
    why = map_export_refusal(line.format, map.cols, map.rows);
    if (!why.empty())
        return false;
    if (!line.colours.empty() && map.look.machine == MapMachine::Mono) {
        why = "--colours needs --machine c64, zx or pc: what the attribute bytes mean";
        return false;
    }
    usage = false;
    return read_map_options(line, decode, map, glyphs, why);
}

int run_export(const CommandLine& line, PngEncoder encode_png, PictureDecoder decode_picture,
               std::ostream& err) {
    // The export would replace a file it reads, however OUTPUT is spelled.
    for (const std::string* input : {&line.input, &line.colours, &line.charset})
        if (!input->empty() && same_file(*input, line.output))
            return fail(err, kExitFileError,
                        line.output + " is an input file; it is left as it is");
    const bool map = line.action == CommandAction::ExportMap;
    std::vector<uint8_t> input;
    std::string why;
    if (!read_input(line.input, kFontFileLimit, input, why))
        return fail(err, kExitFileError, line.input + " " + why);

    std::vector<uint8_t> output;
    std::string note;
    GlyphColours colours;
    if (map) {
        auto cells = std::make_unique<CharMap>();
        auto glyphs = std::make_unique<CharsetStore>();
        const bool draws = line.format == ExportFormat::Scr || line.format == ExportFormat::Png;
        if (is_project(input)) {
            bool usage = false;
            if (!read_project_map(line, input, decode_picture, *cells, *glyphs, colours, why,
                                  usage))
                return fail(err, usage ? kExitUsage : kExitFileError, why);
        } else if (line.map_cols == 0) {
            return fail(err, kExitUsage,
                        "--export-map needs --size WxH: one of " + std::string(kSizeList) +
                            ", unless INPUT is a project");
        } else if (draws && line.charset.empty()) {
            // A raw map has no glyphs: the screen would show blank cells.
            return fail(err, kExitUsage,
                        "--export-map " + std::string(export_format_info(line.format).name) +
                            " needs --charset FONT: the glyphs the screen shows, unless INPUT "
                            "is a project");
        } else if (!read_map(line, input, decode_picture, *cells, *glyphs, why)) {
            return fail(err, kExitFileError, why);
        }
        if (line.multicolour) {
            cells->look.mode = TextMode::Multicolour;
            cells->look.multicolour_1 = static_cast<uint8_t>(line.multicolour_1);
            cells->look.multicolour_2 = static_cast<uint8_t>(line.multicolour_2);
        }
        if (line.shape.part()) {
            why = data_region_refusal(line.shape, cells->cols, cells->rows, "map", "cells");
            if (!why.empty())
                return fail(err, kExitUsage, line.input + ": --region: " + why);
            *cells = map_part(*cells, {line.shape.x, line.shape.y, line.shape.w, line.shape.h});
        }
        if (line.format == ExportFormat::Png) {
            // The screen as the machine shows it; a Mono map in the glyph colours.
            Raster picture(map_screen_width(*cells), map_screen_height(*cells));
            render_map_screen(picture, *cells, *glyphs, static_cast<int>(colours.bit0),
                              static_cast<int>(colours.bit1));
            if (encode_png != nullptr)
                output = encode_png(picture);
            if (output.empty())
                return fail(err, kExitFileError, line.output + ": no PNG encoder");
        } else {
            output = export_map(line.format, *cells, export_label(line.output, kMapLabelFallback),
                                glyphs.get());
        }
    } else {
        // Loaded at glyph 0, as the program loads the font named on its command line.
        auto store = std::make_unique<CharsetStore>();
        if (!read_font(input, file_size(line.input), decode_picture, *store, note, why, &colours))
            return fail(err, kExitFileError, line.input + ": " + why);
        if (!glyph_file(line, encode_png, *store, colours, output, why))
            return fail(err, kExitFileError, line.output + ": " + why);
    }
    if (!write_whole_file(line.output, output))
        return fail(err, kExitFileError, line.output + " cannot be written");
    if (!note.empty())
        err << "fontarel: " << line.input << ": " << note << "\n";
    return kExitOk;
}

// The largest project file the data exports read: a project of the largest level written by the
// program is about 70 MB.

int run_level_export(const CommandLine& line, PngEncoder encode_png, std::ostream& err) {
    if (same_file(line.input, line.output))
        return fail(err, kExitFileError, line.output + " is an input file; it is left as it is");
    const DataExport kind = data_export_of(line.action);
    auto project = std::make_unique<Project>();
    std::string why;
    std::vector<std::string> remarks;
    if (!read_level_input(line.input, *project, why, &remarks))
        return fail(err, kExitFileError, why);
    for (const std::string& r : remarks)
        err << r << "\n"; // what a CTM project lost on the way in
    if (line.format == ExportFormat::Tmx) {
        why = write_tmx_export(line.input, line.output, *project, encode_png);
        return why.empty() ? kExitOk : fail(err, kExitFileError, why);
    }
    std::vector<uint8_t> output;
    if (line.format == ExportFormat::Png) {
        why = level_screen_refusal(project->tiles, project->level);
        if (!why.empty())
            return fail(err, kExitUsage, line.input + ": " + why);
        // The sizes are within the refusal's limits, far inside an int.
        Raster picture(static_cast<int>(level_screen_width(project->tiles, project->level)),
                       static_cast<int>(level_screen_height(project->tiles, project->level)));
        render_level_screen(picture, project->tiles, project->level, project->map, project->charset,
                            project->colour0, project->colour1);
        if (encode_png != nullptr)
            output = encode_png(picture);
        if (output.empty())
            return fail(err, kExitFileError, line.output + ": no PNG encoder");
    } else {
        why = data_shape_refusal(kind, line.shape, *project);
        if (!why.empty())
            return fail(err, kExitUsage, line.input + ": --region: " + why);
        if (line.shape.part() || line.shape.colours_only)
            *project = shaped_project(*project, line.shape);
        why = data_export_refusal(kind, line.format, *project, line.load_address);
        if (!why.empty())
            return fail(err, kExitUsage, line.input + ": " + why);
        const std::string label = export_label(line.output, data_export_label_fallback(kind));
        DataShape rest = line.shape; // the cut is made
        rest.w = 0;
        rest.colours_only = false;
        std::string note;
        output =
            export_data_file(kind, line.format, *project, label, line.load_address, rest, &note);
        if (!note.empty())
            err << "fontarel: " << line.output << ": --split-words: " << note << "\n";
    }
    if (!write_whole_file(line.output, output))
        return fail(err, kExitFileError, line.output + " cannot be written");
    return kExitOk;
}

// The largest picture file an import reads: far more than any screen picture needs.
constexpr int64_t kPictureFileLimit = int64_t{16} << 20;

// Whether two paths lead to one file: an existing one by any name or link, or one still to be
// made, spelled differently ("./a" and "a").
bool one_file(const std::string& a, const std::string& b) {
    if (same_file(a, b))
        return true;
    namespace fs = std::filesystem;
    // The full path with links resolved as far as it exists; false when the system cannot say.
    auto full = [](const std::string& path, fs::path& out) {
        std::error_code error;
        const fs::path absolute = fs::absolute(path, error);
        if (!error)
            out = fs::weakly_canonical(absolute, error);
        return !error;
    };
    fs::path pa, pb;
    return full(a, pa) && full(b, pb) ? pa == pb : a == b;
}

// A machine's colours (or a painting's) need a file to go to, and --colours a machine.
constexpr const char* kColoursGoTogether =
    "--machine c64, zx or pc and --colours OUT go together: the colours read from the picture are "
    "written there";

// "1000 cells, 95 distinct glyphs (137 distinct patterns), map 40x25", then the import's note.
std::string import_summary(const ScreenImport& screen) {
    std::string text = std::to_string(screen.cells) + " cells, " + std::to_string(screen.glyphs) +
                       (screen.glyphs == 1 ? " distinct glyph" : " distinct glyphs");
    if (screen.distinct != screen.glyphs)
        text += " (" + std::to_string(screen.distinct) + " distinct patterns)";
    text += ", map " + std::to_string(screen.map.cols) + "x" + std::to_string(screen.map.rows);
    return screen.note.empty() ? text : text + ". " + screen.note;
}

// The screen of --import-screen from INPUT's `bytes`: a Koala painting, or a picture read with
// `decode`, in the machine's colours or multicolour, or matched to --charset. Returns kExitOk, or
// the exit status of a failure said on `err`.
int read_screen(const CommandLine& line, PictureDecoder decode, std::vector<uint8_t>& bytes,
                std::unique_ptr<ScreenImport>& screen, std::ostream& err) {
    // The program's colours as they are at start: clear pixels black, set pixels white.
    const MulticolourChoice registers{-1, line.multicolour ? line.multicolour_1 : -1,
                                      line.multicolour ? line.multicolour_2 : -1};
    std::string why;
    // A Koala painting by its size, or by its name when its size is wrong, which is then said.
    if (is_koala(bytes) || (has_koala_name(line.input) && !is_picture(bytes))) {
        if (!line.charset.empty())
            return fail(err, kExitUsage,
                        line.input +
                            " is a Koala painting, which makes a new charset: no --charset");
        if (line.machine != MapMachine::Mono && line.machine != MapMachine::C64)
            return fail(err, kExitUsage,
                        line.input + " is a Koala painting, a C64 screen: --machine c64 or none");
        // A painting is its colours: a font and a map alone would drop them without a word.
        if (line.colours.empty() && line.project_output.empty())
            return fail(err, kExitUsage, kColoursGoTogether);
        screen = std::make_unique<ScreenImport>(import_koala(bytes, registers));
    } else if (!line.colours.empty() && line.machine == MapMachine::Mono) {
        return fail(err, kExitUsage, kColoursGoTogether);
    } else {
        Picture picture;
        if (static_cast<int64_t>(bytes.size()) > kPictureFileLimit)
            return fail(err, kExitFileError, line.input + " is too large for a screen picture");
        if (decode == nullptr || !decode(bytes, picture))
            return fail(err, kExitFileError, line.input + " holds no picture that can be read");
        if (line.machine == MapMachine::Atari) {
            screen = std::make_unique<ScreenImport>(import_atari_screen(picture));
            screen->map.look.atari_mode = line.atari_mode;
        } else if (line.multicolour) {
            screen = std::make_unique<ScreenImport>(import_multicolour_screen(picture, registers));
        } else if (line.charset.empty()) {
            screen = std::make_unique<ScreenImport>(import_screen_new_charset(
                picture, kStartClearColour, kStartSetColour, line.machine));
        } else {
            // Any font --export reads: raw glyph bytes from glyph 0, as the editor loads the font
            // named on its command line, or a PSF, BDF, PRG or charset picture.
            if (!read_input(line.charset, kFontFileLimit, bytes, why))
                return fail(err, kExitFileError, line.charset + " " + why);
            auto current = std::make_unique<CharsetStore>();
            std::string note;
            if (!read_font(bytes, file_size(line.charset), decode, *current, note, why))
                return fail(err, kExitFileError, line.charset + ": " + why);
            screen = std::make_unique<ScreenImport>(import_screen_current_charset(
                picture, *current, kStartClearColour, kStartSetColour, line.machine));
        }
    }
    if (!screen->ok())
        return fail(err, kExitFileError, line.input + " " + screen->error);
    return kExitOk;
}

int run_import_screen(const CommandLine& line, PictureDecoder decode, std::ostream& out,
                      std::ostream& err) {
    const std::string& font = line.output;
    const std::string& map = line.map_output;
    const std::string& project = line.project_output;
    if (!font.empty() && one_file(font, map))
        return fail(err, kExitUsage, "--font and --map name one file: " + font);
    if (!line.colours.empty() && (one_file(line.colours, font) || one_file(line.colours, map)))
        return fail(err, kExitUsage,
                    "--colours names the file of --font or --map: " + line.colours);
    for (const std::string* other : {&font, &map, &line.colours})
        if (!project.empty() && !other->empty() && one_file(project, *other))
            return fail(err, kExitUsage, "--project names the file of another output: " + project);
    for (const std::string* output : {&font, &map, &line.colours, &project})
        for (const std::string* input : {&line.input, &line.charset})
            if (!input->empty() && !output->empty() && same_file(*input, *output))
                return fail(err, kExitFileError,
                            *output + " is the input file; it is left as it is");

    std::vector<uint8_t> bytes;
    std::string why;
    if (!read_input(line.input, kPictureFileLimit + 1, bytes, why))
        return fail(err, kExitFileError, line.input + " " + why);
    std::unique_ptr<ScreenImport> screen;
    if (const int status = read_screen(line, decode, bytes, screen, err); status != kExitOk)
        return status;

    // The files in the order they are written, each file's old bytes kept to be put back should
    // a later one not be written: all of them are written, or none.
    struct Output {
        const std::string& path;
        std::vector<uint8_t> bytes;
        std::vector<uint8_t> old;
        int64_t old_size = -1;
        bool readable = false;
    };
    std::vector<Output> outputs;
    if (!font.empty()) {
        outputs.push_back(
            {font, {screen->charset.bytes.begin(), screen->charset.bytes.end()}, {}, -1, false});
        outputs.push_back({map, map_file_bytes(screen->map), {}, -1, false});
    }
    if (!line.colours.empty())
        outputs.push_back({line.colours, map_colour_file_bytes(screen->map), {}, -1, false});
    if (!project.empty()) {
        Project p;
        p.charset = screen->charset;
        p.map = screen->map;
        p.colour0 = kStartClearColour;
        p.colour1 = kStartSetColour;
        const std::string text = project_text(p);
        outputs.push_back({project, {text.begin(), text.end()}, {}, -1, false});
    }
    for (size_t i = 0; i < outputs.size(); ++i) {
        Output& o = outputs[i];
        o.old_size = file_size(o.path);
        o.readable = o.old_size >= 0 && read_file_start(o.path, o.old_size, o.old);
        if (write_whole_file(o.path, o.bytes))
            continue;
        for (size_t j = 0; j < i; ++j) {
            if (outputs[j].readable)
                write_whole_file(outputs[j].path, outputs[j].old);
            else if (outputs[j].old_size < 0)
                delete_file(outputs[j].path);
        }
        return fail(err, kExitFileError, o.path + " cannot be written");
    }
    out << import_summary(*screen) << "\n";
    return kExitOk;
}

// --to-project: what opening INPUT gives, as Open... reads it, written through the project
// writer in pieces (never the whole text beside the file). What the reading did not keep is said
// once the file is written, a line each.
int run_to_project(const CommandLine& line, std::ostream& err) {
    if (same_file(line.input, line.output))
        return fail(err, kExitFileError, line.output + " is an input file; it is left as it is");
    std::vector<uint8_t> bytes;
    std::string why;
    if (!read_input(line.input, kOpenedSniffBytes, bytes, why))
        return fail(err, kExitFileError, line.input + " " + why);
    const OpenedRead read = opened_read(line.input, bytes);
    const int64_t size = file_size(line.input);
    if (read.whole && size > read.limit)
        return fail(err, kExitFileError,
                    line.input + " is too large to import (" + std::to_string(size) + " bytes)");
    if (!read.whole)
        bytes.resize(std::min(bytes.size(), static_cast<size_t>(read.limit)));
    else if (static_cast<int64_t>(bytes.size()) < size &&
             !read_input(line.input, read.limit, bytes, why))
        return fail(err, kExitFileError, line.input + " " + why);
    auto project = std::make_unique<Project>();
    std::vector<std::string> remarks;
    why = open_as_project(line.input, bytes, *project, remarks);
    if (!why.empty())
        return fail(err, kExitFileError, line.input + ": " + why);
    bytes = {};
    if (line.compact) {
        const bool no_level = project->tiles == TileSet{} && project->level == Level{};
        remarks.push_back(compact_report(compact_charset(
            project->charset, project->map, no_level ? nullptr : &project->tiles, 1, 0)));
    }
    const bool written = write_whole_file_in_pieces(line.output, [&](const PieceWriter& write) {
        bool whole = true;
        write_project_text(*project, [&](std::string_view piece) {
            whole = whole && write({reinterpret_cast<const uint8_t*>(piece.data()), piece.size()});
        });
        return whole;
    });
    if (!written)
        return fail(err, kExitFileError, line.output + " cannot be written");
    for (const std::string& r : remarks)
        err << "fontarel: " << line.input << ": " << r << "\n";
    return kExitOk;
}

} // namespace

bool read_level_input(const std::string& path, Project& project, std::string& why,
                      std::vector<std::string>* remarks) {
    std::vector<uint8_t> bytes;
    if (!read_input(path, kLargestProject, bytes, why)) {
        why = path + " " + why;
        return false;
    }
    if (is_ctm(bytes)) {
        std::vector<std::string> said;
        why = read_ctm(bytes, project, said);
        if (remarks != nullptr)
            for (const std::string& r : said)
                remarks->push_back(path + ": " + r);
    } else if (!is_project(bytes)) {
        why = path + " is no project file (.fontarel) or CTM project";
        return false;
    } else {
        why = read_project(bytes, project);
    }
    if (!why.empty()) {
        why = path + ": " + why;
        return false;
    }
    return true;
}

int run_command_line(const CommandLine& line, PngEncoder encode_png, std::ostream& out,
                     std::ostream& err, PictureDecoder decode_picture) {
    switch (line.action) {
    case CommandAction::Help:
        out << usage_text();
        return kExitOk;
    case CommandAction::Version:
        out << kProgramVersion << "\n";
        return kExitOk;
    case CommandAction::ExportGlyphs:
    case CommandAction::ExportMap:
        return run_export(line, encode_png, decode_picture, err);
    case CommandAction::ImportScreen:
        return run_import_screen(line, decode_picture, out, err);
    case CommandAction::ExportTiles:
    case CommandAction::ExportLevel:
    case CommandAction::ExportMaterials:
    case CommandAction::ExportTileTags:
        return run_level_export(line, encode_png, err);
    case CommandAction::ToProject:
        return run_to_project(line, err);
    case CommandAction::Fail:
        return fail(err, kExitUsage, line.error + " (fontarel --help shows the usage)");
    case CommandAction::Refuse:
        err << "fontarel: " << line.error << "\n" << usage_text();
        return kExitUsage;
    case CommandAction::Edit:
    default:
        return kExitUsage;
    }
}

} // namespace fontarel
