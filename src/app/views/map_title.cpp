#include "app/views/map_title.h"

#include "app/commands/colour_commands.h"
#include "app/ids.h"

namespace fontarel {

void title_map_cell(App& app, int column, int row) {
    app.views.map_titled = {column, row}; // the present step writes it
}

void title_map(App& app, const std::string& title) {
    app.views.map_titled = {};
    app.tk.set_window_title(kMapWindow, title);
}

void refresh_map_title(App& app) {
    const MapCell cell = app.views.map_titled;
    if (app.s.map->in_use(cell.column, cell.row))
        app.tk.set_window_title(kMapWindow, hover_title(app, cell.column, cell.row));
}

} // namespace fontarel
