#pragma once
// Commands that change how things are shown or dragged: the two pixel colours, the drag mode and
// the map grid.

#include "app/app.h"

namespace fontarel {

// "Color for bit=0..." / "Color for bit=1...": the chooser opens with black, not the current
// colour; cancelling changes nothing.
void choose_pixel_colour(App& app, int32_t AppState::*colour);
// The two drag-mode items act as one pair of radio items.
void set_drag_mode(App& app, bool swap);
// "Grid on map": flips the grid and its check mark.
void toggle_grid(App& app);
// "Show unused glyphs": flips the greying of the glyphs that no map cell and no tile cell uses.
void toggle_unused_glyphs(App& app);

} // namespace fontarel
