#include "app/recovery.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/ids.h"
#include "app/project_commands.h"

namespace fontarel {

namespace {

constexpr const char* kPrefix = "session-";
constexpr const char* kExtension = ".fontarel";

bool is_recovery_file(const std::string& name) {
    return name.starts_with(kPrefix) && name.ends_with(kExtension);
}

// The recovery files in the folder, oldest first (their names begin with the run's start time).
std::vector<std::string> recovery_files(const std::string& folder) {
    std::vector<std::string> names = regular_files_in(folder);
    std::erase_if(names, [](const std::string& n) { return !is_recovery_file(n); });
    return names;
}

void turn_off(App& app, const std::string& why) {
    std::fprintf(stderr, "fontarel: recovery is off: %s\n", why.c_str());
    app.recovery.folder.clear();
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
    r.own_file = r.folder + kPrefix + run_stamp() + "-" + std::to_string(starts++) + kExtension;
    const std::vector<std::string> files = recovery_files(r.folder);
    if (!files.empty())
        r.earlier = r.folder + files.back();
}

void write_recovery_when_due(App& app) {
    Recovery& r = app.recovery;
    if (r.folder.empty() || !r.due)
        return;
    const int64_t now = app.tk.milliseconds();
    const int64_t ready = r.last_write + kRecoveryGap;
    if (r.written && now < ready) {
        if (r.wake_at < now || r.wake_at > ready) {
            app.tk.wake_after(static_cast<int>(ready - now));
            r.wake_at = ready;
        }
        return;
    }
    if (!make_folders(r.folder)) {
        turn_off(app, "cannot make the folder " + r.folder);
        return;
    }
    const std::string text = project_text(current_project(app));
    if (!app.tk.write_whole_file(r.own_file,
                                 {reinterpret_cast<const uint8_t*>(text.data()), text.size()})) {
        turn_off(app, "cannot write " + r.own_file);
        return;
    }
    r.due = false;
    r.written = true;
    r.last_write = now;
    r.wake_at = -1;
    std::vector<std::string> files = recovery_files(r.folder);
    for (size_t i = 0; i + kRecoveryFilesKept < files.size(); ++i)
        if (r.folder + files[i] != r.own_file && r.folder + files[i] != r.earlier)
            app.tk.delete_file(r.folder + files[i]);
}

void recover_last_session(App& app) {
    const std::string& path = app.recovery.earlier;
    if (path.empty())
        return;
    std::vector<uint8_t> bytes;
    Project project;
    if (!app.tk.read_file_start(path, int64_t{16} << 20, bytes)) {
        app.tk.message_box("Recover last session", path + ": cannot be read");
        return;
    }
    const std::string why = read_project(bytes, project);
    if (!why.empty()) {
        app.tk.message_box("Recover last session", path + ": " + why);
        return;
    }
    take_project(app, project);
}

void show_recovery_state(App& app) {
    const bool enabled = !app.recovery.earlier.empty();
    if (app.tk.menu_exists(kMenuBar) && app.recovery.shown != static_cast<int32_t>(enabled)) {
        app.tk.set_item_enabled(kMenuBar, id(MenuId::RecoverLastSession), enabled ? 1 : 0);
        app.recovery.shown = enabled ? 1 : 0;
    }
}

} // namespace fontarel
