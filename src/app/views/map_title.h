#pragma once
// The map window's title: it names a cell (its position, code and colour, followed as they change
// by a stroke, a fill or an undo), or says something else (a selection, a message).

#include <string>

#include "app/app.h"

namespace fontarel {

// The map window's title names a cell (its code and colour, written by the present step and
// followed as they change), or says something else.
void title_map_cell(App& app, int column, int row);
void title_map(App& app, const std::string& title);
// The title brought up to date with the cell it names; called by the present step.
void refresh_map_title(App& app);

} // namespace fontarel
