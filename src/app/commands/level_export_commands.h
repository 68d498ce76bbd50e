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

} // namespace fontarel
