#pragma once
// How a screen shows its cells: the machine, its text mode and every colour register the mode
// reads, as one value. The map holds one, undo keeps it whole, the project file, the pictures and
// the exports take it whole; a new mode or register is one field here and its reader and writer.

#include <array>
#include <cstdint>

namespace fontarel {

// What a cell's attribute byte means, and how the map is drawn:
// - Mono: nothing; every cell in the two glyph colours.
// - C64: the colour-RAM nybble 0-15 is the colour of set pixels; clear pixels are the background.
// - ZxSpectrum: bits 0-2 ink, 3-5 paper, 6 BRIGHT, 7 FLASH.
// - PcText: bits 0-3 foreground, 4-6 background, 7 blink.
// - Atari: none; the colours are the five registers of the look, and a code's bit 7 chooses
//   (see the Atari modes below).
enum class MapMachine : uint8_t { Mono, C64, ZxSpectrum, PcText, Atari };
constexpr int kMapMachineCount = 5;

// The Atari's character modes, by their display-list numbers. Every cell of code c shows glyph
// c & 127:
// - 2: two colours: a set pixel shows COLPF1's luminance in COLPF2's hue, a clear one COLPF2;
//   bit 7 of the code swaps the two.
// - 4: four colours: each glyph row is four double-wide pixels of two bits, 00 COLBK, 01 COLPF0,
//   10 COLPF1, 11 COLPF2, or COLPF3 where the code's bit 7 is set.
// - 5: as 4 with every glyph row shown twice (cells twice as tall on the machine's screen).
constexpr uint8_t kAtariTwoColours = 2;
constexpr uint8_t kAtariFourColours = 4;
constexpr uint8_t kAtariTall = 5;
constexpr bool is_atari_mode(int mode) {
    return mode == kAtariTwoColours || mode == kAtariFourColours || mode == kAtariTall;
}
// An Atari colour register's value: hue in the high nybble, luminance in the low; the machine
// shows even values only.
constexpr bool is_atari_colour(int value) {
    return value >= 0 && value <= 255 && value % 2 == 0;
}

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
    // The Atari's mode (2, 4 or 5) and its registers COLBK and COLPF0-3, colour values 0-255;
    // kept, not shown, on the other machines. The values are the machine's own start colours.
    uint8_t atari_mode = kAtariTwoColours;
    uint8_t colbk = 0;
    std::array<uint8_t, 4> colpf = {40, 202, 148, 70};

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
    // An Atari map in four colours (mode 4 or 5), and in the tall mode 5.
    bool atari_four() const {
        return machine == MapMachine::Atari && atari_mode != kAtariTwoColours;
    }
    bool atari_tall() const { return machine == MapMachine::Atari && atari_mode == kAtariTall; }
    // Whether glyphs show as bit pairs: C64 multicolour or Atari four colours.
    bool pairs() const { return c64_multicolour() || atari_four(); }
    // Background register n, 0-3: the background, then background_1-3.
    uint8_t& background_register(int n) {
        return n == 1 ? background_1 : n == 2 ? background_2 : n == 3 ? background_3 : background;
    }
    uint8_t background_register(int n) const {
        return n == 1 ? background_1 : n == 2 ? background_2 : n == 3 ? background_3 : background;
    }
    bool operator==(const ScreenLook&) const = default;
};

// The look as undo and the recovery journal keep it, in two parts so that the journals written
// before the Atari registers existed keep their offsets: kScreenLookBytes bytes (machine,
// background, mode, the two multicolour registers, the three extended backgrounds), and
// kAtariLookBytes bytes kept apart (the Atari mode, COLBK, COLPF0-3). A read brings the machine
// and the modes into their ranges.
constexpr int kScreenLookBytes = 8;
constexpr int kAtariLookBytes = 6;
void put_screen_look(const ScreenLook& look, uint8_t* out, uint8_t* atari_out);
ScreenLook get_screen_look(const uint8_t* in, const uint8_t* atari_in);

} // namespace fontarel
