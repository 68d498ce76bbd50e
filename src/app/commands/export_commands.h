#pragma once
// The File > Export commands: the glyphs (all 256, or the range when its check box is ticked) or
// the map in the size in use, written in one of the export formats to a file chosen in the save
// requester.

#include "app/app.h"
#include "formats/export_formats.h"

namespace fontarel {

// Every failure shows "Save file" / "File Error:" + path and leaves an existing file as it was.
void export_glyphs_as(App& app, ExportFormat format);
// "PRG with load address...": asks for the address (hexadecimal, 3000 offered), then exports the
// glyphs as a program file that loads there.
void export_prg(App& app);
// Asks for a PRG's load address, `offered` shown in hexadecimal to begin with; a text that is none
// is said and asked for again. False when the question is cancelled.
bool ask_load_address(App& app, int offered, int& address);
// Formats that write no maps do nothing. A map size the format cannot hold (a Spectrum screen of
// other than 32 x 24 cells) is refused in a message box titled "Export" that names the size it
// needs. Screens of the Spectrum draw the glyphs of the charset in use.
void export_map_as(App& app, ExportFormat format);
// The map in use as the machine's screen shows it, one glyph pixel a picture pixel, as PNG.
void export_map_picture(App& app);

} // namespace fontarel
