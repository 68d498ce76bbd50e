// Fonts of other programs read back: what the program's own exports write imports to the same
// glyphs, files are recognised by content, characters land where their boxes say, and each kind of
// broken file is refused with its reason. Hostile input is the fuzzers' work.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "formats/export_formats.h"
#include "formats/font_import.h"
#include "formats/gzip.h"
#include "model/builtin_charsets.h"

using namespace fontarel;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

// Little-endian 32-bit words.
Bytes words(std::initializer_list<uint32_t> values) {
    Bytes out;
    for (uint32_t v : values)
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<uint8_t>(v >> shift));
    return out;
}

Bytes psf2(uint32_t count, uint32_t glyph_bytes, uint32_t height, uint32_t width, size_t body) {
    Bytes out = words({0x864AB572, 0, 32, 0, count, glyph_bytes, height, width});
    out.resize(out.size() + body, 0x5A);
    return out;
}

// A PSF 2 font of one glyph (18 3c 66 7e 66 66 66 00) packed by gzip -9, which kept the file
// name "one.psf" in the header: fixed Huffman codes with back-references.
const Bytes kOnePsfGz = {0x1f, 0x8b, 0x08, 0x08, 0xd2, 0xc5, 0x16, 0x6b, 0x02, 0x03, 0x6f,
                         0x6e, 0x65, 0x2e, 0x70, 0x73, 0x66, 0x00, 0x2b, 0xda, 0xea, 0xd5,
                         0xc6, 0x00, 0x04, 0x0a, 0x0c, 0x10, 0xc0, 0x08, 0xc4, 0x1c, 0x48,
                         0x58, 0xc2, 0x26, 0xad, 0x2e, 0x2d, 0x2d, 0x8d, 0x01, 0x00, 0xc5,
                         0xe6, 0x5b, 0xc7, 0x28, 0x00, 0x00, 0x00};
const Bytes kOneGlyph = {0x18, 0x3c, 0x66, 0x7e, 0x66, 0x66, 0x66, 0x00};

Bytes changed(Bytes bytes, size_t at, uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}
Bytes first_bytes(Bytes bytes, size_t count) {
    bytes.resize(count);
    return bytes;
}

// A BDF font with FONTBOUNDINGBOX 8 8 0 -1 and the given characters.
Bytes bdf(const std::string& chars) {
    return bytes_of("STARTFONT 2.1\nFONTBOUNDINGBOX 8 8 0 -1\nSTARTPROPERTIES 1\nFONT_ASCENT 7\n"
                    "ENDPROPERTIES\nCHARS 1\n" +
                    chars + "ENDFONT\n");
}
std::string bdf_char(int code, const std::string& bbx, const std::string& rows) {
    return "STARTCHAR c\nENCODING " + std::to_string(code) + "\nBBX " + bbx + "\nBITMAP\n" + rows +
           "ENDCHAR\n";
}

Bytes glyph(const CharsetStore& store, int g) {
    const auto rows = store.glyph(g);
    return {rows.begin(), rows.end()};
}

} // namespace

TEST(FontImport, OwnExportsReadBackToTheSameGlyphs) {
    auto store = std::make_unique<CharsetStore>();
    load_builtin_glyphs(*store, builtin_charset(Machine::Cga));
    for (ExportFormat format : {ExportFormat::Psf, ExportFormat::Bdf, ExportFormat::Prg}) {
        const char* name = export_format_info(format).name;
        const Bytes file = export_glyphs(format, *store, {}, "cga", 0xC000);
        const FontImport font = import_font_file(file);
        ASSERT_TRUE(font.ok()) << name << ": " << font.error;
        EXPECT_EQ(font.count(), kGlyphCount) << name;
        EXPECT_TRUE(font.glyphs.bytes == store->bytes) << name;
        EXPECT_EQ(font.load_address, format == ExportFormat::Prg ? 0xC000 : -1) << name;
    }
    // A part of the charset: a PRG holds the selection only, imported from glyph 0 on; placing it
    // leaves the rest of a charset as it was.
    const FontImport part = import_prg(export_glyphs(ExportFormat::Prg, *store, {65, 3}, "f"));
    ASSERT_TRUE(part.ok()) << part.error;
    EXPECT_EQ(part.count(), 3);
    EXPECT_EQ(part.note, "load address $3000");
    auto target = std::make_unique<CharsetStore>();
    target->bytes.fill(0xAA);
    place_imported_glyphs(*target, part);
    for (int g : {0, 2, 3, 255})
        EXPECT_EQ(glyph(*target, g), g < 3 ? glyph(*store, 65 + g) : Bytes(8, 0xAA))
            << "glyph " << g;
}

TEST(FontImport, KindsByContentNotByName) {
    Bytes bmp = bytes_of("BM");
    bmp.resize(14);
    const Bytes bmp_info = words({40});
    bmp.insert(bmp.end(), bmp_info.begin(), bmp_info.end());
    const struct {
        Bytes bytes;
        FontFileKind kind;
    } files[] = {
        {psf2(1, 8, 8, 8, 8), FontFileKind::Psf2},
        {{0x36, 0x04, 0x00, 0x08}, FontFileKind::Psf1},
        {Bytes{0x36, 0x04, 0x40, 0x08}, FontFileKind::Raw}, // a mode PSF 1 never has: glyph rows
        {kOnePsfGz, FontFileKind::Gzip},
        {Bytes{0x1f, 0x8b, 0x08}, FontFileKind::Gzip}, // the magic and the method alone
        {bdf(""), FontFileKind::Bdf},
        {bytes_of("\x89PNG\r\n\x1a\n...."), FontFileKind::Picture},
        {bytes_of("GIF89a......"), FontFileKind::Picture},
        {bmp, FontFileKind::Picture},
        {Bytes(19, 'B'), FontFileKind::Raw}, // "BB...": no BMP
        {Bytes(10, 1), FontFileKind::Prg},
        {Bytes(2050, 1), FontFileKind::Prg},
        {Bytes(2058, 1), FontFileKind::Raw}, // 257 glyphs
        {Bytes(2048, 1), FontFileKind::Raw},
        {Bytes(2, 1), FontFileKind::Raw},
        {{}, FontFileKind::Raw},
    };
    for (size_t i = 0; i < std::size(files); ++i)
        EXPECT_EQ(detect_font_kind(files[i].bytes), files[i].kind) << "file " << i;
}

TEST(FontImport, GlyphsLandWhereTheFileSays) {
    // gzip: unpacked, the check sum and length agreed with, the name field skipped.
    // A second member after the first is ignored, as gzip's own concatenation makes it.
    Bytes two_members = kOnePsfGz;
    two_members.insert(two_members.end(), kOnePsfGz.begin(), kOnePsfGz.end());
    for (const Bytes& file : {kOnePsfGz, two_members}) {
        FontImport font = import_psf(file);
        ASSERT_TRUE(font.ok()) << font.error;
        EXPECT_EQ(font.count(), 1);
        EXPECT_EQ(glyph(font.glyphs, 0), kOneGlyph);
    }
    FontImport font;

    // PSF 1 of 512 glyphs: the first 256.
    Bytes psf1 = {0x36, 0x04, 0x01, 0x08};
    for (int i = 0; i < 512 * 8; ++i)
        psf1.push_back(static_cast<uint8_t>(i / 8 + i % 8));
    font = import_psf(psf1);
    ASSERT_TRUE(font.ok()) << font.error;
    EXPECT_EQ(font.count(), 256);
    EXPECT_EQ(font.note, "512 glyphs: the first 256 imported");
    EXPECT_EQ(glyph(font.glyphs, 255), Bytes({255, 0, 1, 2, 3, 4, 5, 6}));
    // PSF 1 of 256 glyphs and no Unicode table: all of them, without a remark.
    Bytes psf256 = {0x36, 0x04, 0x00, 0x08};
    psf256.resize(4 + 256 * 8, 0x11);
    font = import_psf(psf256);
    ASSERT_TRUE(font.ok()) << font.error;
    EXPECT_EQ(font.count() * 1000 + static_cast<int>(font.note.size()), 256000) << font.note;

    // BDF: characters cut to their ink sit in the cell by their BBX offsets from the font's box
    // (lower left corner at 0 -1); those outside 0-255 are counted and skipped.
    font = import_bdf(bdf(bdf_char(1, "2 3 2 1", "80\nC0\n40\n") + bdf_char(2, "8 1 0 -1", "af\n") +
                          bdf_char(3, "0 0 0 0", "") + bdf_char(-1, "8 1 0 -1", "FF\n") +
                          bdf_char(256, "16 1 0 0", "FFFF\n") + bdf_char(1000, "1 1 0 0", "80\n")));
    ASSERT_TRUE(font.ok()) << font.error;
    EXPECT_EQ(font.count(), 3);
    EXPECT_EQ(glyph(font.glyphs, 1), Bytes({0, 0, 0, 0x20, 0x30, 0x10, 0, 0}));
    EXPECT_EQ(glyph(font.glyphs, 2), Bytes({0, 0, 0, 0, 0, 0, 0, 0xAF})); // lower-case hex
    EXPECT_EQ(glyph(font.glyphs, 3), Bytes(8, 0));
    EXPECT_EQ(font.note, "3 glyphs outside 0-255 skipped");

    Bytes out;
    std::string why;
    EXPECT_FALSE(gunzip(kOnePsfGz, out, why, 39));
    EXPECT_EQ(why, "would unpack past 39 bytes");
    EXPECT_TRUE(out.empty());
    // A refusal says why and leaves no bytes, whatever `out` held.
    const std::pair<Bytes, std::string> refusals[] = {
        {{1, 2, 3}, "is not gzip-compressed"},
        {changed(kOnePsfGz, 20, 0xFF), "corrupt gzip data: "},
    };
    for (const auto& [bad, says] : refusals) {
        out = {9};
        EXPECT_FALSE(gunzip(bad, out, why));
        EXPECT_TRUE(out.empty()) << says;
        EXPECT_EQ(why.rfind(says, 0), 0u) << why;
    }
    // A file of 4 MB of zeros unpacks; one byte more is a bomb, stopped at the cap.
    for (const size_t size : {kGunzipLimit, kGunzipLimit + 1}) {
        const Bytes zeros(size, 0);
        Bytes packed(compressBound(static_cast<uLong>(size)) + 32);
        z_stream z{};
        ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY), Z_OK);
        z.next_in = const_cast<Bytef*>(zeros.data());
        z.avail_in = static_cast<uInt>(size);
        z.next_out = packed.data();
        z.avail_out = static_cast<uInt>(packed.size());
        ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
        packed.resize(z.total_out);
        deflateEnd(&z);
        const bool within = size == kGunzipLimit;
        EXPECT_EQ(gunzip(packed, out, why), within) << why;
        EXPECT_EQ(out.size(), within ? size : 0u);
        if (!within) {
            EXPECT_EQ(why, "would unpack past 4 MB");
        }
    }
}

TEST(FontImport, BrokenFilesSayWhatIsWrong) {
    const Bytes gz = kOnePsfGz;
    const struct {
        Bytes bytes;
        const char* says;
        FontImport (*read)(std::span<const uint8_t>) = import_font_file;
    } files[] = {
        {first_bytes(psf2(1, 8, 8, 8, 8), 20), "header is truncated"},
        {{0x36, 0x04, 0x00}, "header is truncated"},
        {psf2(0, 8, 8, 8, 8), "no glyphs"},
        {psf2(1, 16, 16, 8, 16), "glyphs are 8 × 16; only 8 × 8 fonts can be imported"},
        {psf2(1, 16, 8, 9, 16), "glyphs are 9 × 8"},
        {psf2(1, 8, 0x01000008, 8, 8), "glyphs are 8 × 16777224"}, // all four bytes of a word
        {Bytes{0x36, 0x04, 0x00, 0x10}, "glyphs are 8 × 16"},
        {psf2(2, 8, 8, 8, 15), "2 glyphs runs past the end"},
        {psf2(0xFFFFFFFF, 8, 8, 8, 8), "runs past the end"},
        {changed(gz, 20, 0xFF), "corrupt gzip data"},
        {changed(gz, gz.size() - 8, 0), "CRC-32 does not match"},
        {changed(gz, gz.size() - 4, 41), "length does not match"},
        {Bytes(gz.begin(), gz.end() - 9), "corrupt gzip data: the compressed data ends too soon"},
        {Bytes(gz.begin(), gz.end() - 8), "corrupt gzip data: the gzip trailer is missing"},
        {Bytes(gz.begin(), gz.end() - 1), "corrupt gzip data: the gzip trailer is missing"},
        {changed(gz, 18, 0x07), "corrupt gzip data: a block of the reserved type 3"},
        {[&] { // an extra field of 3 bytes in the name's place: the data is found past it
             Bytes g = gz;
             g[3] = 4;
             g.erase(g.begin() + 10, g.begin() + 18);
             g.insert(g.begin() + 10, {3, 0, 'a', 'b', 'c'});
             g.resize(g.size() - 4);
             return g;
         }(),
         "corrupt gzip data: the gzip trailer is missing"},
        {[&] { // a header CRC after the name: the data begins past it
             Bytes g = gz;
             g[3] |= 2;
             const uLong crc = crc32(0L, g.data(), 18);
             g.insert(g.begin() + 18,
                      {static_cast<uint8_t>(crc & 0xFF), static_cast<uint8_t>(crc >> 8 & 0xFF)});
             g.resize(g.size() - 4);
             return g;
         }(),
         "corrupt gzip data: the gzip trailer is missing"},
        {[&] { // the text flag (bit 0) says nothing of the header's length
             Bytes g = gz;
             g[3] |= 1;
             g.resize(g.size() - 2);
             return g;
         }(),
         "corrupt gzip data: the gzip trailer is missing"},
        {changed(gz, 3, 0x80), "reserved"},
        {changed(gz, 3, 0x0A), "header's CRC does not match"},
        {Bytes(gz.begin(), gz.begin() + 12), "header ends too soon"},
        {[&] {
             Bytes g = gz;
             g.push_back('x');
             return g;
         }(),
         "bytes that are not gzip follow"},
        {bdf("STARTCHAR a\nENCODING 65\nBBX 8 1 0 0\nBITMAP\nFF\n"),
         "line 12: character a has no ENDCHAR"},
        {bdf(bdf_char(65, "8 1 0 0", "FG\n")), "not 2 hexadecimal digits: FG"},
        {bdf(bdf_char(65, "8 2 0 0", "FF\n")), "has 1 BITMAP rows; its BBX says 2"},
        {bdf(bdf_char(65, "8 1 0 0", "FF\n00\n")), "more BITMAP rows"},
        {bdf(bdf_char(65, "9 8 0 -1", "FF80\n")), "9 × 8 pixels: wider or taller than 8"},
        {bdf(bdf_char(65, "8 8 0 0", "")), "outside the 8 × 8 cell"},
        {bdf(bdf_char(65, "4 1 6 0", "F0\n")), "outside the 8 × 8 cell"},
        {bdf(bdf_char(65, "8 x 0 0", "")), "BBX that is not four numbers"},
        {bdf(bdf_char(300, "8 1 0 0", "FF\n")), "no character has an ENCODING of 0-255"},
        {Bytes(11, 0), "11 bytes: a font PRG is 2 + 8 n bytes only for n = 1 to 256", import_prg},
        {Bytes(2, 0), "2 + 8 n bytes only", import_prg},
        {Bytes(2048, 0), "is no PSF, BDF or PRG font"},
    };
    for (const auto& f : files) {
        const FontImport font = f.read(f.bytes);
        EXPECT_FALSE(font.ok()) << "accepted, expected: " << f.says;
        EXPECT_NE(font.error.find(f.says), std::string::npos)
            << "expected \"" << f.says << "\", got \"" << font.error << "\"";
        EXPECT_EQ(font.count(), 0) << f.says;
    }
}
