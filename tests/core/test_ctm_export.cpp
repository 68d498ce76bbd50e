// The converter's picture of a CTM project's level: for every project the editor saved (in
// ../shared/data/ctm), --export-level png draws exactly what a slow drawing made here from the
// file's own bytes shows: each level cell's tile, each tile cell's character, each glyph bit in
// the colour the file gives that cell; and --export-materials bin writes the materials it holds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/command_line_run.h"
#include "formats/ctm.h"
#include "model/charset_compact.h"
#include "model/map_colours.h"
#include "render/level_screen.h"
#include "toolkit/raster.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kRealFiles = fs::path(FONTAREL_SOURCE_DIR) / ".." / "shared" / "data" / "ctm";

// A stand-in PNG encoder: the colour value of every pixel, 3 bytes each, row by row.
Bytes colour_bytes(const Raster& raster) {
    Bytes out;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x) {
            const int c = raster.pixel(x, y);
            out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
        }
    return out;
}

// What a level picture needs from a file, taken straight from its bytes in the order the file
// has them. Only the versions and modes of the editor's files here (5 to 8.2, text modes).
struct Drawn {
    bool multicolour = false;
    int background = 0, multicolour_1 = 0, multicolour_2 = 0;
    Bytes glyphs;
    int tile_width = 1, tile_height = 1, cols = 0, rows = 0;
    std::vector<int> cell_codes, cell_colours; // a tile's cells, tile by tile, row by row
    std::vector<int> level;
};

Drawn take_apart(const Bytes& b) {
    size_t at = 0;
    const auto byte = [&] { return int{b.at(at++)}; };
    const auto word = [&] { return byte() | byte() << 8; };
    const auto block = [&] { at += 2; }; // the $DA $Bn marker
    Drawn d;
    const int version = b.at(3);
    int method = 0, colour = 0, characters = 0, tiles = 0;
    bool tile_system = true;
    std::vector<int> char_colour, tile_colour;
    at = 4;
    if (version == 5) {
        d.background = byte(), d.multicolour_1 = byte(), d.multicolour_2 = byte();
        colour = byte(), method = byte();
        const int flags = byte();
        tile_system = flags & 1;
        d.multicolour = flags & 4;
        characters = word() + 1, tiles = word() + 1;
        d.tile_width = byte(), d.tile_height = byte(), d.cols = word(), d.rows = word();
        d.glyphs.assign(b.begin() + long(at), b.begin() + long(at) + 8 * characters);
        at += size_t(8 * characters);
        for (int c = 0; c < characters; ++c)
            char_colour.push_back(byte() & 15);
        if (tile_system) {
            for (int i = 0; i < tiles * d.tile_width * d.tile_height; ++i)
                d.cell_codes.push_back(word());
            for (int t = 0; t < tiles && method == 1; ++t)
                tile_colour.push_back(byte() & 15);
        }
    } else {
        bool prerelease = false;
        if (version == 6) {
            d.background = byte(), d.multicolour_1 = byte(), d.multicolour_2 = byte();
            colour = byte(), method = byte();
            const int flags = byte();
            d.multicolour = flags & 1, tile_system = flags & 2;
        } else if (version == 7) {
            d.background = byte(), d.multicolour_1 = byte(), d.multicolour_2 = byte();
            byte(); // background 4
            colour = byte(), method = byte();
            d.multicolour = byte() == 1;
            tile_system = byte() & 1;
        } else { // 8 and 82: the prerelease layout's first block is one byte on
            prerelease = b.at(15) == 0xDA;
            d.multicolour = byte() == 1;
            method = byte();
            tile_system = byte() & 1;
            d.background = byte(), d.multicolour_1 = byte(), d.multicolour_2 = byte();
            byte(); // background 4
            colour = byte();
            byte(), byte();
            if (prerelease)
                colour = byte();
        }
        const int k = prerelease ? 4 : 1; // colour bytes a character or tile from 8 on
        block();
        characters = word() + 1;
        d.glyphs.assign(b.begin() + long(at), b.begin() + long(at) + 8 * characters);
        at += size_t(8 * characters);
        block();
        for (int c = 0; c < characters; ++c)
            char_colour.push_back(byte() & 15); // versions 6 and 7 only: 8 has materials here
        if (version >= 8 && method == 2) {
            block();
            char_colour.clear();
            for (int c = 0; c < characters; ++c) {
                at += size_t(k - 1);
                char_colour.push_back(byte() & 15);
            }
        }
        if (tile_system) {
            block();
            tiles = word() + 1;
            d.tile_width = byte(), d.tile_height = byte();
            for (int i = 0; i < tiles * d.tile_width * d.tile_height; ++i)
                d.cell_codes.push_back(word());
            if (method == 1) {
                block();
                for (int t = 0; t < tiles; ++t) {
                    at += size_t(version >= 8 ? k - 1 : 0);
                    tile_colour.push_back(byte() & 15);
                }
            }
            block();
            at += size_t(tiles); // tags
            block();
            for (int t = 0; t < tiles; ++t) // names
                while (byte() != 0) {
                }
        }
        block();
        d.cols = word(), d.rows = word();
    }
    if (!tile_system) // a tile of each character
        for (int c = 0; c < characters; ++c)
            d.cell_codes.push_back(c);
    const int cells = d.tile_width * d.tile_height;
    for (size_t i = 0; i < d.cell_codes.size(); ++i)
        d.cell_colours.push_back(method == 0   ? colour & 15
                                 : method == 1 ? tile_colour.at(i / size_t(cells))
                                               : char_colour.at(size_t(d.cell_codes[i])));
    for (int i = 0; i < d.cols * d.rows; ++i)
        d.level.push_back(word());
    EXPECT_EQ(at, b.size()) << "the whole file taken apart";
    return d;
}

// Pixel by pixel: the level cell's tile, its cell's character and colour, the glyph's bit (or bit
// pair of a multicolour cell) in the C64's colours.
Bytes draw(const Drawn& d) {
    const auto palette = machine_palette(MapMachine::C64).colours;
    const int width = 8 * d.tile_width * d.cols, height = 8 * d.tile_height * d.rows;
    Raster picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int tile =
                d.level.at(size_t(y / (8 * d.tile_height) * d.cols + x / (8 * d.tile_width)));
            const int cx = x / 8 % d.tile_width, cy = y / 8 % d.tile_height;
            const size_t cell = size_t((tile * d.tile_height + cy) * d.tile_width + cx);
            const int code = d.cell_codes.at(cell), colour = d.cell_colours.at(cell);
            const int row = d.glyphs.at(size_t(8 * code + y % 8));
            int shown;
            if (d.multicolour && colour >= 8) {
                const int pair = row >> (6 - (x % 8 / 2) * 2) & 3;
                shown = pair == 0   ? palette[size_t(d.background)]
                        : pair == 1 ? palette[size_t(d.multicolour_1)]
                        : pair == 2 ? palette[size_t(d.multicolour_2)]
                                    : palette[size_t(colour - 8)];
            } else {
                shown = row >> (7 - x % 8) & 1 ? palette[size_t(colour)]
                                               : palette[size_t(d.background)];
            }
            picture.set_pixel(x, y, shown);
        }
    return colour_bytes(picture);
}

TEST(CtmExport, LevelPictureAndMaterialsOfEveryRealFileAreTheFilesOwn) {
    if (!fs::is_directory(kRealFiles))
        GTEST_SKIP() << "no folder " << kRealFiles.string() << " of CTM projects to draw";
    std::random_device rd;
    const fs::path out = fs::temp_directory_path() / ("fontarel_ctm_" + std::to_string(rd()));
    int drawn = 0;
    for (const auto& entry : fs::directory_iterator(kRealFiles)) {
        if (entry.path().extension() != ".ctm")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes file{std::istreambuf_iterator<char>(in), {}};
        std::ostringstream o, e;
        ASSERT_EQ(run_command_line(parse_command_line({"--export-level", "png",
                                                       entry.path().string(), out.string()}),
                                   colour_bytes, o, e),
                  0)
            << e.str();
        EXPECT_EQ(e.str(), "");
        std::ifstream written(out, std::ios::binary);
        const Bytes picture{std::istreambuf_iterator<char>(written), {}};
        EXPECT_TRUE(picture == draw(take_apart(file))) << "the picture differs";
        ++drawn;

        // Compacting, expanding and compacting again leave the level's picture as it was.
        Project p;
        std::vector<std::string> remarks;
        ASSERT_EQ(read_ctm(file, p, remarks), "");
        const auto level_picture = [&] {
            Raster r(static_cast<int>(level_screen_width(p.tiles, p.level)),
                     static_cast<int>(level_screen_height(p.tiles, p.level)));
            render_level_screen(r, p.tiles, p.level, p.map, p.charset, 0, 0xFFFFFF);
            return std::vector<uint32_t>(r.row(0), r.row(0) + r.width() * r.height());
        };
        const std::vector<uint32_t> level = level_picture();
        compact_charset(p.charset, p.map, &p.tiles, 1, 0);
        EXPECT_TRUE(level_picture() == level) << "compacted";
        ASSERT_EQ(expand_tiles(p.charset, p.map, p.tiles), "");
        EXPECT_TRUE(level_picture() == level) << "expanded";
        compact_charset(p.charset, p.map, &p.tiles, 1, 0);
        EXPECT_TRUE(level_picture() == level) << "compacted again";
        // The materials as the reader gives them: glyphs 1-3 have 4, 8 and 12 in every file here.
        Bytes materials(256, 0);
        materials[1] = 4, materials[2] = 8, materials[3] = 12;
        ASSERT_EQ(run_command_line(parse_command_line({"--export-materials", "bin",
                                                       entry.path().string(), out.string()}),
                                   colour_bytes, o, e),
                  0);
        std::ifstream bin(out, std::ios::binary);
        EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(bin), {}), materials);
    }
    std::error_code ec;
    fs::remove(out, ec);
    EXPECT_EQ(drawn, 30);
}

} // namespace
} // namespace fontarel
