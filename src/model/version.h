#pragma once
// The program's name and version: the main window's title and what "fontarel --version" prints.
// The build reads this line to write the version into the manual page and the metainfo (whose
// release is the last word), so it stays one string literal on one line.

namespace fontarel {

inline constexpr const char* kProgramVersion = "fontarel v2 0.9e";

} // namespace fontarel
