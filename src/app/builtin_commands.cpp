#include "app/builtin_commands.h"

#include "model/builtin_charsets.h"

namespace fontarel {

namespace {

// The machine behind each item of the Charset submenu.
Machine machine_of(MenuId which) {
    switch (which) {
    case MenuId::Charset866:
        return Machine::Cp866;
    case MenuId::CharsetZxSpectrum:
        return Machine::ZxSpectrum;
    case MenuId::CharsetZx80:
        return Machine::Zx80;
    case MenuId::CharsetJupiterAce:
        return Machine::JupiterAce;
    case MenuId::CharsetC64:
        return Machine::C64Caps;
    case MenuId::CharsetAtari:
        return Machine::AtariXl;
    case MenuId::CharsetMicrosha:
        return Machine::Microsha;
    default:
        return Machine::Cga;
    }
}

} // namespace

void load_builtin_charset(App& app, MenuId which) {
    const BuiltinCharset& set = builtin_charset(machine_of(which));
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
