#include "app/recovery.h"

#include <ctime>

#include "app/commands/project_commands.h"
#include "app/ids.h"
#include "app/recovery_files.h"
#include "app/recovery_writer.h"

namespace fontarel {

namespace {

constexpr const char* kRecoverTitle = "Recover last session";
// The largest recovery file read: a 4,096 x 4,096 level's base, and as much journal again.
constexpr int64_t kLargestRecovery = int64_t{512} << 20;
// How often the folder is looked at for runs that ended, in milliseconds.
constexpr int kLookGap = 5000;

int64_t seconds_now() {
    return static_cast<int64_t>(std::time(nullptr));
}

void look_for_ended_runs(App& app) {
    Recovery& r = app.recovery;
    r.available = !r.folder.empty() && !ended_sessions(r.folder, false).empty();
    r.looked_at = app.tk.milliseconds();
}

void ask_wake(App& app, int64_t at, int64_t now) {
    Recovery& r = app.recovery;
    if (r.wake_at > now && r.wake_at <= at)
        return; // an earlier wake-up is on its way; it asks again
    app.tk.wake_after(static_cast<int>(at - now));
    r.wake_at = at;
}

// What changed since the last job: the edit state's runs, the colours, and the tiles and level
// blocks written, as the pieces they share with the data.
RecoveryEntry changes_since_last_write(App& app) {
    Recovery& r = app.recovery;
    AppState& s = app.s;
    RecoveryEntry e;
    const EditState now = capture_edit_state(*s.charset, *s.map);
    append_state_runs(r.journaled, now, e.state_runs);
    r.journaled = now;
    if (s.color_bit0 != r.colour0 || s.color_bit1 != r.colour1) {
        e.colours = {s.color_bit0, s.color_bit1};
        r.colour0 = s.color_bit0;
        r.colour1 = s.color_bit1;
    }
    const LevelWritten written = s.levels.take_written();
    const TileSet& tiles = s.levels.tiles();
    const Level& level = s.levels.level();
    if (written.whole_tiles)
        e.tiles = tiles;
    else
        for (int t : written.tiles)
            if (t < tiles.count())
                e.tile_pieces.emplace_back(t, tiles.piece(t));
    if (written.whole_level)
        e.level = level;
    else
        for (int i : written.blocks)
            if (i < level.block_count())
                e.blocks.emplace_back(i, level.piece(i));
    e.summary = {s.map->look.machine, s.map->cols, s.map->rows, level.cols(), level.rows()};
    return e;
}

RecoveryJob base_job(App& app) {
    Recovery& r = app.recovery;
    RecoveryJob job;
    job.base = current_project(app);
    job.delete_after = std::move(r.recovered);
    r.recovered.clear();
    r.journaled = capture_edit_state(*app.s.charset, *app.s.map);
    r.colour0 = app.s.color_bit0;
    r.colour1 = app.s.color_bit1;
    r.kept = app.s.project_kept;
    app.s.levels.take_written(); // the base holds it
    r.base_written = true;
    r.base_wanted = false;
    r.journal_since_base = false;
    return job;
}

} // namespace

void start_recovery(App& app) {
    Recovery& r = app.recovery;
    r.folder = app.tk.state_folder();
    if (r.folder.empty())
        return;
    // The stamp names the process; the count, each start of the program in it (the tests start
    // several).
    static int starts = 0;
    r.own_file = r.folder + kRecoveryPrefix + run_stamp() + "-" + std::to_string(starts++) +
                 kRecoveryExtension;
    prune_sessions(r.folder, seconds_now());
    look_for_ended_runs(app);
    app.s.levels.take_written(); // start-up's state is the first base's
}

void write_recovery_when_due(App& app) {
    Recovery& r = app.recovery;
    if (r.folder.empty())
        return;
    if (r.writer && r.writer->failed()) {
        r.folder.clear();
        return;
    }
    const int64_t now = app.tk.milliseconds();
    if (r.looked_at < 0 || now - r.looked_at >= kLookGap) {
        look_for_ended_runs(app);
        show_recovery_state(app);
    }
    const bool idle = !r.due && r.journal_since_base && now >= r.idle_at;
    if (!r.due && !idle)
        return;
    const int64_t ready = r.last_write + kRecoveryGap;
    if (r.due && r.written && now < ready) {
        ask_wake(app, ready, now);
        return;
    }
    if (!r.writer)
        r.writer = std::make_shared<RecoveryWriter>(r.folder, r.own_file, app.tk.disk_limit());
    r.due = false;
    if (!r.base_written || r.base_wanted || idle || r.writer->wants_base() ||
        app.s.project_kept != r.kept) {
        r.writer->hand_over(base_job(app));
    } else {
        RecoveryEntry entry = changes_since_last_write(app);
        if (entry.state_runs.empty() && !entry.colours && !entry.tiles &&
            entry.tile_pieces.empty() && !entry.level && entry.blocks.empty())
            return; // a stroke that changed nothing: nothing to write, and no wait after it
        r.writer->hand_over({std::nullopt, std::move(entry), {}});
        r.journal_since_base = true;
        r.idle_at = now + kRecoveryIdle;
        ask_wake(app, r.idle_at, now);
    }
    r.written = true;
    r.last_write = now;
}

bool finish_recovery_writes(App& app) {
    Recovery& r = app.recovery;
    if (r.writer) {
        r.writer->wait_idle();
        if (r.writer->failed())
            r.folder.clear();
    }
    return !r.folder.empty();
}

bool recover_file(App& app, const std::string& path) {
    std::vector<uint8_t> bytes;
    Project project;
    int entries = 0;
    if (!app.tk.read_file_start(path, kLargestRecovery, bytes)) {
        app.tk.message_box(kRecoverTitle, path + ": cannot be read");
        return false;
    }
    const std::string why = read_recovery(bytes, project, entries);
    bytes = {};
    if (!why.empty()) {
        app.tk.message_box(kRecoverTitle, path + ": " + why);
        return false;
    }
    take_project(app, project);
    Recovery& r = app.recovery;
    // Its work is this run's now: the file goes once this run's own file holds it.
    if (!r.folder.empty() && path.starts_with(r.folder) &&
        path.find('/', r.folder.size()) == std::string::npos) {
        r.recovered.push_back(path);
        r.base_wanted = true;
        r.due = true;
    }
    return true;
}

void recover_newest_session(App& app) {
    const std::string& folder = app.recovery.folder;
    if (folder.empty())
        return;
    const std::vector<RecoverySession> sessions = ended_sessions(folder, false);
    if (!sessions.empty())
        recover_file(app, sessions.front().path);
}

void recover_last_session(App& app) {
    const std::string& folder = app.recovery.folder;
    if (folder.empty())
        return;
    const std::vector<RecoverySession> sessions = ended_sessions(folder, true);
    if (sessions.empty())
        return;
    int chosen = 0;
    if (sessions.size() > 1) {
        std::vector<std::string> rows;
        const int64_t now = seconds_now();
        for (const RecoverySession& s : sessions)
            rows.push_back(session_row(s, now));
        chosen = app.tk.choose_from_list(kRecoverTitle, "The work of which run?", rows);
        if (chosen < 0)
            return;
    }
    recover_file(app, sessions[static_cast<size_t>(chosen)].path);
}

void show_recovery_state(App& app) {
    const bool enabled = app.recovery.available;
    if (app.tk.menu_exists(kMenuBar) && app.recovery.shown != static_cast<int32_t>(enabled)) {
        app.tk.set_item_enabled(kMenuBar, id(MenuId::RecoverLastSession), enabled ? 1 : 0);
        app.recovery.shown = enabled ? 1 : 0;
    }
}

} // namespace fontarel
