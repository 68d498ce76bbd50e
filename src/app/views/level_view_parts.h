#pragma once
// What the Level window (level_view.cpp) and the Tiles window (tiles_view.cpp) share: the composed
// view's cells, the scroll bars, the paint of a Ctrl press, the opening of either window, and the
// Tiles window's present step, which the Level window's calls beside its own.

#include "app/app.h"

namespace fontarel::level_windows {

constexpr int kBarPixels = 16; // the width of a scroll bar

// A composed view takes the map's look, and cols x rows of it in use.
void take_machine(CharMap& view, const CharMap& map, int cols, int rows);
// A cell outside the level or the tile set: a blank glyph in the machine's blank colours.
TileCell empty_cell(const App& app);
void put(CharMap& view, int column, int row, TileCell cell);
// A scroll bar's range 0..maximum, its page and its position, with no event.
void set_bar(Toolkit& tk, int bar, int maximum, int page, int position);
// What Ctrl and the left button write into a tile cell: the current glyph and the pen's colour,
// as painting the map writes them in the paint mode.
TileCell painted(const App& app, TileCell cell);
// Opens the Level or the Tiles window beside the main window, with the history's shortcuts; false,
// having said so, when it cannot be opened.
bool open_level_window(App& app, int window, const char* title, int width, int height);
// The Tiles window's picture, scroll bar and title; nothing while it is hidden.
void present_tiles(App& app);

} // namespace fontarel::level_windows
