#pragma once
// CTM projects (see formats/ctm.h) into the program: "File > Import > CTM project..." and the
// files that Open..., a drop and the command line read by their content. A project that cannot be
// read changes nothing and says why; one that can becomes the event's one undo step.

#include <cstdint>
#include <span>
#include <string>

#include "app/app.h"

namespace fontarel {

// Asks for a CTM project and takes it as open_ctm does, under the caption "Import".
void import_ctm(App& app);
// Reads the whole file at `path` and takes it as take_ctm does; a file that cannot be read is said
// under `caption`.
void open_ctm(App& app, const std::string& path, const char* caption);
// When `bytes` are a sound CTM project: its glyphs become the charset (the first 256, the rest
// blank), the map a C64 map (its cells kept, their attributes converted when it was another
// machine's) with the file's background, multicolour switch and registers, its tiles and level the
// program's, the first tile the current one; what the reader remarked is said in one message box.
// Otherwise one message box says why and nothing changes. Returns whether the project was taken.
bool take_ctm(App& app, const std::string& path, std::span<const uint8_t> bytes,
              const char* caption);

} // namespace fontarel
