#pragma once
// Font files: raw glyph bytes, 8 per glyph, loaded and saved from the current character on.

#include <string>

namespace fontarel {

struct App;

void load_font_file(App& app, const std::string& path);
// "Open...": a font or a character map, by the pattern entry chosen.
void open_file(App& app);
// 768, 1024 or 2048 bytes of font from current_char; -1 saves the character map.
void save_file(App& app, int byte_count);

} // namespace fontarel
