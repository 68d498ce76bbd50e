#pragma once
// The exports of the tiles, the level, the glyphs' materials and the tile tags: the data a game
// reads, in one of the formats of formats/export_level.h, or the whole level as the machine's
// screen would show it, each written to a file chosen in the save requester.

#include "app/app.h"
#include "formats/export_formats.h"
#include "formats/export_level.h"

namespace fontarel {

// The data of `kind` in the project in use (current_project) as `format`: byte, acme, defb, c, bin
// or prg; any other format does nothing, and the level's png is export_level_picture. Prg first
// asks for the load address, offering the kind's default (data_export_load_address). Data a PRG
// cannot hold is refused in a message box titled "Export" before a file is asked for; a file that
// cannot be written shows "Save file" / "File Error:" + path and leaves an existing file as it was.
void export_data(App& app, DataExport kind, ExportFormat format);

// export_data of the tile set (prg offers 4000).
void export_tiles(App& app, ExportFormat format);
// The level's tile numbers, as export_tiles does the tiles (prg offers 6000); png is
// export_level_picture.
void export_level(App& app, ExportFormat format);
// The whole level as the map's machine shows it, one glyph pixel a picture pixel, in the glyphs in
// use, as PNG. A level whose picture would be too large (level_screen_refusal) is refused in a
// message box titled "Export" before a file is asked for.
void export_level_picture(App& app);

// The shape of the data exports (App::export_shape), each row's check mark showing it: numbers in
// decimal in the source formats; a level of 16-bit numbers as its low bytes, then its high bytes;
// the tiles' attributes as their colour nybbles alone.
void toggle_export_decimal(App& app);
void toggle_export_split_words(App& app);
void toggle_export_colours_only(App& app);
// Asks for the part of the level that the level's exports (data and picture) write, as X,Y,W,H in
// tiles, or "all" for the whole level; a part not inside the level is said and asked again. The
// row's check mark shows whether a part is set. A part that the level no longer holds when an
// export runs is refused then, in a message box titled "Export".
void ask_export_part(App& app);

} // namespace fontarel
