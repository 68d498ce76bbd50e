#pragma once
// The file commands: fonts (raw glyph bytes from the current character on), character maps (one
// code byte per cell in the size in use), their colours (one attribute byte per cell, laid out
// alike) and the charset picture (a BMP).

#include <string>

#include "app/app.h"

namespace fontarel {

// The requesters start in the folder of the file last loaded, saved or exported: `path`'s.
void remember_folder(App& app, const std::string& path);
// The save requester titled "Please choose file to save", from `start` with `patterns`; the
// confirmed path with `extension` forced on (its folder remembered), or empty when cancelled.
std::string choose_save_path(App& app, const std::string& start, const std::string& patterns,
                             const std::string& extension);

// Raw glyph bytes from the current character on.
void load_font_file(App& app, const std::string& path);
void load_map_file(App& app, const std::string& path);
// `byte_count` bytes of font (768, 1024 or 2048) from current_char on; "out of size" when they
// would run past glyph 255.
void save_font(App& app, int byte_count);
// The character map in the size in use; the requester starts at the last map file.
void save_map(App& app);
// "Map colours": the attribute bytes of the map in use; the requester starts at the last map
// file's name with ".col" for its extension.
void save_map_colours(App& app);
// "Map colours...": attribute bytes into the cells in use, as a map file's codes are loaded (and
// refused when longer than the map), kept as they are whatever the map's machine.
void import_map_colours(App& app);
// "Characters image": the charset image saved as a BMP file.
void export_charset_image(App& app);

} // namespace fontarel
