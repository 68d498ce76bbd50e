#pragma once
// The one context every handler receives: the toolkit and the program's state.

#include "app/app_state.h"
#include "toolkit/toolkit.h"

namespace fontarel {

struct App {
    Toolkit& tk;
    AppState s;

    explicit App(Toolkit& toolkit) : tk(toolkit) {}
    CharsetStore& store() { return *s.charset; }
};

} // namespace fontarel
