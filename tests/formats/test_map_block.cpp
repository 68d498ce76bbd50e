// Map blocks: copy, paste and clear clipped to the map in use at its edges, and the clipboard forms
// read back: the private bytes, the block's own text and the text of every exporter the reader
// claims to read.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "formats/export_formats.h"
#include "model/map_block.h"

namespace fontarel {
namespace {

// A 6 x 4 map in use; every cell of the array holds its own code.
std::unique_ptr<CharMap> numbered_map() {
    auto map = std::make_unique<CharMap>();
    map->cols = 6;
    map->rows = 4;
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            map->at(c, r) = (5 * c + 11 * r) & 0xFF;
    return map;
}

TEST(MapBlock, CopyPasteAndClearStayInsideTheMapInUse) {
    // A 3 x 2 block placed with its top-left cell at (left, top); `in_map` is the part on the map.
    struct Case {
        int left, top;
        CellRect in_map;
    };
    const Case cases[] = {
        {1, 1, {1, 1, 3, 2}},       // inside
        {4, 3, {4, 3, 2, 1}},       // over the right and bottom edges
        {-2, -1, {0, 0, 1, 1}},     // over the left and top edges
        {6, 0, {}},                 // just right of the map: the spare column is not in use
        {0, 4, {}},                 // just below it
        {INT_MAX - 1, INT_MIN, {}}, // far away, without overflow
    };
    const MapBlock block{3, 2, {200, 201, 202, 210, 211, 212}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.left << "," << c.top);
        const auto start = numbered_map();
        auto pasted = std::make_unique<CharMap>(*start);
        EXPECT_EQ(paste_block(*pasted, block, c.left, c.top), c.in_map);
        auto cleared = std::make_unique<CharMap>(*start);
        clear_block(*cleared, {c.left, c.top, 3, 2}, 7);
        for (int r = 0; r < kMapCapacityRows; ++r)
            for (int col = 0; col < kMapCapacityCols; ++col) {
                const bool in = col >= c.in_map.left && col < c.in_map.left + c.in_map.width &&
                                r >= c.in_map.top && r < c.in_map.top + c.in_map.height;
                const int code =
                    in ? block.codes[(r - c.top) * 3 + (col - c.left)] : start->at(col, r);
                ASSERT_EQ(pasted->at(col, r), code) << col << "," << r;
                ASSERT_EQ(cleared->at(col, r), in ? 7 : start->at(col, r)) << col << "," << r;
            }
        // Copying the same place takes the part that landed: pasted back over the start, it
        // remakes the pasted map.
        const MapBlock copied = copy_block(*pasted, {c.left, c.top, 3, 2});
        paste_block(*start, copied, c.in_map.left, c.in_map.top);
        EXPECT_EQ(start->cells, pasted->cells);
        // The rectangle between the block's corners, named in either order, is the part on the map.
        if (c.left < INT_MAX - 2) {
            EXPECT_EQ(cells_between(*start, c.left, c.top, c.left + 2, c.top + 1), c.in_map);
            EXPECT_EQ(cells_between(*start, c.left + 2, c.top + 1, c.left, c.top), c.in_map);
        }
    }
    EXPECT_EQ(cells_between(*numbered_map(), INT_MIN, INT_MAX, INT_MAX, INT_MIN),
              (CellRect{0, 0, 6, 4}));
}

TEST(MapBlock, ClipboardFormsReadBack) {
    const MapBlock block{3, 2, {0x20, 0x41, 0xff, 0, 92, 10}};
    EXPECT_EQ(block_text(block), "        .byte $20,$41,$ff\n        .byte $00,$5c,$0a\n");
    EXPECT_EQ(block_from_text(block_text(block)), block);
    EXPECT_EQ(block_from_bytes(block_bytes(block)), block);

    // The map exports that the reader claims give back the map's codes. 92 is a backslash, which
    // would continue a C line comment.
    auto map = std::make_unique<CharMap>();
    map->cols = 7;
    map->rows = 3;
    MapBlock codes{7, 3, {}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 7; ++c)
            codes.codes.push_back(static_cast<uint8_t>(map->at(c, r) = (c * 37 + r * 92) % 256));
    for (ExportFormat format :
         {ExportFormat::Byte, ExportFormat::Acme, ExportFormat::Defb, ExportFormat::C}) {
        const std::vector<uint8_t> file = export_map(format, *map, "screen");
        const std::string text(file.begin(), file.end());
        EXPECT_EQ(block_from_text(text), codes) << text;
    }

    struct Case {
        const char* text;
        std::optional<MapBlock> read;
    };
    const Case cases[] = {
        {"{0x20, 0x41},\r\n{1,2},\r\n", MapBlock{2, 2, {0x20, 0x41, 1, 2}}},
        {"top: defb 41h,0FFh ; comment\n\n// note\n  !BYTE 1 , 2\n",
         MapBlock{2, 2, {0x41, 255, 1, 2}}},
        {"1, 2, 3\n", MapBlock{3, 1, {1, 2, 3}}},
        {"a: .byte 1\nA1: !byte 2\nz_.Z: .byte 3\n", MapBlock{1, 3, {1, 2, 3}}}, // labels' edges
        {"", std::nullopt},
        {"; only a comment\nlabel:\n", std::nullopt},
        {"Hello, world\n", std::nullopt},
        {"tiles", std::nullopt}, // a word up to the end of the text
        {".byte 1,2\n.byte 3\n", std::nullopt}, // rows of different lengths
        {".byte 256\n", std::nullopt},
        {".byte $1ff\n", std::nullopt},
        {".byte 1,,2\n", std::nullopt},
        {"1000 DATA 1,2\n", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(block_from_text(c.text), c.read) << c.text;

    // The private form refuses sizes that do not match its bytes.
    const std::vector<uint8_t> bad[] = {{},           {1, 0, 1},          {1, 0, 1, 0},
                                        {0, 0, 0, 0}, {1, 0, 1, 0, 5, 6, 7}, {0, 1, 1, 0, 0}};
    for (const auto& bytes : bad)
        EXPECT_EQ(block_from_bytes(bytes), std::nullopt);
}

TEST(MapBlock, TypedCodes) {
    // Character, code-page code, screen code; -1 for none.
    const int cases[][3] = {
        {'@', 64, 0},     {'A', 65, 1},   {'z', 122, 26},     {'\\', 92, 28},   {'_', 95, 31},
        {'?', 63, 63},    {'`', 96, -1},  {0x20AC, 0x80, -1}, {0xE9, 0xE9, -1}, {0xA3, 0xA3, 28},
        {0x2190, -1, 31}, {'\n', -1, -1}, {0x81, -1, -1},     {0xFFFD, -1, -1}, {0x1F600, -1, -1},
    };
    for (const auto& c : cases)
        for (bool screen : {false, true}) {
            const std::optional<uint8_t> code = typed_code(static_cast<char32_t>(c[0]), screen);
            EXPECT_EQ(code ? *code : -1, c[screen ? 2 : 1]) << c[0] << (screen ? " screen" : "");
        }
}

} // namespace
} // namespace fontarel
