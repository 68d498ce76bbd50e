#pragma once
// "File > Import": fonts, charset pictures and PRG files into the charset, and screen pictures
// into the map (with a new charset or matched against the current one). Each import reads and
// checks the whole file first, so a file that cannot be imported changes nothing and says why in a
// message box; one that can becomes one undo step.

#include <cstdint>
#include <string>
#include <vector>

#include "app/app.h"
#include "formats/font_import.h"

namespace fontarel {

// The whole file at `path`, at most `largest` bytes; false, having said why in a message box, when
// there is nothing to import (a folder, an empty, unreadable or too large file).
bool read_import_file(App& app, const std::string& path, std::vector<uint8_t>& bytes,
                      int64_t largest = kLargestImport);
// The glyphs a font file has go to their codes and its remark is shown; a refusal is said instead.
void take_glyphs(App& app, const std::string& path, const FontImport& font);

// PSF (version 1 or 2, also gzip-compressed) or BDF: each glyph the file has to its code.
void import_font(App& app);
// A picture of 16 x 16 glyphs: all 256 glyphs, in the two pixel colours.
void import_charset_picture(App& app);
// A 2-byte load address, then glyphs from glyph 0.
void import_prg(App& app);
// A screen picture: its distinct cells become the charset and the map shows them; on a C64 map in
// multicolour, in double-wide pixels. A Koala painting always comes in as a C64 multicolour screen.
void import_screen_new(App& app);
// A screen picture drawn with the current charset: the map gets the nearest glyph of each cell.
void import_screen_current(App& app);

// A Koala painting, known by its size (or by its name when its size is wrong, which opening it
// then says); what Open..., a drop and the FONT named at start-up bring in as "Screen picture,
// new charset..." does.
bool names_koala(App& app, const std::string& path);
void open_koala(App& app, const std::string& path);

} // namespace fontarel
