#include "app/commands/builtin_commands.h"

namespace fontarel {

void load_builtin_charset(App& app, Machine machine) {
    const BuiltinCharset& set = builtin_charset(machine);
    load_builtin_glyphs(app.store(), set);
    app.s.color_bit0 = set.colour0;
    app.s.color_bit1 = set.colour1;
}

void build_hex_charset(App& app) {
    app.s.color_bit0 = kHexColour0;
    app.s.color_bit1 = kHexColour1;
    build_hex_glyphs(app.store());
}

} // namespace fontarel
