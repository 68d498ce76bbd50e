// The export commands. Each offers the save requester with its format's pattern, gives the
// confirmed path the format's extension the way a font save gives ".fnt", and writes the whole
// file through the safe save, so a failed export never costs the file it would replace.

#include "app/commands/export_commands.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/commands/block_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/range_commands.h"
#include "app/ids.h"
#include "formats/export_sheet.h"
#include "model/paths.h"
#include "render/map_screen.h"
#include "render/sheet_picture.h"

namespace fontarel {

namespace {

// The path the user confirmed, with the format's extension; empty when cancelled.
std::string choose_export_path(App& app, ExportFormat format) {
    const ExportFormatInfo& info = export_format_info(format);
    return choose_save_path(app, app.s.file_directory, info.patterns, info.extension);
}

// The glyph picture through the toolkit's PNG writer, via an image that lives only here.
int save_glyph_sheet(App& app, GlyphSelection glyphs, const std::string& path) {
    Toolkit& tk = app.tk;
    if (!tk.create_image(kExportImage, kSheetSize, kSheetSize) ||
        !tk.begin_drawing(tk.image_target(kExportImage)))
        return 0;
    render_glyph_sheet(*tk.drawing_raster(), app.store(), glyphs, app.s.color_bit0,
                       app.s.color_bit1);
    tk.end_drawing();
    const int ok = tk.save_image_png(kExportImage, path);
    tk.free_image(kExportImage);
    return ok;
}

// The map an export writes: while a selection is shown, the selection alone if the user says so
// (the cells of a map of their own), else the whole map in use.
std::unique_ptr<CharMap> exported_map(App& app) {
    const CellRect rect = app.blocks.selection;
    if (!rect.empty() &&
        app.tk.ask_yes_no("Export", "Export the selection " + selection_text(rect) +
                                        " alone? No exports the whole map."))
        return std::make_unique<CharMap>(map_part(*app.s.map, rect));
    return std::make_unique<CharMap>(*app.s.map);
}

} // namespace

void export_map_picture(App& app) {
    const std::unique_ptr<CharMap> exported = exported_map(app);
    const std::string path = choose_export_path(app, ExportFormat::Png);
    if (path.empty())
        return;
    Toolkit& tk = app.tk;
    const CharMap& map = *exported;
    int ok = 0;
    if (tk.create_image(kExportImage, map_screen_width(map), map_screen_height(map)) &&
        tk.begin_drawing(tk.image_target(kExportImage))) {
        render_map_screen(*tk.drawing_raster(), map, app.store(), app.s.color_bit0,
                          app.s.color_bit1);
        tk.end_drawing();
        ok = tk.save_image_png(kExportImage, path);
        tk.free_image(kExportImage);
    }
    if (!ok)
        tk.message_box("Save file", "File Error:" + path);
}

namespace {

void export_glyphs_to(App& app, ExportFormat format, int load_address) {
    const std::string path = choose_export_path(app, format);
    if (path.empty())
        return;
    const auto [first, last] = export_targets(app);
    const GlyphSelection glyphs = GlyphSelection::between(first, last);
    const int ok =
        format == ExportFormat::Png
            ? save_glyph_sheet(app, glyphs, path)
            : app.tk.write_whole_file(path, export_glyphs(format, app.store(), glyphs,
                                                          export_label(path, kGlyphLabelFallback),
                                                          load_address));
    if (!ok)
        app.tk.message_box("Save file", "File Error:" + path);
}

} // namespace

void export_glyphs_as(App& app, ExportFormat format) {
    export_glyphs_to(app, format, kDefaultLoadAddress);
}

bool ask_load_address(App& app, int offered, int& address) {
    // A mistyped address is said, and asked for again with the text as it was typed, until an
    // address comes or the question is cancelled.
    char text[8];
    std::snprintf(text, sizeof text, "%X", offered & 0xFFFF);
    std::string typed = text;
    for (;;) {
        const std::string answer =
            app.tk.ask_text("PRG with load address", "Load address (hexadecimal):", typed);
        if (answer.empty())
            return false;
        if (read_load_address(answer, address, true))
            return true;
        app.tk.message_box("Export",
                           "'" + answer + "' is no load address: 1 to 4 hexadecimal digits");
        typed = answer;
    }
}

void export_prg(App& app) {
    int address = 0;
    if (ask_load_address(app, kDefaultLoadAddress, address))
        export_glyphs_to(app, ExportFormat::Prg, address);
}

void export_map_as(App& app, ExportFormat format) {
    if (!export_format_info(format).maps)
        return;
    // A size the format cannot hold is refused before a file is asked for.
    const std::unique_ptr<CharMap> exported = exported_map(app);
    const CharMap& map = *exported;
    const std::string refusal = map_export_refusal(format, map.cols, map.rows);
    if (!refusal.empty()) {
        app.tk.message_box("Export", refusal);
        return;
    }
    const std::string path = choose_export_path(app, format);
    if (path.empty())
        return;
    const std::vector<uint8_t> bytes =
        export_map(format, map, export_label(path, kMapLabelFallback), &app.store());
    if (!app.tk.write_whole_file(path, bytes))
        app.tk.message_box("Save file", "File Error:" + path);
}

} // namespace fontarel
