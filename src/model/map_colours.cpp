#include "model/map_colours.h"

#include <array>

#include "model/atari_palette.h"

namespace fontarel {

namespace {

constexpr Colour hex(uint32_t value) {
    return rgb(static_cast<int>(value >> 16), static_cast<int>(value >> 8),
               static_cast<int>(value));
}

// The C64 palette measured from the video chip's output ("Pepto").
constexpr std::array<Colour, 16> kC64 = {
    hex(0x000000), hex(0xFFFFFF), hex(0x68372B), hex(0x70A4B2), hex(0x6F3D86), hex(0x588D43),
    hex(0x352879), hex(0xB8C76F), hex(0x6F4F25), hex(0x433900), hex(0x9A6759), hex(0x444444),
    hex(0x6C6C6C), hex(0x9AD284), hex(0x6C5EB5), hex(0x959595)};

// Spectrum colour i: bit 0 blue, bit 1 red, bit 2 green, each at the normal level C0 or, BRIGHT,
// at FF.
constexpr std::array<Colour, 16> spectrum_palette() {
    std::array<Colour, 16> p{};
    for (int i = 0; i < 16; ++i) {
        const int level = i < 8 ? 0xC0 : 0xFF;
        p[i] = rgb(i & 2 ? level : 0, i & 4 ? level : 0, i & 1 ? level : 0);
    }
    return p;
}
constexpr std::array<Colour, 16> kSpectrum = spectrum_palette();

// The CGA text colours, brown included.
constexpr std::array<Colour, 16> kCga = {
    hex(0x000000), hex(0x0000AA), hex(0x00AA00), hex(0x00AAAA), hex(0xAA0000), hex(0xAA00AA),
    hex(0xAA5500), hex(0xAAAAAA), hex(0x555555), hex(0x5555FF), hex(0x55FF55), hex(0x55FFFF),
    hex(0xFF5555), hex(0xFF55FF), hex(0xFFFF55), hex(0xFFFFFF)};

} // namespace

Palette machine_palette(MapMachine machine) {
    switch (machine) {
    case MapMachine::C64:
        return {"Pepto", kC64};
    case MapMachine::ZxSpectrum:
        return {"Spectrum", kSpectrum};
    case MapMachine::PcText:
        return {"CGA", kCga};
    case MapMachine::Atari:
        return {"Atari", atari_palette()};
    case MapMachine::Mono:
        break;
    }
    return {"Mono", {}};
}

const char* machine_name(MapMachine machine) {
    switch (machine) {
    case MapMachine::C64:
        return "C64";
    case MapMachine::ZxSpectrum:
        return "ZX Spectrum";
    case MapMachine::PcText:
        return "PC text";
    case MapMachine::Atari:
        return "Atari";
    case MapMachine::Mono:
        break;
    }
    return "Mono";
}

CellColours cell_colours(MapMachine machine, uint8_t attr, uint8_t background) {
    switch (machine) {
    case MapMachine::C64:
        return {kC64[attr & 15], kC64[background & 15], false};
    case MapMachine::ZxSpectrum: {
        const int bright = (attr & 0x40) ? 8 : 0;
        return {kSpectrum[bright + (attr & 7)], kSpectrum[bright + ((attr >> 3) & 7)],
                (attr & 0x80) != 0};
    }
    case MapMachine::PcText:
        return {kCga[attr & 15], kCga[(attr >> 4) & 7], (attr & 0x80) != 0};
    case MapMachine::Atari:
    case MapMachine::Mono:
        break;
    }
    return {};
}

CellColours cell_colours(const ScreenLook& look, uint8_t attr, int code) {
    if (look.machine == MapMachine::Atari) {
        const auto c = atari_two_colours(look, (code & 0x80) != 0);
        return {c[1], c[0], false};
    }
    const uint8_t paper =
        look.c64_extended() ? look.background_register((code & 255) >> 6) : look.background;
    return cell_colours(look.machine, attr, paper);
}

bool is_pair_cell(const ScreenLook& look, uint8_t attr) {
    return look.atari_four() || (look.c64_multicolour() && (attr & 8) != 0);
}

std::array<Colour, 4> multicolour_colours(const ScreenLook& look, uint8_t attr) {
    return {kC64[look.background & 15], kC64[look.multicolour_1 & 15],
            kC64[look.multicolour_2 & 15], kC64[attr & 7]};
}

std::array<Colour, 4> pair_colours(const ScreenLook& look, uint8_t attr, int code) {
    if (look.machine == MapMachine::Atari)
        return atari_pair_colours(look, (code & 0x80) != 0);
    return multicolour_colours(look, attr);
}

int pen_choices(MapMachine machine) {
    return machine == MapMachine::Mono || machine == MapMachine::Atari ? 0 : 16;
}

int paper_choices(MapMachine machine) {
    return machine == MapMachine::ZxSpectrum || machine == MapMachine::PcText ? 8 : 0;
}

int background_choices(MapMachine machine) {
    return machine == MapMachine::C64 ? 16 : machine == MapMachine::ZxSpectrum ? 8 : 0;
}

uint8_t compose_attribute(MapMachine machine, int pen, int paper, bool marker) {
    const int bit7 = marker ? 0x80 : 0;
    switch (machine) {
    case MapMachine::C64:
        return static_cast<uint8_t>(pen & 15);
    case MapMachine::ZxSpectrum:
        return static_cast<uint8_t>((pen & 7) | ((paper & 7) << 3) | ((pen & 8) ? 0x40 : 0) | bit7);
    case MapMachine::PcText:
        return static_cast<uint8_t>((pen & 15) | ((paper & 7) << 4) | bit7);
    case MapMachine::Atari:
    case MapMachine::Mono:
        break;
    }
    return 0;
}

int pen_choices(const CharMap& map) {
    return map.look.c64_multicolour() ? 8 : pen_choices(map.look.machine);
}

uint8_t compose_attribute(const CharMap& map, int pen, int paper, bool marker) {
    if (map.look.c64_multicolour())
        return static_cast<uint8_t>((pen & 7) | (marker ? 8 : 0));
    return compose_attribute(map.look.machine, pen, paper, marker);
}

const char* marker_name(const CharMap& map) {
    switch (map.look.machine) {
    case MapMachine::ZxSpectrum:
        return "Flash";
    case MapMachine::PcText:
        return "Blink";
    case MapMachine::C64:
        return map.look.multicolour() ? "Multicolour cell" : nullptr;
    case MapMachine::Atari:
        return "Inverse (COLPF3)";
    default:
        return nullptr;
    }
}

std::string attribute_text(MapMachine machine, uint8_t attr) {
    switch (machine) {
    case MapMachine::C64:
        return " ink " + std::to_string(attr & 15);
    case MapMachine::ZxSpectrum:
        return " ink " + std::to_string(attr & 7) + " paper " + std::to_string((attr >> 3) & 7) +
               ((attr & 0x40) ? " bright" : "") + ((attr & 0x80) ? " flash" : "");
    case MapMachine::PcText:
        return " ink " + std::to_string(attr & 15) + " paper " + std::to_string((attr >> 4) & 7) +
               ((attr & 0x80) ? " blink" : "");
    case MapMachine::Atari:
    case MapMachine::Mono:
        break;
    }
    return {};
}

namespace {

// The index of the colour nearest `c` among palette[first, first + count); the lowest on ties.
int nearest(std::span<const Colour> palette, Colour c, int first, int count) {
    int best = first;
    for (int i = first; i < first + count; ++i)
        if (colour_distance(palette[static_cast<size_t>(i)], c) <
            colour_distance(palette[static_cast<size_t>(best)], c))
            best = i;
    return best;
}

} // namespace

void convert_map_machine(CharMap& map, MapMachine machine) {
    const MapMachine from = map.look.machine;
    const uint8_t blank = blank_attribute(from);
    bool coloured = false;
    for (const auto& row : map.attrs)
        for (const uint8_t a : row)
            coloured = coloured || a != blank;
    if (!coloured || from == machine || from == MapMachine::Mono || machine == MapMachine::Mono ||
        from == MapMachine::Atari || machine == MapMachine::Atari) {
        set_map_machine(map, machine);
        return;
    }
    const std::span<const Colour> palette = machine_palette(machine).colours;
    std::array<uint8_t, 256> converted{};
    for (int a = 0; a < 256; ++a) {
        const CellColours was = cell_colours(from, static_cast<uint8_t>(a), map.look.background);
        const int pen = nearest(palette, was.ink, 0, pen_choices(machine));
        // A Spectrum cell's paper shares its ink's brightness.
        const int level = machine == MapMachine::ZxSpectrum ? pen & 8 : 0;
        const int papers = paper_choices(machine);
        const int paper = papers > 0 ? nearest(palette, was.paper, level, papers) - level : 0;
        converted[static_cast<size_t>(a)] = compose_attribute(machine, pen, paper, was.marker);
    }
    set_map_machine(map, machine);
    for (auto& row : map.attrs)
        for (uint8_t& a : row)
            a = converted[a];
}

} // namespace fontarel
