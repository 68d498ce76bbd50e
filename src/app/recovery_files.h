#pragma once
// The recovery files in the state folder: which runs left them, what they hold, and which go.
// A run's file is locked while the run goes on (LockedFile); a file without a lock is one a run
// left when it ended, however it ended.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/recovery_journal.h"

namespace fontarel {

inline constexpr const char* kRecoveryPrefix = "session-";
inline constexpr const char* kRecoveryExtension = ".recovery";
// Files of ended runs kept at most, and how long a newer one must have been there (in seconds)
// before an older one goes.
constexpr int kRecoveryFilesKept = 20;
constexpr int64_t kRecoverySuperseded = int64_t{7} * 24 * 60 * 60;

struct RecoverySession {
    std::string path;
    int64_t modified = 0; // seconds since 1970
    bool described = false;
    RecoverySummary summary;
};

// The files of ended runs in `folder`, newest change first; with `describe`, what each holds.
// Files of the earlier form (a whole project, ".fontarel") count too.
std::vector<RecoverySession> ended_sessions(const std::string& folder, bool describe);

// One row of the list "Recover last session" shows: the time of the file's last change (with
// the date when it is not today's, in local time) and what it holds:
// "12:04  C64 40x25, level 64x32".
std::string session_row(const RecoverySession& session, int64_t now);

// Deletes the files of ended runs past the newest kRecoveryFilesKept, and those older than a file
// of an ended run that has been there kRecoverySuperseded seconds; and the half-written files
// runs left behind. Never a file whose lock is held. `now` in seconds since 1970.
void prune_sessions(const std::string& folder, int64_t now);

} // namespace fontarel
