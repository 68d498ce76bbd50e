#include "app/commands/view_options.h"

#include "app/ids.h"

namespace fontarel {

void choose_pixel_colour(App& app, int32_t AppState::*colour) {
    app.s.color_choice = app.tk.choose_colour();
    if (app.s.color_choice <= -1) {
        return;
    }
    app.s.*colour = app.s.color_choice;
}

void set_drag_mode(App& app, bool swap) {
    app.tk.set_item_checked(kMenuBar, id(MenuId::DragSwap), swap ? 1 : 0);
    app.tk.set_item_checked(kMenuBar, id(MenuId::DragCopy), swap ? 0 : 1);
}

void toggle_grid(App& app) {
    app.s.grid_on = 1 - app.s.grid_on;
    app.tk.set_item_checked(kMenuBar, id(MenuId::GridOnMap), app.s.grid_on);
}

void toggle_unused_glyphs(App& app) {
    app.s.show_unused = 1 - app.s.show_unused;
    app.tk.set_item_checked(kMenuBar, id(MenuId::ShowUnusedGlyphs), app.s.show_unused);
}

} // namespace fontarel
