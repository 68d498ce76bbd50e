#include "cli/tmx_export_run.h"

#include <filesystem>

#include "formats/export_tmx.h"
#include "render/tileset_picture.h"
#include "toolkit/file_io.h"
#include "toolkit/files_together.h"

namespace fontarel {

std::string write_tmx_export(const std::string& input, const std::string& output,
                             const Project& project,
                             std::vector<uint8_t> (*encode_png)(const Raster&)) {
    const std::string picture_path = tileset_picture_path(output);
    if (same_file(input, picture_path))
        return picture_path + " is an input file; it is left as it is";
    const Raster picture = render_tileset_picture(project.tiles, project.map, project.charset,
                                                  project.colour0, project.colour1);
    const std::vector<uint8_t> png =
        encode_png != nullptr ? encode_png(picture) : std::vector<uint8_t>{};
    if (png.empty())
        return picture_path + ": no PNG encoder";
    // The map names the picture by its file name alone: the two stay together wherever moved.
    const std::string text = tmx_text(project.tiles, project.level, project.map.look,
                                      std::filesystem::path(picture_path).filename().string());
    const FileToWrite files[] = {
        {picture_path, [&] { return write_whole_file(picture_path, png) != 0; }},
        {output,
         [&] {
             return write_whole_file(
                        output, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}) != 0;
         }},
    };
    if (const int failed = write_files_together(files); failed >= 0)
        return files[failed].path + " cannot be written";
    return {};
}

} // namespace fontarel
