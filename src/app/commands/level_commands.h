#pragma once
// The Level menu's commands on the tile set and the level. Each runs inside one event, so each is
// one step of the history.

#include "app/app.h"

namespace fontarel {

// "New level...": asks for the tile size and the level size ("4x4, 64x32") and starts a level of
// tile 0, a blank tile, in them.
void new_level(App& app);
// At the tile the pointer last hovered in the Level window; nothing before it hovered one.
void level_insert_column(App& app);
void level_delete_column(App& app);
void level_insert_row(App& app);
void level_delete_row(App& app);
// "New tile" appends a blank tile and "Duplicate tile" a copy of the current one; either becomes
// the current tile. A full set says so and changes nothing.
void new_tile(App& app);
void duplicate_tile(App& app);
// "Tile name and tag...": asks for the current tile's tag and name as one line, "3 deep water"
// (parse_tile_label), offering the ones it has; a line that does not parse says so and changes
// nothing.
void set_tile_label(App& app);
// "Expand tiles": every tile cell a glyph of its own (tile t's cells from glyph t x w x h on), the
// map's glyphs after them, nothing shown changed; refused in a message box when they need more
// glyphs than there are ("needs 340 glyphs; 256 fit: compact or delete tiles first").
void expand_level_tiles(App& app);
// Removes the tiles no level cell uses and says how many went.
void delete_unused_tiles(App& app);
// Cuts the map in use into tiles of the level's tile size, one tile for each different block,
// and makes them the tile set and the level; says "N cells in M tiles".
void make_tiles_from_map(App& app);
// Copies the map-sized part of the level at the tile the pointer last hovered in the Level window
// (else at the window's top-left) into the map as characters.
void level_screen_to_map(App& app);

} // namespace fontarel
