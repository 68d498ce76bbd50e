#include "app/commands/history_commands.h"

#include <algorithm>

#include "app/ids.h"
#include "app/views/map_canvas.h"
#include "app/views/map_typing.h"

namespace fontarel {

namespace {

// The canvas whose mouse strokes are steps, when the event is one of its control events; -1
// otherwise. Each event of the charset canvas (a click, a key, a drag's drop) is a step of its own.
int stroke_canvas_of(const Event& event) {
    if (event.code == kEventControl &&
        (event.source == kGlyphCanvas || event.source == kMapCanvas ||
         event.source == kLevelCanvas || event.source == kTilesCanvas)) {
        return event.source;
    }
    return -1;
}

// Records the open step, if the data changed since it began.
void close_step(App& app) {
    AppState& s = app.s;
    s.stroke_canvas = -1;
    const EditState after = current_edit_state(app);
    // A step that changed something is due in the recovery file.
    app.recovery.due =
        s.history.record(s.step_before, after, s.levels.take_change()) || app.recovery.due;
    // Between events nothing changes the data: the state after this step is the one the next
    // begins with, one copy per event instead of two.
    s.step_before = after;
    s.step_before_current = true;
    show_history_state(app);
}

bool same_range(const EditState& a, const EditState& b, int first, int end) {
    return std::equal(a.bytes.begin() + first, a.bytes.begin() + end, b.bytes.begin() + first);
}

// Puts the data back; a changed map size fits the map window (shown or hidden, as the user left
// it).
void apply_edit_state(App& app, const EditState& state) {
    const EditState was = current_edit_state(app);
    restore_edit_state(state, app.store(), *app.s.map);
    app.s.step_before = state; // so that the loop records no step for the restoring itself
    if (!same_range(was, state, kEditSizeOffset, kEditSizeOffset + kEditSizeBytes)) {
        app.blocks.selection = {}; // as a map size drops it: it may lie outside the new size
        fit_map_window(app);
    }
}

void show_item(App& app, MenuId item, bool enabled, int32_t& shown) {
    if (shown != static_cast<int32_t>(enabled)) {
        app.tk.set_item_enabled(kMenuBar, id(item), enabled ? 1 : 0);
        shown = enabled ? 1 : 0;
    }
}

} // namespace

EditState current_edit_state(const App& app) {
    return capture_edit_state(*app.s.charset, *app.s.map);
}

void begin_event_step(App& app, const Event& event) {
    AppState& s = app.s;
    if (s.stroke_canvas >= 0) {
        // A stroke goes on through its canvas's events and through the platform's idle wake-ups
        // between them, and typing through every event that does not end it; anything else ends
        // it first.
        if (event.code == kEventOther || event.code == kEventClipboard ||
            stroke_canvas_of(event) == s.stroke_canvas ||
            (app.blocks.typing.active && !event_ends_typing(event))) {
            return;
        }
        close_step(app);
    }
    if (event.code != kEventOther && !s.step_before_current) {
        s.step_before = current_edit_state(app);
    }
}

void end_event_step(App& app, const Event& event) {
    AppState& s = app.s;
    if (event.code == kEventOther || event.code == kEventClipboard) {
        return; // no handler that changes the data runs for it
    }
    const int canvas = stroke_canvas_of(event);
    // A step still open counts for the recovery file as one that closed: what it changed so far
    // is written within the same two seconds.
    if (app.blocks.typing.active) {
        s.stroke_canvas = kMapCanvas; // what is typed until typing ends is one step
        app.recovery.due = true;
        return;
    }
    if (canvas >= 0 && event.buttons != 0) {
        s.stroke_canvas = canvas; // a button is still held: the stroke goes on
        app.recovery.due = true;
        return;
    }
    close_step(app);
}

void record_step(App& app, const EditState& before) {
    app.s.history.record(before, current_edit_state(app), app.s.levels.take_change());
    app.s.step_before_current = false;
    show_history_state(app);
}

void undo_step(App& app) {
    EditState state = current_edit_state(app);
    if (app.s.history.undo(state, &app.s.levels)) {
        apply_edit_state(app, state);
        app.recovery.due = true;
    }
}

void redo_step(App& app) {
    EditState state = current_edit_state(app);
    if (app.s.history.redo(state, &app.s.levels)) {
        apply_edit_state(app, state);
        app.recovery.due = true;
    }
}

void show_history_state(App& app) {
    AppState& s = app.s;
    if (!app.tk.menu_exists(kMenuBar)) {
        return; // nothing to show yet, or never
    }
    show_item(app, MenuId::Undo, s.history.can_undo(), s.undo_shown);
    show_item(app, MenuId::Redo, s.history.can_redo(), s.redo_shown);
}

} // namespace fontarel
