// The project file from the menus, files opened by their content, and the recovery file: written
// after steps at most every two seconds, and brought back by another run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "../helpers/ctm_writer.h"
#include "app/commands/history_commands.h"
#include "app/recovery.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class Projects : public ProgramTest {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fontarel_projects_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        tk.state_folder_path = path("state/");
        ProgramTest::SetUp();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return dir_.string() + "/" + name; }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    std::string read(const std::string& file) {
        finish_recovery_writes(app);
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> recovery_files() {
        finish_recovery_writes(app);
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(path("state"), ec))
            out.push_back(e.path().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    void wake() {
        Event e;
        e.code = kEventOther;
        tk.post_event(e);
        handle();
    }
    // A state unlike start-up's in every part a project holds.
    void make_work() {
        menu(MenuId::MachineC64);
        app.s.map->look.background = 2;
        app.store().glyph(65)[3] = 0x81;
        app.s.map->at(5, 6) = 200;
        app.s.map->attr(5, 6) = 7;
        app.s.color_bit0 = 0x102030;
        app.s.color_bit1 = 0x00FF00;
    }
    void expect_work(const App& a) {
        EXPECT_EQ(a.s.map->look.machine, MapMachine::C64);
        EXPECT_EQ(a.s.map->look.background, 2);
        EXPECT_EQ(a.s.charset->glyph(65)[3], 0x81);
        EXPECT_EQ(a.s.map->at(5, 6), 200);
        EXPECT_EQ(a.s.map->attr(5, 6), 7);
        EXPECT_EQ(a.s.color_bit0, 0x102030);
        EXPECT_EQ(a.s.color_bit1, 0x00FF00);
    }
    fs::path dir_;
};

TEST_F(Projects, SavedProjectOpensWholeAsOneStep) {
    make_work();
    tk.file_answers.push_back({path("title"), 0});
    menu(MenuId::SaveProject);
    const std::string saved = path("title.fontarel");
    ASSERT_NE(read(saved).find("\"fontarel-project\""), std::string::npos);
    // Saved again to the same file without asking.
    app.store().glyph(66)[0] = 0x42;
    menu(MenuId::SaveProject);
    EXPECT_EQ(tk.file_requests().size(), 1u);
    EXPECT_NE(read(saved).find("\"4200000000000000\""), std::string::npos);

    menu(MenuId::EraseCharset);
    app.s.map->at(5, 6) = 1;
    const size_t steps = app.s.history.undo_count();
    tk.file_answers.push_back({saved, 0}); // the font entry of "Open..."
    menu(MenuId::Open);
    expect_work(app);
    EXPECT_EQ(app.store().glyph(66)[0], 0x42);
    EXPECT_EQ(app.s.history.undo_count(), steps + 1);
    menu(MenuId::Undo);
    EXPECT_EQ(app.store().glyph(65)[3], 0);

    // A project this version cannot read changes nothing and says which key is wrong.
    menu(MenuId::Redo);
    tk.inject_drop(kCharsetCanvas,
                   write("new.fontarel", R"({"format": "fontarel-project", "version": 2})"));
    handle();
    expect_work(app);
    ASSERT_FALSE(tk.messages().empty());
    EXPECT_EQ(tk.messages().back().text,
              path("new.fontarel") +
                  ": \"version\" is 2: the project was written by a newer fontarel");

    // Named on the command line, the project opens whole at start-up.
    HeadlessToolkit tk2{{saved}, "/tmp/fontarel-work"};
    tk2.state_folder_path = path("state2/");
    App started{tk2};
    ASSERT_TRUE(open_program(started));
    expect_work(started);
    shut_down(started);
}

TEST_F(Projects, CtmProjectOpensAsOneStepThatUndoes) {
    // Set before an event, so that the event's step starts from them.
    app.s.map->attr(3, 3) = 0x38 | 2; // red ink on white paper
    app.s.map->at(3, 3) = 77;
    menu(MenuId::MachineZx);
    CtmDescription d;
    d.multicolour = true;
    d.glyphs = {{1, 2, 3, 4, 5, 6, 7, 8}, {0xFF, 0, 0, 0, 0, 0, 0, 0x81}};
    d.tiles = 2;
    d.level_width = 3;
    d.level_height = 2;
    fill_ctm_lists(d);
    const Bytes bytes = ctm_bytes(d);
    const std::string file = write("level.ctm", std::string(bytes.begin(), bytes.end()));
    const EditState before = current_edit_state(app);
    const LevelDoc levels = app.s.levels;
    app.s.current_tile = 1;

    tk.file_answers.push_back({file, 0});
    menu(MenuId::Open);
    EXPECT_EQ(app.store().glyph(1)[7], 0x81);
    EXPECT_EQ(app.s.map->look.machine, MapMachine::C64);
    EXPECT_EQ(app.s.map->look.background, 6);
    EXPECT_TRUE(app.s.map->look.multicolour());
    EXPECT_EQ(app.s.map->at(3, 3), 77);  // the map's cells stay
    EXPECT_EQ(app.s.map->attr(3, 3), 2); // red, as it was
    EXPECT_EQ(app.s.levels.tiles().count(), 2);
    EXPECT_EQ(app.s.levels.level().at(1, 0), 1); // the level counts up modulo the tiles
    EXPECT_EQ(app.s.current_tile, 0);
    EXPECT_TRUE(app.s.project_path.empty()) << "Save project would overwrite the CTM file";

    menu(MenuId::Undo);
    EXPECT_EQ(current_edit_state(app), before);
    EXPECT_TRUE(app.s.levels.tiles() == levels.tiles());
    EXPECT_TRUE(app.s.levels.level() == levels.level());

    // Named on the command line, it opens at start-up.
    HeadlessToolkit tk2{{file}, "/tmp/fontarel-work"};
    tk2.state_folder_path = path("state2/");
    App started{tk2};
    ASSERT_TRUE(open_program(started));
    EXPECT_EQ(started.s.map->look.machine, MapMachine::C64);
    EXPECT_EQ(started.store().glyph(0)[0], 1);
    EXPECT_EQ(started.s.levels.level().cols(), 3);
    shut_down(started);
}

TEST_F(Projects, FontsOpenByTheirContentAndOtherFilesAsRawBytes) {
    // A PSF 2 font of one glyph, and a BDF of one character, each dropped on the charset; then
    // the same PSF bytes after a byte that makes them no PSF, which load raw at the current glyph.
    std::string psf(
        "\x72\xb5\x4a\x86\0\0\0\0\x20\0\0\0\0\0\0\0\x01\0\0\0\x08\0\0\0\x08\0\0\0\x08\0\0\0"
        "\x18\x3c\x66\x7e\x66\x66\x66\x00",
        40);
    const std::string bdf = "STARTFONT 2.1\nFONTBOUNDINGBOX 8 8 0 0\nCHARS 1\nSTARTCHAR a\n"
                            "ENCODING 2\nBBX 8 1 0 7\nBITMAP\nFF\nENDCHAR\nENDFONT\n";
    const struct {
        std::string file;
        int glyph;
        Bytes rows;
    } cases[] = {
        {psf, 0, {0x18, 0x3c, 0x66, 0x7e, 0x66, 0x66, 0x66, 0}},
        {bdf, 2, {0xFF, 0, 0, 0, 0, 0, 0, 0}},
        {"\x01" + psf.substr(0, 7), 0, {1, 0x72, 0xb5, 0x4a, 0x86, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        menu(MenuId::EraseCharset);
        tk.inject_drop(kCharsetCanvas, write("font", c.file));
        handle();
        const auto glyph = app.store().glyph(c.glyph);
        EXPECT_EQ(Bytes(glyph.begin(), glyph.end()), c.rows) << c.glyph;
    }
}

TEST_F(Projects, RecoveryWritesAfterStepsAtMostEveryTwoSecondsAndAnotherRunRecoversOnceItEnded) {
    EXPECT_EQ(tk.item_enabled(kMenuBar, id(MenuId::RecoverLastSession)), 0) << "no earlier run";
    make_work(); // written at once, at 0 ms
    tk.clock_ms = 500;
    menu(MenuId::Invert); // within two seconds: the write waits for the rest of them
    ASSERT_EQ(recovery_files().size(), 1u);
    const std::string own = recovery_files()[0];
    const std::string first = read(own);
    menu(MenuId::Invert); // no second wake
    EXPECT_EQ(read(own), first);
    ASSERT_EQ(tk.wake_requests, std::vector<int>{1500});
    tk.clock_ms = 2000;
    wake();
    const std::string second_write = read(own);
    EXPECT_NE(second_write, first);
    EXPECT_EQ(second_write.rfind(first, 0), 0u) << "the change is appended to what was there";
    tk.clock_ms = 9000;
    wake(); // nothing new: nothing written, and no wake but the one that rewrites the base
    EXPECT_EQ(read(own), second_write);
    EXPECT_EQ(tk.wake_requests, (std::vector<int>{1500, kRecoveryIdle}));
    // Half a minute without a change: the base is written again, once. A new file takes the
    // old one's place, so a second name of the old one tells whether it was replaced.
    const auto replaced = [&](const std::string& mark) {
        finish_recovery_writes(app);
        return fs::hard_link_count(own) == 1 && fs::exists(mark);
    };
    fs::create_hard_link(own, own + ".1");
    tk.clock_ms = 2000 + kRecoveryIdle;
    wake();
    EXPECT_TRUE(replaced(own + ".1"));
    EXPECT_LT(read(own).size(), second_write.size()) << "a base alone, with what the entry held";
    fs::create_hard_link(own, own + ".2");
    tk.clock_ms += 2 * kRecoveryIdle;
    wake();
    EXPECT_FALSE(replaced(own + ".2")) << "nothing new since: no base again";

    HeadlessToolkit tk2{{}, "/tmp/fontarel-work"};
    tk2.state_folder_path = path("state/");
    App second{tk2};
    ASSERT_TRUE(open_program(second));
    EXPECT_EQ(tk2.item_enabled(kMenuBar, id(MenuId::RecoverLastSession)), 0)
        << "the first run goes on: its file is not offered";
    const auto bytes = app.store().bytes;
    shut_down(app);
    tk2.clock_ms = 5000; // the folder is looked at again
    Event idle;
    idle.code = kEventOther;
    tk2.post_event(idle);
    dispatch_event(second, tk2.wait_event());
    EXPECT_EQ(tk2.item_enabled(kMenuBar, id(MenuId::RecoverLastSession)), 1);
    tk2.inject_menu(id(MenuId::RecoverLastSession));
    dispatch_event(second, tk2.wait_event());
    expect_work(second);
    EXPECT_EQ(second.s.charset->bytes, bytes);
    EXPECT_TRUE(tk2.list_requests.empty()) << "one file: nothing to choose";
    tk2.inject_menu(id(MenuId::Undo));
    dispatch_event(second, tk2.wait_event());
    EXPECT_EQ(second.s.map->look.machine, MapMachine::Mono) << "the recovery is one undo step";
    shut_down(second);
}

TEST_F(Projects, RecoveryThatCannotBeWrittenOrReadOnlySaysSo) {
    // A recovery file an earlier run left broken: reported, and left for the user.
    HeadlessToolkit tk2{{}, "/tmp/fontarel-work"};
    tk2.state_folder_path = path("state/");
    fs::create_directories(path("state"));
    const std::string broken = write("state/session-19990101-000000-1-0.fontarel", "{\"format\"");
    App second{tk2};
    ASSERT_TRUE(open_program(second));
    tk2.inject_menu(id(MenuId::RecoverLastSession));
    dispatch_event(second, tk2.wait_event());
    ASSERT_FALSE(tk2.messages().empty());
    EXPECT_EQ(tk2.messages().back().text.rfind(broken + ": is not valid JSON", 0), 0u);
    EXPECT_TRUE(fs::exists(broken));
    shut_down(second);

    // A full disk turns recovery off with one line on stderr; the program goes on.
    tk.disk_space = 10;
    testing::internal::CaptureStderr();
    menu(MenuId::Invert);
    EXPECT_FALSE(finish_recovery_writes(app)) << "recovery stays on";
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "fontarel: recovery is off: cannot write " + app.recovery.own_file + "\n");
    menu(MenuId::Invert); // and the program goes on
    EXPECT_TRUE(app.recovery.folder.empty());
}

} // namespace
} // namespace fontarel
