#pragma once
// All the state of the program, in one record for the whole run. Each field starts at its initial
// value; start-up allocates the store and the map and fills in what depends on the machine (the
// directories).

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/colour.h"
#include "model/history.h"
#include "model/level.h"
#include "model/version.h"
#include "toolkit/codes.h"

namespace fontarel {

inline constexpr const char* kWindowTitle = kProgramVersion;

// What painting on the map writes: the current code and the pen's attribute, or one of them. A
// Mono map is painted with codes whatever the mode.
enum class PaintMode { CodesAndColours, ColoursOnly, CodesOnly };

struct AppState {
    std::unique_ptr<CharsetStore> charset; // allocated at start-up, zero-filled
    uint8_t current_char = 0;              // index of the selected glyph
    int32_t current_column = 0;            // 0-15: current_char = 16 * current_row + current_column
    int32_t current_row = 0;
    int32_t range_begin = 0; // recomputed from the two range bars by each command that needs them
    int32_t range_end = 0;
    int32_t color_bit0 = kStartClearColour; // colour of clear pixels
    int32_t color_bit1 = kStartSetColour;   // colour of set pixels
    std::unique_ptr<CharMap> map;           // map_cells with map_cols x map_rows in use
    LevelDoc levels;                        // the tile set and the level
    int32_t current_tile = 0;               // what a left press on the level puts down
    int32_t grid_on = 1;                    // mirrors the check mark of "Grid on map"
    int32_t show_unused = 0;                // mirrors the check mark of "Show unused glyphs"
    int32_t map_window_open = 0;            // 1 once the map window exists
    int32_t popup_cell_x = -1;              // map cell under the mouse when the map popup opened
    int32_t popup_cell_y = -1;
    int32_t drag_active = 0; // a left-button drag on the charset canvas is under way
    int32_t drag_source = 0; // glyph where the drag started
    int32_t drag_target = 0; // glyph where it ended
    int32_t drag_swap = 0;   // check state of "Drag mode:swap" when the drag ended
    std::array<int32_t, 256> bit_reverse_table{}; // entry v = v with its 8 bits reversed
    std::array<uint8_t, 9> rotate_scratch{};      // scratch rows of the rotations
    std::string window_title = kWindowTitle;      // prefix of every main window title
    std::string file_directory;                   // starting place of the file requesters
    std::string map_file_name;                    // starting path when a map is saved
    std::string project_path;                     // where "Save project" writes; empty: ask
    bool escape_ended_typing = false; // Escape, still held, ended typing: it ends nothing more
    std::string project_kept;  // keys of the project last opened that the program does not know
    std::string chosen_path;   // path most recently returned by a file requester
    std::string open_pattern;  // pattern list of the "Open..." requester
    std::string bmp_extension; // forced onto an exported picture's path
    std::string dropped_files; // file list of the most recent drop
    int32_t last_event = 0;    // code most recently returned by wait_event
    int32_t color_choice = 0;  // last result of the colour chooser
    int32_t map_margin = 10;   // extra width and height of the map window's first inner size

    // What a left press on the map writes. The pen (colour of set pixels) and paper are palette
    // indices of the map's machine; a paint writes compose_attribute(machine, pen, paper).
    PaintMode paint_mode = PaintMode::CodesAndColours;
    int32_t pen_colour = 0;
    int32_t paper_colour = 0;
    // The pen also sets FLASH (Spectrum) or blink (PC), or paints multicolour cells (C64 with
    // multicolour on).
    bool pen_marker = false;
    int32_t brush = 3; // the bit pair a left press paints on a multicolour glyph, 0-3

    // Undo and redo of the charset and the map. Not part of it: the current character, the range,
    // the colours and the drag mode.
    History history;
    EditState step_before; // the charset and the map as the step being made began
    // step_before is the data as the last step closed, so the next event need not copy it again.
    // Anything that changes the data outside an event clears it (start-up).
    bool step_before_current = false;
    int32_t stroke_canvas = -1; // canvas whose held mouse button keeps that step open; -1 none
    int32_t undo_shown = -1;    // enabled state last given to "Undo" and "Redo"; -1 none yet
    int32_t redo_shown = -1;
};

} // namespace fontarel
