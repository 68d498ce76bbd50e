#include "app/file_commands.h"

namespace fontarel {

// File reading and writing arrive with the file commands; until then these commands do nothing.
void load_font_file(App&, const std::string&) {}
void load_map_file(App&, const std::string&) {}
void open_file(App&) {}
void save_file(App&, int) {}
void export_charset_image(App&) {}

} // namespace fontarel
