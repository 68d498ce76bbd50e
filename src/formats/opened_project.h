#pragma once
// What a program just started shows once it has opened a file by its content (the FONT named on
// its command line, or Open... with a font entry), as a project: the converter writes it as a
// project file, and opening that file gives the program the same data.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/project.h"
#include "model/char_map.h"

namespace fontarel {

// The map a program starts with: 40 x 24 cells in use, every cell (x, y), spare column and row
// included, code x + 32.
void fill_start_map(CharMap& map);

// Enough of a file's first bytes for opened_read to tell what it is: a Koala painting and one
// byte more.
constexpr int64_t kOpenedSniffBytes = 10004;

// How much of a file opening reads, by its first bytes `start` (up to kOpenedSniffBytes) and its
// name: a CTM project, a Koala painting, a PSF or BDF font and a project are read whole and
// refused past `limit` bytes; of any other file, a raw font, only the first `limit` bytes count,
// the glyphs it gives from glyph 0.
struct OpenedRead {
    int64_t limit = 0;
    bool whole = false;
};
OpenedRead opened_read(const std::string& path, std::span<const uint8_t> start);

// The project of a program just started that opened the file `path`, whose bytes (as many as
// opened_file_limit takes, at least one) are `bytes`, as Open... does: a CTM project's charset,
// tiles and level on a C64 start map with the file's registers; a Koala painting's charset and
// multicolour screen; a PSF or BDF font's glyphs at their codes; a project as it is; anything
// else raw glyph bytes from glyph 0. Returns an empty text, or what the reader said is wrong
// (after the file's name), `out` then unchanged. What the reader said it did not keep (a CTM's
// characters past 256, a painting's cells that differ from their glyphs, a font's glyphs past
// 255) goes to `remarks`, a line each, without the file's name.
std::string open_as_project(const std::string& path, std::span<const uint8_t> bytes, Project& out,
                            std::vector<std::string>& remarks);

} // namespace fontarel
