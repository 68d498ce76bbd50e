// The event loop: each event to its handler, as one step of the history.

#include "app/event_loop.h"

#include "app/charset_canvas.h"
#include "app/file_commands.h"
#include "app/history_commands.h"
#include "app/ids.h"
#include "app/map_canvas.h"

namespace fontarel {

namespace {

// Hands the event to its handler; false when the loop is to end.
bool handle_event(App& app, int code) {
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
            app.views.map_shown = false;
        }
        return true;
    case kEventControl:
        dispatch_control(app, tk.event_source());
        return true;
    default:
        return true;
    }
}

} // namespace

// Whatever the event's handler changes in the charset or the map becomes one step of the history.
bool dispatch_event(App& app, int code) {
    begin_event_step(app);
    const bool go_on = handle_event(app, code);
    end_event_step(app);
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
