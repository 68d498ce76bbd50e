// Whole-glyph commands on the store (insert, delete, erase, range copy) and the range label texts.

#include <gtest/gtest.h>
#include <iconv.h>

#include <memory>
#include <string>

#include "model/charset_store.h"
#include "model/labels.h"

using namespace fontarel;

namespace {

// Every byte distinct from its glyph's other bytes and from other glyphs' bytes in the same row,
// so a glyph moved by one place, or one row off, is told apart.
std::unique_ptr<CharsetStore> numbered_store() {
    auto store = std::make_unique<CharsetStore>();
    for (int i = 0; i < kCharsetBytes; ++i) {
        store->bytes[i] = static_cast<uint8_t>((i / kGlyphRows) ^ ((i % kGlyphRows) << 5));
    }
    for (int g = 0; g < kGlyphCount; ++g) // materials 1-15, none 0, so a blank one shows
        store->materials[static_cast<size_t>(g)] = static_cast<uint8_t>(1 + g % 15);
    return store;
}

// The UTF-8 text of one Windows-1252 code as the C library's converter decodes it, kept apart from
// the program's own table; U+FFFD for the codes the code page leaves unassigned, and empty when the
// converter is missing.
std::string reference_code_page_char(int code) {
    const iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    char in[1] = {static_cast<char>(code)};
    char out[8];
    char* in_at = in;
    char* out_at = out;
    size_t in_left = sizeof in, out_left = sizeof out;
    const size_t converted = iconv(cd, &in_at, &in_left, &out_at, &out_left);
    iconv_close(cd);
    if (converted == static_cast<size_t>(-1)) {
        return "\uFFFD";
    }
    return std::string(out, out_at);
}

// The same rows and the same material: a glyph's material goes with it.
bool glyph_equals(const CharsetStore& a, int ga, const CharsetStore& b, int gb) {
    if (a.materials[static_cast<size_t>(ga)] != b.materials[static_cast<size_t>(gb)])
        return false;
    for (int r = 0; r < kGlyphRows; ++r) {
        if (a.glyph(ga)[r] != b.glyph(gb)[r]) {
            return false;
        }
    }
    return true;
}

bool blank(const CharsetStore& s, int g) {
    return glyph_equals(s, g, CharsetStore{}, 0);
}

} // namespace

TEST(StoreCommands, InsertMovesLaterGlyphsUp) {
    const auto before = numbered_store();
    auto s = numbered_store();
    insert_glyph(*s, 0);
    EXPECT_TRUE(blank(*s, 0));
    for (int g = 1; g < kGlyphCount; ++g) {
        ASSERT_TRUE(glyph_equals(*s, g, *before, g - 1)) << g;
    }

    s = numbered_store();
    insert_glyph(*s, 100);
    for (int g = 0; g < 100; ++g) {
        ASSERT_TRUE(glyph_equals(*s, g, *before, g)) << g;
    }
    EXPECT_TRUE(blank(*s, 100));
    EXPECT_TRUE(glyph_equals(*s, 101, *before, 100));
    EXPECT_TRUE(glyph_equals(*s, 255, *before, 254));
}

TEST(StoreCommands, DeleteMovesLaterGlyphsDown) {
    const auto before = numbered_store();
    auto s = numbered_store();
    delete_glyph(*s, 0);
    for (int g = 0; g < 255; ++g) {
        ASSERT_TRUE(glyph_equals(*s, g, *before, g + 1)) << g;
    }
    EXPECT_TRUE(blank(*s, 255));

    s = numbered_store();
    delete_glyph(*s, 200);
    EXPECT_TRUE(glyph_equals(*s, 199, *before, 199));
    EXPECT_TRUE(glyph_equals(*s, 200, *before, 201));
    EXPECT_TRUE(glyph_equals(*s, 254, *before, 255));
    EXPECT_TRUE(blank(*s, 255));
}

TEST(StoreCommands, InsertOrDeleteAtLastGlyphOnlyClearsIt) {
    const auto before = numbered_store();
    using Command = void (*)(CharsetStore&, uint8_t);
    for (Command command : {Command{&insert_glyph}, Command{&delete_glyph}}) {
        auto s = numbered_store();
        command(*s, 255);
        for (int g = 0; g < 255; ++g) {
            ASSERT_TRUE(glyph_equals(*s, g, *before, g)) << g;
        }
        EXPECT_TRUE(blank(*s, 255));
    }
}

TEST(StoreCommands, EraseClearsEveryByte) {
    auto s = numbered_store();
    erase_charset(*s);
    EXPECT_EQ(s->bytes, CharsetStore{}.bytes);
}

TEST(RangeCopy, OverlappingCopyDownKeepsTheOldRange) {
    const auto before = numbered_store();
    auto s = numbered_store();
    ASSERT_TRUE(copy_glyph_range(*s, 12, 20, 10));
    for (int i = 0; i <= 8; ++i) {
        EXPECT_TRUE(glyph_equals(*s, 10 + i, *before, 12 + i)) << i;
    }
    // Sources that no destination reached keep their contents, and nothing else moves.
    EXPECT_TRUE(glyph_equals(*s, 19, *before, 19));
    EXPECT_TRUE(glyph_equals(*s, 20, *before, 20));
    EXPECT_TRUE(glyph_equals(*s, 9, *before, 9));
    EXPECT_TRUE(glyph_equals(*s, 21, *before, 21));
}

TEST(RangeCopy, PartBeyondLastGlyphIsDropped) {
    const auto before = numbered_store();
    auto s = numbered_store();
    ASSERT_TRUE(copy_glyph_range(*s, 0, 15, 250));
    for (int i = 0; i <= 5; ++i) {
        EXPECT_TRUE(glyph_equals(*s, 250 + i, *before, i)) << i;
    }
    for (int g = 0; g < 250; ++g) {
        ASSERT_TRUE(glyph_equals(*s, g, *before, g)) << g;
    }
}

TEST(RangeCopy, EndsMayComeInEitherOrder) {
    const auto before = numbered_store();
    auto s = numbered_store();
    ASSERT_TRUE(copy_glyph_range(*s, 200, 100, 0));
    for (int i = 0; i <= 100; ++i) {
        ASSERT_TRUE(glyph_equals(*s, i, *before, 100 + i)) << i;
    }
    EXPECT_TRUE(glyph_equals(*s, 101, *before, 101));
}

TEST(RangeCopy, RefusedWhenTargetLiesInTheRange) {
    const auto before = numbered_store();
    auto s = numbered_store();
    EXPECT_FALSE(copy_glyph_range(*s, 7, 7, 7));
    EXPECT_FALSE(copy_glyph_range(*s, 100, 200, 100));
    EXPECT_FALSE(copy_glyph_range(*s, 100, 200, 200));
    EXPECT_FALSE(copy_glyph_range(*s, 200, 100, 150));
    EXPECT_EQ(s->bytes, before->bytes);
    EXPECT_TRUE(copy_glyph_range(*s, 100, 200, 201));
}

TEST(RangeLabels, CodeAndCharacter) {
    EXPECT_EQ(range_label_text("BeginRange:", 65), "BeginRange:65:A");
    EXPECT_EQ(range_label_text("BeginRange:", 32), "BeginRange:32: ");
    EXPECT_EQ(range_label_text("BeginRange:", 9), "BeginRange:9");
    EXPECT_EQ(range_label_text("BeginRange:", 0), "BeginRange:0");
    EXPECT_EQ(range_label_text("End range:", 31), "End range:31");
    EXPECT_EQ(range_label_text("End range:", 128), "End range:128:\u20AC");
    EXPECT_EQ(range_label_text("End range:", 129), "End range:129:\uFFFD");
    EXPECT_EQ(range_label_text("End range:", 233), "End range:233:\u00E9");
    EXPECT_EQ(range_label_text("End range:", 255), "End range:255:\u00FF");

    // Every character part, 32 to 255, against the converter's table: a misplaced entry among the
    // typographic characters of 0x80-0x9F shows here.
    ASSERT_EQ(reference_code_page_char(0x80), "\u20AC") << "no Windows-1252 converter";
    for (int v = 32; v < 256; ++v) {
        EXPECT_EQ(range_label_text("End range:", v),
                  "End range:" + std::to_string(v) + ":" + reference_code_page_char(v));
    }
}
