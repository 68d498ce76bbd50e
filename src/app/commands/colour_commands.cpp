#include "app/commands/colour_commands.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/ids.h"
#include "model/atari_palette.h"
#include "model/labels.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

constexpr std::array<MenuId, kMapMachineCount> kMachineRows = {
    MenuId::MachineMono, MenuId::MachineC64, MenuId::MachineZx, MenuId::MachinePc,
    MenuId::MachineAtari};
// The Atari mode rows, by mode 2, 4 and 5.
constexpr std::array<std::pair<MenuId, uint8_t>, 3> kAtariModeRows = {
    {{MenuId::AtariTwoColours, kAtariTwoColours},
     {MenuId::AtariFourColours, kAtariFourColours},
     {MenuId::AtariTall, kAtariTall}}};
constexpr const char* kAtariRegisterNames[] = {"COLBK", "COLPF0", "COLPF1", "COLPF2", "COLPF3"};
constexpr std::array<MenuId, 3> kPaintRows = {MenuId::PaintCodesAndColours,
                                              MenuId::PaintColoursOnly, MenuId::PaintCodesOnly};

MapMachine machine_of(const App& app) {
    return app.s.map->look.machine;
}

// `colours` in a chooser; the choice goes into `value`, and the state of the chooser's check box,
// if `check`, into `check_on`.
void choose_among(App& app, const char* title, std::span<const Colour> colours, int32_t& value,
                  const char* check = nullptr, bool* check_on = nullptr) {
    const int count = static_cast<int>(colours.size());
    if (count <= 0)
        return;
    PaletteCheck box{check ? check : "", check && *check_on};
    const int chosen = app.tk.choose_palette_entry(title, colours, value, check ? &box : nullptr);
    if (chosen >= 0 && chosen < count) {
        value = chosen;
        if (check)
            *check_on = box.on;
    }
}

// The first `count` palette colours in a chooser, as choose_among.
void choose_entry(App& app, const char* title, int count, int32_t& value,
                  const char* check = nullptr, bool* check_on = nullptr) {
    if (count <= 0)
        return;
    choose_among(app, title,
                 machine_palette(machine_of(app)).colours.first(static_cast<size_t>(count)), value,
                 check, check_on);
}

// The pen and paper of the machine's blank cell.
void pen_from_blank(App& app) {
    const uint8_t blank = blank_attribute(machine_of(app));
    app.s.pen_marker = false;
    switch (machine_of(app)) {
    case MapMachine::ZxSpectrum:
        app.s.pen_colour = (blank & 7) | ((blank & 0x40) ? 8 : 0);
        app.s.paper_colour = (blank >> 3) & 7;
        break;
    case MapMachine::PcText:
        app.s.pen_colour = blank & 15;
        app.s.paper_colour = (blank >> 4) & 7;
        break;
    default:
        app.s.pen_colour = blank & 15;
        app.s.paper_colour = 0;
        break;
    }
}

} // namespace

void set_machine(App& app, MapMachine machine) {
    convert_map_machine(*app.s.map, machine);
    pen_from_blank(app);
}

void choose_pen_colour(App& app) {
    const CharMap& map = *app.s.map;
    if (map.look.machine == MapMachine::Atari) {
        // The pen is the brush, one of the mode's colours, and the inverse box.
        const bool four = map.look.atari_four();
        const auto pairs = atari_pair_colours(map.look, app.s.pen_marker);
        const auto two = atari_two_colours(map.look, false);
        const std::span<const Colour> colours = four ? std::span<const Colour>(pairs) : two;
        int32_t value = four ? app.s.brush & 3 : app.s.brush == 0 ? 0 : 1;
        choose_among(app, "Pen colour", colours, value, marker_name(map), &app.s.pen_marker);
        app.s.brush = four ? value : value == 0 ? 0 : 3;
        return;
    }
    // A pen past the choices (multicolour turned on after a pen of 8-15) opens on what it paints.
    const int count = pen_choices(map);
    app.s.pen_colour %= std::max(count, 1);
    choose_entry(app, "Pen colour", count, app.s.pen_colour, marker_name(map), &app.s.pen_marker);
}

void choose_paper_colour(App& app) {
    choose_entry(app, "Paper colour", paper_choices(machine_of(app)), app.s.paper_colour);
}

void choose_background_colour(App& app) {
    CharMap& map = *app.s.map;
    const char* title =
        map.look.machine == MapMachine::ZxSpectrum ? "Border colour" : "Background colour";
    int32_t value = map.look.background;
    choose_entry(app, title, background_choices(map.look.machine), value);
    map.look.background = static_cast<uint8_t>(value);
}

void toggle_multicolour(App& app) {
    CharMap& map = *app.s.map;
    if (map.look.machine == MapMachine::C64)
        map.look.set_multicolour(!map.look.multicolour());
}

namespace {

// A C64 colour register from the chooser; nothing on another machine.
void choose_c64_register(App& app, const std::string& title, uint8_t& reg) {
    if (app.s.map->look.machine != MapMachine::C64)
        return;
    int32_t value = reg;
    choose_entry(app, title.c_str(), 16, value);
    reg = static_cast<uint8_t>(value);
}

} // namespace

void choose_multicolour_register(App& app, int which) {
    ScreenLook& look = app.s.map->look;
    choose_c64_register(app, "Multicolour " + std::to_string(which),
                        which == 1 ? look.multicolour_1 : look.multicolour_2);
}

int edited_glyph(const App& app) {
    return shown_glyph(app.s.map->look, app.s.current_char);
}

void toggle_extended_background(App& app) {
    CharMap& map = *app.s.map;
    if (map.look.machine == MapMachine::C64)
        map.look.set_extended(!map.look.extended());
}

void choose_extended_background_register(App& app, int which) {
    choose_c64_register(app, "Background " + std::to_string(which),
                        app.s.map->look.background_register(which));
}

void set_atari_mode(App& app, uint8_t mode) {
    ScreenLook& look = app.s.map->look;
    if (look.machine == MapMachine::Atari && is_atari_mode(mode))
        look.atari_mode = mode;
}

void choose_atari_colours(App& app) {
    ScreenLook& look = app.s.map->look;
    if (look.machine != MapMachine::Atari)
        return;
    std::vector<std::string> rows;
    for (int r = 0; r < 5; ++r) {
        const int value = r == 0 ? look.colbk : look.colpf[static_cast<size_t>(r - 1)];
        rows.push_back(std::string(kAtariRegisterNames[r]) + " " + std::to_string(value));
    }
    const int which = app.tk.choose_from_list("Atari colours", "Colour register", rows);
    if (which < 0 || which >= 5)
        return;
    uint8_t& reg = which == 0 ? look.colbk : look.colpf[static_cast<size_t>(which - 1)];
    int32_t entry = reg >> 1; // the chooser's entry i is colour value 2i
    choose_among(app, kAtariRegisterNames[which], atari_palette(), entry);
    reg = static_cast<uint8_t>(2 * entry);
}

int32_t atari_painted_code(int32_t old, int32_t code, PaintMode mode, bool inverse) {
    if (mode == PaintMode::CodesOnly)
        return code & 255;
    const int32_t glyph = (mode == PaintMode::ColoursOnly ? old : code) & 127;
    return glyph | (inverse ? 128 : 0);
}

std::bitset<256> multicolour_glyph_set(const App& app) {
    const CharMap& map = *app.s.map;
    if (map.look.atari_four())
        return std::bitset<256>().set();
    if (!map.look.c64_multicolour())
        return {};
    GlyphUse use = map_glyph_use(map);
    use.add(app.views.tile_use.of(app.s.levels.tiles(), map));
    return fontarel::multicolour_glyph_set(map, use);
}

bool multicolour_glyph(const App& app, int code) {
    return multicolour_glyph_set(app)[static_cast<size_t>(code & 255)];
}

bool multicolour_glyphs(const App& app) {
    return multicolour_glyph(app, app.s.current_char);
}

std::array<Colour, 4> pen_multicolours(const App& app) {
    if (app.s.map->look.machine == MapMachine::Atari)
        return atari_pair_colours(app.s.map->look, app.s.pen_marker);
    return multicolour_colours(*app.s.map, static_cast<uint8_t>(app.s.pen_colour & 7));
}

void set_paint_mode(App& app, PaintMode mode) {
    app.s.paint_mode = mode;
}

void paint_cell(App& app, int column, int row, int32_t code) {
    CharMap& map = *app.s.map;
    const PaintMode mode =
        map.look.machine == MapMachine::Mono ? PaintMode::CodesOnly : app.s.paint_mode;
    if (map.look.machine == MapMachine::Atari) {
        map.at(column, row) = atari_painted_code(map.at(column, row), code, mode, app.s.pen_marker);
        return;
    }
    if (mode != PaintMode::ColoursOnly)
        map.at(column, row) = code;
    if (mode != PaintMode::CodesOnly)
        map.attr(column, row) = compose_attribute(map, app.s.pen_colour, app.s.paper_colour,
                                                  app.s.pen_marker && marker_name(map) != nullptr);
}

std::string hover_title(const App& app, int column, int row) {
    const CharMap& map = *app.s.map;
    return map_title(column, row, map.at(column, row)) +
           attribute_text(map.look.machine, map.attr(column, row));
}

void show_colour_state(App& app) {
    Toolkit& tk = app.tk;
    if (!tk.menu_exists(kMenuBar))
        return;
    const MapMachine machine = machine_of(app);
    // One number for everything shown, so that an unchanged state costs one comparison.
    const bool multicolour = machine == MapMachine::C64 && app.s.map->look.multicolour();
    const bool glyphs = multicolour_glyphs(app);
    const bool extended = machine == MapMachine::C64 && app.s.map->look.extended();
    const int atari_mode = machine == MapMachine::Atari ? app.s.map->look.atari_mode : 0;
    const int32_t state = static_cast<int>(machine) * 4 + static_cast<int>(app.s.paint_mode) +
                          (multicolour ? 64 : 0) + (glyphs ? 128 : 0) + (extended ? 256 : 0) +
                          atari_mode * 512;
    if (state == app.views.colour_shown)
        return;
    app.views.colour_shown = state;
    for (int m = 0; m < kMapMachineCount; ++m)
        tk.set_item_checked(kMenuBar, id(kMachineRows[m]), m == static_cast<int>(machine));
    for (int p = 0; p < 3; ++p)
        tk.set_item_checked(kMenuBar, id(kPaintRows[p]),
                            p == static_cast<int>(app.s.paint_mode) ? 1 : 0);
    const bool colours = machine != MapMachine::Mono;
    tk.set_item_enabled(kMenuBar, id(MenuId::PenColour), colours);
    tk.set_item_enabled(kMenuBar, id(MenuId::PaperColour), paper_choices(machine) > 0);
    tk.set_item_enabled(kMenuBar, id(MenuId::BackgroundColour), background_choices(machine) > 0);
    for (const MenuId row : kPaintRows)
        tk.set_item_enabled(kMenuBar, id(row), colours);
    tk.set_item_checked(kMenuBar, id(MenuId::Multicolour), multicolour ? 1 : 0);
    tk.set_item_checked(kMenuBar, id(MenuId::ExtendedBackground), extended ? 1 : 0);
    for (const MenuId row : {MenuId::Multicolour, MenuId::MulticolourOne, MenuId::MulticolourTwo,
                             MenuId::ExtendedBackground, MenuId::ExtendedBackgroundOne,
                             MenuId::ExtendedBackgroundTwo, MenuId::ExtendedBackgroundThree})
        tk.set_item_enabled(kMenuBar, id(row), machine == MapMachine::C64);
    for (const auto& [row, mode] : kAtariModeRows) {
        tk.set_item_checked(kMenuBar, id(row), mode == atari_mode ? 1 : 0);
        tk.set_item_enabled(kMenuBar, id(row), machine == MapMachine::Atari);
    }
    tk.set_item_enabled(kMenuBar, id(MenuId::AtariColours), machine == MapMachine::Atari);
    // A 4 x 8 multicolour glyph has no rotation.
    for (const MenuId row : {MenuId::RotateClockwise, MenuId::RotateAnticlockwise})
        tk.set_item_enabled(kMenuBar, id(row), !glyphs);
}

} // namespace fontarel
