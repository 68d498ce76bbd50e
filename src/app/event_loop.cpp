// The event loop and the two dispatch tables: menu item ids and control numbers to their commands.

#include "app/event_loop.h"

#include <array>

#include "app/builtin_commands.h"
#include "app/charset_canvas.h"
#include "app/export_commands.h"
#include "app/file_commands.h"
#include "app/glyph_canvas.h"
#include "app/glyph_commands.h"
#include "app/history_commands.h"
#include "app/ids.h"
#include "app/map_canvas.h"
#include "app/present.h"
#include "app/range_commands.h"
#include "app/view_options.h"
#include "model/glyph_transforms.h"

namespace fontarel {

namespace {

using Command = void (*)(App&);

template <GlyphOp which> void op(App& app) {
    apply_glyph_op(app, static_cast<int>(which));
}
template <int bytes> void save(App& app) {
    save_file(app, bytes);
}
template <int columns, int rows> void map_size(App& app) {
    set_map_size(app, columns, rows);
}
template <MenuId which> void builtin(App& app) {
    load_builtin_charset(app, which);
}
template <ExportFormat format> void glyphs_export(App& app) {
    export_glyphs_as(app, format);
}
template <ExportFormat format> void map_export(App& app) {
    export_map_as(app, format);
}

struct MenuCommand {
    MenuId id;
    Command run;
};

// One row a command; "Quit" has none, the loop ends on it.
constexpr MenuCommand kMenuCommands[] = {
    {MenuId::Open, open_file},
    {MenuId::SaveZx, save<768>},
    {MenuId::SaveAtari, save<1024>},
    {MenuId::SaveIbm, save<2048>},
    {MenuId::SaveMap, save<-1>},
    {MenuId::SaveImage, export_charset_image},
    {MenuId::Invert, op<GlyphOp::Invert>},
    {MenuId::MirrorLeftRight, op<GlyphOp::MirrorLeftRight>},
    {MenuId::MirrorUpDown, op<GlyphOp::MirrorUpDown>},
    {MenuId::EraseCharset, erase_charset},
    {MenuId::ClearChar, op<GlyphOp::Clear>},
    {MenuId::ShiftLeft, op<GlyphOp::ShiftLeft>},
    {MenuId::ShiftRight, op<GlyphOp::ShiftRight>},
    {MenuId::ShiftUp, op<GlyphOp::ShiftUp>},
    {MenuId::ShiftDown, op<GlyphOp::ShiftDown>},
    {MenuId::SetBeginRange, set_range_begin},
    {MenuId::SetEndRange, set_range_end},
    {MenuId::DragSwap, [](App& app) { set_drag_mode(app, true); }},
    {MenuId::DragCopy, [](App& app) { set_drag_mode(app, false); }},
    {MenuId::CopyRange, copy_range_to_current},
    {MenuId::MapZx, map_size<32, 24>},
    {MenuId::MapAtari, map_size<40, 24>},
    {MenuId::MapC64, map_size<40, 25>},
    {MenuId::MapPc, map_size<80, 50>},
    {MenuId::MapUssr, map_size<64, 30>},
    {MenuId::FillMap, fill_map},
    {MenuId::GridOnMap, toggle_grid},
    {MenuId::CharsetCga, builtin<MenuId::CharsetCga>},
    {MenuId::CharsetC64, builtin<MenuId::CharsetC64>},
    {MenuId::CharsetAtari, builtin<MenuId::CharsetAtari>},
    {MenuId::Charset866, builtin<MenuId::Charset866>},
    {MenuId::CharsetZxSpectrum, builtin<MenuId::CharsetZxSpectrum>},
    {MenuId::CharsetZx80, builtin<MenuId::CharsetZx80>},
    {MenuId::CharsetMicrosha, builtin<MenuId::CharsetMicrosha>},
    {MenuId::CharsetJupiterAce, builtin<MenuId::CharsetJupiterAce>},
    {MenuId::HexNumbers, build_hex_charset},
    {MenuId::ColourBit1, [](App& app) { choose_pixel_colour(app, &AppState::color_bit1); }},
    {MenuId::ColourBit0, [](App& app) { choose_pixel_colour(app, &AppState::color_bit0); }},
    {MenuId::RotateClockwise, op<GlyphOp::RotateClockwise>},
    {MenuId::RotateAnticlockwise, op<GlyphOp::RotateAnticlockwise>},
    {MenuId::InsertMapChar, insert_map_char},
    {MenuId::DeleteMapChar, delete_map_char},
    {MenuId::InsertMapLine, insert_map_line},
    {MenuId::DeleteMapLine, delete_map_line},
    {MenuId::InsertMapColumn, insert_map_column},
    {MenuId::DeleteMapColumn, delete_map_column},
    {MenuId::Undo, undo_step},
    {MenuId::Redo, redo_step},
    {MenuId::ExportByte, glyphs_export<ExportFormat::Byte>},
    {MenuId::ExportAcme, glyphs_export<ExportFormat::Acme>},
    {MenuId::ExportDefb, glyphs_export<ExportFormat::Defb>},
    {MenuId::ExportC, glyphs_export<ExportFormat::C>},
    {MenuId::ExportBasic, glyphs_export<ExportFormat::Basic>},
    {MenuId::ExportPng, glyphs_export<ExportFormat::Png>},
    {MenuId::ExportPsf, glyphs_export<ExportFormat::Psf>},
    {MenuId::ExportBdf, glyphs_export<ExportFormat::Bdf>},
    {MenuId::ExportMapAssembler, map_export<ExportFormat::Byte>},
    {MenuId::ExportMapC, map_export<ExportFormat::C>},
};

} // namespace

bool dispatch_menu(App& app, int item) {
    if (item == id(MenuId::Quit)) {
        return false;
    }
    for (const MenuCommand& c : kMenuCommands) {
        if (id(c.id) == item) {
            c.run(app);
            break;
        }
    }
    return true; // any other id does nothing
}

void dispatch_control(App& app, const Event& event) {
    switch (event.source) {
    case kCharsetCanvas:
        charset_canvas_event(app, event);
        break;
    case kGlyphCanvas:
        glyph_canvas_event(app, event);
        break;
    case kMapCanvas:
        map_canvas_event(app, event);
        break;
    case kShiftLeftButton:
        op<GlyphOp::ShiftLeft>(app);
        break;
    case kShiftRightButton:
        op<GlyphOp::ShiftRight>(app);
        break;
    case kShiftUpButton:
        op<GlyphOp::ShiftUp>(app);
        break;
    case kShiftDownButton:
        op<GlyphOp::ShiftDown>(app);
        break;
    case kBeginRangeBar:
    case kEndRangeBar:
        update_range_labels(app);
        break;
    default:
        break; // the text field, the check box and the labels have no effect of their own
    }
}

namespace {

// Hands the event to its handler; false when the loop is to end.
bool handle_event(App& app, const Event& event) {
    Toolkit& tk = app.tk;
    switch (event.code) {
    case kEventDrop:
        app.s.dropped_files = event.dropped;
        if (event.source == kCharsetCanvas) {
            load_font_file(app, app.s.dropped_files);
        } else if (event.source == kMapCanvas) {
            load_map_file(app, app.s.dropped_files);
        }
        return true;
    case kEventMenu:
        return dispatch_menu(app, event.source);
    case kEventClose:
        if (event.window == kMainWindow) {
            return false;
        }
        if (event.window == kMapWindow) {
            tk.set_window_hidden(kMapWindow, 1); // hidden, not destroyed: a map size shows it again
            app.views.map_shown = false;
        }
        return true;
    case kEventControl:
        dispatch_control(app, event);
        return true;
    default:
        return true;
    }
}

} // namespace

// Whatever the event's handler changes in the charset or the map becomes one step of the history.
// Once no event is left in the queue, the pictures are brought up to date, so events that arrived
// together cost their model work each and one present.
bool dispatch_event(App& app, int code) {
    // A copy: a handler that opens a requester or a popup runs the platform, which may replace
    // the toolkit's current event.
    Event event = app.tk.current_event();
    event.code = code;
    begin_event_step(app, event);
    const bool go_on = handle_event(app, event);
    end_event_step(app, event);
    if (go_on && app.tk.pending_events() == 0) {
        present(app);
    }
    return go_on;
}

void run_event_loop(App& app) {
    for (;;) {
        const int code = app.tk.wait_event();
        app.s.last_event = code;
        // Escape held as any event arrives ends the program at once; that event is not handled.
        if (app.tk.escape_down()) {
            return;
        }
        if (!dispatch_event(app, code)) {
            return;
        }
    }
}

} // namespace fontarel
