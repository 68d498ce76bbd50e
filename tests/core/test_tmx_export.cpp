// The level as a Tiled map from Level > Export and from the converter: the map and its tileset
// picture written together, and a failure at either file said by its name with both left as
// they were.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "cli/command_line_run.h"
#include "formats/export_tmx.h"
#include "render/tileset_picture.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A stand-in PNG file: every pixel's colour value, low byte first.
Bytes pixel_file(const Raster& raster) {
    return {raster.bytes(), raster.bytes() + raster.byte_size()};
}

// The in-memory toolkit with the stand-in encoder, so that the editor's export can succeed.
struct EncodingToolkit : HeadlessToolkit {
    Bytes encode_png(const Raster& raster) override { return pixel_file(raster); }
};

struct TmxExport : ::testing::Test {
    void SetUp() override {
        fs::create_directories(dir);
        ASSERT_TRUE(open_program(app));
        for (int i = 0; i < kCharsetBytes; ++i)
            app.store().bytes[i] = static_cast<uint8_t>(i * 37 + 11);
        p.map.look = ScreenLook{MapMachine::C64, TextMode::Multicolour, 6, 9, 13, 4, 5, 14};
        p.charset = app.store();
        p.tiles = TileSet(2, 2, 19);
        for (int t = 0; t < 19; ++t)
            for (int c = 0; c < 4; ++c)
                p.tiles.set_cell(t, c % 2, c / 2,
                                 {static_cast<uint8_t>(t * 4 + c), static_cast<uint8_t>(t % 16)});
        p.level = Level(5, 4);
        for (int x = 0; x < 5; ++x)
            p.level.set(x, x % 4, static_cast<uint16_t>(x * 4 % 19));
        app.s.map->look = p.map.look;
        app.s.levels.replace_tiles(p.tiles);
        app.s.levels.replace_level(p.level);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    Bytes read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Both files as they should be, the picture in glyph colours c0 and c1.
    void expect_written(const std::string& stem, Colour c0, Colour c1) const {
        const std::string text = tmx_text(p.tiles, p.level, p.map.look, stem + ".tiles.png");
        EXPECT_EQ(read(stem + ".tmx"), Bytes(text.begin(), text.end()));
        EXPECT_EQ(read(stem + ".tiles.png"),
                  pixel_file(render_tileset_picture(p.tiles, p.map, p.charset, c0, c1)));
    }

    fs::path dir = fs::temp_directory_path() / ("fontarel_tmx_" + std::to_string(getpid()));
    Project p;
    EncodingToolkit tk;
    App app{tk};
};

TEST_F(TmxExport, MenuWritesTheMapAndItsPictureOrLeavesBothAsTheyWere) {
    fs::create_directory(path("taken.tmx"));
    std::ofstream(path("taken.tiles.png")).flush(); // an empty file, kept as it is
    for (const char* answer : {"stage", "taken.tmx"}) {
        tk.file_answers.emplace_back(path(answer), 0);
        tk.inject_menu(id(MenuId::ExportLevelTmx));
        dispatch_event(app, tk.wait_event());
    }
    EXPECT_EQ(tk.file_requests().at(0).patterns, "Tiled map (*.tmx)|*.tmx");
    expect_written("stage", app.s.color_bit0, app.s.color_bit1);
    ASSERT_EQ(tk.messages().size(), 1u);
    EXPECT_EQ(tk.messages()[0].text, "File Error:" + path("taken.tmx"));
    EXPECT_TRUE(fs::exists(path("taken.tiles.png")) && read("taken.tiles.png").empty());
    EXPECT_EQ(tk.image(kExportImage), nullptr);
}

TEST_F(TmxExport, ConverterWritesBothFilesOrOneLineNamingTheFileAndNeither) {
    p.colour0 = 0x102030;
    p.colour1 = 0xA0B0C0;
    std::ofstream(path("game.fontarel")) << project_text(p);
    fs::create_directory(path("taken.tmx"));
    const struct {
        const char* output;
        PngEncoder encode;
        int status;
        const char* says; // after "fontarel: " and the folder
    } runs[] = {
        {"stage.tmx", pixel_file, kExitOk, nullptr},
        {"no/a.tmx", pixel_file, kExitFileError, "no/a.tiles.png cannot be written"},
        {"taken.tmx", pixel_file, kExitFileError, "taken.tmx cannot be written"},
        {"b.tmx", nullptr, kExitFileError, "b.tiles.png: no PNG encoder"},
    };
    for (const auto& r : runs) {
        std::ostringstream out, err;
        const CommandLine line =
            parse_command_line({"--export-level", "tmx", path("game.fontarel"), path(r.output)});
        EXPECT_EQ(run_command_line(line, r.encode, out, err), r.status) << r.output;
        EXPECT_EQ(err.str(), r.says ? "fontarel: " + path(r.says) + "\n" : "");
    }
    expect_written("stage", p.colour0, p.colour1);
    EXPECT_FALSE(fs::exists(path("taken.tiles.png")) || fs::exists(path("b.tmx")));
    EXPECT_EQ(parse_command_line({"--export-tiles", "tmx", "a", "b"}).action, CommandAction::Fail);
}

} // namespace
} // namespace fontarel
