// The recovery file as runs leave it: locked while its run goes on, offered once the run ended,
// written as a base and a journal that replays to the program's state, a stroke held down within
// two seconds, and cleared out once recovered or superseded.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include <sys/stat.h>

#include "app/commands/history_commands.h"
#include "app/recovery.h"
#include "app/recovery_files.h"
#include "app/recovery_writer.h"
#include "formats/recovery_journal.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;

// A run of the program on its own toolkit, sharing the state folder with the others.
struct Copy {
    HeadlessToolkit tk;
    App app{tk};
    explicit Copy(const std::string& folder, std::vector<std::string> arguments = {})
        : tk(std::move(arguments), "/tmp/fontarel-work") {
        tk.state_folder_path = folder;
        EXPECT_TRUE(open_program(app));
    }
    void event(const Event& e) {
        tk.post_event(e);
        dispatch_event(app, tk.wait_event());
    }
    void menu(MenuId item) {
        tk.inject_menu(id(item));
        dispatch_event(app, tk.wait_event());
    }
    void idle(int64_t ms) {
        tk.clock_ms += ms;
        Event e;
        e.code = kEventOther;
        event(e);
    }
    void canvas(int control, int kind, int x, int y, int buttons) {
        tk.inject_canvas(control, kind, x, y, buttons);
        dispatch_event(app, tk.wait_event());
    }
    // The file this run writes, read as another run would; its state, or an empty text on success.
    std::string recovered(Project& out) {
        finish_recovery_writes(app);
        std::ifstream in(app.recovery.own_file, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        int entries = 0;
        return read_recovery(bytes, out, entries);
    }
};

void expect_state(const Project& p, const App& app, const std::string& where) {
    EXPECT_EQ(p.charset.bytes, app.s.charset->bytes) << where;
    EXPECT_EQ(p.map.cols, app.s.map->cols) << where;
    EXPECT_EQ(p.map.rows, app.s.map->rows) << where;
    EXPECT_EQ(p.map.look.machine, app.s.map->look.machine) << where;
    for (int r = 0; r < app.s.map->rows; ++r)
        for (int c = 0; c < app.s.map->cols; ++c)
            ASSERT_EQ(p.map.at(c, r), app.s.map->at(c, r)) << where << " cell " << c << "," << r;
    EXPECT_EQ(p.colour0, app.s.color_bit0) << where;
    EXPECT_TRUE(p.tiles == app.s.levels.tiles()) << where;
    EXPECT_TRUE(p.level == app.s.levels.level()) << where;
}

class RecoveryFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fontarel_recovery_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_ / "state");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string folder() const { return (dir_ / "state").string() + "/"; }
    // Work that tells runs apart: glyph 1's first row and the machine.
    static void work(Copy& run, uint8_t mark, MenuId machine) {
        run.app.store().glyph(1)[0] = mark;
        run.menu(machine);
        finish_recovery_writes(run.app);
    }
    static void set_age(const std::string& path, int64_t seconds_ago) {
        const auto t = fs::file_time_type::clock::now() - std::chrono::seconds(seconds_ago);
        fs::last_write_time(path, t);
    }
    fs::path dir_;
};

TEST_F(RecoveryFiles, RunsThatGoOnAreNeverOfferedAndSeveralEndedRunsAreChosenNewestFirst) {
    auto a = std::make_unique<Copy>(folder());
    work(*a, 0xA1, MenuId::MachineC64);
    auto b = std::make_unique<Copy>(folder()); // started later, and newer work
    work(*b, 0xB2, MenuId::MachineZx);
    const std::string a_file = a->app.recovery.own_file, b_file = b->app.recovery.own_file;
    set_age(a_file, 120);
    a.reset(); // ends as a kill would: the lock goes with it, the file stays

    Copy c(folder());
    c.menu(MenuId::RecoverLastSession);
    EXPECT_EQ(c.app.store().glyph(1)[0], 0xA1)
        << "the ended run's work, not the newer running one's";
    EXPECT_TRUE(c.tk.list_requests.empty());
    c.idle(kRecoveryGap);
    finish_recovery_writes(c.app);
    EXPECT_FALSE(fs::exists(a_file)) << "recovered, and held by this run's own file now";
    EXPECT_TRUE(fs::exists(b_file));

    const std::string c_file = c.app.recovery.own_file;
    shut_down(c.app);
    b.reset();
    set_age(b_file, 3600);
    // A file of the earlier form, a whole project, shown by its name.
    const std::string earlier = folder() + "session-20250101-000000-7-0.fontarel";
    const auto whole = std::make_unique<Project>();
    std::ofstream(earlier) << project_text(*whole);
    set_age(earlier, 7200);
    Copy d(folder());
    d.tk.list_answers.push_back(1);
    d.menu(MenuId::RecoverLastSession);
    ASSERT_EQ(d.tk.list_requests.size(), 1u);
    const std::string& asked = d.tk.list_requests[0];
    const size_t c_row = asked.find("C64 40x24, level 16x16");
    const size_t b_row = asked.find("ZX Spectrum 40x24, level 16x16");
    ASSERT_NE(c_row, std::string::npos) << asked;
    ASSERT_NE(b_row, std::string::npos) << asked;
    EXPECT_LT(c_row, b_row) << "newest first: " << asked;
    EXPECT_TRUE(asked.ends_with("  session-20250101-000000-7-0.fontarel")) << asked;
    EXPECT_EQ(asked[c_row - 2], ' ');
    EXPECT_EQ(asked[c_row - 5], ':') << "the time of the last change, HH:MM: " << asked;
    EXPECT_EQ(d.app.store().glyph(1)[0], 0xB2) << "the second row chosen";
    EXPECT_EQ(d.app.s.map->look.machine, MapMachine::ZxSpectrum);
    d.tk.list_answers.push_back(-1);
    d.menu(MenuId::RecoverLastSession);
    EXPECT_EQ(d.app.s.map->look.machine, MapMachine::ZxSpectrum) << "cancelled: nothing taken";
    shut_down(d.app);
    EXPECT_FALSE(fs::exists(b_file)) << "its work is in the file of the run that recovered it";

    // --recover takes the newest ended run's without asking; --recover FILE the one named.
    set_age(c_file, 10);
    set_age(d.app.recovery.own_file, 5);
    Copy newest(folder(), {"--recover"});
    EXPECT_EQ(newest.app.store().glyph(1)[0], 0xB2);
    EXPECT_TRUE(newest.tk.list_requests.empty());
    Copy named(folder(), {"--recover", c_file});
    EXPECT_EQ(named.app.store().glyph(1)[0], 0xA1);
    EXPECT_EQ(named.app.s.map->look.machine, MapMachine::C64);
    const std::string gone = folder() + "session-gone-1-0.recovery";
    Copy missing(folder(), {"--recover", gone});
    ASSERT_FALSE(missing.tk.messages().empty());
    EXPECT_EQ(missing.tk.messages().back().text, gone + ": cannot be read");
}

// Of two ended runs, the first row offered is the newest, and choosing it takes its work.
TEST_F(RecoveryFiles, TheFirstRowChosenTakesTheNewestEndedRunsWork) {
    for (const auto& [mark, machine, age] :
         {std::tuple{0xA1, MenuId::MachineC64, 600}, {0xB2, MenuId::MachineZx, 60}}) {
        Copy run(folder());
        work(run, static_cast<uint8_t>(mark), machine);
        const std::string file = run.app.recovery.own_file;
        shut_down(run.app);
        set_age(file, age);
    }
    Copy chooser(folder());
    chooser.tk.list_answers.push_back(0);
    chooser.menu(MenuId::RecoverLastSession);
    ASSERT_EQ(chooser.tk.list_requests.size(), 1u);
    EXPECT_EQ(chooser.app.store().glyph(1)[0], 0xB2);
    EXPECT_EQ(chooser.app.s.map->look.machine, MapMachine::ZxSpectrum);
}

// The menu row follows the folder, looked at every five seconds rather than on every event.
TEST_F(RecoveryFiles, RecoverLastSessionIsOfferedOnceAnotherRunHasEnded) {
    Copy watcher(folder());
    auto other = std::make_unique<Copy>(folder());
    work(*other, 0xC3, MenuId::MachineZx);
    const auto row = [&watcher] {
        return watcher.tk.item_enabled(kMenuBar, id(MenuId::RecoverLastSession));
    };
    watcher.idle(5000);
    EXPECT_EQ(row(), 0) << "the other run goes on";
    other.reset();
    watcher.idle(1000);
    EXPECT_EQ(row(), 0) << "looked at a second ago";
    watcher.idle(4000);
    EXPECT_EQ(row(), 1) << "its run has ended";
    // Two ended runs already ask which.
    auto second = std::make_unique<Copy>(folder());
    work(*second, 0xD4, MenuId::MachineC64);
    second.reset();
    watcher.tk.list_answers.push_back(0);
    watcher.menu(MenuId::RecoverLastSession);
    EXPECT_EQ(watcher.tk.list_requests.size(), 1u);
}

TEST_F(RecoveryFiles, FilesOfEndedRunsGoOnceSupersededForSevenDaysAndTwentyAtMost) {
    const auto make = [this](const std::string& name, int64_t days_ago) {
        const std::string path = folder() + name;
        std::ofstream(path) << "x";
        set_age(path, days_ago * 24 * 3600 + 60);
        return path;
    };
    std::vector<std::string> files;
    for (int i = 0; i < 23; ++i) // a day apart, the newest 8 days old
        files.push_back(make("session-2026010" + std::to_string(i / 10) + "-" +
                                 std::to_string(i % 10) + "-1-0.recovery",
                             8 + 22 - i));
    const std::string fresh_half = make("session-x-1-0.recovery.new", 0);
    const std::string stale_half = make("session-y-1-0.recovery.new", 2);
    Copy running(folder()); // holds its own file from its first write
    running.app.store().glyph(2)[0] = 1;
    running.menu(MenuId::Invert);
    finish_recovery_writes(running.app);
    set_age(running.app.recovery.own_file, 40 * 24 * 3600);

    Copy next(folder());
    EXPECT_TRUE(fs::exists(files.back())) << "the newest ended run's file stays, however old";
    for (size_t i = 0; i + 1 < files.size(); ++i)
        EXPECT_FALSE(fs::exists(files[i])) << "a newer file has been there seven days: " << i;
    EXPECT_TRUE(fs::exists(running.app.recovery.own_file)) << "a running copy's file stays";
    EXPECT_TRUE(fs::exists(fresh_half));
    EXPECT_FALSE(fs::exists(stale_half));

    // Within seven days, twenty files stay.
    for (const std::string& f : files)
        make(fs::path(f).filename().string(), 0);
    for (size_t i = 0; i < files.size(); ++i)
        set_age(files[i], 1000 - static_cast<int64_t>(i));
    Copy third(folder());
    int kept = 0;
    for (const std::string& f : files)
        kept += fs::exists(f) ? 1 : 0;
    EXPECT_EQ(kept, kRecoveryFilesKept);
    EXPECT_FALSE(fs::exists(files[0])) << "the oldest go";
    EXPECT_TRUE(fs::exists(files.back()));
}

TEST_F(RecoveryFiles, AStrokeHeldDownIsWrittenWithinTwoSeconds) {
    Copy run(folder());
    run.menu(MenuId::MapC64);
    run.app.s.current_char = 65;
    run.canvas(kMapCanvas, kKindLeftDown, 8, 8, kButtonLeft);
    for (int x = 1; x < 30; ++x) { // three seconds of a stroke, the button never let go
        run.tk.clock_ms += 100;
        run.canvas(kMapCanvas, kKindMouseMove, 16 * x + 8, 8, kButtonLeft);
    }
    // As a kill would find it: the stroke up to its last write, never more than two seconds old.
    Project p;
    ASSERT_EQ(run.recovered(p), "");
    EXPECT_EQ(p.map.at(0, 0), 65);
    EXPECT_EQ(p.map.at(19, 0), 65) << "the cells of the stroke's first two seconds";
    EXPECT_NE(p.map.at(29, 0), 65) << "the last write was at two seconds";
    run.tk.clock_ms += 1200; // two seconds since the last write
    run.canvas(kMapCanvas, kKindMouseMove, 16 * 30 + 8, 8, kButtonLeft);
    ASSERT_EQ(run.recovered(p), "");
    EXPECT_EQ(p.map.at(30, 0), 65);
    EXPECT_TRUE(run.app.s.history.undo_count() <= 1) << "still one step, not closed by the write";
}

// A glyph colour changed and then changed back comes back as it is now, not as it was between.
TEST_F(RecoveryFiles, AColourChangedBackIsRecoveredAsItIsNow) {
    Copy run(folder());
    const int32_t first = run.app.s.color_bit0;
    run.menu(MenuId::Invert);
    run.idle(kRecoveryGap);
    for (const int32_t colour : {0x123456, first}) {
        run.app.s.color_bit0 = colour;
        run.app.recovery.due = true;
        run.idle(kRecoveryGap);
        Project p;
        ASSERT_EQ(run.recovered(p), "");
        EXPECT_EQ(p.colour0, colour);
    }
}

// A disk that takes the base but not the journal entry after it: that failed write turns
// recovery off with the same line as a failed base, so no run goes on as if its work were kept.
TEST_F(RecoveryFiles, AJournalEntryThatCannotBeWrittenTurnsRecoveryOff) {
    int64_t base_bytes = 0;
    {
        Copy measure(folder());
        measure.menu(MenuId::MapC64);
        ASSERT_TRUE(finish_recovery_writes(measure.app));
        base_bytes = static_cast<int64_t>(fs::file_size(measure.app.recovery.own_file));
    }
    Copy run(folder());
    run.tk.disk_space = base_bytes + 4;
    run.menu(MenuId::MapC64);
    ASSERT_TRUE(finish_recovery_writes(run.app)) << "the base fits";
    testing::internal::CaptureStderr();
    run.menu(MenuId::Invert);
    run.idle(kRecoveryGap);
    EXPECT_FALSE(finish_recovery_writes(run.app));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "fontarel: recovery is off: cannot write " + run.app.recovery.own_file + "\n");
}

// A random walk of steps, strokes, undo and redo on the map, the charset, the tiles and the
// level: after every write the file replays to the program's state, and the base is written
// again only now and then.
TEST_F(RecoveryFiles, TheJournalReplaysToTheStateAfterEveryWrite) {
    Copy run(folder());
    run.tk.text_answers.push_back("4x4, 96x80");
    run.menu(MenuId::NewLevel);
    run.menu(MenuId::NewTile);
    run.menu(MenuId::NewTile);
    ASSERT_TRUE(run.app.level_views.level_shown);
    std::mt19937 rng(20261208);
    int bases = 0;
    ino_t last_file = 0;
    {
        struct stat first {};
        run.idle(kRecoveryGap);
        finish_recovery_writes(run.app);
        ASSERT_EQ(::stat(run.app.recovery.own_file.c_str(), &first), 0);
        last_file = first.st_ino;
    }
    for (int n = 0; n < 120; ++n) {
        App& app = run.app;
        switch (rng() % 7) {
        case 0: { // a stroke on the level
            app.s.current_tile = static_cast<int32_t>(rng() % 3);
            const int y = static_cast<int>(rng() % 300);
            run.canvas(kLevelCanvas, kKindLeftDown, 5, y, kButtonLeft);
            for (int x = 5; x < 300; x += 23)
                run.canvas(kLevelCanvas, kKindMouseMove, x, y, kButtonLeft);
            run.canvas(kLevelCanvas, kKindLeftUp, 300, y, 0);
            break;
        }
        case 1: { // a step on the data, from outside the loop
            const EditState before = current_edit_state(app);
            app.store().bytes[rng() % kCharsetBytes] = static_cast<uint8_t>(rng());
            app.s.levels.set_tile_cell(1, static_cast<int>(rng() % 4), 0,
                                       {static_cast<uint8_t>(rng()), 1});
            record_step(app, before);
            if (rng() % 2)
                app.s.color_bit0 = static_cast<int32_t>(rng() & 0xFFFFFF); // one colour alone
            app.recovery.due = true;
            break;
        }
        case 2:
            run.menu(MenuId::Undo);
            break;
        case 3:
            run.menu(MenuId::Redo);
            break;
        case 4:
            run.menu(rng() % 2 ? MenuId::Invert : MenuId::MapPc);
            break;
        case 5:
            if (rng() % 4 == 0) { // now and then a new shape
                run.tk.text_answers.push_back(std::to_string(2 + rng() % 3) + "x2, " +
                                              std::to_string(10 + rng() % 90) + "x40");
                run.tk.yes_no_answers.push_back(true); // the tiles of another size replaced
                run.menu(MenuId::NewLevel);
                run.tk.yes_no_answers.clear();
                run.menu(MenuId::NewTile);
            }
            break;
        default:
            run.idle(rng() % 5 == 0 ? kRecoveryIdle : 100);
        }
        run.idle(kRecoveryGap);
        Project p;
        ASSERT_EQ(run.recovered(p), "") << n;
        expect_state(p, app, "after move " + std::to_string(n));
        // A base is a new file renamed in; a journal entry is appended to the same one.
        struct stat st {};
        ASSERT_EQ(::stat(app.recovery.own_file.c_str(), &st), 0);
        bases += st.st_ino != last_file ? 1 : 0;
        last_file = st.st_ino;
    }
    EXPECT_GT(bases, 0) << "the base is written again after a pause or a long journal";
    EXPECT_LT(bases, 40) << "but not after every step";
}

} // namespace
} // namespace fontarel
