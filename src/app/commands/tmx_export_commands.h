#pragma once
// Level > Export > "Tiled map (TMX)...": the level as a Tiled map with its tileset picture.

#include "app/app.h"

namespace fontarel {

// Asks for a .tmx path, then writes the tileset picture (tileset_picture_path of it: the tiles as
// the level picture draws them, in the glyphs in use) and the map that names it, both or neither.
// A file that cannot be written shows "Save file" / "File Error:" + that file's path and leaves
// both files as they were.
void export_level_tmx(App& app);

} // namespace fontarel
