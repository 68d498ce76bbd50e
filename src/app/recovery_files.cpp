#include "app/recovery_files.h"

#include <algorithm>
#include <ctime>

#include "model/map_colours.h"
#include "toolkit/file_io.h"
#include "toolkit/locked_file.h"

namespace fontarel {

namespace {

constexpr const char* kEarlierExtension = ".fontarel";
constexpr const char* kFreshExtension = ".new";
// A half-written file younger than this may still be on its way to being locked and renamed.
constexpr int64_t kFreshGrace = 60;

bool is_session(const std::string& name) {
    return name.starts_with(kRecoveryPrefix) &&
           (name.ends_with(kRecoveryExtension) || name.ends_with(kEarlierExtension));
}

// Every file of an ended run, newest change first; the same change by name, the later run first.
std::vector<RecoverySession> sessions_in(const std::string& folder) {
    std::vector<RecoverySession> out;
    for (const std::string& name : regular_files_in(folder)) {
        const std::string path = folder + name;
        if (!is_session(name) || lock_held(path))
            continue;
        out.push_back({path, modified_seconds(path), false, {}});
    }
    std::sort(out.begin(), out.end(), [](const RecoverySession& a, const RecoverySession& b) {
        return a.modified != b.modified ? a.modified > b.modified : a.path > b.path;
    });
    return out;
}

std::string local_time(int64_t seconds, const char* format) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

} // namespace

std::vector<RecoverySession> ended_sessions(const std::string& folder, bool describe) {
    std::vector<RecoverySession> out = sessions_in(folder);
    if (!describe)
        return out;
    for (RecoverySession& s : out) {
        if (!s.path.ends_with(kRecoveryExtension))
            continue;
        const std::string& path = s.path;
        s.described = read_recovery_summary(
            [&path](int64_t offset, int64_t count) {
                std::vector<uint8_t> bytes;
                read_file_part(path, offset, count, bytes);
                return bytes;
            },
            s.summary);
    }
    return out;
}

std::string session_row(const RecoverySession& session, int64_t now) {
    const bool today = local_time(session.modified, "%Y%m%d") == local_time(now, "%Y%m%d");
    std::string row = local_time(session.modified, today ? "%H:%M" : "%Y-%m-%d %H:%M") + "  ";
    if (!session.described) {
        const size_t slash = session.path.find_last_of('/');
        return row + session.path.substr(slash == std::string::npos ? 0 : slash + 1);
    }
    const RecoverySummary& s = session.summary;
    return row + machine_name(s.machine) + " " + std::to_string(s.map_cols) + "x" +
           std::to_string(s.map_rows) + ", level " + std::to_string(s.level_cols) + "x" +
           std::to_string(s.level_rows);
}

void prune_sessions(const std::string& folder, int64_t now) {
    for (const std::string& name : regular_files_in(folder)) {
        const std::string path = folder + name;
        if (name.starts_with(kRecoveryPrefix) && name.ends_with(kFreshExtension) &&
            modified_seconds(path) + kFreshGrace < now && !lock_held(path))
            delete_file(path);
    }
    const std::vector<RecoverySession> sessions = sessions_in(folder);
    for (size_t i = 1; i < sessions.size(); ++i) {
        // sessions[i - 1] is the newer file that has been there the longest.
        if (i >= kRecoveryFilesKept || sessions[i - 1].modified + kRecoverySuperseded <= now)
            delete_file(sessions[i].path);
    }
}

} // namespace fontarel
