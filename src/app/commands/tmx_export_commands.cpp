#include "app/commands/tmx_export_commands.h"

#include <filesystem>
#include <string>

#include "app/commands/file_commands.h"
#include "app/ids.h"
#include "formats/export_formats.h"
#include "formats/export_tmx.h"
#include "render/tileset_picture.h"
#include "toolkit/files_together.h"

namespace fontarel {

void export_level_tmx(App& app) {
    const ExportFormatInfo& info = export_format_info(ExportFormat::Tmx);
    const std::string path =
        choose_save_path(app, app.s.file_directory, info.patterns, info.extension);
    if (path.empty())
        return;
    const TileSet& tiles = app.s.levels.tiles();
    const Level& level = app.s.levels.level();
    const std::string picture_path = tileset_picture_path(path);
    const std::string text = tmx_text(tiles, level, app.s.map->look,
                                      std::filesystem::path(picture_path).filename().string());
    Toolkit& tk = app.tk;
    const Raster picture =
        render_tileset_picture(tiles, *app.s.map, app.store(), app.s.color_bit0, app.s.color_bit1);
    // The picture goes through the toolkit's image, the one way to its PNG encoder.
    bool drawn = false;
    if (tk.create_image(kExportImage, picture.width(), picture.height()) &&
        tk.begin_drawing(tk.image_target(kExportImage))) {
        tk.drawing_raster()->blit(picture, 0, 0);
        tk.end_drawing();
        drawn = true;
    }
    const FileToWrite files[] = {
        {picture_path, [&] { return drawn && tk.save_image_png(kExportImage, picture_path) != 0; }},
        {path,
         [&] {
             return tk.write_whole_file(
                        path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}) != 0;
         }},
    };
    const int failed = write_files_together(files);
    tk.free_image(kExportImage);
    if (failed >= 0)
        tk.message_box("Save file", "File Error:" + files[failed].path);
}

} // namespace fontarel
