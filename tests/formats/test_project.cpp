// The project file: any state written and read back is the same state, the text is laid out for
// version control, unknown keys survive a save, and each malformed file is refused with one line
// that names its key, leaving the project read into as it was.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <zlib.h>

#include "formats/project.h"
#include "model/map_colours.h"

namespace fontarel {
namespace {

std::span<const uint8_t> bytes_of(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Slow, plain base64 both ways, to check the program's packed strings against.
const std::string kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
std::string base64_of(const std::vector<uint8_t>& bytes) {
    std::string s;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t v = bytes[i] << 16 | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                           (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        for (size_t k = 0; k < 4; ++k)
            s += k <= bytes.size() - i ? kBase64[v >> (18 - 6 * k) & 63] : '=';
    }
    return s;
}
std::vector<uint8_t> bytes_of_base64(const std::string& text) {
    std::vector<uint8_t> out;
    uint32_t v = 0, bits = 0;
    for (char ch : text) {
        if (ch == '=')
            break;
        v = v << 6 | static_cast<uint32_t>(kBase64.find(ch));
        if ((bits += 6) >= 8)
            out.push_back(static_cast<uint8_t>(v >> (bits -= 8)));
    }
    return out;
}
std::string packed(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> z(compressBound(bytes.size()));
    uLongf size = z.size();
    compress(z.data(), &size, bytes.data(), bytes.size());
    z.resize(size);
    return base64_of(z);
}
// As packed, but in stored blocks placed so that the last data byte ends one of the reader's
// 48 kB pieces and the stream's end comes in the next: the reader holds every byte before it
// has seen the end.
std::string ending_at_a_piece(const std::vector<uint8_t>& data) {
    constexpr size_t kPiece = 3 * 16384, kMostStored = 65535;
    const size_t blocks = (data.size() + kMostStored - 1) / kMostStored;
    size_t empty = 0;
    while ((2 + 5 * (empty + blocks) + data.size()) % kPiece != 0)
        ++empty;
    std::vector<uint8_t> z{0x78, 0x01};
    const auto stored = [&z](bool last, const uint8_t* bytes, size_t n) {
        z.insert(z.end(),
                 {static_cast<uint8_t>(last), static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                  static_cast<uint8_t>(~n), static_cast<uint8_t>(~n >> 8)});
        z.insert(z.end(), bytes, bytes + n);
    };
    for (size_t i = 0; i < empty; ++i)
        stored(false, nullptr, 0);
    for (size_t at = 0; at < data.size(); at += kMostStored)
        stored(false, data.data() + at, std::min(kMostStored, data.size() - at));
    stored(true, nullptr, 0);
    const uLong sum = adler32(adler32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size()));
    for (int shift = 24; shift >= 0; shift -= 8)
        z.push_back(static_cast<uint8_t>(sum >> shift));
    return base64_of(z);
}

std::vector<uint8_t> unpacked(const std::string& text, size_t size) {
    const std::vector<uint8_t> z = bytes_of_base64(text);
    std::vector<uint8_t> out(size + 1);
    uLongf got = out.size();
    const bool ok = uncompress(out.data(), &got, z.data(), z.size()) == Z_OK;
    out.resize(ok ? got : 0);
    return out;
}

// The string at a JSON pointer, or "" when there is none.
template <class Json> std::string string_at(const Json& j, const std::string& pointer) {
    const typename Json::json_pointer at(pointer);
    return j.contains(at) && j[at].is_string() ? j[at].template get<std::string>() : "";
}

bool same(const Project& a, const Project& b) {
    if (a.charset.bytes != b.charset.bytes || a.charset.materials != b.charset.materials ||
        a.colour0 != b.colour0 || a.colour1 != b.colour1 || a.map.cols != b.map.cols ||
        a.map.rows != b.map.rows || a.map.look.machine != b.map.look.machine ||
        a.map.look.background != b.map.look.background || a.kept != b.kept ||
        !(a.tiles == b.tiles) || !(a.level == b.level))
        return false;
    ScreenLook c64 = a.map.look; // the C64's modes and registers, every one of them
    c64.atari_mode = b.map.look.atari_mode;
    c64.colbk = b.map.look.colbk;
    c64.colpf = b.map.look.colpf;
    if (a.map.look.machine == MapMachine::C64 && c64 != b.map.look)
        return false;
    if (a.map.look.machine == MapMachine::Atari &&
        (a.map.look.atari_mode != b.map.look.atari_mode || a.map.look.colbk != b.map.look.colbk ||
         a.map.look.colpf != b.map.look.colpf))
        return false;
    for (int r = 0; r < a.map.rows; ++r)
        for (int c = 0; c < a.map.cols; ++c)
            if (a.map.at(c, r) != b.map.at(c, r) || a.map.attr(c, r) != b.map.attr(c, r))
                return false;
    return true;
}

TEST(Project, RandomStatesReadBackTheSame) {
    std::mt19937 random(28);
    std::string accents; // a long string the parser reads itself: not plain ASCII
    for (int i = 0; i < 2100; ++i)
        accents += "\xC3\xA9";
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        Project p;
        for (auto& b : p.charset.bytes)
            b = static_cast<uint8_t>(random());
        if (round % 3 == 1) // materials on a third of the rounds; the others write none
            for (auto& m : p.charset.materials)
                m = static_cast<uint8_t>(random() % 16);
        const MapSize size = kMapSizes[random() % std::size(kMapSizes)];
        p.map.cols = size.cols;
        p.map.rows = size.rows;
        p.map.look.machine = static_cast<MapMachine>(random() % kMapMachineCount);
        const int backgrounds = background_choices(p.map.look.machine);
        p.map.look.background = static_cast<uint8_t>(backgrounds ? random() % backgrounds : 0);
        p.map.look.mode = static_cast<TextMode>(random() % kTextModeCount);
        p.map.look.multicolour_1 = static_cast<uint8_t>(random() % 16);
        p.map.look.multicolour_2 = static_cast<uint8_t>(random() % 16);
        for (int n = 1; n <= 3; ++n)
            p.map.look.background_register(n) = static_cast<uint8_t>(random() % 16);
        p.map.look.atari_mode = static_cast<uint8_t>(2 + random() % 2 * (2 + random() % 2));
        p.map.look.colbk = static_cast<uint8_t>(random() & 0xFE);
        for (uint8_t& reg : p.map.look.colpf)
            reg = static_cast<uint8_t>(random() & 0xFE);
        for (int r = 0; r < size.rows; ++r)
            for (int c = 0; c < size.cols; ++c) {
                p.map.at(c, r) = static_cast<int32_t>(random() % 256);
                p.map.attr(c, r) = static_cast<uint8_t>(random());
            }
        p.colour0 = static_cast<Colour>(random() & 0xFFFFFF);
        p.colour1 = static_cast<Colour>(random() & 0xFFFFFF);
        if (round % 2) {
            // Keys the program does not know, at the top and in every object it reads.
            p.kept = R"({"sprites":[1,2],"note":"by hand","multicolour":{"mode":"hires"},)"
                     R"("colours":{"name":"amber"},"map":{"note":"x"},"tiles":{"from":"t.png"},)"
                     R"("level":{"name":"one","scroll":[0,0],"long":[")" +
                     std::string(5000, 'a') + R"(","\")" + std::string(5000, 'b') + R"(",")" +
                     accents + R"("]}})";
            // Every other such round, tiles and a level of more than 65,536 cells (packed).
            const bool large = round % 4 == 3;
            p.tiles = large ? TileSet(8, 8, 1025 + random() % 3000)
                            : TileSet(1 + random() % 8, 1 + random() % 8, 1 + random() % 300);
            for (int t = 0; t < p.tiles.count(); ++t)
                p.tiles.set_cell(t, random() % p.tiles.width(), random() % p.tiles.height(),
                                 {static_cast<uint8_t>(random()), static_cast<uint8_t>(random())});
            // Tags and names on some tiles of some rounds, so that both lists are written alone,
            // together and not at all.
            const char* const names[] = {"", "water", "\"a\" \\ b",
                                         "Gr\xC3\xBCn \xE2\x86\x92 solid",
                                         "0123456789abcdef0123456789ABCDEF"};
            for (int t = 0; t < p.tiles.count() && round % 3 != 0; t += 1 + random() % 40) {
                Tile tile = p.tiles.tile(t);
                tile.tag = round % 3 == 1 ? static_cast<uint8_t>(random()) : 0;
                tile.name = names[random() % std::size(names)];
                p.tiles.set_piece(t, std::make_shared<const Tile>(tile));
            }
            p.level = large ? Level(300 + random() % 400, 300 + random() % 400)
                            : Level(1 + random() % 70, 1 + random() % 40);
            for (int k = 0; k < (large ? 5000 : 50); ++k)
                p.level.set(random() % p.level.cols(), random() % p.level.rows(),
                            static_cast<uint16_t>(random() % p.tiles.count()));
        }
        if (round % 8 == 1) { // tiles drawn, the level as it started, no keys kept
            p.level = Level{};
            p.kept.clear();
        }
        const std::string text = project_text(p);
        ASSERT_TRUE(is_project(bytes_of(text)));
        std::string streamed;
        write_project_text(p, [&](std::string_view piece) { streamed += piece; });
        EXPECT_EQ(streamed, text);
        Project back;
        ASSERT_EQ(read_project(bytes_of(text), back), "");
        EXPECT_TRUE(same(back, p));
        EXPECT_EQ(project_text(back), text);
    }
}

// A level or a tile set of more than 65,536 cells is packed, a smaller one stays hex; what is
// packed is the little-endian tile numbers, or the cells' codes and attributes tile by tile.
TEST(Project, LargeLevelsAndTileSetsArePacked) {
    const struct {
        int cols, rows, tile_side, tiles;
        bool level_packed, tiles_packed;
    } cases[] = {
        {256, 256, 4, 4096, false, false}, // 65,536 cells each
        {257, 256, 8, 1025, true, true},
        {4096, 17, 1, 9, true, false},
        {1100, 59, 4, 100, false, false}, // rows of 4,400 hex digits
    };
    std::mt19937 random(5);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cols);
        Project p;
        p.tiles = TileSet(c.tile_side, c.tile_side, c.tiles);
        for (int k = 0; k < 3000; ++k)
            p.tiles.set_cell(random() % c.tiles, random() % c.tile_side, random() % c.tile_side,
                             {static_cast<uint8_t>(random()), static_cast<uint8_t>(random())});
        p.level = Level(c.cols, c.rows);
        for (int k = 0; k < 3000; ++k)
            p.level.set(random() % c.cols, random() % c.rows,
                        static_cast<uint16_t>(random() % c.tiles));
        const std::string text = project_text(p);
        const auto j = nlohmann::json::parse(text);
        EXPECT_EQ(j["level"].value("encoding", "hex"), c.level_packed ? "zlib-base64" : "hex");
        EXPECT_EQ(j["tiles"].value("encoding", "hex"), c.tiles_packed ? "zlib-base64" : "hex");
        if (c.level_packed) {
            std::vector<uint8_t> numbers;
            for (int y = 0; y < c.rows; ++y)
                for (int x = 0; x < c.cols; ++x)
                    numbers.insert(numbers.end(), {static_cast<uint8_t>(p.level.at(x, y)),
                                                   static_cast<uint8_t>(p.level.at(x, y) >> 8)});
            EXPECT_TRUE(unpacked(string_at(j, "/level/tiles"), numbers.size()) == numbers);
        }
        if (c.tiles_packed) {
            std::vector<uint8_t> codes, attrs;
            for (int t = 0; t < c.tiles; ++t)
                for (int y = 0; y < c.tile_side; ++y)
                    for (int x = 0; x < c.tile_side; ++x) {
                        codes.push_back(p.tiles.cell(t, x, y).code);
                        attrs.push_back(p.tiles.cell(t, x, y).attr);
                    }
            EXPECT_EQ(j["tiles"]["count"], c.tiles);
            EXPECT_TRUE(unpacked(string_at(j, "/tiles/codes"), codes.size()) == codes);
            EXPECT_TRUE(unpacked(string_at(j, "/tiles/attributes"), attrs.size()) == attrs);
        }
        Project back;
        ASSERT_EQ(read_project(bytes_of(text), back), "");
        EXPECT_TRUE(back.level == p.level && back.tiles == p.tiles);
    }
}

// A key the program does not know, put by hand into each object it reads, is still in that
// object after the next save.
TEST(Project, UnknownKeysSurviveASaveInEveryObject) {
    Project p;
    p.map.look.machine = MapMachine::C64;
    p.level = Level(300, 300); // packed
    const std::string text = project_text(p);
    for (const char* object : {"multicolour", "ecm", "colours", "map", "tiles", "level"}) {
        SCOPED_TRACE(object);
        auto j = nlohmann::ordered_json::parse(text);
        j[object]["note"] = {{"by", "hand"}};
        const std::string edited = j.dump(2);
        Project read;
        ASSERT_EQ(read_project(bytes_of(edited), read), "");
        const auto saved = nlohmann::ordered_json::parse(project_text(read));
        EXPECT_EQ(string_at(saved, "/" + std::string(object) + "/note/by"), "hand");
        EXPECT_FALSE(saved.contains("note"));
    }
}

TEST(Project, TextHasAGlyphOrARowALine) {
    Project p;
    p.charset.glyph(65)[0] = 0x18;
    const std::string text = project_text(p);
    EXPECT_NE(text.find("\n    \"1800000000000000\",\n"), std::string::npos);
    EXPECT_EQ(text.find("\"format\": \"fontarel-project\""), 4u) << text.substr(0, 40);
    EXPECT_NE(text.find("\"bit1\": \"#ffffff\""), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
}

TEST(Project, MalformedFilesNameWhatIsWrongAndChangeNothing) {
    Project good;
    good.map.look.machine = MapMachine::C64;
    good.map.look.background = 6;
    good.tiles = TileSet(2, 2, 2);
    Tile labelled = good.tiles.tile(1);
    labelled.tag = 201;
    labelled.name = "rock";
    good.tiles.set_piece(1, std::make_shared<const Tile>(labelled));
    const std::string text = project_text(good);
    // The good text with `from` replaced by `to`.
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    // An "atari" object before the "ecm" one.
    const auto atari = [](int mode, int colbk, const std::string& colpf) {
        return "\"atari\": {\"mode\": " + std::to_string(mode) + ", \"colbk\": " +
               std::to_string(colbk) + ", \"colpf\": [" + colpf + "]}, \"ecm\": {";
    };
    const struct {
        std::string file;
        const char* says;
    } cases[] = {
        {"", "is not valid JSON: "},
        {"[1, 2]", "is not a JSON object"},
        {with("\"fontarel-project\"", "\"other\""), "\"format\" is not \"fontarel-project\""},
        {with("\"version\": 1", "\"version\": 2"),
         "\"version\" is 2: the project was written by a newer fontarel"},
        {with("\"version\": 1", "\"version\": \"1\""), "\"version\" is not a version number"},
        {with("\"machine\": \"C64\"", "\"machine\": \"VIC\""), "\"machine\" is \"VIC\", not Mono"},
        {with("\"machine\": \"C64\"", "\"machine\": 64"), "\"machine\" is not a string"},
        {with("\"background\": 6", "\"background\": 16"), "\"background\" is 16, not 0-15"},
        {with("\"on\": false", "\"on\": 0"), "\"multicolour.on\" is not true or false"},
        {with("\"colour_2\": 2", "\"colour_2\": 16"), "\"multicolour.colour_2\" is 16, not 0-15"},
        {with("\"#000000\"", "\"black\""), "\"colours.bit0\" is not a colour \"#rrggbb\""},
        {with("\"ecm\": {", atari(3, 0, "40, 202, 148, 70")), "\"atari.mode\" is 3, not 2, 4 or 5"},
        {with("\"ecm\": {", atari(4, 41, "40, 202, 148, 70")),
         "\"atari.colbk\" is 41, not an even colour value 0-254"},
        {with("\"ecm\": {", atari(5, 0, "40, 202, 256, 70")),
         "\"atari.colpf[2]\" is 256, not 0-255"},
        {with("\"ecm\": {", atari(2, 0, "40, 202, 148")), "\"atari.colpf\" is not a list of 4"},
        {with("\"glyphs\": [", "\"materials\": \"0F\", \"glyphs\": ["),
         "\"materials\" is not 256 hexadecimal digits, one a glyph"},
        {with("\"glyphs\": [", "\"glyphs\": [\"00\","), "\"glyphs\" is not a list of 256"},
        {with("\"0000000000000000\"", "\"000000000000000g\""),
         "\"glyphs[0]\" is not 16 hexadecimal digits"},
        {with("\"rows\": 24", "\"rows\": 26"),
         "\"map.columns\" and \"map.rows\" are 40x26, not a map size"},
        {with("\"columns\": 40", "\"columns\": -1"), "\"map.columns\" is -1, not 1-80"},
        {with("\"columns\": 40,", ""), "\"map.columns\" is missing"},
        {with("\"attributes\": [\n      \"", "\"attributes\": [\n      7, \""),
         "\"map.attributes\" is not a list of 24"},
        {with("201", "256"), "\"tiles.tags[1]\" is not a tag 0-255"},
        {with("\"tags\": [", "\"tags\": [1, "), "\"tiles.tags\" is not a list of 2"},
        {with("\"rock\"", "\"ro\\u0007ck\""), "\"tiles.names[1]\" is not a name of at most 32"},
        {with("\"rock\"", "\"" + std::string(33, 'r') + "\""),
         "\"tiles.names[1]\" is not a name of at most 32"},
        {with("\"rock\"", "7"), "\"tiles.names[1]\" is not a string"},
        {text.substr(0, text.size() / 2), "is not valid JSON: "},
        // A long string is read in place only when the parser would take it as it stands.
        {with("\"format\"", "\"note\": \"" + std::string(5000, 'a') + "\t\", \"format\""),
         "is not valid JSON: "},
    };
    for (const auto& c : cases) {
        Project read = good;
        read.charset.bytes.fill(0x5A);
        const std::string said = read_project(bytes_of(c.file), read);
        EXPECT_EQ(said.rfind(c.says, 0), 0u) << said;
        EXPECT_EQ(read.charset.glyph(0)[0], 0x5A) << c.says;
    }
    EXPECT_FALSE(is_project(bytes_of("{\"format\": \"other\"}")));
    EXPECT_FALSE(is_project(bytes_of("fontarel-project")));
}

TEST(Project, BadPackedStringsAreRefusedByName) {
    Project good;
    good.tiles = TileSet(8, 8, 1100);
    good.level = Level(300, 300);
    const auto text = nlohmann::ordered_json::parse(project_text(good));
    ASSERT_EQ(text["level"]["encoding"], "zlib-base64");
    ASSERT_EQ(text["tiles"]["encoding"], "zlib-base64");
    // The good text with the value at `pointer` replaced (or removed when null).
    const auto with = [&](const char* pointer, const nlohmann::ordered_json& value) {
        auto j = text;
        const nlohmann::ordered_json::json_pointer at(pointer);
        if (value.is_null())
            j[at.parent_pointer()].erase(at.back());
        else
            j[at] = value;
        return j.dump(2);
    };
    std::vector<uint8_t> numbers(2 * 300 * 300);
    numbers[2 * 301] = 0x4C, numbers[2 * 301 + 1] = 0x04; // tile 1100 at (1, 1)
    const std::string level = packed(std::vector<uint8_t>(2 * 300 * 300));
    std::vector<uint8_t> after_zlib = bytes_of_base64(level);
    after_zlib.push_back(0);
    const struct {
        std::string file;
        const char* says;
    } cases[] = {
        {with("/level/tiles", "@" + level.substr(1)), "\"level.tiles\" is not base64"},
        {with("/level/tiles", level.substr(0, 5)), "\"level.tiles\" is not base64"},
        {with("/level/tiles", base64_of({1, 2, 3, 4, 5, 6})), "\"level.tiles\" is not zlib data"},
        {with("/level/tiles", level.substr(0, level.size() / 8 * 4)),
         "\"level.tiles\" is not zlib data: it ends early"},
        {with("/level/tiles", base64_of(after_zlib)),
         "\"level.tiles\" has text after its zlib data"},
        {with("/level/tiles", packed(std::vector<uint8_t>(2 * 300 * 299))),
         "\"level.tiles\" unpacks to 179400 bytes, not 180000"},
        {with("/level/tiles", packed(std::vector<uint8_t>(2 * 300 * 300 + 2))),
         "\"level.tiles\" unpacks to more than 180000 bytes"},
        {with("/level/tiles", packed(numbers)),
         "\"level.tiles\" has tile 1100 in row 1, past the 1100 tiles"},
        {with("/level/encoding", "gzip"), "\"level.encoding\" is \"gzip\", not \"zlib-base64\""},
        {with("/level/encoding", nullptr), "\"level.tiles\" is not a list of 300"},
        {with("/tiles/codes", "AAA"), "\"tiles.codes\" is not base64"},
        {with("/tiles/attributes", packed(std::vector<uint8_t>(64 * 1099))),
         "\"tiles.attributes\" unpacks to 70336 bytes, not 70400"},
        {with("/tiles/count", nullptr), "\"tiles.count\" is missing"},
    };
    for (const auto& c : cases) {
        Project read = good;
        read.charset.bytes.fill(0x5A);
        const std::string said = read_project(bytes_of(c.file), read);
        EXPECT_EQ(said.rfind(c.says, 0), 0u) << said;
        EXPECT_EQ(read.charset.glyph(0)[0], 0x5A) << c.says;
    }
    Project read;
    EXPECT_EQ(read_project(bytes_of(with("/level/tiles",
                                         ending_at_a_piece(std::vector<uint8_t>(2 * 300 * 300)))),
                           read),
              "")
        << "a stream whose end comes after its last byte";
    // A tile set in hex digits may say its count; it must match.
    Project small;
    small.tiles = TileSet(2, 2, 3);
    auto hex = nlohmann::ordered_json::parse(project_text(small));
    ASSERT_EQ(hex["tiles"]["codes"].size(), 3u);
    hex["tiles"]["count"] = 4;
    EXPECT_EQ(read_project(bytes_of(hex.dump(2)), read),
              "\"tiles.count\" is not the number of \"tiles.codes\"");
    hex["tiles"]["codes"] = nlohmann::ordered_json::array();
    EXPECT_EQ(read_project(bytes_of(hex.dump(2)), read), "\"tiles.codes\" is not a list of 1-4096");
}

} // namespace
} // namespace fontarel
