#pragma once
// Commands on whole glyphs by position, and the character range chosen with the two range bars.

#include <string>
#include <utility>

namespace fontarel {

struct App;

// All 2048 bytes := 0, then refresh.
void erase_charset(App& app);
// Blank glyph at current_char; later glyphs move up one place (the old glyph 255 is lost); refresh.
void insert_glyph(App& app);
// Glyph at current_char removed; later glyphs move down one place, glyph 255 becomes blank;
// refresh.
void delete_glyph(App& app);
// Begin (end) range bar := current_char, then update_range_labels.
void set_range_begin(App& app);
void set_range_end(App& app);
// Rewrites both range labels from the bar positions.
void update_range_labels(App& app);
// Copies glyphs range_begin..range_end to current_char onward ("Range Error!" when current_char
// lies in the range; the part beyond glyph 255 is dropped); refresh.
void copy_range_to_current(App& app);
// (first, last) glyph of the glyph operations: the range when the range check box is checked, else
// (current_char, current_char).
std::pair<int, int> glyph_op_targets(App& app);

// prefix + v in decimal, and from 32 on ":" and the code page character of v.
std::string range_label_text(const std::string& prefix, int v);

} // namespace fontarel
