#pragma once
// The character range chosen with the two range bars: its labels, the commands that set its ends,
// and the range copy.

#include <utility>

#include "app/app.h"

namespace fontarel {

// Begin (end) range bar := current_char, then update_range_labels.
void set_range_begin(App& app);
void set_range_end(App& app);
// Rewrites both range labels from the bar positions.
void update_range_labels(App& app);
// Copies glyphs range_begin..range_end to current_char onward ("Range Error!" when current_char
// lies in the range; the part beyond glyph 255 is dropped).
void copy_range_to_current(App& app);
// (first, last) glyph of the glyph operations: the range when the range check box is checked, else
// (current_char, current_char).
std::pair<int, int> glyph_op_targets(App& app);
// (first, last) glyph of an export: the range when the range check box is checked, else (0, 255).
std::pair<int, int> export_targets(App& app);

} // namespace fontarel
