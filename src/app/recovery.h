#pragma once
// Work that survives a slip of the hand or a crash. Each run writes a recovery file of its own in
// the state folder, locked while the run goes on: a base (the project as it was) and a journal to
// which what changed is appended (formats/recovery_journal.h), never more often than every two
// seconds; a change within two seconds of the last write waits for the rest of them. A stroke
// still held down counts as a change, so a crash costs at most its last two seconds. The base is
// written again once the journal has grown past it, or after a while without a change. The event
// loop only hands over what changed; a thread of its own writes it.
// Nothing is written at exit and nothing asked at start-up: "Recover last session" offers the
// files of runs that ended (newest first, asking which when there are several), --recover loads
// the newest and --recover FILE a given one. A file recovered goes once this run's own file holds
// its work; other files of ended runs go once a newer one has been there seven days, and at most
// twenty are kept. A folder that cannot be written turns recovery off with one line on stderr,
// and the program goes on.

#include "app/app.h"

namespace fontarel {

// The shortest time between two writes of the recovery file, in milliseconds.
constexpr int kRecoveryGap = 2000;
// Without a change for this long (milliseconds), the base is written again with the journal in it.
constexpr int kRecoveryIdle = 30000;

// Names this run's file and clears out files of ended runs that have had their time. Off when
// the toolkit has no state folder.
void start_recovery(App& app);
// Writes what changed when it is due and two seconds have passed since the last write, or asks
// the toolkit to wake the loop when they will have. Called once the queue is empty.
void write_recovery_when_due(App& app);
// Waits until the writes handed over so far are done; true while recovery is on (no write has
// failed). The program's end waits too, so that the last step handed over is not lost.
bool finish_recovery_writes(App& app);
// "Recover last session": the file of an ended run, as one undo step; with several, the user
// chooses from a list, newest first. A file that cannot be read is reported and left where it is.
void recover_last_session(App& app);
// --recover: the newest file of an ended run, without asking.
void recover_newest_session(App& app);
// --recover FILE, and the end of the two above: the file's work becomes the program's (one undo
// step). False, with a message, when it cannot be read.
bool recover_file(App& app, const std::string& path);
// "Recover last session" enabled exactly when an ended run left a file, as last looked.
void show_recovery_state(App& app);

} // namespace fontarel
