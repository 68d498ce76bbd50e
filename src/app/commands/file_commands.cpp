// The file commands. Every failure is told in a message box where it is found, and the program
// goes on; a cancelled requester is no failure and shows nothing. Saves replace a file only once
// the whole new content is safely written, so a failed save never costs the old file.

#include "app/commands/file_commands.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/ids.h"
#include "app/views/present.h"
#include "formats/font_bytes.h"
#include "formats/map_bytes.h"
#include "model/paths.h"

namespace fontarel {

namespace {

constexpr const char* kOpenTitle = "Please choose file to load";
constexpr const char* kSaveTitle = "Please choose file to save";
constexpr const char* kFontPatterns = "Font (*.fnt)|*.fnt";
constexpr const char* kMapPatterns = "Character map (*.map)|*.map";
constexpr const char* kColourPatterns = "Map colours (*.col)|*.col";
constexpr const char* kColourOpenPatterns = "Map colours (*.col)|*.col|All files|*";
constexpr const char* kFontExtension = ".fnt";
constexpr const char* kMapExtension = ".map";
constexpr const char* kBmpExtension = ".bmp";
constexpr const char* kColourExtension = ".col";

void report_save_failure(App& app, const std::string& path) {
    app.tk.message_box("Save file", "File Error:" + path);
}

// The save requester from `start`, then `write(path)` to the confirmed path with `extension`
// forced on; `write` gives nonzero when the whole file was written. A cancelled requester writes
// nothing.
template <typename Write>
void save_through_requester(App& app, const std::string& start, const std::string& patterns,
                            const std::string& extension, Write write) {
    const std::string path = choose_save_path(app, start, patterns, extension);
    if (!path.empty() && !write(path))
        report_save_failure(app, path);
}

// The path with the extension of its file name (if any) replaced by `extension`:
// "/maps/title.map" gives "/maps/title.col".
std::string with_extension(const std::string& path, const std::string& extension) {
    const size_t name = directory_part(path).size();
    const size_t dot = path.rfind('.');
    return (dot != std::string::npos && dot > name ? path.substr(0, dot) : path) + extension;
}

// The map file or the map colour file at `path` into the cells in use, by `place`; a file longer
// than the map in use is refused, one that ends early leaves the rest of the cells as they are.
template <typename Place> bool load_map_layer(App& app, const std::string& path, Place place) {
    Toolkit& tk = app.tk;
    CharMap& map = *app.s.map;
    // Nothing there (-1) and a folder (-2) pass this test and fail at the open.
    if (tk.file_size(path) > map_file_length(map)) {
        tk.message_box("Open File", "to big map:" + path);
        return false;
    }
    // Up to one byte per cell in use, or fewer when the file ends first.
    std::vector<uint8_t> bytes;
    if (!tk.read_file_start(path, map_file_length(map), bytes)) {
        tk.message_box("Open File", "unable to open:" + path);
        return false;
    }
    place(map, bytes);
    return true;
}

} // namespace

void remember_folder(App& app, const std::string& path) {
    app.s.file_directory = directory_part(path);
}

std::string choose_save_path(App& app, const std::string& start, const std::string& patterns,
                             const std::string& extension) {
    AppState& s = app.s;
    s.chosen_path = app.tk.choose_save_file(kSaveTitle, start, patterns, 0);
    if (s.chosen_path.empty())
        return {};
    remember_folder(app, s.chosen_path);
    return with_forced_extension(s.chosen_path, extension);
}

void load_font_file(App& app, const std::string& path) {
    if (is_blank(path))
        return;
    Toolkit& tk = app.tk;
    const int64_t size = tk.file_size(path);
    if (size < 1) {
        tk.message_box("No file", path);
        return;
    }
    const uint8_t first = app.s.current_char;
    // A file that shrank since it was sized gives fewer bytes; only those are placed.
    std::vector<uint8_t> bytes;
    if (!tk.read_file_start(path, font_load_count(size, first), bytes)) {
        tk.message_box("Read error", path);
        return;
    }
    remember_folder(app, path);
    place_font_bytes(app.store(), first, bytes);
}

void load_map_file(App& app, const std::string& path) {
    if (load_map_layer(app, path, place_map_bytes))
        app.s.map_file_name = path;
}

void import_map_colours(App& app) {
    AppState& s = app.s;
    s.chosen_path = app.tk.choose_open_file(kOpenTitle, s.file_directory, kColourOpenPatterns, 0);
    if (s.chosen_path.empty())
        return;
    remember_folder(app, s.chosen_path);
    // A copy: the loader must not see the path change under it.
    const std::string path = s.chosen_path;
    load_map_layer(app, path, place_map_colour_bytes);
}

void save_font(App& app, int byte_count) {
    const uint8_t first = app.s.current_char;
    if (!font_save_fits(first, byte_count)) {
        app.tk.message_box("Save File", "out of size");
        return;
    }
    save_through_requester(
        app, app.s.file_directory, kFontPatterns, kFontExtension, [&](const std::string& path) {
            return app.tk.write_whole_file(path, font_file_bytes(app.store(), first, byte_count));
        });
}

void save_map(App& app) {
    save_through_requester(app, app.s.map_file_name, kMapPatterns, kMapExtension,
                           [&](const std::string& path) {
                               return app.tk.write_whole_file(path, map_file_bytes(*app.s.map));
                           });
}

void save_map_colours(App& app) {
    save_through_requester(app, with_extension(app.s.map_file_name, kColourExtension),
                           kColourPatterns, kColourExtension, [&](const std::string& path) {
                               return app.tk.write_whole_file(path,
                                                              map_colour_file_bytes(*app.s.map));
                           });
}

void export_charset_image(App& app) {
    AppState& s = app.s;
    s.bmp_extension = kBmpExtension;
    // The pattern list is a single label with no pattern after it.
    save_through_requester(app, s.file_directory, s.bmp_extension, s.bmp_extension,
                           [&](const std::string& path) {
                               // The picture saved is the charset as it is now.
                               present_charset_image(app);
                               return app.tk.save_image_bmp(kCharsetImage, path);
                           });
}

} // namespace fontarel
