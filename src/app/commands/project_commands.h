#pragma once
// The project file, which holds everything the user made (see formats/project.h), and the files
// that the font entry of "Open...", a drop on the charset and the command line's FONT name: each is
// read by its content, a project whole, a PSF (plain or gzip-compressed) or BDF font or a CTM
// project as "Import" reads it, any other file as the raw glyph bytes it has always been.

#include <string>

#include "app/app.h"
#include "formats/project.h"

namespace fontarel {

// "Open...": a font or a character map, by the pattern entry chosen; the font entry reads by
// content.
void open_file(App& app);
void open_by_content(App& app, const std::string& path);
// Whether the file at `path` is a project, by its first bytes.
bool names_project(App& app, const std::string& path);
// "Save project": to the project file last opened or saved, or as "Save project as..." when
// there is none yet.
void save_project(App& app);
// "Save project as...": asks for the file, always.
void save_project_as(App& app);
// What the project file of the program's state holds now; `kept` comes from the project last
// opened, so that keys of a later version survive a save.
Project current_project(const App& app);
// Everything a project holds becomes the program's: glyphs, map, machine, background and glyph
// colours (the one undo step of the event that does it).
void take_project(App& app, const Project& project);

} // namespace fontarel
