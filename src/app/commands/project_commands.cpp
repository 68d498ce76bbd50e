#include "app/commands/project_commands.h"

#include <cstdint>
#include <vector>

#include "app/commands/ctm_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/import_commands.h"
#include "app/views/map_canvas.h"
#include "formats/ctm.h"
#include "model/paths.h"

namespace fontarel {

namespace {

constexpr const char* kOpenTitle = "Please choose file to load";
constexpr const char* kOpenPatterns =
    "Font (*.fnt)|*.fnt|Character map (*.map)|*.map|Project (*.fontarel)|*.fontarel|"
    "CTM project (*.ctm)|*.ctm|Koala painting (*.koa *.kla)|*.koa;*.kla|All files (*)|*";
constexpr const char* kProjectPatterns = "Project (*.fontarel)|*.fontarel";
constexpr const char* kProjectExtension = ".fontarel";
// Pattern entries of the "Open..." requester: the entry chosen, not the file's extension, decides
// how the file is read: the map entry reads a map, every other one reads by content.
constexpr int kFontEntry = 0;
constexpr int kMapEntry = 1;
// Enough of a file to tell a project, a PSF, a gzip file or a BDF font by.
constexpr int64_t kSniffBytes = 4096;

bool write_project(App& app, const std::string& path) {
    // The text goes to the file as it is made: a large level's save holds a few hundred kB of it,
    // never the whole text beside the file.
    const Project project = current_project(app);
    const bool ok = app.tk.write_whole_file_in_pieces(path, [&](const PieceWriter& write) {
        bool whole = true;
        write_project_text(project, [&](std::string_view piece) {
            whole = whole && write({reinterpret_cast<const uint8_t*>(piece.data()), piece.size()});
        });
        return whole;
    });
    if (ok)
        app.s.project_path = path;
    else
        app.tk.message_box("Save file", "File Error:" + path);
    return ok;
}

} // namespace

Project current_project(const App& app) {
    Project p;
    p.charset = *app.s.charset;
    p.map = *app.s.map;
    p.colour0 = app.s.color_bit0;
    p.colour1 = app.s.color_bit1;
    p.tiles = app.s.levels.tiles();
    p.level = app.s.levels.level();
    p.kept = app.s.project_kept;
    return p;
}

void take_project(App& app, const Project& project) {
    app.store() = project.charset;
    *app.s.map = project.map;
    app.s.color_bit0 = project.colour0;
    app.s.color_bit1 = project.colour1;
    app.s.levels.replace_tiles(project.tiles);
    app.s.levels.replace_level(project.level);
    app.s.current_tile = 0;
    app.s.project_kept = project.kept;
    set_map_size(app, project.map.cols, project.map.rows);
}

bool names_project(App& app, const std::string& path) {
    std::vector<uint8_t> start;
    return app.tk.read_file_start(path, kSniffBytes, start) && is_project(start);
}

void open_by_content(App& app, const std::string& path) {
    std::vector<uint8_t> start;
    if (is_blank(path) || !app.tk.read_file_start(path, kSniffBytes, start) || start.empty()) {
        load_font_file(app, path); // says what is wrong, as it always has
        return;
    }
    if (is_ctm(start)) { // a CTM project: charset, tiles and level
        remember_folder(app, path);
        open_ctm(app, path, "Open File");
        return;
    }
    if (names_koala(app, path)) { // a painting: a new charset and a multicolour screen
        remember_folder(app, path);
        open_koala(app, path);
        return;
    }
    const FontFileKind kind = detect_font_kind(start);
    const bool font = kind == FontFileKind::Psf1 || kind == FontFileKind::Psf2 ||
                      kind == FontFileKind::Gzip || kind == FontFileKind::Bdf;
    if (!font && !is_project(start)) {
        load_font_file(app, path);
        return;
    }
    std::vector<uint8_t> bytes;
    if (!read_import_file(app, path, bytes, font ? kLargestImport : kLargestProject))
        return;
    remember_folder(app, path);
    if (font) {
        take_glyphs(app, path, import_font_file(bytes));
        return;
    }
    Project project;
    const std::string why = read_project(bytes, project);
    if (!why.empty()) {
        app.tk.message_box("Open File", path + ": " + why);
        return;
    }
    take_project(app, project);
    app.s.project_path = path;
}

void open_file(App& app) {
    AppState& s = app.s;
    s.open_pattern = kOpenPatterns;
    s.chosen_path =
        app.tk.choose_open_file(kOpenTitle, s.file_directory, s.open_pattern, kFontEntry);
    if (s.chosen_path.empty())
        return;
    remember_folder(app, s.chosen_path);
    // A copy: the loaders must not see the path change under them.
    const std::string path = s.chosen_path;
    if (app.tk.chosen_pattern() == kMapEntry) {
        load_map_file(app, path);
        // Offered by the next map save even when the load failed.
        s.map_file_name = path;
    } else if (app.tk.chosen_pattern() >= 0) {
        open_by_content(app, path); // a font, or what the file shows itself to be
    }
}

void save_project(App& app) {
    if (app.s.project_path.empty())
        save_project_as(app);
    else
        write_project(app, app.s.project_path);
}

void save_project_as(App& app) {
    const std::string start =
        app.s.project_path.empty() ? app.s.file_directory : app.s.project_path;
    const std::string path = choose_save_path(app, start, kProjectPatterns, kProjectExtension);
    if (!path.empty())
        write_project(app, path);
}

} // namespace fontarel
