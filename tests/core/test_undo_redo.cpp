// Undo and redo in the running program: each command and each mouse stroke is one step, undo puts
// the data and all three pictures back exactly, redo brings the change back, and the Edit menu's
// items are greyed out when there is nothing to undo or redo.

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

#include "app/views/charset_canvas.h"
#include "app/views/present.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;

class UndoRedo : public ProgramTest {
  protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("fontarel_undo_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        ProgramTest::SetUp();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // A file of `size` bytes counting down from 255.
    std::string file(const std::string& name, size_t size) const {
        const std::string path = (dir_ / name).string();
        std::ofstream out(path, std::ios::binary);
        for (size_t i = 0; i < size; ++i)
            out.put(static_cast<char>(255 - i % 256));
        return path;
    }

    // The data the history covers and every picture that shows it.
    struct Seen {
        std::array<uint8_t, kCharsetBytes> charset;
        decltype(CharMap::cells) cells;
        int cols, rows;
        Raster grid, editor, map;
        std::string data_text;
        int colour0, colour1;
        bool operator==(const Seen&) const = default;
    };
    // Names what differs, for the failure message.
    static std::string differences(const Seen& a, const Seen& b) {
        std::string out;
        if (a.charset != b.charset)
            out += " charset";
        if (a.cells != b.cells)
            out += " cells";
        if (a.cols != b.cols || a.rows != b.rows)
            out += " size";
        if (!(a.grid == b.grid))
            out += " grid";
        if (!(a.editor == b.editor))
            out += " editor";
        if (!(a.map == b.map))
            out += " map";
        if (a.data_text != b.data_text)
            out += " data text";
        if (a.colour0 != b.colour0 || a.colour1 != b.colour1)
            out += " colours";
        return out;
    }
    Seen seen() const {
        return {app.s.charset->bytes, app.s.map->cells,        app.s.map->cols,
                app.s.map->rows,      picture(kCharsetCanvas), picture(kGlyphCanvas),
                picture(kMapCanvas),  text(kGlyphDataText),    app.s.color_bit0,
                app.s.color_bit1};
    }
    void combination(int combo, int window = kMainWindow) {
        tk.set_active_window(window);
        tk.inject_combination(combo);
        ASSERT_EQ(tk.pending_events(), 1u) << "no shortcut " << std::hex << combo;
        handle();
    }
    void undo(int window = kMainWindow) { combination(kComboUndo, window); }
    void redo(int window = kMainWindow) { combination(kComboRedo, window); }
    std::pair<int, int> items() const {
        return {tk.item_enabled(kMenuBar, id(MenuId::Undo)),
                tk.item_enabled(kMenuBar, id(MenuId::Redo))};
    }
    size_t steps() const { return app.s.history.undo_count(); }
    fs::path dir_;
    void popup(int x, int y, MenuId item) {
        tk.popup_answers.push_back(id(item));
        click(kMapCanvas, x, y, true);
        handle();
    }
};

using Pair = std::pair<int, int>;

// Each command, from a state where it changes something, is one step: undo shows exactly what was
// there before, redo exactly what the command made.
TEST_F(UndoRedo, EveryKindOfCommandIsOneStepUndoneAndRedoneExactly) {
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const std::vector<Case> cases = {
        {"erase all charset", [&] { menu(MenuId::EraseCharset); }},
        {"built-in charset", [&] { menu(MenuId::CharsetCga); }},
        {"built-in charset in other colours", [&] { menu(MenuId::CharsetZxSpectrum); }},
        {"rotate", [&] { menu(MenuId::RotateClockwise); }},
        {"shift button",
         [&] {
             tk.inject_control(kShiftDownButton);
             handle();
         }},
        {"transform over a range",
         [&] {
             tk.inject_control(kEndRangeBar, 80);
             tk.inject_control(kRangeCheckBox, 1);
             handle(2);
             menu(MenuId::Invert);
         }},
        {"insert key", [&] { key(kCharsetCanvas, kKeyInsert); }},
        {"drag swap", // 'B' onto 'A', which stays the current character
         [&] {
             canvas(kCharsetCanvas, kKindLeftDown, 16 * 2 + 4, 16 * 4 + 4, kButtonLeft);
             canvas(kCharsetCanvas, kKindLeftUp, 16 * 1 + 4, 16 * 4 + 4);
             canvas(kCharsetCanvas, kKindLeftClick, 16 * 1 + 4, 16 * 4 + 4);
         }},
        {"font drop",
         [&] {
             tk.inject_drop(kCharsetCanvas, file("drop.fnt", 300));
             handle();
         }},
        {"font from the requester",
         [&] {
             tk.file_answers.emplace_back(file("open.fnt", 2048), 0);
             menu(MenuId::Open);
         }},
        {"map drop",
         [&] {
             tk.inject_drop(kMapCanvas, file("drop.map", 960));
             handle();
         }},
        {"map size", [&] { menu(MenuId::MapPc); }},
        {"fill map", [&] { menu(MenuId::FillMap); }},
        {"map popup", [&] { popup(16 * 3 + 2, 16 * 5 + 2, MenuId::DeleteMapLine); }},
    };
    menu(MenuId::CharsetCga);
    menu(MenuId::MapAtari); // shows the map window; 40 x 24 is the size in use, so no step
    click(kCharsetCanvas, 16 * 1 + 4, 16 * 4 + 4); // 'A'
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Seen before = seen();
        const size_t count = steps();
        c.run();
        const Seen after = seen();
        ASSERT_NE(after.charset == before.charset && after.cells == before.cells &&
                      after.cols == before.cols,
                  true)
            << "the command changed nothing";
        EXPECT_EQ(steps(), count + 1);
        undo();
        const Seen undone = seen();
        if (after.colour0 == before.colour0 && after.colour1 == before.colour1) {
            EXPECT_EQ(differences(undone, before), "");
        } else {
            // The colours stay as the command set them; the views show the old data in them.
            EXPECT_EQ(differences(undone, before), " grid editor map colours");
            present(app);
            EXPECT_EQ(differences(seen(), undone), "");
        }
        redo();
        EXPECT_EQ(differences(seen(), after), "");
        EXPECT_EQ(steps(), count + 1);
    }
    // All of them undone in turn lead back to the CGA charset on the map as it started.
    while (app.s.history.can_undo() && steps() > 1)
        undo();
    EXPECT_EQ(app.s.map->cols, 40);
    EXPECT_EQ(app.s.map->at(0, 0), 32);
    undo();
    EXPECT_EQ(app.s.charset->bytes, CharsetStore{}.bytes);
}

TEST_F(UndoRedo, AMouseStrokeOnTheEditorOrTheMapIsOneStep) {
    const Seen start = seen();
    // Left from press to release sets four pixels; the platform's idle wake-ups come in between.
    canvas(kGlyphCanvas, kKindLeftDown, 8, 8, kButtonLeft);
    for (int x : {24, 40, 56}) {
        tk.post_event(Event{});
        handle();
        canvas(kGlyphCanvas, kKindMouseMove, x, 8, kButtonLeft);
    }
    canvas(kGlyphCanvas, kKindLeftUp, 56, 8);
    canvas(kGlyphCanvas, kKindLeftClick, 56, 8);
    EXPECT_EQ(app.store().glyph(0)[0], 0xF0);
    EXPECT_EQ(steps(), 1u);
    // A right stroke clears two of them again: a second step.
    canvas(kGlyphCanvas, kKindRightDown, 8, 8, kButtonRight);
    canvas(kGlyphCanvas, kKindMouseMove, 24, 8, kButtonRight);
    canvas(kGlyphCanvas, kKindRightUp, 24, 8);
    EXPECT_EQ(app.store().glyph(0)[0], 0x30);
    EXPECT_EQ(steps(), 2u);
    undo();
    EXPECT_EQ(app.store().glyph(0)[0], 0xF0);
    undo();
    EXPECT_TRUE(seen() == start);

    // A shortcut during a stroke ends it: the part before is undone, the rest is a new stroke
    // step only once the button is released.
    menu(MenuId::MapAtari); // the size in use: shows the map and is no step
    app.s.current_char = 7;
    canvas(kMapCanvas, kKindLeftDown, 2, 2, kButtonLeft);
    canvas(kMapCanvas, kKindMouseMove, 18, 2, kButtonLeft);
    undo();
    EXPECT_EQ(app.s.map->at(0, 0), 32);
    EXPECT_EQ(app.s.map->at(1, 0), 33);
    canvas(kMapCanvas, kKindMouseMove, 34, 2, kButtonLeft);
    canvas(kMapCanvas, kKindMouseMove, 50, 2, kButtonLeft);
    EXPECT_FALSE(app.s.history.can_undo());
    canvas(kMapCanvas, kKindLeftUp, 50, 2);
    EXPECT_TRUE(app.s.history.can_undo());
    undo(kMapWindow);
    EXPECT_EQ(app.s.map->at(2, 0), 34);
    EXPECT_EQ(app.s.map->at(3, 0), 35);
    EXPECT_FALSE(app.s.history.can_undo());
}

TEST_F(UndoRedo, RedoFollowsUndoUntilANewChangeAndTheItemsFollowBoth) {
    EXPECT_EQ(items(), Pair(0, 0));
    // Changes of what the history leaves out, and commands that change nothing, are no steps.
    menu(MenuId::DragCopy);
    menu(MenuId::ClearChar);
    tk.colour_answers = {0x123456};
    menu(MenuId::ColourBit1);
    EXPECT_EQ(items(), Pair(0, 0));

    menu(MenuId::Invert);
    app.s.current_char = 1;
    menu(MenuId::MirrorUpDown); // blank: no step
    menu(MenuId::Invert);
    EXPECT_EQ(items(), Pair(1, 0));
    undo();
    EXPECT_EQ(items(), Pair(1, 1));
    EXPECT_EQ(app.store().glyph(1)[0], 0);
    EXPECT_EQ(app.s.current_char, 1) << "the current character is not part of the history";
    combination(kComboRedoShifted, kMapWindow);
    EXPECT_EQ(app.store().glyph(1)[0], 0xFF);
    undo(kMapWindow);
    undo();
    EXPECT_EQ(items(), Pair(0, 1));
    EXPECT_EQ(app.store().glyph(0)[0], 0);
    undo(); // nothing left: nothing happens
    EXPECT_EQ(app.s.history.redo_count(), 2u);

    // The menu items do what the shortcuts do.
    menu(MenuId::Redo);
    EXPECT_EQ(app.store().glyph(0)[0], 0xFF);
    EXPECT_EQ(items(), Pair(1, 1));
    // A command that changes nothing keeps the redo step; a change drops it.
    menu(MenuId::ClearChar);
    EXPECT_EQ(items(), Pair(1, 1));
    app.s.current_char = 2;
    menu(MenuId::Invert);
    EXPECT_EQ(items(), Pair(1, 0));
    redo();
    EXPECT_EQ(app.store().glyph(1)[0], 0) << "the dropped step was redone";
    menu(MenuId::Undo);
    menu(MenuId::Undo);
    EXPECT_EQ(items(), Pair(0, 1));
    EXPECT_EQ(app.store().glyph(0)[0], 0);
    EXPECT_EQ(app.s.color_bit1, 0x123456) << "colours are not part of the history";
    EXPECT_EQ(tk.item_checked(kMenuBar, id(MenuId::DragCopy)), 1);
}

// A size undone or redone while the map window is closed fits the window and leaves it closed; the
// next size command shows the map as it is.
TEST_F(UndoRedo, MapSizeStepsKeepAClosedMapWindowClosed) {
    menu(MenuId::MapAtari);
    fill_map_cells(*app.s.map, 65);
    menu(MenuId::MapPc);
    const Raster shown = picture(kMapCanvas);
    tk.inject_close(kMapWindow);
    handle();
    const auto* window = tk.window(kMapWindow);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(window->visible) << "the close box hides the map window";
    undo();
    EXPECT_EQ(app.s.map->cols, 40);
    EXPECT_FALSE(window->visible);
    EXPECT_EQ(Pair(window->width, window->height), Pair(640, 384));
    redo();
    EXPECT_FALSE(window->visible);
    EXPECT_EQ(Pair(window->width, window->height), Pair(1280, 800));
    menu(MenuId::MapPc);
    EXPECT_TRUE(window->visible);
    EXPECT_TRUE(picture(kMapCanvas) == shown);
}

// The font named on the command line is the first step: undo leaves the blank charset.
TEST_F(UndoRedo, TheCommandLineFontIsAStepFromTheStart) {
    HeadlessToolkit other({file("start.fnt", 1024)}, "/tmp/fontarel-work");
    App started(other);
    ASSERT_TRUE(open_program(started));
    EXPECT_EQ(other.item_enabled(kMenuBar, id(MenuId::Undo)), 1);
    EXPECT_EQ(other.item_enabled(kMenuBar, id(MenuId::Redo)), 0);
    const auto loaded = started.s.charset->bytes;
    ASSERT_EQ(loaded[0], 255);
    const Raster grid = other.control(kCharsetCanvas)->picture;

    other.inject_combination(kComboUndo);
    ASSERT_TRUE(dispatch_event(started, other.wait_event()));
    EXPECT_EQ(started.s.charset->bytes, CharsetStore{}.bytes);
    EXPECT_EQ(other.control(kCharsetCanvas)->picture.pixel(0, 0), 0) << "the grid shows it";
    EXPECT_EQ(other.item_enabled(kMenuBar, id(MenuId::Undo)), 0);
    other.inject_combination(kComboRedo);
    ASSERT_TRUE(dispatch_event(started, other.wait_event()));
    EXPECT_EQ(started.s.charset->bytes, loaded);
    EXPECT_TRUE(other.control(kCharsetCanvas)->picture == grid);
}

} // namespace
} // namespace fontarel
