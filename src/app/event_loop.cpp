// The event loop and the two dispatch tables: menu item ids and control numbers to their commands.

#include "app/event_loop.h"

#include "app/ids.h"
#include "charset/builtin_charsets.h"
#include "charset/glyph_ops.h"
#include "charset/range.h"
#include "files/font_file.h"
#include "files/image_export.h"
#include "files/map_file.h"
#include "views/char_map.h"
#include "views/charset_view.h"
#include "views/glyph_editor.h"

namespace fontarel {

namespace {

void op(App& app, GlyphOp which) {
    apply_glyph_op(app, static_cast<int>(which));
}

// "Color for bit=0..." and "Color for bit=1...": the chooser opens with black, not the current
// colour.
void choose_pixel_colour(App& app, int32_t AppState::*colour) {
    app.s.color_choice = app.tk.choose_colour();
    if (app.s.color_choice <= -1) {
        return; // cancelled: nothing changes, nothing is redrawn
    }
    app.s.*colour = app.s.color_choice;
    refresh_charset_views(app);
    draw_char_map(app);
}

// The two drag-mode items act as one pair of radio items.
void set_drag_mode(App& app, bool swap) {
    app.tk.set_item_checked(kMenuBar, id(MenuId::DragSwap), swap ? 1 : 0);
    app.tk.set_item_checked(kMenuBar, id(MenuId::DragCopy), swap ? 0 : 1);
}

void toggle_grid(App& app) {
    app.s.grid_on = 1 - app.s.grid_on;
    app.tk.set_item_checked(kMenuBar, id(MenuId::GridOnMap), app.s.grid_on);
    draw_char_map(app);
}

} // namespace

bool dispatch_menu(App& app, int item) {
    switch (static_cast<MenuId>(item)) {
    case MenuId::Open:
        open_file(app);
        break;
    case MenuId::Quit:
        return false;
    case MenuId::SaveZx:
        save_file(app, 768);
        break;
    case MenuId::SaveAtari:
        save_file(app, 1024);
        break;
    case MenuId::SaveIbm:
        save_file(app, 2048);
        break;
    case MenuId::SaveMap:
        save_file(app, -1);
        break;
    case MenuId::SaveImage:
        export_charset_image(app);
        break;
    case MenuId::Invert:
        op(app, GlyphOp::Invert);
        break;
    case MenuId::MirrorLeftRight:
        op(app, GlyphOp::MirrorLeftRight);
        break;
    case MenuId::MirrorUpDown:
        op(app, GlyphOp::MirrorUpDown);
        break;
    case MenuId::EraseCharset:
        erase_charset(app);
        break;
    case MenuId::ClearChar:
        op(app, GlyphOp::Clear);
        break;
    case MenuId::ShiftLeft:
        op(app, GlyphOp::ShiftLeft);
        break;
    case MenuId::ShiftRight:
        op(app, GlyphOp::ShiftRight);
        break;
    case MenuId::ShiftUp:
        op(app, GlyphOp::ShiftUp);
        break;
    case MenuId::ShiftDown:
        op(app, GlyphOp::ShiftDown);
        break;
    case MenuId::SetBeginRange:
        set_range_begin(app);
        break;
    case MenuId::SetEndRange:
        set_range_end(app);
        break;
    case MenuId::DragSwap:
        set_drag_mode(app, true);
        break;
    case MenuId::DragCopy:
        set_drag_mode(app, false);
        break;
    case MenuId::CopyRange:
        copy_range_to_current(app);
        break;
    case MenuId::MapZx:
        set_map_size(app, 32, 24);
        break;
    case MenuId::MapAtari:
        set_map_size(app, 40, 24);
        break;
    case MenuId::MapC64:
        set_map_size(app, 40, 25);
        break;
    case MenuId::MapPc:
        set_map_size(app, 80, 50);
        break;
    case MenuId::MapUssr:
        set_map_size(app, 64, 30);
        break;
    case MenuId::FillMap:
        fill_map(app);
        break;
    case MenuId::GridOnMap:
        toggle_grid(app);
        break;
    case MenuId::CharsetCga:
    case MenuId::CharsetC64:
    case MenuId::CharsetAtari:
    case MenuId::Charset866:
    case MenuId::CharsetZxSpectrum:
    case MenuId::CharsetZx80:
    case MenuId::CharsetMicrosha:
    case MenuId::CharsetJupiterAce:
        load_builtin_charset(app, static_cast<MenuId>(item));
        break;
    case MenuId::HexNumbers:
        build_hex_charset(app);
        break;
    case MenuId::ColourBit1:
        choose_pixel_colour(app, &AppState::color_bit1);
        break;
    case MenuId::ColourBit0:
        choose_pixel_colour(app, &AppState::color_bit0);
        break;
    case MenuId::RotateClockwise:
        op(app, GlyphOp::RotateClockwise);
        break;
    case MenuId::RotateAnticlockwise:
        op(app, GlyphOp::RotateAnticlockwise);
        break;
    case MenuId::InsertMapChar:
        insert_map_char(app);
        break;
    case MenuId::DeleteMapChar:
        delete_map_char(app);
        break;
    case MenuId::InsertMapLine:
        insert_map_line(app);
        break;
    case MenuId::DeleteMapLine:
        delete_map_line(app);
        break;
    case MenuId::InsertMapColumn:
        insert_map_column(app);
        break;
    case MenuId::DeleteMapColumn:
        delete_map_column(app);
        break;
    default:
        break; // any other id does nothing
    }
    return true;
}

void dispatch_control(App& app, int control) {
    switch (control) {
    case kCharsetCanvas:
        charset_canvas_event(app);
        break;
    case kGlyphCanvas:
        glyph_canvas_event(app);
        break;
    case kMapCanvas:
        map_canvas_event(app);
        break;
    case kShiftLeftButton:
        op(app, GlyphOp::ShiftLeft);
        break;
    case kShiftRightButton:
        op(app, GlyphOp::ShiftRight);
        break;
    case kShiftUpButton:
        op(app, GlyphOp::ShiftUp);
        break;
    case kShiftDownButton:
        op(app, GlyphOp::ShiftDown);
        break;
    case kBeginRangeBar:
    case kEndRangeBar:
        update_range_labels(app);
        break;
    default:
        break; // the text field, the check box and the labels have no effect of their own
    }
}

bool dispatch_event(App& app, int code) {
    Toolkit& tk = app.tk;
    switch (code) {
    case kEventDrop:
        app.s.dropped_files = tk.dropped_file_list();
        if (tk.event_source() == kCharsetCanvas) {
            load_font_file(app, app.s.dropped_files);
            refresh_charset_views(app);
        } else if (tk.event_source() == kMapCanvas) {
            load_map_file(app, app.s.dropped_files);
            draw_char_map(app);
        }
        return true;
    case kEventMenu:
        return dispatch_menu(app, tk.event_source());
    case kEventClose:
        if (tk.event_window() == kMainWindow) {
            return false;
        }
        if (tk.event_window() == kMapWindow) {
            tk.set_window_hidden(kMapWindow, 1); // hidden, not destroyed: a map size shows it again
        }
        return true;
    case kEventControl:
        dispatch_control(app, tk.event_source());
        return true;
    default:
        return true;
    }
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
