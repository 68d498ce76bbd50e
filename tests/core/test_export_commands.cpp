// File > Export in the running program on the in-memory toolkit, and the command-line exports:
// where the items are, what the requester offers, which glyphs are written, and that a failure
// writes nothing and leaves an existing file as it was.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../helpers/ctm_writer.h"
#include "app/commands/level_export_commands.h"
#include "app/commands/project_commands.h"
#include "cli/command_line_run.h"
#include "formats/export_formats.h"
#include "formats/export_level.h"
#include "formats/export_sheet.h"
#include "formats/project.h"
#include "model/map_block.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class Exports : public ProgramTest {
  protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("fontarel_exports_" + std::to_string(rd()));
        fs::create_directories(dir_);
        ProgramTest::SetUp();
        for (int i = 0; i < kCharsetBytes; ++i)
            app.store().bytes[i] = static_cast<uint8_t>(i * 37 + i / 256 + 11);
        app.s.file_directory = folder();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string folder() const { return dir_.string() + "/"; }
    std::string path(const std::string& name) const { return folder() + name; }
    Bytes read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void write(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    void run(MenuId item, const std::string& answer) {
        tk.file_answers.emplace_back(answer, 0);
        menu(item);
    }
    // The converter run with a stand-in PNG encoder: its exit status, and what it said on stderr.
    static auto converter(PngEncoder encode) {
        return [encode](const std::vector<std::string>& args, std::string& err) {
            std::ostringstream o, e;
            const int status = run_command_line(parse_command_line(args), encode, o, e);
            err = e.str();
            return status;
        };
    }
    // The range bars at a and b with the range check box ticked.
    void tick_range(int a, int b) {
        tk.set_control_state(kBeginRangeBar, a);
        tk.set_control_state(kEndRangeBar, b);
        tk.set_control_state(kRangeCheckBox, 1);
    }

    fs::path dir_;
};

TEST_F(Exports, EachItemWritesItsFormatUnderItsExtension) {
    const struct {
        MenuId item;
        ExportFormat format;
        bool map;
        const char* answer; // typed into the requester
        const char* file;   // written
        const char* patterns;
    } items[] = {
        {MenuId::ExportByte, ExportFormat::Byte, false, "font", "font.s", "*.s"},
        {MenuId::ExportAcme, ExportFormat::Acme, false, "FONT.A", "FONT.A", "*.a"},
        {MenuId::ExportDefb, ExportFormat::Defb, false, "font.s", "font.s.asm", "*.asm"},
        {MenuId::ExportC, ExportFormat::C, false, "int", "int.c", "*.c"},
        {MenuId::ExportBasic, ExportFormat::Basic, false, "font.bas", "font.bas", "*.bas"},
        {MenuId::ExportPsf, ExportFormat::Psf, false, "console", "console.psf", "*.psf"},
        {MenuId::ExportBdf, ExportFormat::Bdf, false, "x11", "x11.bdf", "*.bdf"},
        {MenuId::ExportPrg, ExportFormat::Prg, false, "c64", "c64.prg", "*.prg"},
        {MenuId::ExportMapAssembler, ExportFormat::Byte, true, "screen", "screen.s", "*.s"},
        {MenuId::ExportMapC, ExportFormat::C, true, "screen", "screen.c", "*.c"},
        {MenuId::ExportB800, ExportFormat::B800, true, "screen", "screen.bin", "*.bin"},
    };
    fill_map_cells(*app.s.map, 7);
    app.s.map->at(3, 2) = 200;
    for (const auto& item : items) {
        app.s.file_directory = "/elsewhere/";
        if (item.format == ExportFormat::Prg)
            tk.text_answers.push_back("$c000"); // the load address, as people write it
        run(item.item, path(item.answer));
        ASSERT_FALSE(tk.file_requests().empty()) << "no file requester opened";
        const HeadlessToolkit::FileRequest& request = tk.file_requests().back();
        EXPECT_TRUE(request.save);
        EXPECT_EQ(request.title, "Please choose file to save");
        EXPECT_EQ(request.start, "/elsewhere/");
        EXPECT_NE(request.patterns.find(std::string("|") + item.patterns), std::string::npos);
        EXPECT_EQ(app.s.file_directory, folder());
        const std::string label = export_label(item.file, item.map ? "map" : "font");
        const Bytes want = item.map
                               ? export_map(item.format, *app.s.map, label)
                               : export_glyphs(item.format, app.store(), {0, 256}, label, 0xC000);
        EXPECT_FALSE(want.empty());
        EXPECT_EQ(read(item.file), want) << item.file;
    }
    EXPECT_TRUE(tk.messages().empty());
    // An address that is none asks for no file, says so and asks again with what was typed; a
    // cancel then ends it.
    const size_t requests = tk.file_requests().size();
    tk.text_answers.push_back("c0000");
    menu(MenuId::ExportPrg);
    EXPECT_EQ(tk.file_requests().size(), requests);
    ASSERT_EQ(tk.messages().size(), 1u);
    EXPECT_EQ(tk.messages()[0].text, "'c0000' is no load address: 1 to 4 hexadecimal digits");
    ASSERT_GE(tk.text_requests.size(), 2u);
    EXPECT_EQ(tk.text_requests.back(), "PRG with load address|Load address (hexadecimal):|c0000");
}

TEST_F(Exports, SpectrumScreenOfA32x24MapOnlyWithTheCharsetsGlyphs) {
    menu(MenuId::ExportScr); // 40 x 24: refused before a file is asked for
    EXPECT_TRUE(tk.file_requests().empty());
    ASSERT_EQ(tk.messages().size(), 1u);
    EXPECT_EQ(tk.messages()[0].caption + ":" + tk.messages()[0].text,
              "Export:Spectrum screen needs a 32x24 map, not 40x24");
    menu(MenuId::MapZx);
    app.s.map->at(1, 0) = 65;
    run(MenuId::ExportScr, path("title"));
    const Bytes scr = read("title.scr");
    ASSERT_EQ(scr.size(), 6912u);
    EXPECT_EQ(scr[1 + 256 * 3], app.store().glyph(65)[3]) << "pixel row 3 of cell (1, 0)";
}

TEST_F(Exports, TickedRangeChoosesTheGlyphsElseAllOfThem) {
    const struct {
        int a, b;
        bool ticked;
        int first, count;
    } cases[] = {{40, 32, true, 32, 9},
                 {0, 0, true, 0, 1},
                 {255, 255, true, 255, 1},
                 {0, 255, true, 0, 256},
                 {10, 20, false, 0, 256}};
    for (const auto& c : cases) {
        tick_range(c.a, c.b);
        tk.set_control_state(kRangeCheckBox, c.ticked ? 1 : 0);
        app.s.current_char = 77; // the current glyph plays no part
        run(MenuId::ExportBasic, path("range.bas"));
        const Bytes file = read("range.bas");
        EXPECT_EQ(file, export_glyphs(ExportFormat::Basic, app.store(), {c.first, c.count}, ""))
            << c.a << ".." << c.b << (c.ticked ? " ticked" : "");
    }
}

TEST_F(Exports, FailuresShowFileErrorAndLeaveTheOldFile) {
    const Bytes old = {'o', 'l', 'd'};
    write("kept.s", old);
    write("kept.png", old);
    tk.disk_space = 100; // far less than the export
    run(MenuId::ExportByte, path("kept.s"));
    tk.disk_space = -1;
    run(MenuId::ExportMapC, path("no/such/folder/map"));
    // The in-memory toolkit has no PNG encoder: the picture export fails as a write would.
    run(MenuId::ExportPng, path("kept"));
    run(MenuId::ExportMapPicture, path("kept"));
    run(MenuId::ExportPsf, ""); // cancelled: nothing, not even a message
    const std::vector<std::pair<std::string, std::string>> want = {
        {"Save file", "File Error:" + path("kept.s")},
        {"Save file", "File Error:" + path("no/such/folder/map.c")},
        {"Save file", "File Error:" + path("kept.png")},
        {"Save file", "File Error:" + path("kept.png")},
    };
    ASSERT_EQ(tk.messages().size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(tk.messages()[i].caption, want[i].first);
        EXPECT_EQ(tk.messages()[i].text, want[i].second);
    }
    EXPECT_EQ(read("kept.s"), old);
    EXPECT_EQ(read("kept.png"), old);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"kept.png", "kept.s"})) << "no temporary left";
    EXPECT_EQ(tk.image(kExportImage), nullptr) << "the picture lives only within the export";
}

// A stand-in PNG encoder for the command line: the colour values of the raster, row by row, so a
// test can see the picture it was given.
Bytes pixels_as_bytes(const Raster& raster) {
    Bytes out;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x)
            out.push_back(raster.pixel(x, y) == 0xFFFFFF ? 1 : raster.pixel(x, y) == 0 ? 0 : 2);
    return out;
}

TEST_F(Exports, CommandLineWritesTheExportOrOneLineAndNothing) {
    Bytes font(768);
    for (size_t i = 0; i < font.size(); ++i)
        font[i] = static_cast<uint8_t>(i * 5 + 1);
    write("zx.fnt", font);
    write("screen.map", Bytes(32 * 24, 65));
    write("big.map", Bytes(40 * 24 + 1, 1));
    write("empty.fnt", {});
    const std::string broken = R"({"format": "fontarel-project"})";
    write("broken.fontarel", Bytes(broken.begin(), broken.end()));
    write("kept.s", {'o', 'l', 'd'});
    CharsetStore loaded; // the 768 bytes at glyph 0, the rest blank
    std::copy(font.begin(), font.end(), loaded.bytes.begin());
    CharMap screen;
    screen.cols = 32;
    screen.rows = 24;
    fill_map_cells(screen, 65);

    auto run_line = [&](std::vector<std::string> args, std::string& out, std::string& err) {
        std::ostringstream o, e;
        const int status = run_command_line(parse_command_line(args), pixels_as_bytes, o, e);
        out = o.str();
        err = e.str();
        return status;
    };
    std::string out, err;
    EXPECT_EQ(run_line({"--export", "c", "--first", "32", path("zx.fnt"), path("zx.c")}, out, err),
              0);
    EXPECT_EQ(read("zx.c"), export_glyphs(ExportFormat::C, loaded, {32, 224}, "zx"));
    // A project as INPUT gives its glyphs.
    Project project;
    project.charset.glyph(33)[2] = 0x5A;
    const std::string text = project_text(project);
    write("title.fontarel", Bytes(text.begin(), text.end()));
    EXPECT_EQ(run_line({"--export", "byte", path("title.fontarel"), path("title.s")}, out, err), 0)
        << err;
    EXPECT_EQ(read("title.s"),
              export_glyphs(ExportFormat::Byte, project.charset, {0, 256}, "title"));
    EXPECT_EQ(run_line({"--export-map", "defb", "--size", "32x24", path("screen.map"),
                        path("screen.asm")},
                       out, err),
              0);
    EXPECT_EQ(read("screen.asm"), export_map(ExportFormat::Defb, screen, "screen"));
    EXPECT_EQ(run_line({"--export", "png", "--first", "1", "--count", "2", path("zx.fnt"),
                        path("sheet.png")},
                       out, err),
              0);
    const std::vector<int32_t> sheet = glyph_sheet_pixels(loaded, {1, 2}, 0, 1);
    EXPECT_EQ(read("sheet.png"), Bytes(sheet.begin(), sheet.end())) << "black and white pixels";
    // The map as its screen, one glyph pixel a pixel: 'A' of the font named, white on black.
    EXPECT_EQ(run_line({"--export-map", "png", "--size", "32x24", "--charset", path("zx.fnt"),
                        path("screen.map"), path("screen.png")},
                       out, err),
              0)
        << err;
    const Bytes shown = read("screen.png");
    ASSERT_EQ(shown.size(), 256u * 192u);
    for (int y : {0, 7, 100})
        for (int x : {0, 5, 255})
            EXPECT_EQ(shown[static_cast<size_t>(y * 256 + x)],
                      loaded.glyph(65)[y % 8] >> (7 - x % 8) & 1)
                << x << ", " << y;
    EXPECT_TRUE(err.empty()) << err;

    EXPECT_EQ(run_line({"--version"}, out, err), 0);
    EXPECT_EQ(out, std::string(kWindowTitle) + "\n") << "the version is the title's";
    EXPECT_EQ(run_line({"--help"}, out, err), 0);
    EXPECT_EQ(out, usage_text());

    const struct {
        std::vector<std::string> args;
        int status;
        const char* output;
        const char* says; // a part of the one line on stderr
    } failures[] = {
        {{"--export", "html", path("zx.fnt"), path("a.s")}, kExitUsage, "a.s", "'html'"},
        {{"--export", "byte", path("missing.fnt"), path("b.s")},
         kExitFileError,
         "b.s",
         "missing.fnt"},
        {{"--export", "byte", path("empty.fnt"), path("c.s")}, kExitFileError, "c.s", "empty.fnt"},
        {{"--export", "byte", folder(), path("d.s")}, kExitFileError, "d.s", "is a folder"},
        {{"--export-map", "c", "--size", "40x24", path("screen.map"), path("e.c")},
         kExitFileError,
         "e.c",
         "screen.map is no 40x24 map: that is 960 bytes"},
        {{"--export-map", "c", "--size", "40x24", path("big.map"), path("f.c")},
         kExitFileError,
         "f.c",
         "big.map is no 40x24 map"},
        {{"--export", "byte", path("zx.fnt"), path("no/folder/g.s")}, kExitFileError, "g.s", "g.s"},
        {{"--export-map", "byte", path("screen.map"), path("h.s")},
         kExitUsage,
         "h.s",
         "--export-map needs --size WxH: one of 32x24, 40x24, 40x25, 80x50, 64x30, unless INPUT is "
         "a "
         "project"},
        {{"--export", "byte", path("zx.fnt"), folder()}, kExitFileError, "", "fontarel: "},
        {{"--export-map", "png", "--size", "32x24", path("screen.map"), path("j.png")},
         kExitUsage,
         "j.png",
         "--export-map png needs --charset FONT: the glyphs the screen shows, unless INPUT is a "
         "project"},
        {{"--export-map", "scr", "--size", "32x24", path("screen.map"), path("k.scr")},
         kExitUsage,
         "k.scr",
         "scr needs --charset FONT"},
        {{"--export-map", "byte", path("broken.fontarel"), path("i.s")},
         kExitFileError,
         "i.s",
         "broken.fontarel: \"version\" is missing"},
    };
    for (const auto& f : failures) {
        EXPECT_EQ(run_line(f.args, out, err), f.status) << f.args.back();
        EXPECT_EQ(err.rfind("fontarel: ", 0), 0u) << err;
        EXPECT_NE(err.find(f.says), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        if (*f.output != 0) {
            EXPECT_FALSE(fs::exists(path(f.output))) << f.output;
        }
    }
    // An export over its own input, by four spellings of the same file.
    fs::create_symlink(path("zx.fnt"), path("soft.fnt"));
    fs::create_hard_link(path("zx.fnt"), path("hard.fnt"));
    for (const std::string& output : {path("zx.fnt"), "./" + fs::relative(path("zx.fnt")).string(),
                                      path("soft.fnt"), path("hard.fnt")}) {
        EXPECT_EQ(run_line({"--export", "byte", path("zx.fnt"), output}, out, err), kExitFileError)
            << output;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(read("zx.fnt"), font) << output;
    }
    // Without an encoder the picture cannot be made; the file it would replace stays.
    std::ostringstream o, e;
    EXPECT_EQ(
        run_command_line(parse_command_line({"--export", "png", path("zx.fnt"), path("kept.s")}),
                         nullptr, o, e),
        kExitFileError);
    EXPECT_EQ(read("kept.s"), (Bytes{'o', 'l', 'd'}));
}

// Three tiles of 2 x 2 cells on a C64 map and a 5 x 4 level using them.
void make_level(AppState& s) {
    TileSet tiles(2, 2, 3);
    for (int t = 0; t < 3; ++t)
        tiles.set_cell(t, t % 2, t / 2,
                       {static_cast<uint8_t>(65 + t), static_cast<uint8_t>(t + 1)});
    s.levels.replace_tiles(tiles);
    Level level(5, 4);
    for (int x = 0; x < 5; ++x)
        level.set(x, x % 4, static_cast<uint16_t>(x % 3));
    s.levels.replace_level(level);
}

TEST_F(Exports, TileAndLevelCommandsWriteTheProjectsDataOrSayWhyNot) {
    menu(MenuId::MapC64);
    make_level(app.s);
    for (int g = 0; g < 256; ++g)
        app.store().materials[static_cast<size_t>(g)] = static_cast<uint8_t>(g % 16 ^ 5);
    for (int t = 0; t < 3; ++t)
        app.s.levels.set_tile_label(t, static_cast<uint8_t>(200 + t), "");
    const Project project = current_project(app);
    const struct {
        MenuId item;
        DataExport kind;
        ExportFormat format;
        const char* address; // typed for a PRG
        const char* offered; // the address the question offers
        const char* answer;
        const char* file;
        int load_address;
    } items[] = {
        {MenuId::ExportTilesByte, DataExport::Tiles, ExportFormat::Byte, "", "", "blocks",
         "blocks.s", 0},
        {MenuId::ExportTilesPrg, DataExport::Tiles, ExportFormat::Prg, "3800", "4000", "blocks",
         "blocks.prg", 0x3800},
        {MenuId::ExportLevelC, DataExport::Level, ExportFormat::C, "", "", "int", "int.c", 0},
        {MenuId::ExportLevelPrg, DataExport::Level, ExportFormat::Prg, "$7000", "6000", "stage",
         "stage.prg", 0x7000},
        {MenuId::ExportMaterialsAcme, DataExport::Materials, ExportFormat::Acme, "", "", "1st",
         "1st.a", 0},
        {MenuId::ExportMaterialsPrg, DataExport::Materials, ExportFormat::Prg, "7000", "7000",
         "kinds", "kinds.prg", 0x7000},
        {MenuId::ExportTileTagsDefb, DataExport::TileTags, ExportFormat::Defb, "", "", "2nd",
         "2nd.asm", 0},
        {MenuId::ExportTileTagsPrg, DataExport::TileTags, ExportFormat::Prg, "c000", "7100", "tags",
         "tags.prg", 0xC000},
    };
    for (const auto& item : items) {
        if (*item.address != 0)
            tk.text_answers.push_back(item.address);
        tk.file_answers.emplace_back(path(item.answer), 0);
        menu(item.item);
        if (*item.address != 0) {
            EXPECT_EQ(tk.text_requests.back(), std::string("PRG with load address|Load address "
                                                           "(hexadecimal):|") +
                                                   item.offered);
        }
        const std::string label = export_label(item.file, data_export_label_fallback(item.kind));
        const Bytes want =
            export_data_file(item.kind, item.format, project, label, item.load_address);
        EXPECT_FALSE(want.empty());
        EXPECT_EQ(read(item.file), want) << item.file;
    }
    // The label fallbacks begin a file name that is no label.
    for (const auto& [file, label] :
         {std::pair{"1st.a", "\nmaterials_1st:\n"}, {"2nd.asm", "\ntile_tags_2nd:\n"}}) {
        const Bytes bytes = read(file);
        EXPECT_NE(std::string(bytes.begin(), bytes.end()).find(label), std::string::npos) << file;
    }
    EXPECT_TRUE(tk.messages().empty());

    // What cannot be written is said before a file is asked for: a PRG past $ffff, a picture
    // too large. A format neither export takes does nothing.
    const size_t requests = tk.file_requests().size();
    app.s.levels.replace_level(Level(4096, 16)); // 65536 bytes; 262144 pixels wide
    tk.text_answers.push_back("6000");
    export_level(app, ExportFormat::Prg);
    export_level(app, ExportFormat::Png);
    export_tiles(app, ExportFormat::Basic);
    export_tiles(app, ExportFormat::Png); // the level's picture only
    export_level(app, ExportFormat::Psf);
    EXPECT_EQ(tk.file_requests().size(), requests);
    ASSERT_EQ(tk.messages().size(), 2u);
    EXPECT_EQ(tk.messages()[0].caption + ":" + tk.messages()[0].text,
              "Export:the level's 65536 bytes do not fit in a PRG loaded at $6000: it holds 40960 "
              "bytes at most");
    EXPECT_EQ(tk.messages()[1].caption + ":" + tk.messages()[1].text,
              "Export:a picture of the level would be 65536 x 256 pixels: at most 32768 on a side "
              "and 67108864 in all");
    // The in-memory toolkit has no PNG encoder: a picture that can be drawn fails as a write.
    make_level(app.s);
    tk.file_answers.emplace_back(path("stage"), 0);
    export_level(app, ExportFormat::Png);
    ASSERT_EQ(tk.messages().size(), 3u);
    EXPECT_EQ(tk.messages()[2].text, "File Error:" + path("stage.png"));
    EXPECT_EQ(tk.image(kExportImage), nullptr);
}

// The Level > Export rows that shape the data exports: each export row then writes what the
// same shape gives the converter, the shape applying where it means something (the part and the
// split to the level, the colours alone to the tiles). Map exports while a selection is shown
// ask whether to write the selection alone, and then write what --region writes.
TEST_F(Exports, ShapedExportsWriteWhatTheConvertersShapesWrite) {
    menu(MenuId::MapC64);
    TileSet tiles(2, 2, 300); // tile numbers past 255: the level's numbers are words
    for (int t = 0; t < 300; ++t)
        tiles.set_cell(t, t % 2, t / 2 % 2,
                       {static_cast<uint8_t>(65 + t % 5), static_cast<uint8_t>(t * 17)});
    app.s.levels.replace_tiles(tiles);
    Level level(5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            level.set(x, y, static_cast<uint16_t>((x * 7 + y * 61) % 300));
    app.s.levels.replace_level(level);
    const Project project = current_project(app);
    auto shape = [](bool decimal, bool split, bool colours, int x = 0, int y = 0, int w = 0,
                    int h = 0) {
        DataShape s;
        s.decimal = decimal, s.split_words = split, s.colours_only = colours;
        s.x = x, s.y = y, s.w = w, s.h = h;
        return s;
    };
    const struct {
        std::vector<MenuId> toggles; // check rows turned over before the export
        const char* part;            // typed into "Part of the level...", or null
        MenuId item;
        DataExport kind;
        ExportFormat format;
        DataShape written; // the shape the file must have
        const char* file;
    } rows[] = {
        {{MenuId::ExportDecimal},
         nullptr,
         MenuId::ExportLevelByte,
         DataExport::Level,
         ExportFormat::Byte,
         shape(true, false, false),
         "a.s"},
        {{MenuId::ExportDecimal, MenuId::ExportSplitWords},
         nullptr,
         MenuId::ExportLevelC,
         DataExport::Level,
         ExportFormat::C,
         shape(false, true, false),
         "b.c"},
        {{MenuId::ExportColoursOnly},
         nullptr,
         MenuId::ExportTilesBinary,
         DataExport::Tiles,
         ExportFormat::Bin,
         shape(false, false, true),
         "c.bin"},
        {{},
         "1,2,3,2",
         MenuId::ExportLevelBinary,
         DataExport::Level,
         ExportFormat::Bin,
         shape(false, true, false, 1, 2, 3, 2),
         "d.bin"},
        {{MenuId::ExportDecimal},
         nullptr,
         MenuId::ExportTilesAcme,
         DataExport::Tiles,
         ExportFormat::Acme,
         shape(true, false, true),
         "e.a"},
        {{MenuId::ExportSplitWords, MenuId::ExportColoursOnly},
         "all",
         MenuId::ExportLevelDefb,
         DataExport::Level,
         ExportFormat::Defb,
         shape(true, false, false),
         "f.asm"},
    };
    for (const auto& row : rows) {
        for (const MenuId toggle : row.toggles)
            menu(toggle);
        if (row.part != nullptr) {
            tk.text_answers.push_back(row.part);
            menu(MenuId::ExportLevelPart);
        }
        tk.file_answers.emplace_back(path(row.file), 0);
        menu(row.item);
        const std::string label = export_label(row.file, data_export_label_fallback(row.kind));
        const Bytes want = export_data_file(row.kind, row.format, project, label, 0, row.written);
        EXPECT_FALSE(want.empty()) << row.file;
        EXPECT_EQ(read(row.file), want) << row.file;
        const DataShape& now = app.export_shape;
        EXPECT_EQ(tk.item_checked(kMenuBar, id(MenuId::ExportDecimal)), now.decimal ? 1 : 0);
        EXPECT_EQ(tk.item_checked(kMenuBar, id(MenuId::ExportSplitWords)), now.split_words);
        EXPECT_EQ(tk.item_checked(kMenuBar, id(MenuId::ExportColoursOnly)), now.colours_only);
        EXPECT_EQ(tk.item_checked(kMenuBar, id(MenuId::ExportLevelPart)), now.part() ? 1 : 0);
    }
    EXPECT_EQ(tk.text_requests[0], "Part of the level|X,Y,W,H in tiles, or all:|all");
    EXPECT_EQ(tk.text_requests[1], "Part of the level|X,Y,W,H in tiles, or all:|1,2,3,2");
    EXPECT_TRUE(tk.messages().empty());

    // A part typed wrong, or not inside the level, is said and asked again as typed; a cancel
    // keeps the part as it was. A part the level no longer holds is refused when exported, and
    // so is a split of numbers that all fit a byte, which writes one table and says so.
    tk.text_answers = {"1,2,3", "3,3,3,1", "4,3,1,1", ""};
    menu(MenuId::ExportLevelPart);
    menu(MenuId::ExportLevelPart);
    ASSERT_EQ(tk.messages().size(), 2u);
    EXPECT_EQ(tk.messages()[0].text, "'1,2,3' is no part of the level: X,Y,W,H in tiles, or all");
    EXPECT_EQ(tk.messages()[1].text, "the region 3,3,3,1 is not inside the level of 5 x 4 tiles");
    EXPECT_EQ(tk.text_requests.back(), "Part of the level|X,Y,W,H in tiles, or all:|4,3,1,1");
    EXPECT_EQ(data_region_text(app.export_shape), "4,3,1,1");
    app.s.levels.replace_tiles(TileSet(2, 2, 3));
    app.s.levels.replace_level(Level(3, 3));
    const size_t asked = tk.file_requests().size();
    menu(MenuId::ExportLevelByte);
    menu(MenuId::ExportLevelPicture);
    EXPECT_EQ(tk.file_requests().size(), asked);
    ASSERT_EQ(tk.messages().size(), 4u);
    for (int m : {2, 3})
        EXPECT_EQ(tk.messages()[m].caption + ":" + tk.messages()[m].text,
                  "Export:the region 4,3,1,1 is not inside the level of 3 x 3 tiles");
    tk.text_answers.push_back("all");
    menu(MenuId::ExportLevelPart);
    menu(MenuId::ExportSplitWords);
    tk.file_answers.emplace_back(path("g.bin"), 0);
    menu(MenuId::ExportLevelBinary);
    EXPECT_EQ(read("g.bin"), Bytes(9, 0));
    EXPECT_EQ(tk.messages().back().text, "every number fits a byte: one table written");

    // A map export with a selection shown: Yes writes the selection alone, No the whole map.
    for (int i = 0; i < 40 * 24; ++i) {
        app.s.map->at(i % 40, i / 40) = i % 251;
        app.s.map->attr(i % 40, i / 40) = static_cast<uint8_t>(i % 13);
    }
    app.blocks.selection = {38, 22, 2, 2};
    tk.yes_no_answers = {true, false};
    run(MenuId::ExportMapC, path("part.c"));
    run(MenuId::ExportMapC, path("whole.c"));
    EXPECT_EQ(tk.questions[0], "Export|Export the selection (38,22)-(39,23) 2x2 alone? No exports "
                               "the whole map.");
    const CharMap part = map_part(*app.s.map, {38, 22, 2, 2});
    EXPECT_EQ(read("part.c"), export_map(ExportFormat::C, part, "part"));
    EXPECT_EQ(read("whole.c"), export_map(ExportFormat::C, *app.s.map, "whole"));
    EXPECT_EQ(part.cols * part.rows, 4);
    EXPECT_EQ(part.at(1, 1), (39 + 23 * 40) % 251);
    EXPECT_EQ(part.attr(1, 0), (39 + 22 * 40) % 13);
    // The converter's --region writes the same part of a project's map, and refuses one not
    // inside it.
    const std::string text = project_text(current_project(app));
    write("map.fontarel", Bytes(text.begin(), text.end()));
    const auto run_line = converter(pixels_as_bytes);
    std::string err;
    EXPECT_EQ(run_line({"--export-map", "c", "--region", "38,22,2,2", path("map.fontarel"),
                        path("region.c")},
                       err),
              0)
        << err;
    EXPECT_EQ(read("region.c"), export_map(ExportFormat::C, part, "region"));
    EXPECT_EQ(run_line({"--export-map", "c", path("map.fontarel"), "--region", "39,22,2,2",
                        path("none.bin")},
                       err),
              kExitUsage);
    EXPECT_EQ(err, "fontarel: " + path("map.fontarel") +
                       ": --region: the region 39,22,2,2 is not inside the map of 40 x 25 cells\n");
    EXPECT_FALSE(fs::exists(path("none.bin")));
}

TEST_F(Exports, CommandLineWritesTilesAndLevelsOfAProjectOrOneLine) {
    auto project = std::make_unique<Project>();
    make_level(app.s);
    project->tiles = app.s.levels.tiles();
    project->level = app.s.levels.level();
    for (int i = 0; i < kCharsetBytes; ++i)
        project->charset.bytes[i] = static_cast<uint8_t>(i * 5 + 1);
    for (int g = 0; g < 256; ++g)
        project->charset.materials[static_cast<size_t>(g)] = static_cast<uint8_t>(15 - g % 16);
    auto save = [&](const Project& p, const std::string& name) {
        const std::string text = project_text(p);
        write(name, Bytes(text.begin(), text.end()));
    };
    save(*project, "game.fontarel");
    auto too_wide = std::make_unique<Project>();
    too_wide->tiles = TileSet(8, 1);
    too_wide->level = Level(4096, 3); // 262144 pixels wide; 12288 bytes
    save(*too_wide, "wide.fontarel");
    const std::string broken = R"({"format": "fontarel-project"})";
    write("broken.fontarel", Bytes(broken.begin(), broken.end()));
    write("font.fnt", Bytes(2048, 0x55));

    const auto run_line = converter(pixels_as_bytes);
    std::string err;
    // Each data export: its label from OUTPUT, a PRG at the form's own address.
    const struct {
        const char* form;
        const char* format;
        const char* file;
        Bytes want;
    } written[] = {
        {"--export-tiles", "c", "blocks.c", export_tiles_file(ExportFormat::C, *project, "blocks")},
        {"--export-level", "prg", "stage.prg",
         export_level_file(ExportFormat::Prg, *project, "stage", 0x6000)},
        {"--export-materials", "prg", "kinds.prg",
         export_materials_file(ExportFormat::Prg, *project, "kinds", 0x7000)},
        {"--export-tile-tags", "prg", "tags.prg", {0x00, 0x71, 0, 0, 0}}, // three tiles
    };
    for (const auto& w : written) {
        EXPECT_EQ(run_line({w.form, w.format, path("game.fontarel"), path(w.file)}, err), 0) << err;
        EXPECT_EQ(read(w.file), w.want) << w.file;
    }
    // The picture: each level character's glyph, white on black; a level cell of tile 0 shows
    // code 0 but for the one cell of tile 0 that holds 'A'.
    EXPECT_EQ(run_line({"--export-level", "png", path("game.fontarel"), path("stage.png")}, err), 0)
        << err;
    const Bytes shown = read("stage.png");
    ASSERT_EQ(shown.size(), size_t{80} * 64);
    const int code = project->tiles.cell(project->level.at(0, 0), 0, 0).code; // 'A'
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(shown[static_cast<size_t>(x)], project->charset.glyph(code)[0] >> (7 - x) & 1);
    EXPECT_TRUE(err.empty()) << err;
    // A CTM project as INPUT, known by its content; what it loses is said, and it still exports.
    CtmDescription ctm;
    ctm.glyphs.assign(300, {1, 2, 3, 4, 5, 6, 7, 8});
    fill_ctm_lists(ctm);
    ctm.cells[0] = 299;
    const Bytes ctm_file = ctm_bytes(ctm);
    write("game.ctm", ctm_file);
    EXPECT_EQ(run_line({"--export-level", "bin", path("game.ctm"), path("stage.bin")}, err), 0);
    EXPECT_EQ(err, path("game.ctm") + ": Kept the first 256 of 300 characters: 1 tile cell of "
                                      "characters 256 and above shows character 0\n");
    EXPECT_EQ(read("stage.bin"), Bytes(16, 0)) << "one tile, a 4 x 4 level";

    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } failures[] = {
        {{"--export-level", "bin", path("missing.fontarel"), path("a.bin")},
         kExitFileError,
         "missing.fontarel does not exist"},
        {{"--export-tiles", "bin", path("font.fnt"), path("a.bin")},
         kExitFileError,
         "font.fnt is no project file"},
        {{"--export-level", "byte", path("broken.fontarel"), path("a.bin")},
         kExitFileError,
         "broken.fontarel: \"version\" is missing"},
        {{"--export-level", "png", path("wide.fontarel"), path("a.bin")},
         kExitUsage,
         "wide.fontarel: a picture of the level would be 262144 x 24 pixels"},
        {{"--export-level", "prg", "--load-address", "f000", path("wide.fontarel"), path("a.bin")},
         kExitUsage,
         "the level's 12288 bytes do not fit in a PRG loaded at $F000"},
        {{"--export-materials", "prg", "--load-address", "ff01", path("game.fontarel"),
          path("a.bin")},
         kExitUsage,
         "the materials' 256 bytes do not fit in a PRG loaded at $FF01: it holds 255 bytes"},
        {{"--export-tiles", "bin", path("game.fontarel"), path("game.fontarel")},
         kExitFileError,
         "is an input file"},
        {{"--export-tiles", "byte", path("game.fontarel"), path("no/folder/a.bin")},
         kExitFileError,
         "cannot be written"},
    };
    for (const auto& f : failures) {
        EXPECT_EQ(run_line(f.args, err), f.status) << f.says;
        EXPECT_EQ(err.rfind("fontarel: ", 0), 0u) << err;
        EXPECT_NE(err.find(f.says), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_FALSE(fs::exists(path("a.bin")));
    EXPECT_NE(read("game.fontarel"), Bytes());
}

// A stand-in PNG encoder that names the four colours a picture of a project may hold: its glyph
// colours blue (B) and red (R), black (K) and white (W) of a picture that ignored them.
Bytes colour_letters(const Raster& raster) {
    Bytes out;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x) {
            const int p = raster.pixel(x, y);
            out.push_back(p == 0x0000FF ? 'B' : p == 0xFF0000 ? 'R' : p == 0 ? 'K' : 'W');
        }
    return out;
}

// A project brings its glyphs and glyph colours to every picture export, with or without
// --charset, whose glyphs win; a project padded past 64 MB is read whole, and one past the limit
// of every project reader is refused by its size alone.
TEST_F(Exports, ProjectsBringGlyphsAndColoursToEveryPictureAndAreReadToOneLimit) {
    auto project = std::make_unique<Project>();
    project->colour0 = 0x0000FF;
    project->colour1 = 0xFF0000;
    project->charset.glyph(65)[0] = 0xF0;
    project->map.cols = 32;
    project->map.rows = 24;
    fill_map_cells(project->map, 65);
    std::string text = project_text(*project);
    text.append((size_t{65} << 20) - text.size() + 1, ' '); // trailing white space is JSON too
    write("big.fontarel", Bytes(text.begin(), text.end()));
    write("font.fnt", Bytes(2048, 0x55));
    text.resize(200);
    write("huge.fontarel", Bytes(text.begin(), text.end()));
    fs::resize_file(path("huge.fontarel"), kLargestProject + 1); // sparse: nothing to read
    write("limit.fontarel", Bytes(text.begin(), text.end()));
    fs::resize_file(path("limit.fontarel"), kLargestProject); // at the limit: read, not refused

    const auto run_line = converter(colour_letters);
    std::string err;
    ASSERT_EQ(run_line({"--export", "png", path("big.fontarel"), path("sheet.png")}, err), 0)
        << err;
    const std::vector<int32_t> sheet =
        glyph_sheet_pixels(project->charset, {0, 256}, 0x0000FF, 0xFF0000);
    Bytes want;
    for (const int32_t p : sheet)
        want.push_back(p == 0x0000FF ? 'B' : 'R');
    EXPECT_EQ(read("sheet.png"), want);
    const struct {
        std::vector<std::string> charset;
        const char* row; // the first 8 pixels of the screen
    } screens[] = {{{}, "RRRRBBBB"}, {{"--charset", path("font.fnt")}, "BRBRBRBR"}};
    for (const auto& s : screens) {
        std::vector<std::string> args = {"--export-map", "png"};
        args.insert(args.end(), s.charset.begin(), s.charset.end());
        args.insert(args.end(), {path("big.fontarel"), path("screen.png")});
        ASSERT_EQ(run_line(args, err), 0) << err;
        const Bytes shown = read("screen.png");
        ASSERT_EQ(shown.size(), 256u * 192u);
        EXPECT_EQ(std::string(shown.begin(), shown.begin() + 8), s.row);
        EXPECT_EQ(std::count(shown.begin(), shown.end(), 'K') +
                      std::count(shown.begin(), shown.end(), 'W'),
                  0);
    }
    for (const char* form : {"--export", "--export-map", "--export-level"}) {
        EXPECT_EQ(run_line({form, "byte", path("huge.fontarel"), path("huge.s")}, err),
                  kExitFileError);
        EXPECT_EQ(err, "fontarel: " + path("huge.fontarel") +
                           " is larger than 128 MB: too large for a project\n");
    }
    EXPECT_FALSE(fs::exists(path("huge.s")));
    EXPECT_EQ(run_line({"--export", "byte", path("limit.fontarel"), path("limit.s")}, err),
              kExitFileError);
    EXPECT_EQ(err.find("larger than"), std::string::npos) << err;
}

} // namespace
} // namespace fontarel
