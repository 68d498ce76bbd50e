#include "app/map_canvas.h"

namespace fontarel {

// The map view and its editing commands arrive with the character map editor; until then the map
// keeps its cells and nothing is drawn.
void draw_char_map(App&) {}
void map_canvas_event(App&) {}
void set_map_size(App&, int, int) {}
void fill_map(App&) {}
void insert_map_char(App&) {}
void delete_map_char(App&) {}
void insert_map_line(App&) {}
void delete_map_line(App&) {}
void insert_map_column(App&) {}
void delete_map_column(App&) {}

} // namespace fontarel
