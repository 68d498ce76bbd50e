#pragma once
// Blocks of map cells: "Cut", "Copy", "Paste", "Clear" and "Select all" of the Edit menu, on the
// selection made by a Shift-drag on the map. The clipboard is the system's: a private form that
// keeps width, height and codes, and plain text as assembler rows that paste into a source file.

#include "app/app.h"

namespace fontarel {

void cut_block(App& app);
void copy_block(App& app);
// The clipboard's block with its top-left at the hovered cell (or the selection's top-left),
// clipped to the map in use; the pasted area becomes the selection. Text in no form it reads
// pastes nothing and says so in the map window's title.
void paste_block(App& app);
void clear_block(App& app);
void select_all(App& app);
// The main window's Ctrl+C and Ctrl+V: the current glyph's eight bytes as the glyph data text
// shows them ("48,120,204,204,252,204,204,0"), and back from text of eight values in any form a
// block pastes from. Other text changes nothing and says so in the main window's title.
void copy_glyph(App& app);
void paste_glyph(App& app);
// Greys "Cut", "Copy" and "Clear" out without a selection, and "Paste" until the clipboard is
// known to hold something (at start-up, or once something was copied or pasted).
void show_block_state(App& app);
// Reads whether the system clipboard holds anything, for "Paste": at start-up (something copied
// in another run) and whenever its content changes.
void notice_clipboard(App& app);
// The title of the map window while a selection is made: "Character map (3,2)-(10,5) 8x4".
std::string selection_title(const CellRect& rect);
// The rectangle as that title names it: "(3,2)-(10,5) 8x4".
std::string selection_text(const CellRect& rect);

} // namespace fontarel
