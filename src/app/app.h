#pragma once
// The one context every handler receives: the toolkit, the program's state, and what the views
// remember of the pictures they last drew.

#include "app/app_state.h"
#include "render/charset_picture.h"
#include "render/glyph_editor_picture.h"
#include "render/map_picture.h"
#include "toolkit/toolkit.h"

namespace fontarel {

// What the pictures show beside the data, and the renderers that remember what they drew, so that
// presenting writes only what changed. None of it is program state: dropping the renderers costs
// one full redraw.
struct Views {
    CharsetGridRenderer grid;
    CharsetCanvasRenderer canvas;
    GlyphEditorRenderer editor;
    MapRenderer map;
    // The map window is on screen: between a size command and the window's close box. While it is
    // hidden the map is not drawn; the size command that shows it draws it first.
    bool map_shown = false;
    // The pointer's marks: a hover or drag frame on the charset canvas, the outlined map cell.
    CharsetOverlay charset_overlay;
    MapCell map_hover;
};

struct App {
    Toolkit& tk;
    AppState s;
    Views views;

    explicit App(Toolkit& toolkit) : tk(toolkit) {}
    CharsetStore& store() { return *s.charset; }
};

} // namespace fontarel
