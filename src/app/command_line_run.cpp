#include "app/command_line_run.h"

#include <algorithm>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/version.h"
#include "model/export_sheet.h"
#include "model/font_bytes.h"
#include "model/map_bytes.h"
#include "render/sheet_picture.h"
#include "toolkit/file_io.h"

namespace fontarel {

namespace {

int fail(std::ostream& err, int status, const std::string& message) {
    err << "fontarel: " << message << "\n";
    return status;
}

// The whole input file, at most `limit` bytes of it; false (with `why`) when it cannot be read.
bool read_input(const std::string& path, int64_t limit, std::vector<uint8_t>& bytes,
                std::string& why) {
    const int64_t size = file_size(path);
    if (size == -2 || size < 1) {
        why = size == -2 ? "is a folder" : size == 0 ? "is empty" : "does not exist";
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
                std::vector<uint8_t>& out, std::string& why) {
    if (line.format != ExportFormat::Png) {
        out = export_glyphs(line.format, store, line.glyphs,
                            export_label(line.output, kGlyphLabelFallback), line.load_address);
        return true;
    }
    // The program's colours as they are at start: clear pixels black, set pixels white.
    const AppState defaults;
    Raster picture(kSheetSize, kSheetSize);
    render_glyph_sheet(picture, store, line.glyphs, defaults.color_bit0, defaults.color_bit1);
    if (encode_png != nullptr)
        out = encode_png(picture);
    why = "no PNG encoder";
    return !out.empty();
}

// The largest font file that is read whole (a BDF of many characters outside 0-255 may be large);
// of a raw font only the first 2048 bytes count.
constexpr int64_t kFontFileLimit = int64_t{64} << 20;

// The glyphs of the font file `input`, placed from glyph 0 as the editor loads a font, and the
// import's remark in `note`; false (with `why`) when it is no font that can be read.
bool read_font(const std::vector<uint8_t>& input, int64_t file_bytes,
               PictureFontReader read_picture, CharsetStore& store, std::string& note,
               std::string& why) {
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
    else if (read_picture != nullptr)
        font = read_picture(input);
    else
        font.error = "charset pictures are read by the editor's File ▸ Import";
    if (!font.ok()) {
        why = font.error;
        return false;
    }
    note = font.note;
    place_imported_glyphs(store, font);
    return true;
}

int run_export(const CommandLine& line, PngEncoder encode_png, PictureFontReader read_picture,
               std::ostream& err) {
    // The export would replace the very file it reads, however OUTPUT is spelled.
    if (same_file(line.input, line.output))
        return fail(err, kExitFileError, line.output + " is the input file; it is left as it is");
    const bool map = line.action == CommandAction::ExportMap;
    std::vector<uint8_t> input;
    std::string why;
    const int64_t map_bytes = int64_t{line.map_cols} * line.map_rows;
    if (!read_input(line.input, map ? map_bytes + 1 : kFontFileLimit, input, why))
        return fail(err, kExitFileError, line.input + " " + why);

    std::vector<uint8_t> output;
    std::string note;
    if (map) {
        if (static_cast<int64_t>(input.size()) != map_bytes)
            return fail(err, kExitFileError,
                        line.input + " is no " + std::to_string(line.map_cols) + "x" +
                            std::to_string(line.map_rows) + " map: that is " +
                            std::to_string(map_bytes) + " bytes");
        auto cells = std::make_unique<CharMap>();
        cells->cols = line.map_cols;
        cells->rows = line.map_rows;
        place_map_bytes(*cells, input);
        output = export_map(line.format, *cells, export_label(line.output, kMapLabelFallback));
    } else {
        // Loaded at glyph 0, as the program loads the font named on its command line.
        auto store = std::make_unique<CharsetStore>();
        if (!read_font(input, file_size(line.input), read_picture, *store, note, why))
            return fail(err, kExitFileError, line.input + ": " + why);
        if (!glyph_file(line, encode_png, *store, output, why))
            return fail(err, kExitFileError, line.output + ": " + why);
    }
    if (!write_whole_file(line.output, output))
        return fail(err, kExitFileError, line.output + " cannot be written");
    if (!note.empty())
        err << "fontarel: " << line.input << ": " << note << "\n";
    return kExitOk;
}

} // namespace

int run_command_line(const CommandLine& line, PngEncoder encode_png, std::ostream& out,
                     std::ostream& err, PictureFontReader read_picture) {
    switch (line.action) {
    case CommandAction::Help:
        out << usage_text();
        return kExitOk;
    case CommandAction::Version:
        out << kProgramVersion << "\n";
        return kExitOk;
    case CommandAction::ExportGlyphs:
    case CommandAction::ExportMap:
        return run_export(line, encode_png, read_picture, err);
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
