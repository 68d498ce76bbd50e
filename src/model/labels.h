#pragma once
// Texts the program derives from the model for titles, labels and the glyph data field. Characters
// from code 32 on are shown in the program's code page, as UTF-8.

#include <cstdint>
#include <span>
#include <string>

namespace fontarel {

// prefix + v in decimal, and from 32 on ":" and the code page character of v.
std::string range_label_text(const std::string& prefix, int v);
// "<base> 65($41)'A'": decimal, two-digit hexadecimal and, above 31, the code page character.
std::string char_title(const std::string& base, uint8_t code);
// The eight row bytes in decimal joined by single commas: "24,60,102,102,126,102,102,0".
std::string glyph_data_text(std::span<const uint8_t, 8> glyph);
// "Character map (0,0):32[20]": the map window's title for a hovered cell, with the code in decimal
// and in two upper-case hexadecimal digits.
std::string map_title(int column, int row, int code);
// The value of a hexadecimal digit, 0-9, a-f or A-F; -1 for any other character.
int hex_digit_value(char c);

} // namespace fontarel
