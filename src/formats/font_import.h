#pragma once
// Fonts from other programs' files: PSF (version 1 and 2, plain or gzip-compressed), BDF, and a PRG
// (a 2-byte load address, then glyph bytes). Bytes in, glyphs out; nothing here touches a file.
// A file is recognised by its content, never by its name.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/charset_store.h"

namespace fontarel {

// No font or picture the program can use comes near this; a larger file is refused unread.
constexpr int64_t kLargestImport = int64_t{16} << 20;

enum class FontFileKind {
    Raw,     // anything else: glyph bytes as the program saves them
    Psf1,    // magic 36 04
    Psf2,    // magic 72 b5 4a 86
    Gzip,    // magic 1f 8b: a compressed PSF
    Bdf,     // begins with "STARTFONT"
    Prg,     // 2 + 8 n bytes, n = 1..256, and none of the above
    Picture, // PNG, BMP or GIF signature: a charset picture
};

FontFileKind detect_font_kind(std::span<const uint8_t> bytes);
// Whether the bytes begin with the signature of a PNG, GIF or BMP file.
bool is_picture(std::span<const uint8_t> bytes);

// What a font file gives: some of the 256 glyphs (those it lacks keep their contents where it is
// placed), a remark for the user, or the reason it cannot be read.
struct FontImport {
    std::array<bool, kGlyphCount> present{};
    CharsetStore glyphs;   // the glyphs named by `present`; the others are blank
    std::string note;      // e.g. "512 glyphs: the first 256 imported"; may be empty
    std::string error;     // non-empty when nothing can be imported: what is wrong with the file
    int load_address = -1; // PRG only: the first two bytes, little-endian

    bool ok() const { return error.empty(); }
    int count() const; // glyphs present
};

// Each reads one kind; a file of another kind gives an error. Errors are one line, without the
// file's name: "glyphs are 8 × 16; only 8 × 8 fonts can be imported".
// PSF 1 or 2 of 8 x 8 glyphs, glyph i to code i (of 512, the first 256, said in `note`); a gzip
// file is unpacked first (at most 4 MB) and must hold a PSF font.
FontImport import_psf(std::span<const uint8_t> bytes);
// BDF: a character of ENCODING 0-255 to that code (the others counted in `note`), placed by its
// BBX in an 8 x 8 cell whose lower left corner is that of FONTBOUNDINGBOX.
FontImport import_bdf(std::span<const uint8_t> bytes);
// PRG of 2 + 8 n bytes, n = 1..256: the glyphs from code 0, the address in `note` ("load address
// $3000").
FontImport import_prg(std::span<const uint8_t> bytes);
// By detect_font_kind: PSF (also gzip), BDF or PRG; Raw and Picture give an error here (their
// callers place raw bytes themselves and decode pictures first).
FontImport import_font_file(std::span<const uint8_t> bytes);

// Writes the glyphs present into `store`, leaving the others as they are.
void place_imported_glyphs(CharsetStore& store, const FontImport& font);

} // namespace fontarel
