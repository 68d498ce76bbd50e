#include "app/start_up.h"

#include "app/commands/block_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/history_commands.h"
#include "app/commands/import_commands.h"
#include "app/commands/project_commands.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/menus.h"
#include "app/recovery.h"
#include "app/views/present.h"
#include "formats/opened_project.h"
#include "formats/recovery_journal.h"
#include "model/glyph_transforms.h"
#include "render/geometry.h"

namespace fontarel {

namespace {

constexpr int kMainWidth = 640;
constexpr int kMainHeight = 480;
constexpr int kMainFlags =
    kWindowTitleBar | kWindowSystemMenu | kWindowMinimiseButton | kWindowCentred;
constexpr int kMapFlags =
    kWindowHidden | kWindowTitleBar | kWindowSystemMenu | kWindowMinimiseButton;
constexpr int kMapWindowOffset =
    40;                             // the map window opens this far right of and below the main one
constexpr int kMapFirstWidth = 512; // 32 x 24 cells of 16 pixels, plus the margin
constexpr int kMapFirstHeight = 384;
constexpr int kMapCanvasWidth = 1280; // room for the largest map, 80 x 50 cells
constexpr int kMapCanvasHeight = 800;

void create_range_controls(Toolkit& tk) {
    tk.create_canvas(kCharsetCanvas, 0, 0, 260, 260, kCanvasBorder | kCanvasFocusable);
    tk.create_label(kBeginRangeLabel, 20, 260, 255, 20, "Begin range:0", kLabelCentred);
    tk.create_track_bar(kBeginRangeBar, 20, 280, 255, 30, 0, 255, kTrackBarTicks);
    tk.create_label(kEndRangeLabel, 20, 310, 255, 20, "End range:0", kLabelCentred);
    tk.create_track_bar(kEndRangeBar, 20, 330, 255, 30, 0, 255, kTrackBarTicks);
    tk.create_check_box(kRangeCheckBox, 0, 310, 20, 20, "");
    tk.set_tooltip(kRangeCheckBox, "Enable range");
}

void create_glyph_controls(Toolkit& tk) {
    tk.create_button(kShiftLeftButton, 262, 128, 32, 20, "<");
    tk.set_tooltip(kShiftLeftButton, "shift left");
    tk.create_button(kShiftUpButton, 294, 128, 32, 20, "^");
    tk.set_tooltip(kShiftUpButton, "shift up");
    tk.create_button(kShiftDownButton, 326, 128, 32, 20, "v");
    tk.set_tooltip(kShiftDownButton, "shift down");
    tk.create_button(kShiftRightButton, 358, 128, 32, 20, ">");
    tk.set_tooltip(kShiftRightButton, "shift right");
    tk.create_text_field(kGlyphDataText, 262, 148, 128, 40, "",
                         kTextMultiLine | kTextCentred | kTextRight);
    tk.set_tooltip(kGlyphDataText, "Data for char");
    tk.create_canvas(kGlyphCanvas, 262, 0, kGlyphCanvasPixels, kGlyphCanvasPixels, 0);
    tk.create_canvas(kBrushCanvas, 262 + kGlyphCanvasPixels + 4, 0, 32, 128, 0);
    tk.set_tooltip(kBrushCanvas, "Brush: keys 1-4 over the character");
    tk.show_control(kBrushCanvas, false);
}

void open_map_window(App& app) {
    Toolkit& tk = app.tk;
    AppState& s = app.s;
    const int x = tk.window_left(kMainWindow) + kMapWindowOffset;
    const int y = tk.window_top(kMainWindow) + kMapWindowOffset;
    if (tk.open_window(kMapWindow, x, y, kMapFirstWidth + s.map_margin,
                       kMapFirstHeight + s.map_margin, "Character map", kMapFlags)) {
        // Focusable, so that the window's keys reach it for typing text.
        tk.create_canvas(kMapCanvas, 0, 0, kMapCanvasWidth, kMapCanvasHeight, kCanvasFocusable);
        tk.enable_file_drop(kMapCanvas);
        s.map_window_open = 1;
    } else {
        s.map_window_open = 0;
        tk.message_box("Fontarel", "Character Map not available");
    }
}

} // namespace

bool open_program(App& app) {
    Toolkit& tk = app.tk;
    AppState& s = app.s;
    s = AppState{};
    s.charset = std::make_unique<CharsetStore>();
    s.map = std::make_unique<CharMap>();
    remember_folder(app, tk.working_directory());

    if (!tk.open_window(kMainWindow, 0, 0, kMainWidth, kMainHeight, s.window_title, kMainFlags)) {
        return false;
    }
    create_range_controls(tk);
    s.charset->bytes.fill(0);
    s.map_file_name = tk.working_directory() + "charmap.map";
    // A project, a Koala painting (and --recover) take the map too, so they come once the map
    // window is open. --recover alone takes the newest file of an ended run, --recover FILE the
    // one given.
    const bool recover = (tk.parameter_count() == 1 || tk.parameter_count() == 2) &&
                         tk.parameter(0) == kRecoverOption;
    const bool project = tk.parameter_count() == 1 && !recover &&
                         (names_project(app, tk.parameter(0)) || names_koala(app, tk.parameter(0)));
    if (tk.parameter_count() == 1 && !recover && !project) {
        const EditState before = current_edit_state(app);
        open_by_content(app, tk.parameter(0));
        record_step(app, before); // the font can be undone like a dropped one
    }

    tk.create_image(kCharsetImage, kGridPixels, kGridPixels);
    create_glyph_controls(tk);

    build_menus(app);
    tk.enable_file_drop(kCharsetCanvas);
    build_bit_reverse_table(s.bit_reverse_table);

    fill_start_map(*s.map);
    open_map_window(app);
    add_map_window_shortcuts(app);
    start_recovery(app);
    show_recovery_state(app);
    if (recover || project) {
        const EditState before = current_edit_state(app);
        if (recover && tk.parameter_count() == 2)
            recover_file(app, tk.parameter(1));
        else if (recover)
            recover_newest_session(app);
        else
            open_by_content(app, tk.parameter(0));
        record_step(app, before);
    }

    tk.focus_control(kCharsetCanvas);
    notice_clipboard(app);
    present(app);
    return true;
}

void shut_down(App& app) {
    // The last step handed to the recovery file is written; nothing more is.
    finish_recovery_writes(app);
    app.recovery.writer.reset();
    app.s.charset.reset();
    app.tk.close();
}

int run_program(Toolkit& toolkit) {
    App app(toolkit);
    if (open_program(app)) {
        run_event_loop(app);
    }
    shut_down(app);
    return 0;
}

} // namespace fontarel
