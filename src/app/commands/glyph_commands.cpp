#include "app/commands/glyph_commands.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "app/commands/colour_commands.h"
#include "app/commands/range_commands.h"
#include "app/ids.h"
#include "model/charset_compact.h"

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

void set_glyph_material(App& app) {
    const auto [first, last] = glyph_op_targets(app);
    const int lo = std::min(first, last), hi = std::max(first, last);
    const std::string which = lo == hi ? "glyph " + std::to_string(lo)
                                       : "glyphs " + std::to_string(lo) + "-" + std::to_string(hi);
    auto& materials = app.store().materials;
    const std::string text =
        app.tk.ask_text("Material", "Material of " + which + " (0-15):",
                        std::to_string(materials[static_cast<size_t>(lo & 255)]));
    if (text.empty())
        return;
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0 || value > 15) {
        app.tk.message_box("fontarel", "\"" + text + "\" is not a material 0-15");
        return;
    }
    for (int g = lo; g <= hi; ++g)
        materials[static_cast<size_t>(g & 255)] = static_cast<uint8_t>(value);
}

void compact_glyphs(App& app) {
    int keep_first = 1, keep_last = 0; // none
    if (app.tk.control_state(kRangeCheckBox) != 0) {
        const auto [a, b] = export_targets(app);
        keep_first = std::min(a, b);
        keep_last = std::max(a, b);
    }
    // A new program's one blank tile and blank level are no level of the user's: they keep no glyph.
    TileSet tiles = app.s.levels.tiles();
    const bool no_level = tiles == TileSet{} && app.s.levels.level() == Level{};
    const CompactCounts counts = compact_charset(app.store(), *app.s.map, no_level ? nullptr : &tiles,
                                                 keep_first, keep_last);
    if (!(tiles == app.s.levels.tiles()))
        app.s.levels.replace_tiles(std::move(tiles));
    app.tk.message_box("Compact charset", compact_report(counts));
}

} // namespace fontarel
