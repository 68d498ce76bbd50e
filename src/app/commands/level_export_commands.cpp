// The data exports and the level's picture. As the glyph and map exports do, each offers the save
// requester with its format's pattern, gives the confirmed path the format's extension and writes
// the whole file through the safe save; what cannot be written at all is said before a file is
// asked for.

#include "app/commands/level_export_commands.h"

#include <string>
#include <vector>

#include "app/commands/export_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/project_commands.h"
#include "app/ids.h"
#include "formats/export_level.h"
#include "render/level_screen.h"

namespace fontarel {

void export_data(App& app, DataExport kind, ExportFormat format) {
    // The level's png is its picture, not data: export_level_picture.
    if (!level_export_format_named(export_format_info(format).name, false))
        return;
    const Project project = current_project(app);
    int address = data_export_load_address(kind);
    if (format == ExportFormat::Prg && !ask_load_address(app, address, address))
        return;
    const std::string refusal = data_export_refusal(kind, format, project, address);
    if (!refusal.empty()) {
        app.tk.message_box("Export", refusal);
        return;
    }
    const ExportFormatInfo& info = export_format_info(format);
    const std::string path =
        choose_save_path(app, app.s.file_directory, info.patterns, info.extension);
    if (path.empty())
        return;
    const std::string label = export_label(path, data_export_label_fallback(kind));
    const std::vector<uint8_t> bytes = export_data_file(kind, format, project, label, address);
    if (bytes.empty() || !app.tk.write_whole_file(path, bytes))
        app.tk.message_box("Save file", "File Error:" + path);
}

void export_tiles(App& app, ExportFormat format) {
    export_data(app, DataExport::Tiles, format);
}

void export_level(App& app, ExportFormat format) {
    if (format == ExportFormat::Png)
        export_level_picture(app);
    else
        export_data(app, DataExport::Level, format);
}

void export_level_picture(App& app) {
    const TileSet& tiles = app.s.levels.tiles();
    const Level& level = app.s.levels.level();
    const std::string refusal = level_screen_refusal(tiles, level);
    if (!refusal.empty()) {
        app.tk.message_box("Export", refusal);
        return;
    }
    const ExportFormatInfo& info = export_format_info(ExportFormat::Png);
    const std::string path =
        choose_save_path(app, app.s.file_directory, info.patterns, info.extension);
    if (path.empty())
        return;
    Toolkit& tk = app.tk;
    int ok = 0;
    if (tk.create_image(kExportImage, static_cast<int>(level_screen_width(tiles, level)),
                        static_cast<int>(level_screen_height(tiles, level))) &&
        tk.begin_drawing(tk.image_target(kExportImage))) {
        render_level_screen(*tk.drawing_raster(), tiles, level, *app.s.map, app.store(),
                            app.s.color_bit0, app.s.color_bit1);
        tk.end_drawing();
        ok = tk.save_image_png(kExportImage, path);
    }
    tk.free_image(kExportImage);
    if (!ok)
        tk.message_box("Save file", "File Error:" + path);
}

} // namespace fontarel
