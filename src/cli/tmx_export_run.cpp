#include "cli/tmx_export_run.h"

#include <filesystem>
#include <string>
#include <vector>

#include "formats/export_tmx.h"
#include "render/tileset_picture.h"
#include "toolkit/file_io.h"
#include "toolkit/files_together.h"

namespace fontarel {

int run_tmx_export(const CommandLine& line, const Project& project, PngEncoder encode_png,
                   std::ostream& err) {
    const std::string picture_path = tileset_picture_path(line.output);
    if (same_file(line.input, picture_path)) {
        err << "fontarel: " << picture_path << " is an input file; it is left as it is\n";
        return kExitFileError;
    }
    const Raster picture = render_tileset_picture(project.tiles, project.map, project.charset,
                                                  project.colour0, project.colour1);
    const std::vector<uint8_t> png =
        encode_png != nullptr ? encode_png(picture) : std::vector<uint8_t>{};
    if (png.empty()) {
        err << "fontarel: " << picture_path << ": no PNG encoder\n";
        return kExitFileError;
    }
    // The map names the picture by its file name alone: the two stay together wherever moved.
    const std::string text = tmx_text(project.tiles, project.level, project.map.look,
                                      std::filesystem::path(picture_path).filename().string());
    const FileToWrite files[] = {
        {picture_path, [&] { return write_whole_file(picture_path, png) != 0; }},
        {line.output,
         [&] {
             return write_whole_file(line.output, {reinterpret_cast<const uint8_t*>(text.data()),
                                                   text.size()}) != 0;
         }},
    };
    if (const int failed = write_files_together(files); failed >= 0) {
        err << "fontarel: " << files[failed].path << " cannot be written\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace fontarel
