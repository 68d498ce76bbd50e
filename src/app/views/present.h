#pragma once
// The one step that shows the data: once per turn of the event loop, after the queued events are
// handled and before the loop waits again, every picture is brought up to date with the charset,
// the map, the colours, the cursor and the pointer's marks. Commands change data only; what a
// picture already shows costs nothing to present again.

#include "app/app.h"

namespace fontarel {

// Brings the charset image, the charset canvas, the glyph editor with its data text and, while its
// window is shown, the map up to date. A picture that cannot be drawn on shows its message box
// ("draw image char error!", "draw cursor error!", "draw character error!", "draw char map
// error!") and is tried again at the next present.
void present(App& app);
// The charset image alone, for commands that read it (the picture save).
void present_charset_image(App& app);

} // namespace fontarel
