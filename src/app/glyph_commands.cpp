#include "app/glyph_commands.h"

#include "app/colour_commands.h"
#include "app/range_commands.h"

namespace fontarel {

void erase_charset(App& app) {
    erase_charset(app.store());
}

void insert_glyph(App& app) {
    insert_glyph(app.store(), app.s.current_char);
}

void delete_glyph(App& app) {
    delete_glyph(app.store(), app.s.current_char);
}

void apply_glyph_op(App& app, GlyphOp op) {
    // Each glyph of the range is transformed by itself, never as part of one larger picture.
    const auto [first, last] = glyph_op_targets(app);
    const std::bitset<256> multicolour = multicolour_glyph_set(app);
    for (int g = first; g <= last; ++g) {
        if (multicolour[static_cast<size_t>(g)]) {
            transform_multicolour_glyph(app.store().glyph(g), op, app.s.bit_reverse_table,
                                        app.s.rotate_scratch);
        } else {
            transform_glyph(app.store().glyph(g), op, app.s.bit_reverse_table,
                            app.s.rotate_scratch);
        }
    }
}

} // namespace fontarel
