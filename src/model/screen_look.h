#pragma once
// How a screen shows its cells: the machine, its text mode and every colour register the mode
// reads, as one value. The map holds one, undo keeps it whole, the project file, the pictures and
// the exports take it whole; a new mode or register is one field here and its reader and writer.

#include <cstdint>

namespace fontarel {

// What a cell's attribute byte means, and how the map is drawn:
// - Mono: nothing; every cell in the two glyph colours.
// - C64: the colour-RAM nybble 0-15 is the colour of set pixels; clear pixels are the background.
// - ZxSpectrum: bits 0-2 ink, 3-5 paper, 6 BRIGHT, 7 FLASH.
// - PcText: bits 0-3 foreground, 4-6 background, 7 blink.
enum class MapMachine : uint8_t { Mono, C64, ZxSpectrum, PcText };
constexpr int kMapMachineCount = 4;

// The C64's text mode, kept, not shown, on the other machines:
// - Multicolour ($d016 bit 4): a cell whose colour-RAM nybble is 8-15 shows its glyph as 4 x 8
//   double-wide pixels, bit pair 00 the background, 01 multicolour_1 ($d022), 10 multicolour_2
//   ($d023), 11 the nybble minus 8.
// - ExtendedBackground ($d011 bit 6): a cell of code c shows glyph c & 63, its set pixels in the
//   colour-RAM nybble and its clear ones in background register c >> 6: 0 the background ($d021),
//   1-3 background_1-3 ($d022-$d024).
enum class TextMode : uint8_t { Standard, Multicolour, ExtendedBackground };
constexpr int kTextModeCount = 3;

struct ScreenLook {
    MapMachine machine = MapMachine::Mono;
    TextMode mode = TextMode::Standard;
    uint8_t background = 0; // C64: the background colour ($d021) 0-15; Spectrum: the border 0-7
    uint8_t multicolour_1 = 1, multicolour_2 = 2;                 // 0-15
    uint8_t background_1 = 1, background_2 = 2, background_3 = 3; // 0-15

    bool multicolour() const { return mode == TextMode::Multicolour; }
    bool extended() const { return mode == TextMode::ExtendedBackground; }
    // Switching one mode on switches the other off: at most one of them is on.
    void set_multicolour(bool on) {
        mode = on ? TextMode::Multicolour : extended() ? mode : TextMode::Standard;
    }
    void set_extended(bool on) {
        mode = on ? TextMode::ExtendedBackground : multicolour() ? mode : TextMode::Standard;
    }
    // Whether multicolour (extended background) cells show: a C64 with that mode on.
    bool c64_multicolour() const { return machine == MapMachine::C64 && multicolour(); }
    bool c64_extended() const { return machine == MapMachine::C64 && extended(); }
    // Background register n, 0-3: the background, then background_1-3.
    uint8_t& background_register(int n) {
        return n == 1 ? background_1 : n == 2 ? background_2 : n == 3 ? background_3 : background;
    }
    uint8_t background_register(int n) const {
        return n == 1 ? background_1 : n == 2 ? background_2 : n == 3 ? background_3 : background;
    }
    bool operator==(const ScreenLook&) const = default;
};

// The look in kScreenLookBytes bytes (machine, background, mode, the two multicolour registers,
// the three extended backgrounds), as undo and the recovery journal keep it; a read brings the
// machine and the mode into their ranges.
constexpr int kScreenLookBytes = 8;
void put_screen_look(const ScreenLook& look, uint8_t* out);
ScreenLook get_screen_look(const uint8_t* in);

} // namespace fontarel
