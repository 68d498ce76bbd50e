// The level as a Tiled map, from Level > Export and from the converter: the map text and the
// tileset picture written together under the names the map gives, and a failure at either file
// said by its name with both files left as they were.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "cli/command_line_run.h"
#include "formats/export_tmx.h"
#include "formats/project.h"
#include "render/tileset_picture.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A stand-in PNG file: the picture's size, then every pixel's three colour bytes.
Bytes pixel_file(const Raster& raster) {
    Bytes out = {static_cast<uint8_t>(raster.width()), static_cast<uint8_t>(raster.height())};
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x)
            for (int shift : {16, 8, 0})
                out.push_back(static_cast<uint8_t>(raster.pixel(x, y) >> shift));
    return out;
}

// The in-memory toolkit with the stand-in encoder, so that the editor's export can succeed.
class EncodingToolkit : public HeadlessToolkit {
  public:
    using HeadlessToolkit::HeadlessToolkit;

  protected:
    Bytes encode_png(const Raster& raster) override { return pixel_file(raster); }
};

class TmxExport : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("fontarel_tmx_" + std::to_string(rd()));
        fs::create_directories(dir_);
        ASSERT_TRUE(open_program(app));
        app.s.file_directory = dir_.string() + "/";
        for (int i = 0; i < kCharsetBytes; ++i)
            app.store().bytes[i] = static_cast<uint8_t>(i * 37 + i / 256 + 11);
        app.s.map->look = ScreenLook{MapMachine::C64, TextMode::Multicolour, 6, 9, 13, 4, 5, 14};
        TileSet tiles(2, 2, 19);
        for (int t = 0; t < tiles.count(); ++t)
            for (int c = 0; c < 4; ++c)
                tiles.set_cell(t, c % 2, c / 2,
                               {static_cast<uint8_t>(t * 4 + c), static_cast<uint8_t>(t % 16)});
        app.s.levels.replace_tiles(tiles);
        Level level(5, 4);
        for (int x = 0; x < 5; ++x)
            level.set(x, x % 4, static_cast<uint16_t>(x * 4 % 19));
        app.s.levels.replace_level(level);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    Bytes read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void write(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    void export_to(const std::string& answer) {
        tk.file_answers.emplace_back(path(answer), 0);
        tk.inject_menu(id(MenuId::ExportLevelTmx));
        dispatch_event(app, tk.wait_event());
    }
    Bytes want_map(const std::string& picture) const {
        const std::string text =
            tmx_text(app.s.levels.tiles(), app.s.levels.level(), app.s.map->look, picture);
        return {text.begin(), text.end()};
    }

    fs::path dir_;
    EncodingToolkit tk{{}, "/tmp/fontarel-work"};
    App app{tk};
};

TEST_F(TmxExport, MenuWritesTheMapAndItsTilesetPictureOrNeither) {
    export_to("stage");
    ASSERT_FALSE(tk.file_requests().empty());
    EXPECT_EQ(tk.file_requests().back().patterns, "Tiled map (*.tmx)|*.tmx");
    EXPECT_TRUE(tk.messages().empty());
    EXPECT_EQ(read("stage.tmx"), want_map("stage.tiles.png"));
    EXPECT_EQ(read("stage.tiles.png"),
              pixel_file(render_tileset_picture(app.s.levels.tiles(), *app.s.map, app.store(),
                                                app.s.color_bit0, app.s.color_bit1)));
    EXPECT_EQ(tk.image(kExportImage), nullptr);

    // The map's name taken by a folder: the picture written first is put back as it was.
    fs::create_directory(path("taken.tmx"));
    write("taken.tiles.png", {1, 2, 3});
    export_to("taken.tmx");
    ASSERT_EQ(tk.messages().size(), 1u);
    EXPECT_EQ(tk.messages()[0].caption + ":" + tk.messages()[0].text,
              "Save file:File Error:" + path("taken.tmx"));
    EXPECT_EQ(read("taken.tiles.png"), Bytes({1, 2, 3}));
    // The picture cannot be drawn: neither file is made.
    tk.failing_images.insert(kExportImage);
    export_to("undrawn");
    ASSERT_EQ(tk.messages().size(), 2u);
    EXPECT_EQ(tk.messages()[1].text, "File Error:" + path("undrawn.tiles.png"));
    EXPECT_FALSE(fs::exists(path("undrawn.tmx")) || fs::exists(path("undrawn.tiles.png")));
}

TEST_F(TmxExport, ConverterWritesBothFilesOrOneLineNamingTheFileAndNeither) {
    Project project;
    project.charset = app.store();
    project.map = *app.s.map;
    project.colour0 = 0x102030;
    project.colour1 = 0xA0B0C0;
    project.tiles = app.s.levels.tiles();
    project.level = app.s.levels.level();
    const std::string text = project_text(project);
    write("game.fontarel", Bytes(text.begin(), text.end()));
    auto run = [&](std::vector<std::string> args, PngEncoder encode, std::string& err) {
        std::ostringstream o, e;
        args.insert(args.begin(), {"--export-level", "tmx", path("game.fontarel")});
        const int status = run_command_line(parse_command_line(args), encode, o, e);
        err = e.str();
        return status;
    };
    std::string err;
    ASSERT_EQ(run({path("stage.tmx")}, pixel_file, err), kExitOk) << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(read("stage.tmx"), want_map("stage.tiles.png"));
    EXPECT_EQ(read("stage.tiles.png"),
              pixel_file(render_tileset_picture(project.tiles, project.map, project.charset,
                                                project.colour0, project.colour1)));

    fs::create_directory(path("taken.tmx"));
    const struct {
        const char* output;
        PngEncoder encode;
        const char* says; // after "fontarel: " and the folder
    } failures[] = {
        {"no/folder/a.tmx", pixel_file, "no/folder/a.tiles.png cannot be written"},
        {"taken.tmx", pixel_file, "taken.tmx cannot be written"},
        {"b.tmx", nullptr, "b.tiles.png: no PNG encoder"},
    };
    for (const auto& f : failures) {
        EXPECT_EQ(run({path(f.output)}, f.encode, err), kExitFileError) << f.says;
        EXPECT_EQ(err, "fontarel: " + path(f.says) + "\n");
    }
    EXPECT_FALSE(fs::exists(path("taken.tiles.png")) || fs::exists(path("b.tmx")));
    EXPECT_EQ(run({path("game.fontarel")}, pixel_file, err), kExitFileError);
    EXPECT_NE(err.find("is an input file"), std::string::npos) << err;
    const CommandLine tiles = parse_command_line({"--export-tiles", "tmx", "a", "b"});
    EXPECT_EQ(tiles.action, CommandAction::Fail);
}

} // namespace
} // namespace fontarel
