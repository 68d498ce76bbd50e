#include "app/commands/ctm_commands.h"

#include <vector>

#include "app/commands/colour_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/import_commands.h"
#include "app/views/level_view.h"
#include "formats/ctm.h"

namespace fontarel {

namespace {

constexpr const char* kImportTitle = "Please choose file to load";
constexpr const char* kCtmPatterns = "CTM projects|*.ctm|All files|*";

} // namespace

void import_ctm(App& app) {
    AppState& s = app.s;
    s.chosen_path = app.tk.choose_open_file(kImportTitle, s.file_directory, kCtmPatterns, 0);
    if (s.chosen_path.empty())
        return;
    // A copy: the reading must not see the path change under it.
    const std::string path = s.chosen_path;
    remember_folder(app, path);
    open_ctm(app, path, "Import");
}

void open_ctm(App& app, const std::string& path, const char* caption) {
    std::vector<uint8_t> bytes;
    if (read_import_file(app, path, bytes, static_cast<int64_t>(kLargestCtm)))
        take_ctm(app, path, bytes, caption);
}

bool take_ctm(App& app, const std::string& path, std::span<const uint8_t> bytes,
              const char* caption) {
    Project project;
    std::vector<std::string> remarks;
    const std::string why = read_ctm(bytes, project, remarks);
    if (!why.empty()) {
        app.tk.message_box(caption, path + ": " + why);
        return false;
    }
    app.store() = project.charset;
    // Through the Colour menu's own change, so that coloured cells keep their look and the pen
    // starts as the C64's blank cell; a C64 map keeps its pen.
    if (app.s.map->look.machine != MapMachine::C64)
        set_machine(app, MapMachine::C64);
    take_ctm_registers(*app.s.map, project.map);
    app.s.levels.replace_tiles(std::move(project.tiles));
    app.s.levels.replace_level(std::move(project.level));
    app.s.current_tile = 0;
    // The level is what such a project is about: on screen from its top-left corner.
    app.level_views.scroll_x = app.level_views.scroll_y = 0;
    app.level_views.last_x = app.level_views.last_y = -1;
    show_level_window(app);
    if (!remarks.empty()) {
        std::string text = path + ": " + remarks[0];
        for (size_t i = 1; i < remarks.size(); ++i)
            text += "\n" + remarks[i];
        app.tk.message_box(caption, text);
    }
    return true;
}

} // namespace fontarel
