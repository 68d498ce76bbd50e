#pragma once
// Character map files: one code byte per cell, row by row, in the map size in use.

#include <string>

namespace fontarel {

struct App;

void load_map_file(App& app, const std::string& path);

} // namespace fontarel
