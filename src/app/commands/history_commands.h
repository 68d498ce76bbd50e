#pragma once
// Undo and redo. Every handled event that changed the charset or the map becomes one step of the
// history; a mouse stroke on the glyph editor or the map, from the press to the release, is one
// step as a whole, and so is all that is typed onto the map between starting and leaving typing.
// "Undo" and "Redo" put the data back.

#include "app/app.h"

namespace fontarel {

// The loop calls these around the handling of each event.
void begin_event_step(App& app, const Event& event);
void end_event_step(App& app, const Event& event);

// The charset and the map as they are now.
EditState current_edit_state(const App& app);
// Records the change since `before` as one step (the command-line font at start-up).
void record_step(App& app, const EditState& before);

void undo_step(App& app);
void redo_step(App& app);
// Greys "Undo" and "Redo" out when there is nothing to undo or to redo.
void show_history_state(App& app);

} // namespace fontarel
