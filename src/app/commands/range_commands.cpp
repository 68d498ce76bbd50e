#include "app/commands/range_commands.h"

#include "app/commands/colour_commands.h"

#include <algorithm>

#include "app/ids.h"
#include "model/labels.h"

namespace fontarel {

namespace {

// A range bar's position, kept to a glyph number whatever the toolkit reports.
int bar_position(App& app, int bar) {
    return std::clamp(app.tk.control_state(bar), 0, kGlyphCount - 1);
}

// range_begin and range_end from the two bars, in either order.
void read_range(App& app) {
    const int a = bar_position(app, kBeginRangeBar);
    const int b = bar_position(app, kEndRangeBar);
    app.s.range_begin = std::min(a, b);
    app.s.range_end = std::max(a, b);
}

} // namespace

void set_range_begin(App& app) {
    app.tk.set_control_state(kBeginRangeBar, app.s.current_char);
    update_range_labels(app);
}

void set_range_end(App& app) {
    app.tk.set_control_state(kEndRangeBar, app.s.current_char);
    update_range_labels(app);
}

void update_range_labels(App& app) {
    app.tk.set_control_text(kBeginRangeLabel,
                            range_label_text("BeginRange:", bar_position(app, kBeginRangeBar)));
    app.tk.set_control_text(kEndRangeLabel,
                            range_label_text("End range:", bar_position(app, kEndRangeBar)));
}

void copy_range_to_current(App& app) {
    read_range(app);
    if (!copy_glyph_range(app.store(), app.s.range_begin, app.s.range_end, app.s.current_char)) {
        app.tk.message_box("Fontarel", "Range Error!");
        return;
    }
}

std::pair<int, int> glyph_op_targets(App& app) {
    if (app.tk.control_state(kRangeCheckBox) != 0) {
        read_range(app);
        return {app.s.range_begin, app.s.range_end};
    }
    const int glyph = edited_glyph(app); // the glyph the editor shows
    return {glyph, glyph};
}

std::pair<int, int> export_targets(App& app) {
    if (app.tk.control_state(kRangeCheckBox) != 0) {
        read_range(app);
        return {app.s.range_begin, app.s.range_end};
    }
    return {0, kGlyphCount - 1};
}

} // namespace fontarel
