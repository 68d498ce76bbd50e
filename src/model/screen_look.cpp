// How a screen shows its cells (see screen_look.h).

#include "model/screen_look.h"

namespace fontarel {

void put_screen_look(const ScreenLook& look, uint8_t* out, uint8_t* atari_out) {
    out[0] = static_cast<uint8_t>(look.machine);
    out[1] = look.background;
    out[2] = static_cast<uint8_t>(look.mode);
    out[3] = look.multicolour_1;
    out[4] = look.multicolour_2;
    out[5] = look.background_1;
    out[6] = look.background_2;
    out[7] = look.background_3;
    atari_out[0] = look.atari_mode;
    atari_out[1] = look.colbk;
    for (int i = 0; i < 4; ++i)
        atari_out[2 + i] = look.colpf[i];
}

ScreenLook get_screen_look(const uint8_t* in, const uint8_t* atari_in) {
    ScreenLook look;
    look.machine = static_cast<MapMachine>(in[0] % kMapMachineCount);
    look.background = in[1];
    look.mode = static_cast<TextMode>(in[2] % kTextModeCount);
    look.multicolour_1 = in[3];
    look.multicolour_2 = in[4];
    look.background_1 = in[5];
    look.background_2 = in[6];
    look.background_3 = in[7];
    look.atari_mode = is_atari_mode(atari_in[0]) ? atari_in[0] : kAtariTwoColours;
    look.colbk = atari_in[1];
    for (int i = 0; i < 4; ++i)
        look.colpf[i] = atari_in[2 + i];
    return look;
}

} // namespace fontarel
