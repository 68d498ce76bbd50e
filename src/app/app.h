#pragma once
// The one context every handler receives: the toolkit, the program's state, and what the views
// remember of the pictures they last drew.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "formats/export_level.h"
#include "model/glyph_use.h"
#include "model/map_block.h"
#include "render/charset_picture.h"
#include "render/glyph_editor_picture.h"
#include "render/map_picture.h"
#include "toolkit/toolkit.h"

namespace fontarel {

// What the pictures show beside the data, and the renderers that remember what they drew, so that
// presenting writes only what changed. None of it is program state: dropping the renderers costs
// one full redraw.
// The brush canvas's swatches: the four bit pairs' colours and the brush framed.
struct BrushLook {
    std::array<int, 4> colours{};
    int brush = -1;
    bool operator==(const BrushLook&) const = default;
};

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
    // The cell the map window's title names, or none when it says something else. The present
    // step follows the cell's changes (a stroke, an undo) with the title.
    MapCell map_titled;
    // The tile set's glyph use, counted again tile by tile as tiles change (see
    // multicolour_glyph_set); a cache, so it may change while the views are only read.
    mutable TileGlyphUse tile_use;
    // The glyphs the charset grid shows in the extended background colour mode (see present).
    CharsetStore extended_glyphs;
    // The machine and paint mode the Colour menu last showed (see show_colour_state); -1 none.
    int32_t colour_shown = -1;
    bool glyph_hovered = false; // the pointer is over the glyph editor
    bool brush_shown = false;   // the brush canvas is shown
    BrushLook brush_drawn;      // what the brush canvas shows; brush -1: nothing yet
};

// Typing onto the map: the text cursor's cell, always inside the map in use while typing.
struct MapTyping {
    bool active = false;
    MapCell cursor;
    int line_start = 0;        // column where typing began: Return goes back to it
    bool screen_codes = false; // mirrors the check mark of "Type with screen codes"
    bool ending_click = false; // the left press that ended typing is held; it paints nothing
};

// Blocks of map cells: the selection in the map's own cells (always inside the map in use; empty
// when none) and the Shift-drag that makes it.
struct MapBlocks {
    CellRect selection;
    bool selecting = false; // a Shift-drag is under way from (anchor_column, anchor_row)
    int anchor_column = 0, anchor_row = 0;
    bool clipboard_filled = false; // something was copied this run, or the clipboard held data
    // What "Cut", "Copy", "Clear" and "Paste" last showed as enabled; -1 none yet.
    int32_t selection_shown = -1, paste_shown = -1;
    MapTyping typing;
    bool glyph_message_shown = false; // the main title says the clipboard holds no glyph
};

// The recovery file: a base and a journal of what changed since (formats/recovery_journal.h),
// written at most once every two seconds, so that a slip costs at most that much.
class RecoveryWriter; // the thread that writes the file (app/recovery_writer.h)

struct Recovery {
    std::string folder; // ends in '/'; empty: recovery is off (none, or it failed)
    std::shared_ptr<RecoveryWriter> writer; // started with the first write
    std::string own_file;                   // this run's file; never another run's
    bool due = false;          // something may have changed since the last write (a step, a stroke)
    bool base_written = false; // a base is on its way to the file; entries may follow it
    bool base_wanted = false;  // the next write is a base (the project was replaced)
    bool journal_since_base = false; // entries followed the last base
    int64_t last_write = 0;
    bool written = false; // last_write holds the time of a write
    int64_t idle_at = 0;  // when, without a change, the base is rewritten with the entries in it
    int64_t wake_at = -1; // the wake-up asked for, in the toolkit's milliseconds; -1 none
    // What the file holds, as the last job handed over left it: what entries are made against.
    EditState journaled;
    Colour colour0 = 0, colour1 = 0;
    std::string kept;
    // Files of ended runs recovered here: deleted once this run's base holds their work.
    std::vector<std::string> recovered;
    bool available = false; // an ended run left a file, as last looked
    int64_t looked_at = -1; // when the folder was last looked at; -1 never
    int32_t shown = -1;     // whether "Recover last session" was last shown enabled; -1 not yet
};

// What the two windows show and where the pointer was; none of it is part of the data.
struct LevelViews {
    bool level_open = false, tiles_open = false;   // the window exists
    bool level_shown = false, tiles_shown = false; // and is on screen
    // The level view: its top-left character and its size in characters (the map's size in use).
    int scroll_x = 0, scroll_y = 0;
    int view_cols = 0, view_rows = 0;
    // The tile under the pointer in the Level window, and the one it last hovered (where the
    // insert and delete rows act); -1 none.
    int hover_x = -1, hover_y = -1;
    int last_x = -1, last_y = -1;
    // The Tiles window: the first tile row in view, and the character cell under the pointer.
    int tiles_scroll = 0;
    MapCell tiles_hover;
    // The characters in view, composed for the renderers; allocated with the first window.
    std::unique_ptr<CharMap> level_cells, tile_cells;
    MapRenderer level_picture, tiles_picture;
};

struct App {
    Toolkit& tk;
    AppState s;
    Views views;
    LevelViews level_views;
    MapBlocks blocks;
    Recovery recovery;
    // How the data exports of the Level menu are shaped: its check rows and its part of the level.
    DataShape export_shape;

    explicit App(Toolkit& toolkit) : tk(toolkit) {}
    CharsetStore& store() { return *s.charset; }
};

} // namespace fontarel
