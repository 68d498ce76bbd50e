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

namespace {

// The menu's shape as it applies to `kind`: the part and the split for the level, the colours
// alone for the tiles, decimal numbers for all.
DataShape shape_for(const App& app, DataExport kind) {
    DataShape shape = app.export_shape;
    if (kind != DataExport::Level) {
        shape.w = 0;
        shape.split_words = false;
    }
    if (kind != DataExport::Tiles)
        shape.colours_only = false;
    return shape;
}

void toggle(App& app, bool DataShape::*on, MenuId row) {
    app.export_shape.*on = !(app.export_shape.*on);
    app.tk.set_item_checked(kMenuBar, id(row), app.export_shape.*on ? 1 : 0);
}

} // namespace

void export_data(App& app, DataExport kind, ExportFormat format) {
    // The level's png is its picture, not data: export_level_picture.
    if (!level_export_format_named(export_format_info(format).name, false))
        return;
    const Project project = current_project(app);
    const DataShape shape = shape_for(app, kind);
    std::string refusal = data_shape_refusal(kind, shape, project);
    if (!refusal.empty()) {
        app.tk.message_box("Export", refusal);
        return;
    }
    int address = data_export_load_address(kind);
    if (format == ExportFormat::Prg && !ask_load_address(app, address, address))
        return;
    refusal = data_export_refusal(kind, format, shaped_project(project, shape), address);
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
    std::string note;
    const std::vector<uint8_t> bytes =
        export_data_file(kind, format, project, label, address, shape, &note);
    if (bytes.empty() || !app.tk.write_whole_file(path, bytes))
        app.tk.message_box("Save file", "File Error:" + path);
    else if (!note.empty())
        app.tk.message_box("Export", note);
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
    const DataShape& shape = app.export_shape;
    std::string refusal;
    Level part;
    if (shape.part()) {
        refusal = data_region_refusal(shape, app.s.levels.level().cols(),
                                      app.s.levels.level().rows(), "level", "tiles");
        if (refusal.empty())
            part = level_part(app.s.levels.level(), shape);
    }
    const Level& level = shape.part() ? part : app.s.levels.level();
    if (refusal.empty())
        refusal = level_screen_refusal(tiles, level);
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

void toggle_export_decimal(App& app) {
    toggle(app, &DataShape::decimal, MenuId::ExportDecimal);
}

void toggle_export_split_words(App& app) {
    toggle(app, &DataShape::split_words, MenuId::ExportSplitWords);
}

void toggle_export_colours_only(App& app) {
    toggle(app, &DataShape::colours_only, MenuId::ExportColoursOnly);
}

void ask_export_part(App& app) {
    DataShape& shape = app.export_shape;
    const Level& level = app.s.levels.level();
    std::string typed = shape.part() ? data_region_text(shape) : "all";
    for (;;) {
        const std::string answer =
            app.tk.ask_text("Part of the level", "X,Y,W,H in tiles, or all:", typed);
        if (answer.empty())
            return; // cancelled: the part stays as it was
        DataShape asked;
        std::string why;
        if (answer == "all")
            break;
        if (!read_data_region(answer, asked))
            why = "'" + answer + "' is no part of the level: X,Y,W,H in tiles, or all";
        else
            why = data_region_refusal(asked, level.cols(), level.rows(), "level", "tiles");
        if (why.empty()) {
            shape.x = asked.x, shape.y = asked.y, shape.w = asked.w, shape.h = asked.h;
            app.tk.set_item_checked(kMenuBar, id(MenuId::ExportLevelPart), 1);
            return;
        }
        app.tk.message_box("Export", why);
        typed = answer;
    }
    shape.x = shape.y = shape.w = shape.h = 0;
    app.tk.set_item_checked(kMenuBar, id(MenuId::ExportLevelPart), 0);
}

} // namespace fontarel
