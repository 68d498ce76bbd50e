#include "files/map_file.h"

#include "app/app.h"

namespace fontarel {

// Map files arrive with the map file commands; until then a map load does nothing.
void load_map_file(App&, const std::string&) {}

} // namespace fontarel
