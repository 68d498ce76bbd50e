#include "app/recovery.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>
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

// One thread that writes the recovery file: the newest project handed over replaces one not yet
// written, so it never falls behind. A failed write turns it off for good.
struct RecoveryWriter {
    Toolkit& tk;
    const std::string folder, own_file, earlier;
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Project> pending;
    bool busy = false, stop = false;
    std::atomic<bool> failed{false};
    std::thread thread;

    RecoveryWriter(Toolkit& toolkit, const Recovery& r)
        : tk(toolkit), folder(r.folder), own_file(r.own_file), earlier(r.earlier),
          thread([this] { run(); }) {}
    ~RecoveryWriter() {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        thread.join();
    }

    void hand_over(Project project) {
        {
            std::lock_guard lock(mutex);
            pending = std::move(project);
        }
        changed.notify_all();
    }
    void wait_idle() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return !pending && !busy; });
    }

  private:
    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return pending || stop; });
            if (!pending)
                return; // stopped with nothing left to write
            const Project project = std::move(*pending);
            pending.reset();
            busy = true;
            lock.unlock();
            if (!failed)
                write(project);
            lock.lock();
            busy = false;
            changed.notify_all();
        }
    }
    void write(const Project& project) {
        if (!make_folders(folder)) {
            give_up("cannot make the folder " + folder);
            return;
        }
        const std::string text = project_text(project);
        // Renamed into place once whole, so a reader never sees half a file; not synced to the
        // disk: the file must outlive the program (an Escape), and the system writes it out soon.
        const SyncStep no_sync = [](int) { return true; };
        if (!tk.write_whole_file(
                own_file, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, no_sync)) {
            give_up("cannot write " + own_file);
            return;
        }
        std::vector<std::string> files = recovery_files(folder);
        for (size_t i = 0; i + kRecoveryFilesKept < files.size(); ++i)
            if (folder + files[i] != own_file && folder + files[i] != earlier)
                fontarel::delete_file(folder + files[i]);
    }
    void give_up(const std::string& why) {
        std::fprintf(stderr, "fontarel: recovery is off: %s\n", why.c_str());
        failed = true;
    }
};

void write_recovery_when_due(App& app) {
    Recovery& r = app.recovery;
    if (r.folder.empty() || !r.due)
        return;
    if (r.writer && r.writer->failed) {
        r.folder.clear();
        return;
    }
    const int64_t now = app.tk.milliseconds();
    const int64_t ready = r.last_write + kRecoveryGap;
    if (r.written && now < ready) {
        if (r.wake_at < now || r.wake_at > ready) {
            app.tk.wake_after(static_cast<int>(ready - now));
            r.wake_at = ready;
        }
        return;
    }
    if (!r.writer)
        r.writer = std::make_shared<RecoveryWriter>(app.tk, r);
    r.writer->hand_over(current_project(app));
    r.due = false;
    r.written = true;
    r.last_write = now;
    r.wake_at = -1;
}

bool finish_recovery_writes(App& app) {
    Recovery& r = app.recovery;
    if (r.writer) {
        r.writer->wait_idle();
        if (r.writer->failed)
            r.folder.clear();
    }
    return !r.folder.empty();
}

void recover_last_session(App& app) {
    const std::string& path = app.recovery.earlier;
    if (path.empty())
        return;
    std::vector<uint8_t> bytes;
    Project project;
    if (!app.tk.read_file_start(path, kLargestProject, bytes)) {
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
