// The file commands in the running program on the in-memory toolkit: fonts by "Open...", drops and
// the command line; font and map saves; map loads; the charset picture; and saves that fail.

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/views/charset_canvas.h"
#include "app/views/present.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

// Bytes 1, 2, 3, ... (mod 251, so a stretch read from the wrong offset differs).
Bytes counting(size_t n, int from = 1) {
    Bytes out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<uint8_t>((from + i) % 251);
    return out;
}

class FileCommands : public ProgramTest {
  protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("fontarel_files_" + std::to_string(rd()));
        fs::create_directories(dir_);
        ProgramTest::SetUp();
        // A store in which every byte is known and no byte is zero.
        for (int i = 0; i < kCharsetBytes; ++i)
            app.store().bytes[i] = static_cast<uint8_t>((0xA0 ^ (i % 253) ^ (i >> 8)) | 1);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string folder() const { return dir_.string() + "/"; }
    std::string path(const std::string& name) const { return folder() + name; }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return path(name);
    }
    Bytes read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(dir_))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    void select(int c) {
        app.s.current_char = static_cast<uint8_t>(c);
        app.s.current_column = c % 16;
        app.s.current_row = c / 16;
    }
    // A requester answered with `answer` (empty: cancelled) for the command of `item`.
    void run(MenuId item, const std::string& answer, int entry = 0) {
        tk.file_answers.emplace_back(answer, entry);
        menu(item);
    }
    void drop(int control, const std::string& paths) {
        tk.inject_drop(control, paths);
        handle();
    }
    Bytes store() const { return Bytes(app.s.charset->bytes.begin(), app.s.charset->bytes.end()); }
    using Message = std::pair<std::string, std::string>;
    std::vector<Message> messages() const {
        std::vector<Message> out;
        for (const auto& m : tk.messages())
            out.emplace_back(m.caption, m.text);
        return out;
    }
    // The newest message box, or a pair that names its absence, so that a missing box fails the
    // comparison instead of reading past the log.
    Message last_message() const {
        return tk.messages().empty()
                   ? Message("(no message box)", "")
                   : Message(tk.messages().back().caption, tk.messages().back().text);
    }

    fs::path dir_;
};

TEST_F(FileCommands, OpenedFontLandsFromTheCurrentCharacterAndShowsAtOnce) {
    const struct {
        size_t size;
        int current;
    } cases[] = {{768, 32}, {2048, 32}, {3, 65}, {2100, 0}, {2048, 0}};
    for (const auto& c : cases) {
        select(c.current);
        const Bytes before = store();
        Bytes file = counting(c.size);
        file[0] = 0x80;                              // the top-left pixel of the first glyph loaded
        run(MenuId::Open, write("in.map", file), 0); // the font entry decides, not the extension
        Bytes want = before;
        for (size_t i = 0; i < c.size && 8 * c.current + i < 2048; ++i)
            want[8 * c.current + i] = file[i];
        EXPECT_EQ(store(), want) << c.size << " bytes at " << c.current;
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(app.s.file_directory, folder());
        // The grid image and the glyph editor already show the new glyph.
        const Raster* grid = tk.image(kCharsetImage);
        EXPECT_EQ(grid->pixel(16 * (c.current % 16) + 1, 16 * (c.current / 16) + 1), 0xFFFFFF);
        EXPECT_EQ(grid->pixel(16 * (c.current % 16) + 3, 16 * (c.current / 16) + 1), 0);
        EXPECT_EQ(picture(kGlyphCanvas).pixel(5, 5), 0xFFFFFF);
    }
    ASSERT_FALSE(tk.file_requests().empty()) << "no file requester opened";
    const HeadlessToolkit::FileRequest& request = tk.file_requests().back();
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, "Please choose file to load");
    EXPECT_EQ(request.patterns,
              "Font (*.fnt)|*.fnt|Character map (*.map)|*.map|Project (*.fontarel)|*.fontarel|"
              "CTM project (*.ctm)|*.ctm|Koala painting (*.koa *.kla)|*.koa;*.kla|All files (*)|*");
    EXPECT_EQ(request.start, folder());
    EXPECT_EQ(request.pattern_index, 0);
}

TEST_F(FileCommands, FontsThatNameNoFileChangeNothing) {
    write("empty.fnt", {});
    fs::create_directory(path("sub"));
    const Bytes before = store();
    const std::string start_dir = app.s.file_directory;
    const std::string two = write("a.fnt", counting(8)) + "\n" + write("b.fnt", counting(8));
    const std::string no_file[] = {path("empty.fnt"), path("sub"), path("missing.fnt"), two};
    for (const std::string& p : no_file) {
        tk.inject_drop(kCharsetCanvas, p);
        handle();
        EXPECT_EQ(last_message(), Message("No file", p));
    }
    drop(kCharsetCanvas, "  \t ");
    EXPECT_EQ(tk.messages().size(), std::size(no_file)) << "blanks only: nothing at all";
    EXPECT_EQ(store(), before);
    EXPECT_EQ(app.s.file_directory, start_dir);

    // A name typed into the requester that names no file: the requester's folder is taken anyway.
    run(MenuId::Open, path("typed.fnt"), 0);
    EXPECT_EQ(last_message(), Message("No file", path("typed.fnt")));
    EXPECT_EQ(app.s.file_directory, folder());
    run(MenuId::Open, "");
    EXPECT_EQ(tk.messages().size(), std::size(no_file) + 1) << "a cancel shows nothing";
    EXPECT_EQ(store(), before);
}

TEST_F(FileCommands, DroppedFontLoadsAtTheCurrentCharacter) {
    select(200);
    drop(kCharsetCanvas, write("drop.fnt", counting(16, 7)));
    EXPECT_TRUE(std::equal(app.store().bytes.begin() + 1600, app.store().bytes.begin() + 1616,
                           counting(16, 7).begin()));
    EXPECT_EQ(app.s.file_directory, folder());
}

TEST_F(FileCommands, OneCommandLineArgumentLoadsAFontAtGlyphZero) {
    const std::string font = write("start.fnt", counting(768));
    for (const auto& arguments :
         {std::vector<std::string>{font}, std::vector<std::string>{font, font}}) {
        HeadlessToolkit other(arguments, "/tmp/fontarel-work");
        App started(other);
        ASSERT_TRUE(open_program(started));
        const auto& bytes = started.s.charset->bytes;
        const bool loaded = arguments.size() == 1;
        EXPECT_EQ(bytes[0], loaded ? 1 : 0) << arguments.size();
        EXPECT_EQ(bytes[767], loaded ? counting(768)[767] : 0) << arguments.size();
        EXPECT_EQ(bytes[768], 0) << arguments.size();
        EXPECT_EQ(started.s.file_directory, loaded ? folder() : "/tmp/fontarel-work/");
        // The first picture of the grid already shows it.
        EXPECT_EQ(other.image(kCharsetImage)->pixel(14, 0), loaded ? 0xFFFFFF : 0);
    }
}

TEST_F(FileCommands, FontSavesWriteTheirSizeFromTheCurrentCharacterOrRefuse) {
    const struct {
        MenuId item;
        int bytes;
        int current;
        bool fits;
    } cases[] = {
        {MenuId::SaveIbm, 2048, 0, true},     {MenuId::SaveIbm, 2048, 1, false},
        {MenuId::SaveAtari, 1024, 128, true}, {MenuId::SaveAtari, 1024, 129, false},
        {MenuId::SaveZx, 768, 160, true},     {MenuId::SaveZx, 768, 161, false},
    };
    write("out.fnt", Bytes(3000, 0x55)); // longer than any save
    std::string start = app.s.file_directory;
    for (const auto& c : cases) {
        select(c.current);
        const size_t requests = tk.file_requests().size();
        run(c.item, path("out"));
        if (!c.fits) {
            EXPECT_EQ(last_message(), Message("Save File", "out of size")) << c.bytes;
            EXPECT_EQ(tk.file_requests().size(), requests) << "no requester";
            tk.file_answers.clear();
            continue;
        }
        const Bytes all = store();
        EXPECT_EQ(read("out.fnt"),
                  Bytes(all.begin() + 8 * c.current, all.begin() + 8 * c.current + c.bytes))
            << c.bytes;
        ASSERT_FALSE(tk.file_requests().empty()) << "no file requester opened";
        const HeadlessToolkit::FileRequest& request = tk.file_requests().back();
        EXPECT_TRUE(request.save);
        EXPECT_EQ(request.title, "Please choose file to save");
        EXPECT_EQ(request.patterns, "Font (*.fnt)|*.fnt");
        EXPECT_EQ(request.start, start) << "the folder of the last path confirmed";
        start = folder();
    }
    EXPECT_EQ(tk.messages().size(), 3u);
    EXPECT_EQ(names(), std::vector<std::string>{"out.fnt"});
}

TEST_F(FileCommands, SavedNamesGetTheirExtensionUnlessTheyEndInItInAnyCase) {
    const struct {
        MenuId item;
        const char* chosen;
        const char* written;
    } cases[] = {
        {MenuId::SaveIbm, "font", "font.fnt"},
        {MenuId::SaveIbm, "font.txt", "font.txt.fnt"},
        {MenuId::SaveZx, "a.b", "a.b.fnt"},
        {MenuId::SaveZx, "UP.FNT", "UP.FNT"},
        {MenuId::SaveMap, "level", "level.map"},
        {MenuId::SaveMap, "LEVEL.MAP", "LEVEL.MAP"},
        {MenuId::SaveImage, "photo.BMP", "photo.BMP"},
        {MenuId::SaveImage, "charset", "charset.bmp"},
        {MenuId::SaveImage, "charset.png", "charset.png.bmp"},
    };
    for (const auto& c : cases) {
        run(c.item, path(c.chosen));
        EXPECT_TRUE(fs::exists(path(c.written))) << c.chosen;
    }
    EXPECT_EQ(names().size(), std::size(cases));
    EXPECT_TRUE(messages().empty());
}

TEST_F(FileCommands, FailedSavesSayFileErrorAndKeepTheOldFile) {
    const MenuId items[] = {MenuId::SaveIbm, MenuId::SaveMap, MenuId::SaveImage};
    const char* extensions[] = {".fnt", ".map", ".bmp"};
    for (int i = 0; i < 3; ++i) {
        // No such folder: nothing is made, and the requester's folder is taken all the same.
        const std::string missing = path("gone/") + "x";
        run(items[i], missing);
        EXPECT_EQ(last_message(), Message("Save file", "File Error:" + missing + extensions[i]));
        EXPECT_EQ(app.s.file_directory, path("gone/"));
        EXPECT_FALSE(fs::exists(path("gone")));

        // A disk that fills up after 10 bytes: the old file survives as it was.
        const std::string name = std::string("old") + extensions[i];
        write(name, Bytes(5, 0x33));
        tk.disk_space = 10;
        run(items[i], path(name));
        tk.disk_space = -1;
        EXPECT_EQ(last_message(), Message("Save file", "File Error:" + path(name)));
        EXPECT_EQ(read(name), Bytes(5, 0x33));
    }
    EXPECT_EQ(tk.messages().size(), 6u);
    EXPECT_EQ(names(), (std::vector<std::string>{"old.bmp", "old.fnt", "old.map"}));
}

TEST_F(FileCommands, MapLoadsFillTheCellsInUseOrSayWhyNot) {
    CharMap& map = *app.s.map;
    ASSERT_EQ(map.cols * map.rows, 960);
    const auto cells = [&] { return map.cells; };
    const std::string start_name = app.s.map_file_name;

    // One byte too many, nothing there, a folder, two dropped files: nothing changes.
    const auto before = cells();
    const std::string big = write("big.map", counting(961));
    const std::string two = path("a.map") + "\n" + path("b.map");
    drop(kMapCanvas, big);
    drop(kMapCanvas, path("missing.map"));
    drop(kMapCanvas, folder());
    drop(kMapCanvas, two);
    EXPECT_EQ(messages(),
              (std::vector<Message>{{"Open File", "to big map:" + big},
                                    {"Open File", "unable to open:" + path("missing.map")},
                                    {"Open File", "unable to open:" + folder()},
                                    {"Open File", "unable to open:" + two}}));
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(app.s.map_file_name, start_name);

    // Exactly 960 bytes, by a drop: every cell in use, and the canvas shows the new codes.
    app.store().glyph(5)[1] = 0xFF; // glyph 5: row 1 all set
    Bytes file(960, 0);
    file[0] = 5;
    const std::string exact = write("exact.map", file);
    drop(kMapCanvas, exact);
    EXPECT_EQ(map.at(0, 0), 5);
    EXPECT_EQ(map.at(39, 23), 0);
    EXPECT_EQ(app.s.map_file_name, exact);
    EXPECT_EQ(picture(kMapCanvas).pixel(5, 2), app.s.color_bit1);

    // An empty file is a map too: nothing changes but the name.
    const auto loaded = cells();
    const std::string empty = write("empty.map", {});
    drop(kMapCanvas, empty);
    EXPECT_EQ(cells(), loaded);
    EXPECT_EQ(app.s.map_file_name, empty);
    EXPECT_EQ(tk.messages().size(), 4u);
}

TEST_F(FileCommands, MapSavesFromTheNameOfTheLastMapOpened) {
    CharMap& map = *app.s.map;
    for (int y = 0; y < map.rows; ++y)
        for (int x = 0; x < map.cols; ++x)
            map.at(x, y) = (x + 7 * y) & 0xFF;
    const auto saved_cells = map.cells;

    run(MenuId::SaveMap, path("first"));
    ASSERT_FALSE(tk.file_requests().empty()) << "no file requester opened";
    EXPECT_EQ(tk.file_requests().back().start, "/tmp/fontarel-work/charmap.map");
    EXPECT_EQ(tk.file_requests().back().patterns, "Character map (*.map)|*.map");
    const Bytes body = read("first.map");
    ASSERT_EQ(body.size(), 960u);
    EXPECT_EQ(body[40], map.at(0, 1));
    EXPECT_EQ(app.s.map_file_name, "/tmp/fontarel-work/charmap.map") << "a save keeps the name";

    // "Open..." with the map entry reads a map whatever the name ends in.
    for (int y = 0; y < map.rows; ++y)
        for (int x = 0; x < map.cols; ++x)
            map.at(x, y) = 0;
    const std::string other = write("looks_like.fnt", body);
    const Bytes fonts = store();
    run(MenuId::Open, other, 1);
    EXPECT_EQ(map.cells, saved_cells);
    EXPECT_EQ(store(), fonts);
    EXPECT_EQ(app.s.map_file_name, other);

    // A map that fails to open from "Open..." is still the one the next save offers.
    run(MenuId::Open, path("never.map"), 1);
    EXPECT_EQ(last_message(), Message("Open File", "unable to open:" + path("never.map")));
    run(MenuId::SaveMap, path("second.map"));
    ASSERT_FALSE(tk.file_requests().empty()) << "no file requester opened";
    EXPECT_EQ(tk.file_requests().back().start, path("never.map"));
    EXPECT_EQ(read("second.map"), body);
}

TEST_F(FileCommands, MapColoursSaveBesideTheMapAndImportAsMapsLoad) {
    CharMap& map = *app.s.map;
    set_map_machine(map, MapMachine::ZxSpectrum);
    for (int x = 0; x < kMapCapacityCols; ++x)
        map.attr(x, 1) = static_cast<uint8_t>(x + 3);
    const auto codes = map.cells;

    run(MenuId::SaveMapColours, path("title"));
    ASSERT_EQ(tk.file_requests().size(), 1u);
    EXPECT_EQ(tk.file_requests()[0].start, "/tmp/fontarel-work/charmap.col");
    const Bytes saved = read("title.col");
    ASSERT_EQ(saved.size(), 960u);
    EXPECT_EQ(Bytes(saved.begin() + 39, saved.begin() + 42), Bytes({0x38, 3, 4})) << "row 1";

    // A short file replaces the cells it reaches, bytes past the machine's range kept; one byte
    // more than the map is the map loader's refusal.
    run(MenuId::ImportMapColours, write("short.col", {0xFF, 0x47}));
    EXPECT_EQ(Bytes({map.attr(0, 0), map.attr(1, 0), map.attr(2, 0)}), Bytes({0xFF, 0x47, 0x38}));
    EXPECT_EQ(map.cells, codes);
    const auto before = map.attrs;
    const std::string big = write("big.col", counting(961));
    run(MenuId::ImportMapColours, big);
    EXPECT_EQ(messages(), (std::vector<Message>{{"Open File", "to big map:" + big}}));
    EXPECT_EQ(map.attrs, before);
}

// File row k of the picture holds picture row 255 - k; each row is 768 bytes.
size_t pixel_offset(int x, int y) {
    return 54 + 768 * static_cast<size_t>(255 - y) + 3 * x;
}

TEST_F(FileCommands, CharsetPictureHoldsTheGridBottomRowFirst) {
    app.store().bytes.fill(0);
    present(app);
    run(MenuId::SaveImage, path("blank"));
    const Bytes blank = read("blank.bmp");
    ASSERT_EQ(blank.size(), 54u + 256 * 768);
    EXPECT_EQ(blank[0], 'B');
    EXPECT_TRUE(std::all_of(blank.begin() + 54, blank.end(), [](uint8_t b) { return b == 0; }));
    ASSERT_FALSE(tk.file_requests().empty()) << "no file requester opened";
    const HeadlessToolkit::FileRequest& request = tk.file_requests().back();
    EXPECT_EQ(request.patterns, ".bmp");
    EXPECT_EQ(request.title, "Please choose file to save");

    // The top-left glyph pixel in pure red: a 2 x 2 block at the start of the last two file rows,
    // also when nothing has drawn the change yet.
    select(17); // the picture holds no cursor wherever it stands
    app.store().bytes[0] = 0x80;
    app.s.color_bit1 = 255;
    run(MenuId::SaveImage, path("one.bmp"));
    Bytes want = blank;
    for (int y : {0, 1})
        for (int x : {0, 1}) {
            want[pixel_offset(x, y) + 2] = 0xFF; // blue, green, red
        }
    EXPECT_EQ(read("one.bmp"), want);
    EXPECT_TRUE(messages().empty());
}

} // namespace
} // namespace fontarel

namespace fontarel {
namespace {

// Hostile files: every length of random bytes as a font and as a map, each either loaded exactly
// or refused with its message, and nothing else changed.
TEST_F(FileCommands, EveryLengthUpTo5000LoadsExactlyOrIsRefusedWithItsMessage) {
    std::mt19937 random(4242);
    menu(MenuId::MapC64); // 40 x 25 = 1000 cells
    for (size_t length = 0; length <= 5000; ++length) {
        Bytes content(length);
        for (auto& b : content)
            b = static_cast<uint8_t>(random());
        const std::string file = write("f", content);
        const int c = static_cast<int>(random() % 256);
        select(c);
        const Bytes before = store();
        const auto cells_before = app.s.map->cells;
        const size_t shown = tk.messages().size();

        drop(kCharsetCanvas, file);
        Bytes want = before;
        const size_t room = static_cast<size_t>(kCharsetBytes - 8 * c);
        std::copy_n(content.begin(), std::min(length, room), want.begin() + 8 * c);
        ASSERT_EQ(store(), want) << "font of " << length << " bytes at " << c;

        drop(kMapCanvas, file);
        auto cells = cells_before;
        if (length <= 1000) {
            for (size_t i = 0; i < length; ++i)
                cells[i / 40][i % 40] = content[i];
        }
        ASSERT_EQ(app.s.map->cells, cells) << "map of " << length << " bytes";

        const auto& m = tk.messages();
        std::vector<Message> said(m.size() > shown ? m.size() - shown : 0);
        std::transform(m.begin() + static_cast<long>(shown), m.end(), said.begin(),
                       [](const auto& x) {
                           return Message{x.caption, x.text};
                       });
        std::vector<Message> expected;
        if (length == 0)
            expected.emplace_back("No file", file);
        if (length > 1000)
            expected.emplace_back("Open File", "to big map:" + file);
        ASSERT_EQ(said, expected) << length;
    }
}

TEST_F(FileCommands, OddNamesLoadAndLinksFoldersAndFifosAreRefusedWithoutBlocking) {
    const Bytes glyphs = counting(16, 7);
    for (const char* name : {"with space.fnt", "quote'\"x.fnt", "\xC3\xBCml\xC3\xA4ut.fnt",
                             "line\nfeed.fnt", "-dash.fnt"}) {
        SCOPED_TRACE(name);
        select(0);
        const std::string file = write(name, glyphs);
        run(MenuId::Open, file, 0); // the requester gives the path back unchanged
        EXPECT_TRUE(std::equal(glyphs.begin(), glyphs.end(), store().begin()));
        app.store().bytes.fill(1);
        drop(kCharsetCanvas, file); // a line feed in a name reads as one path: not split
        EXPECT_TRUE(std::equal(glyphs.begin(), glyphs.end(), store().begin()));
    }
    EXPECT_TRUE(tk.messages().empty());

    fs::create_directory(dir_ / "folder");
    fs::create_directory_symlink(dir_ / "folder", dir_ / "link");
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    const Bytes before = store();
    const auto cells = app.s.map->cells;
    for (const char* name : {"link", "fifo"}) {
        drop(kCharsetCanvas, path(name)); // a FIFO opened for reading would wait for a writer
        drop(kMapCanvas, path(name));
    }
    EXPECT_EQ(store(), before);
    EXPECT_EQ(app.s.map->cells, cells);
    EXPECT_EQ(messages(), (std::vector<Message>{{"No file", path("link")},
                                                {"Open File", "unable to open:" + path("link")},
                                                {"No file", path("fifo")},
                                                {"Open File", "unable to open:" + path("fifo")}}));
}

TEST_F(FileCommands, SavesWhereNoFileCanBeMadeSayFileErrorAndWriteNothing) {
    write("plain", counting(10));
    for (const std::string& target :
         {path("missing/font"), path("plain/font"), std::string("/proc/version/font")}) {
        SCOPED_TRACE(target);
        const size_t shown = tk.messages().size();
        run(MenuId::SaveIbm, target);
        run(MenuId::SaveMap, target);
        tk.file_answers.emplace_back(target, 0);
        menu(MenuId::SaveImage);
        ASSERT_EQ(tk.messages().size(), shown + 3);
        EXPECT_EQ(tk.messages()[shown].text, "File Error:" + target + ".fnt");
        EXPECT_EQ(tk.messages()[shown + 1].text, "File Error:" + target + ".map");
        EXPECT_EQ(tk.messages()[shown + 2].text, "File Error:" + target + ".bmp");
        for (size_t i = shown; i < shown + 3; ++i)
            EXPECT_EQ(tk.messages()[i].caption, "Save file");
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"plain"}));
    EXPECT_EQ(read("plain"), counting(10));
}

} // namespace
} // namespace fontarel
