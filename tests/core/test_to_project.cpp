// --to-project: every kind of file Open... reads by its content, written as a project that a
// program opens to the very data Open... gave it for the file itself; what the reading lost said
// on stderr as Open... says it in its message box; an unreadable file refused with the reader's
// words and no file left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../helpers/ctm_writer.h"
#include "app/commands/project_commands.h"
#include "cli/command_line.h"
#include "cli/command_line_run.h"
#include "formats/export_bdf.h"
#include "formats/export_psf.h"
#include "model/charset_compact.h"
#include "program_fixture.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kRealFiles = fs::path(FONTAREL_SOURCE_DIR) / ".." / "shared" / "data" / "ctm";

// The map's size and look, then the code and attribute of every cell in use.
std::vector<int> in_use(const CharMap& m) {
    uint8_t look[kScreenLookBytes + kAtariLookBytes];
    put_screen_look(m.look, look, look + kScreenLookBytes);
    std::vector<int> out{m.cols, m.rows};
    out.insert(out.end(), look, look + kScreenLookBytes + kAtariLookBytes);
    for (int r = 0; r < m.rows; ++r)
        for (int c = 0; c < m.cols; ++c)
            out.insert(out.end(), {m.at(c, r), m.attr(c, r)});
    return out;
}

class ToProject : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fontarel_to_project_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path(name);
    }
    std::string write(const std::string& name, const std::string& text) const {
        return write(name, Bytes(text.begin(), text.end()));
    }

    // What a program just started has after Open... (the font entry) of `file`, and the texts of
    // the message boxes it showed.
    struct Opened {
        Project project;
        std::vector<std::string> said;
    };
    Opened open(const std::string& file) const {
        HeadlessToolkit tk({}, dir_.string() + "/");
        App app{tk};
        EXPECT_TRUE(open_program(app));
        tk.file_answers.push_back({file, 0});
        tk.inject_menu(id(MenuId::Open));
        dispatch_event(app, tk.wait_event());
        Opened out{current_project(app), {}};
        for (const auto& m : tk.messages())
            out.said.push_back(m.text);
        return out;
    }

    // The converter's exit status; its stderr in `err`.
    int convert(const std::string& input, const std::string& output, std::string& err) const {
        std::ostringstream out, errors;
        const int status = run_command_line(parse_command_line({"--to-project", input, output}),
                                            nullptr, out, errors);
        err = errors.str();
        EXPECT_EQ(out.str(), "");
        return status;
    }

    // Converts `input`, opens the project written, and checks it against Open... of `input`; the
    // lines on stderr, each "fontarel: INPUT: remark", are the remarks of Open...'s message box.
    void round_trip(const std::string& input) const {
        SCOPED_TRACE(input);
        const std::string output = input + ".fontarel";
        std::string err;
        ASSERT_EQ(convert(input, output, err), kExitOk) << err;
        const Opened direct = open(input);
        const Opened again = open(output);
        EXPECT_TRUE(again.said.empty()) << again.said[0];
        const Project &a = direct.project, &b = again.project;
        EXPECT_EQ(a.charset.bytes, b.charset.bytes);
        EXPECT_EQ(in_use(a.map), in_use(b.map));
        EXPECT_EQ(std::tie(a.colour0, a.colour1, a.kept), std::tie(b.colour0, b.colour1, b.kept));
        EXPECT_TRUE(a.tiles == b.tiles);
        EXPECT_TRUE(a.level == b.level);
        // Open... says what it lost in one box, "INPUT: remark" and one remark a line after.
        std::string lines;
        if (!direct.said.empty()) {
            std::istringstream said(direct.said.back());
            for (std::string line; std::getline(said, line);)
                lines += "fontarel: " + (line.rfind(input + ": ", 0) == 0 ? "" : input + ": ") +
                         line + "\n";
        }
        EXPECT_EQ(err, lines);
    }

    fs::path dir_;
};

Bytes ctm_file(int tiles, int width, int height, int chars) {
    CtmDescription d;
    d.tiles = tiles;
    d.glyphs.resize(size_t(chars));
    for (size_t g = 0; g < d.glyphs.size(); ++g)
        for (size_t r = 0; r < 8; ++r)
            d.glyphs[g][r] = uint8_t(g * 7 + r * 13);
    d.level_width = width;
    d.level_height = height;
    d.background = 11;
    d.multicolour = true;
    d.multicolour_1 = 9, d.multicolour_2 = 12;
    d.colour_method = 1;
    fill_ctm_lists(d);
    return ctm_bytes(d);
}

TEST_F(ToProject, EveryKindOpenReadsComesBackAsOpenGivesIt) {
    std::mt19937 random(7);
    Bytes raw(2048), koala(10003);
    for (auto& b : raw)
        b = uint8_t(random());
    for (auto& b : koala)
        b = uint8_t(random());
    koala[0] = 0x00, koala[1] = 0x60;
    CharsetStore glyphs;
    for (size_t i = 0; i < glyphs.bytes.size(); ++i)
        glyphs.bytes[i] = uint8_t(i * 31);
    Project project;
    project.charset = glyphs;
    project.map.cols = 80, project.map.rows = 50;
    project.map.at(79, 49) = 200;
    project.colour1 = 0x12AB34;
    project.tiles = TileSet(2, 3, 5);
    project.level = Level(70, 40, 3);
    const std::string bdf = "STARTFONT 2.1\nFONT t\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\n"
                            "CHARS 2\nSTARTCHAR a\nENCODING 65\nSWIDTH 500 0\nDWIDTH 8 0\n"
                            "BBX 8 8 0 0\nBITMAP\nFF\n81\n81\n81\n81\n81\n81\nFF\nENDCHAR\n"
                            "STARTCHAR b\nENCODING 300\nSWIDTH 500 0\nDWIDTH 8 0\nBBX 8 8 0 0\n"
                            "BITMAP\n18\n18\n18\n18\n18\n18\n18\n18\nENDCHAR\nENDFONT\n";
    for (const std::string& input :
         {write("font.fnt", raw), write("short.fnt", Bytes(raw.begin(), raw.begin() + 100)),
          write("long.bin", Bytes(5000, 0x5A)), write("picture.koa", koala),
          write("font.psf", glyphs_as_psf2(glyphs, {0, 256})), write("font.bdf", bdf),
          write("all.bdf", glyphs_as_bdf(glyphs, {0, 256}, "all")), // past the first 10 kB
          write("work.fontarel", project_text(project)),
          write("small.ctm", ctm_file(12, 20, 9, 300)),
          write("large.ctm", ctm_file(1000, 300, 260, 256))})
        round_trip(input);
    // The CTM project's own registers and sizes, read straight from the file written.
    std::ifstream in(path("small.ctm.fontarel"), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    Project written;
    ASSERT_EQ(read_project({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, written),
              "");
    const CharMap& m = written.map;
    EXPECT_EQ(std::tuple(m.look.machine, m.look.background, m.look.multicolour(),
                         m.look.multicolour_1, m.look.multicolour_2),
              std::tuple(MapMachine::C64, uint8_t{11}, true, uint8_t{9}, uint8_t{12}));
    EXPECT_EQ(written.level.cols() * 100 + written.level.rows(), 2009);
    EXPECT_EQ(written.tiles.count(), 12);
}

TEST_F(ToProject, RealCtmProjectsComeBackAsOpenGivesThem) {
    if (!fs::is_directory(kRealFiles))
        GTEST_SKIP() << "no folder " << kRealFiles.string() << " of CTM projects to read";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kRealFiles))
        if (entry.path().extension() == ".ctm") {
            const std::string copy = path(entry.path().filename().string());
            fs::copy_file(entry.path(), copy); // beside its output, in the test's own folder
            round_trip(copy);
            ++files;
            // --compact: what Open... gives, compacted, and a line that says so.
            std::ostringstream out, err;
            ASSERT_EQ(run_command_line(
                          parse_command_line({"--to-project", copy, copy + ".small", "--compact"}),
                          nullptr, out, err),
                      kExitOk);
            Project want = open(copy).project;
            const CompactCounts n = compact_charset(want.charset, want.map, &want.tiles, 1, 0);
            EXPECT_NE(err.str().find(": " + compact_report(n) + "\n"), std::string::npos)
                << err.str();
            const Project got = open(copy + ".small").project;
            EXPECT_EQ(got.charset.bytes, want.charset.bytes);
            EXPECT_EQ(in_use(got.map), in_use(want.map));
            EXPECT_TRUE(got.tiles == want.tiles);
        }
    EXPECT_GT(files, 0);
}

TEST_F(ToProject, AnUnreadableInputIsRefusedInTheReadersWordsAndNothingIsWritten) {
    const std::string kept = write("kept.fontarel", std::string("old"));
    Bytes cut = ctm_file(4, 8, 8, 16);
    cut.resize(40);
    fs::create_directories(path("folder"));
    const struct {
        std::string input;
        const char* says;
    } inputs[] = {
        {path("missing.fnt"), "does not exist"},
        {path("folder"), "is a folder"},
        {write("empty.fnt", Bytes{}), "is empty"},
        {write("old.ctm", std::string("CTM\x03 and more")), "version 3"},
        {write("cut.ctm", cut), "short of"},
        {write("bad.fontarel", std::string(R"({"format": "fontarel-project", "version": 9})")),
         "version"},
        {write("bad.psf", Bytes{0x36, 0x04, 0x00, 0x08}), "runs past the end"},
    };
    for (const auto& in : inputs) {
        SCOPED_TRACE(in.input);
        for (const std::string& output : {path("new.fontarel"), kept}) {
            std::string err;
            EXPECT_EQ(convert(in.input, output, err), kExitFileError);
            EXPECT_EQ(err.rfind("fontarel: " + in.input, 0), 0u) << err;
            EXPECT_NE(err.find(in.says), std::string::npos) << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        }
        EXPECT_FALSE(fs::exists(path("new.fontarel")));
        std::ifstream old(kept);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "old");
    }
    // The output that is the input, by another name, is left as it is.
    const std::string font = write("same.fnt", Bytes(2048, 1));
    std::string err;
    EXPECT_EQ(convert(font, dir_.string() + "/./same.fnt", err), kExitFileError);
    EXPECT_NE(err.find("is an input file"), std::string::npos) << err;
    EXPECT_EQ(fs::file_size(font), 2048u);
    // A folder where the output goes is no file to write.
    EXPECT_EQ(convert(font, path("folder"), err), kExitFileError);
    EXPECT_NE(err.find("cannot be written"), std::string::npos) << err;
    EXPECT_TRUE(fs::is_empty(path("folder")));
}

} // namespace
} // namespace fontarel
