#include "app/commands/import_commands.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/commands/file_commands.h"
#include "app/views/map_canvas.h"
#include "formats/atari_import.h"
#include "formats/font_import.h"
#include "formats/koala.h"
#include "formats/multicolour_import.h"
#include "formats/picture_import.h"

namespace fontarel {

namespace {

constexpr const char* kImportTitle = "Please choose file to load";
constexpr const char* kCaption = "Import";

constexpr const char* kFontPatterns =
    "Font (*.psf *.psfu *.psf.gz *.bdf)|*.psf;*.psfu;*.psf.gz;*.bdf|All files|*";
constexpr const char* kPicturePatterns =
    "Picture (*.png *.bmp *.gif)|*.png;*.bmp;*.gif|All files|*";
constexpr const char* kScreenPatterns = "Picture (*.png *.bmp *.gif *.koa *.kla)|"
                                        "*.png;*.bmp;*.gif;*.koa;*.kla|All files|*";
constexpr const char* kPrgPatterns = "C64 program file (*.prg)|*.prg|All files|*";

void tell(App& app, const std::string& path, const std::string& what) {
    app.tk.message_box(kCaption, path + ": " + what);
}

// The confirmed path and the whole file; false (having said why) when there is nothing to import.
bool choose_and_read(App& app, const char* patterns, std::string& path,
                     std::vector<uint8_t>& bytes) {
    AppState& s = app.s;
    s.chosen_path = app.tk.choose_open_file(kImportTitle, s.file_directory, patterns, 0);
    if (s.chosen_path.empty())
        return false;
    path = s.chosen_path;
    remember_folder(app, path);
    return read_import_file(app, path, bytes);
}

bool decode_picture(App& app, const std::string& path, std::span<const uint8_t> bytes,
                    Picture& picture) {
    if (!app.tk.decode_picture(bytes, picture)) {
        tell(app, path, "is no picture this program can read (PNG, BMP or GIF)");
        return false;
    }
    return true;
}

bool read_picture(App& app, std::string& path, Picture& picture) {
    std::vector<uint8_t> bytes;
    return choose_and_read(app, kPicturePatterns, path, bytes) &&
           decode_picture(app, path, bytes, picture);
}

// The map takes the imported cells and size (place_screen); the size shows the map window.
void take_screen(App& app, const std::string& path, const ScreenImport& screen, bool charset) {
    if (!screen.ok()) {
        tell(app, path, screen.error);
        return;
    }
    if (charset)
        app.store() = screen.charset;
    place_screen(*app.s.map, screen);
    set_map_size(app, screen.map.cols, screen.map.rows);
    if (!screen.note.empty())
        tell(app, path, screen.note);
}

} // namespace

bool read_import_file(App& app, const std::string& path, std::vector<uint8_t>& bytes,
                      int64_t largest) {
    const int64_t size = app.tk.file_size(path);
    if (size == -2) {
        tell(app, path, "is a folder");
        return false;
    }
    if (size < 1) {
        tell(app, path, size == 0 ? "is empty" : "cannot be read");
        return false;
    }
    if (size > largest) {
        tell(app, path, "is too large to import (" + std::to_string(size) + " bytes)");
        return false;
    }
    if (!app.tk.read_file_start(path, size, bytes) || static_cast<int64_t>(bytes.size()) != size) {
        tell(app, path, "cannot be read");
        return false;
    }
    return true;
}

void take_glyphs(App& app, const std::string& path, const FontImport& font) {
    if (!font.ok()) {
        tell(app, path, font.error);
        return;
    }
    place_imported_glyphs(app.store(), font);
    if (!font.note.empty())
        tell(app, path, font.note);
}

void import_font(App& app) {
    std::string path;
    std::vector<uint8_t> bytes;
    if (!choose_and_read(app, kFontPatterns, path, bytes))
        return;
    switch (detect_font_kind(bytes)) {
    case FontFileKind::Psf1:
    case FontFileKind::Psf2:
    case FontFileKind::Gzip:
    case FontFileKind::Bdf:
        take_glyphs(app, path, import_font_file(bytes));
        break;
    default:
        tell(app, path, "is no PSF or BDF font");
        break;
    }
}

void import_charset_picture(App& app) {
    std::string path;
    Picture picture;
    if (read_picture(app, path, picture))
        take_glyphs(app, path, import_charset_picture(picture, app.s.color_bit0, app.s.color_bit1));
}

void import_prg(App& app) {
    std::string path;
    std::vector<uint8_t> bytes;
    if (choose_and_read(app, kPrgPatterns, path, bytes))
        take_glyphs(app, path, fontarel::import_prg(bytes));
}

void import_screen_new(App& app) {
    std::string path;
    std::vector<uint8_t> bytes;
    if (!choose_and_read(app, kScreenPatterns, path, bytes))
        return;
    // A Koala painting by its size, or by its name when its size is wrong, which is then said.
    if (is_koala(bytes) || (has_koala_name(path) && !is_picture(bytes))) {
        take_screen(app, path, import_koala(bytes), true);
        return;
    }
    Picture picture;
    if (!decode_picture(app, path, bytes, picture))
        return;
    const CharMap& map = *app.s.map;
    if (map.look.c64_multicolour()) {
        take_screen(app, path, import_multicolour_screen(picture), true);
    } else if (map.look.atari_four()) {
        ScreenImport screen = import_atari_screen(picture);
        screen.map.look.atari_mode = map.look.atari_mode; // the tall mode stays
        take_screen(app, path, screen, true);
    } else
        take_screen(app, path,
                    import_screen_new_charset(picture, app.s.color_bit0, app.s.color_bit1,
                                              map.look.machine),
                    true);
}

bool names_koala(App& app, const std::string& path) {
    // One byte more than the largest painting: a longer file is no painting.
    constexpr int64_t kKoalaLimit = 10004;
    const int64_t size = app.tk.file_size(path);
    if (size != kKoalaLimit - 1 && size != kKoalaLimit - 2 && !has_koala_name(path))
        return false;
    std::vector<uint8_t> bytes;
    return app.tk.read_file_start(path, kKoalaLimit, bytes) &&
           (is_koala(bytes) || (has_koala_name(path) && !is_picture(bytes)));
}

void open_koala(App& app, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (read_import_file(app, path, bytes))
        take_screen(app, path, import_koala(bytes), true);
}

void import_screen_current(App& app) {
    std::string path;
    Picture picture;
    if (read_picture(app, path, picture))
        take_screen(app, path,
                    import_screen_current_charset(picture, app.store(), app.s.color_bit0,
                                                  app.s.color_bit1, app.s.map->look.machine),
                    false);
}

} // namespace fontarel
