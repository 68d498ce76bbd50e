// File > Import in the running program: each kind of file lands where it belongs as one undo
// step, and a file that cannot be imported says why and changes nothing.

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "formats/export_formats.h"
#include "model/atari_palette.h"
#include "model/builtin_charsets.h"
#include "model/map_colours.h"
#include "program_fixture.h"
#include "render/charset_picture.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;

constexpr int kWhite = 0xFFFFFF;

class ImportCommands : public ProgramTest {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fontarel_import_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        ProgramTest::SetUp();
        load_builtin_glyphs(cga_, builtin_charset(Machine::Cga));
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string file(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    // A screen of cols x rows cells drawn with the CGA glyphs, one picture pixel a glyph pixel.
    Raster screen(int cols, int rows) const {
        Raster picture(8 * cols, 8 * rows);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (cga_.glyph(code_at(x / 8, y / 8))[y % 8] & (0x80 >> (x % 8)))
                    picture.set_pixel(x, y, kWhite);
        return picture;
    }
    static int code_at(int c, int r) { return (7 * c + 3 * r) & 0xFF; }
    // The map in use shows the picture: every glyph pixel of every cell as the picture has it.
    int pixels_unlike(const Raster& picture) const {
        int unlike = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const bool set =
                    app.s.charset->glyph(app.s.map->at(x / 8, y / 8))[y % 8] & (0x80 >> (x % 8));
                unlike += set != (picture.pixel(x, y) == kWhite);
            }
        return unlike;
    }

    fs::path dir_;
    CharsetStore cga_;
};

// Each import from a blank charset: the glyphs or the map it gives, then undo back to the start.
TEST_F(ImportCommands, EachKindLandsAsOneStepThatUndoes) {
    const GlyphSelection all{0, 256};
    Raster grid(256, 256);
    CharsetGridRenderer().render(grid, cga_, 0, kWhite);
    const Raster title = screen(40, 25);
    struct Case {
        const char* name;
        MenuId item;
        std::vector<uint8_t> bytes;
        std::function<void()> check;
    };
    const auto charset_is_cga = [&] { EXPECT_EQ(app.s.charset->bytes, cga_.bytes); };
    const std::vector<Case> cases = {
        {"psf", MenuId::ImportFont, export_glyphs(ExportFormat::Psf, cga_, all, "f"),
         charset_is_cga},
        {"bdf", MenuId::ImportFont, export_glyphs(ExportFormat::Bdf, cga_, all, "f"),
         charset_is_cga},
        {"prg", MenuId::ImportPrg, export_glyphs(ExportFormat::Prg, cga_, all, "f", 0xC000),
         [&] {
             charset_is_cga();
             ASSERT_FALSE(tk.messages().empty()) << "no word of the load address";
             EXPECT_NE(tk.messages().back().text.find("$C000"), std::string::npos)
                 << tk.messages().back().text;
         }},
        {"charset picture", MenuId::ImportCharsetPicture, encode_bmp(grid), charset_is_cga},
        {"screen, new charset", MenuId::ImportScreenNew, encode_bmp(title),
         [&] {
             EXPECT_EQ(app.s.map->cols, 40);
             EXPECT_EQ(app.s.map->rows, 25);
             EXPECT_TRUE(tk.window(kMapWindow)->visible);
             EXPECT_EQ(pixels_unlike(title), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = app.s.charset->bytes;
        const auto cells = app.s.map->cells;
        const size_t steps = app.s.history.undo_count();
        tk.file_answers.emplace_back(file(c.name, c.bytes), 0);
        menu(c.item);
        c.check();
        EXPECT_EQ(app.s.history.undo_count(), steps + 1);
        tk.inject_combination(kComboUndo);
        handle();
        EXPECT_EQ(app.s.charset->bytes, before);
        EXPECT_EQ(app.s.map->cells, cells);
    }

    // A screen drawn with the current charset comes back as a map that draws the same pixels.
    app.store() = cga_;
    tk.file_answers.emplace_back(file("title.bmp", encode_bmp(title)), 0);
    menu(MenuId::ImportScreenCurrent);
    EXPECT_EQ(app.s.charset->bytes, cga_.bytes);
    EXPECT_EQ(pixels_unlike(title), 0);
}

// A map in C64 colours takes each cell's colour and the picture's background, undone with the
// codes.
TEST_F(ImportCommands, AColourScreenGivesTheMapItsAttributesAndBackground) {
    set_map_machine(*app.s.map, MapMachine::C64);
    app.s.map->look.background = 4;
    const auto palette = machine_palette(MapMachine::C64).colours;
    Raster title(16, 8); // 'A' in white on blue, then blue alone
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            title.set_pixel(x, y,
                            x < 8 && cga_.glyph('A')[y] & (0x80 >> x) ? palette[1] : palette[6]);
    const auto attrs = app.s.map->attrs;
    tk.file_answers.emplace_back(file("c64.bmp", encode_bmp(title)), 0);
    menu(MenuId::ImportScreenNew);
    EXPECT_EQ(app.s.map->attr(0, 0), 1);
    EXPECT_EQ(app.s.map->look.background, 6);
    EXPECT_EQ(app.s.charset->glyph(app.s.map->at(0, 0))[1], cga_.glyph('A')[1]);
    tk.inject_combination(kComboUndo);
    handle();
    EXPECT_EQ(app.s.map->look.background, 4);
    EXPECT_EQ(app.s.map->attrs, attrs);
}

// An Atari map in the tall mode reads a picture in double-wide pixels, four colours a cell: the
// registers come from the picture, the mode stays, and undo puts the registers back.
TEST_F(ImportCommands, AnAtariScreenBringsItsRegistersAndKeepsTheTallMode) {
    CharMap& map = *app.s.map;
    set_map_machine(map, MapMachine::Atari);
    map.look.atari_mode = kAtariTall;
    const ScreenLook was = map.look;
    Raster picture(4, 8); // one cell: COLBK, and a row of 01 10 11 in three other colours
    const Colour colours[] = {atari_colour(0x10), atari_colour(0x34), atari_colour(0x86)};
    for (int x = 1; x < 4; ++x)
        picture.set_pixel(x, 0, colours[x - 1]);
    tk.file_answers.emplace_back(file("atari.bmp", encode_bmp(picture)), 0);
    menu(MenuId::ImportScreenNew);
    EXPECT_EQ(map.look.atari_mode, kAtariTall);
    EXPECT_EQ(map.look.colbk, 0);
    const int glyph = map.at(0, 0) & 127;
    for (int p = 1; p < 4; ++p) {
        const int v = app.s.charset->glyph(glyph)[0] >> (6 - 2 * p) & 3;
        const int reg = v == 3 && (map.at(0, 0) & 128) ? 3 : v - 1;
        ASSERT_GT(v, 0) << p;
        EXPECT_EQ(atari_colour(map.look.colpf[static_cast<size_t>(reg)]), colours[p - 1]) << p;
    }
    tk.inject_combination(kComboUndo);
    handle();
    EXPECT_EQ(map.look, was);
}

// A Koala painting makes any map a C64 map in multicolour, in one step that undoes; on such a map a
// picture is read in double-wide pixels. A painting of the wrong size, known by its name, says so.
TEST_F(ImportCommands, AKoalaPaintingMakesAMulticolourScreen) {
    std::vector<uint8_t> koala(10003, 0x1B); // bit pairs 00 01 10 11 in every cell row
    std::fill(koala.begin() + 8002, koala.begin() + 9002, 0x9A);  // 01 brown, 10 light red
    std::fill(koala.begin() + 9002, koala.begin() + 10002, 0x05); // 11 green
    koala[10002] = 0;
    set_map_machine(*app.s.map, MapMachine::PcText);
    const CharMap before = *app.s.map;
    tk.file_answers.emplace_back(file("title.kla", koala), 0);
    menu(MenuId::ImportScreenNew);
    const CharMap& map = *app.s.map;
    EXPECT_TRUE(map.look.machine == MapMachine::C64 && map.look.multicolour());
    EXPECT_EQ(map.cols * 100 + map.rows, 4025);
    EXPECT_EQ(map.look.multicolour_1 * 100 + map.look.multicolour_2, 910);
    EXPECT_EQ(map.attr(39, 24), 13);
    EXPECT_EQ(app.s.charset->glyph(map.at(39, 24))[7], 0x1B);
    tk.inject_combination(kComboUndo);
    handle();
    EXPECT_TRUE(map.look.machine == before.look.machine && !map.look.multicolour() &&
                map.attrs == before.attrs);

    // A picture on a multicolour map: 160 x 200 pixels are read at half width.
    set_map_machine(*app.s.map, MapMachine::C64);
    app.s.map->look.set_multicolour(true);
    Raster half(160, 200);
    half.set_pixel(1, 0, machine_palette(MapMachine::C64).colours[2]);
    tk.file_answers.emplace_back(file("half.bmp", encode_bmp(half)), 0);
    menu(MenuId::ImportScreenNew);
    EXPECT_EQ(map.cols * 100 + map.rows, 4025);
    EXPECT_EQ(app.s.charset->glyph(map.at(0, 0))[0] >> 4 & 3, map.look.multicolour_1 == 2 ? 1 : 2);
    // Matched to the current charset the picture is read in hi-res: multicolour goes off, so
    // that no cell of a colour 8-15 shows as a multicolour cell.
    tk.file_answers.emplace_back(file("half.bmp", encode_bmp(Raster(320, 200))), 0);
    menu(MenuId::ImportScreenCurrent);
    EXPECT_TRUE(map.look.machine == MapMachine::C64 && !map.look.multicolour());

    const struct {
        const char* name;
        size_t size;
        const char* says;
    } refusals[] = {
        {"short.koa", 9000,
         "is 9000 bytes: a Koala painting is 10003 (10002 without the background "
         "byte)"},
        {"notes.txt", 9000, "is no picture this program can read (PNG, BMP or GIF)"},
    };
    for (const auto& r : refusals) {
        tk.file_answers.emplace_back(file(r.name, std::vector<uint8_t>(r.size)), 0);
        menu(MenuId::ImportScreenNew);
        ASSERT_FALSE(tk.messages().empty());
        EXPECT_EQ(tk.messages().back().text, (dir_ / r.name).string() + ": " + r.says);
    }
}

// A painting opened, dropped or named at start-up, by any name, comes in as the import brings
// it, not as glyph bytes; so does a painting chosen under the Open requester's "All files".
TEST_F(ImportCommands, APaintingOpenedDroppedOrNamedAtStartIsKnownByItsContent) {
    std::vector<uint8_t> koala(10003);
    for (size_t i = 0; i < koala.size(); ++i)
        koala[i] = static_cast<uint8_t>(i * 7 + i / 8000);
    tk.file_answers.emplace_back(file("title.kla", koala), 0);
    menu(MenuId::ImportScreenNew);
    ASSERT_TRUE(app.s.map->look.multicolour()) << "the import itself took the painting";
    const CharsetStore want_glyphs = *app.s.charset;
    const CharMap want_map = *app.s.map;
    const std::string painting = file("painting.bin", koala);
    const std::function<void(ProgramTest&, App&, HeadlessToolkit&)> ways[] = {
        [&](ProgramTest&, App&, HeadlessToolkit& t) { t.file_answers.emplace_back(painting, 0); },
        [&](ProgramTest&, App&, HeadlessToolkit& t) { t.file_answers.emplace_back(painting, 5); },
        [&](ProgramTest&, App&, HeadlessToolkit& t) { t.inject_drop(kCharsetCanvas, painting); },
    };
    for (size_t w = 0; w <= std::size(ways); ++w) {
        HeadlessToolkit other{w == std::size(ways) ? std::vector<std::string>{painting}
                                                   : std::vector<std::string>{},
                              "/tmp/fontarel-work"};
        App fresh{other};
        ASSERT_TRUE(open_program(fresh));
        if (w < std::size(ways)) {
            ways[w](*this, fresh, other);
            if (w < 2)
                other.inject_menu(id(MenuId::Open));
            ASSERT_TRUE(dispatch_event(fresh, other.wait_event()));
        }
        ASSERT_EQ(other.messages().size(), tk.messages().size()) << w; // the import's remark
        if (!tk.messages().empty()) {
            const std::string& said = other.messages().back().text;
            const std::string& want = tk.messages().back().text;
            EXPECT_EQ(said.substr(said.find(": ")), want.substr(want.find(": ")));
        }
        EXPECT_EQ(fresh.s.charset->bytes, want_glyphs.bytes) << w;
        const CharMap& map = *fresh.s.map;
        EXPECT_TRUE(map.look.machine == MapMachine::C64 && map.look.multicolour() &&
                    map.cols == 40 && map.rows == 25 && map.cells == want_map.cells &&
                    map.attrs == want_map.attrs && map.look.background == want_map.look.background)
            << w;
    }
    // By its name only when it is no picture: then its size is said.
    tk.file_answers.emplace_back(file("short.koa", std::vector<uint8_t>(9000)), 0);
    menu(MenuId::Open);
    ASSERT_FALSE(tk.messages().empty());
    EXPECT_NE(tk.messages().back().text.find("is 9000 bytes: a Koala painting is 10003"),
              std::string::npos);
    const size_t said = tk.messages().size();
    tk.file_answers.emplace_back(file("picture.koa", encode_bmp(Raster(8, 8))), 0);
    menu(MenuId::Open);
    EXPECT_EQ(tk.messages().size(), said) << "a picture named .koa is no painting";
}

TEST_F(ImportCommands, AFileThatCannotBeImportedSaysWhyAndChangesNothing) {
    const struct {
        MenuId item;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {MenuId::ImportFont, {'h', 'e', 'l', 'l', 'o'}},
        {MenuId::ImportPrg, {0x00, 0x30, 1, 2, 3}},
        {MenuId::ImportCharsetPicture, encode_bmp(Raster(100, 100))},
        {MenuId::ImportScreenNew, encode_bmp(Raster(300, 200))},
        {MenuId::ImportScreenCurrent, {'n', 'o', 't'}},
        {MenuId::ImportFont, {}},
    };
    menu(MenuId::CharsetCga);
    const auto before = app.s.charset->bytes;
    const auto cells = app.s.map->cells;
    const size_t steps = app.s.history.undo_count();
    int n = 0;
    for (const auto& c : cases) {
        const std::string path = file("bad" + std::to_string(n++), c.bytes);
        const size_t shown = tk.messages().size();
        tk.file_answers.emplace_back(path, 0);
        menu(c.item);
        ASSERT_EQ(tk.messages().size(), shown + 1) << path << ": no message box";
        EXPECT_EQ(tk.messages().back().caption, "Import");
        EXPECT_EQ(tk.messages().back().text.rfind(path + ": ", 0), 0u) << tk.messages().back().text;
    }
    // A folder: said once, and nothing read from it.
    const std::string folder = file("folder", {}) + ".d";
    std::filesystem::create_directory(folder);
    const size_t shown = tk.messages().size();
    tk.file_answers.emplace_back(folder, 0);
    menu(MenuId::ImportFont);
    ASSERT_EQ(tk.messages().size(), shown + 1);
    EXPECT_EQ(tk.messages().back().text, folder + ": is a folder");
    EXPECT_EQ(app.s.charset->bytes, before);
    EXPECT_EQ(app.s.map->cells, cells);
    EXPECT_EQ(app.s.history.undo_count(), steps);
}

} // namespace
} // namespace fontarel
