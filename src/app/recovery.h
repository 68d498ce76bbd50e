#pragma once
// Work that survives a slip of the hand: once each step closes and the queued events are handled,
// the project is written to a recovery file of this run's own, in the state folder, never more
// often than every two seconds (the write then waits for the rest of them). The event loop only
// hands a copy of the project over; a thread of its own makes the text and writes the file, so
// that a stroke is not slowed by it. Nothing is written at
// exit and nothing asked at start-up; "Recover last session" and --recover load the newest file
// of an earlier run. The newest five files are kept. A folder that cannot be written turns
// recovery off with one line on stderr, and the program goes on.

#include "app/app.h"

namespace fontarel {

// The shortest time between two writes of the recovery file, in milliseconds.
constexpr int kRecoveryGap = 2000;
// Recovery files kept in the folder, this run's among them.
constexpr int kRecoveryFilesKept = 5;

// Names this run's file and finds the newest file of an earlier run. Off when the toolkit has no
// state folder.
void start_recovery(App& app);
// Writes the recovery file when it is due and two seconds have passed since the last write, or
// asks the toolkit to wake the loop when they will have. Called once the queue is empty.
void write_recovery_when_due(App& app);
// Waits until the writes handed over so far are done; true while recovery is on (no write has
// failed). The program's end waits too, so that the last step handed over is not lost.
bool finish_recovery_writes(App& app);
// "Recover last session": the newest file of an earlier run, as one undo step; a file that
// cannot be read is reported and left where it is.
void recover_last_session(App& app);
// "Recover last session" enabled exactly when an earlier run left a file.
void show_recovery_state(App& app);

} // namespace fontarel
