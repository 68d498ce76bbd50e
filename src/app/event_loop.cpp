// The event loop: each event to its handler, as one step of the history.

#include "app/event_loop.h"

#include "app/commands/block_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/history_commands.h"
#include "app/commands/project_commands.h"
#include "app/ids.h"
#include "app/recovery.h"
#include "app/views/level_view.h"
#include "app/views/map_typing.h"
#include "app/views/present.h"

namespace fontarel {

namespace {

// Hands the event to its handler; false when the loop is to end.
bool handle_event(App& app, const Event& event) {
    Toolkit& tk = app.tk;
    if (app.blocks.typing.active && event_ends_typing(event)) {
        stop_typing(app);
    }
    switch (event.code) {
    case kEventDrop:
        app.s.dropped_files = event.dropped;
        if (event.source == kCharsetCanvas) {
            open_by_content(app, app.s.dropped_files);
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
        if (event.window == kLevelWindow || event.window == kTilesWindow)
            hide_level_window(app, event.window);
        return true;
    case kEventControl:
        dispatch_control(app, event);
        return true;
    case kEventClipboard: // something was copied, here or in another program
        notice_clipboard(app);
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
        write_recovery_when_due(app);
    }
    return go_on;
}

bool escape_ends_program(App& app) {
    if (!app.tk.escape_down()) {
        app.s.escape_ended_typing = false;
        return false;
    }
    if (app.blocks.typing.active) {
        stop_typing(app);
        app.s.escape_ended_typing = true;
    }
    return !app.s.escape_ended_typing;
}

void run_event_loop(App& app) {
    for (;;) {
        const int code = app.tk.wait_event();
        app.s.last_event = code;
        // Escape held as any event arrives ends the program at once; that event is not handled.
        if (escape_ends_program(app)) {
            return;
        }
        if (!dispatch_event(app, code)) {
            return;
        }
    }
}

} // namespace fontarel
