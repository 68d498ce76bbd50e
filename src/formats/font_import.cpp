// Recognising a font file by its content, the PRG layout, and placing what an import gives.

#include "formats/font_import.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "formats/gzip.h"

namespace fontarel {

namespace {

constexpr size_t kPrgAddressBytes = 2;
constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// The sizes of the BMP info headers that exist, from the oldest (12) to version 5 (124).
constexpr uint32_t kBmpInfoSizes[] = {12, 40, 52, 56, 64, 108, 124};

bool starts_with(std::span<const uint8_t> bytes, std::string_view text) {
    return bytes.size() >= text.size() &&
           std::equal(text.begin(), text.end(), bytes.begin(),
                      [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; });
}

bool is_prg_size(size_t size) {
    return size > kPrgAddressBytes && (size - kPrgAddressBytes) % kGlyphRows == 0 &&
           size <= kPrgAddressBytes + kCharsetBytes;
}

FontImport failure(std::string why) {
    FontImport out;
    out.error = std::move(why);
    return out;
}

} // namespace

// A BMP's "BM" alone would also begin many raw fonts, so its info header size must be one that
// exists.
bool is_picture(std::span<const uint8_t> bytes) {
    if (bytes.size() >= sizeof kPngSignature &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin()))
        return true;
    if (starts_with(bytes, "GIF87a") || starts_with(bytes, "GIF89a"))
        return true;
    if (!starts_with(bytes, "BM") || bytes.size() < 18)
        return false;
    const uint32_t info = bytes[14] | bytes[15] << 8 | bytes[16] << 16 | uint32_t{bytes[17]} << 24;
    return std::find(std::begin(kBmpInfoSizes), std::end(kBmpInfoSizes), info) !=
           std::end(kBmpInfoSizes);
}

int FontImport::count() const {
    return static_cast<int>(std::count(present.begin(), present.end(), true));
}

FontFileKind detect_font_kind(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kPsf2Magic[] = {0x72, 0xB5, 0x4A, 0x86};
    if (bytes.size() >= 4 &&
        std::equal(std::begin(kPsf2Magic), std::end(kPsf2Magic), bytes.begin()))
        return FontFileKind::Psf2;
    // PSF1's magic is two bytes, which raw glyph rows may also begin with; its mode byte uses
    // only bits 0-2.
    if (bytes.size() >= 2 && bytes[0] == 0x36 && bytes[1] == 0x04 &&
        (bytes.size() < 3 || bytes[2] < 8))
        return FontFileKind::Psf1;
    if (is_gzip(bytes))
        return FontFileKind::Gzip;
    if (starts_with(bytes, "STARTFONT"))
        return FontFileKind::Bdf;
    if (is_picture(bytes))
        return FontFileKind::Picture;
    // Raw glyphs of this length would straddle the cells: 2 bytes off from a glyph boundary.
    if (is_prg_size(bytes.size()))
        return FontFileKind::Prg;
    return FontFileKind::Raw;
}

FontImport import_prg(std::span<const uint8_t> bytes) {
    if (!is_prg_size(bytes.size()))
        return failure(std::to_string(bytes.size()) +
                       " bytes: a font PRG is 2 + 8 n bytes only for n = 1 to 256");
    FontImport out;
    out.load_address = bytes[0] | bytes[1] << 8;
    const size_t glyphs = (bytes.size() - kPrgAddressBytes) / kGlyphRows;
    std::copy(bytes.begin() + kPrgAddressBytes, bytes.end(), out.glyphs.bytes.begin());
    std::fill_n(out.present.begin(), glyphs, true);
    char note[32];
    std::snprintf(note, sizeof note, "load address $%04X", out.load_address);
    out.note = note;
    return out;
}

FontImport import_font_file(std::span<const uint8_t> bytes) {
    switch (detect_font_kind(bytes)) {
    case FontFileKind::Psf1:
    case FontFileKind::Psf2:
    case FontFileKind::Gzip:
        return import_psf(bytes);
    case FontFileKind::Bdf:
        return import_bdf(bytes);
    case FontFileKind::Prg:
        return import_prg(bytes);
    case FontFileKind::Picture:
        return failure("is a picture, not a font file");
    case FontFileKind::Raw:
    default:
        return failure("is no PSF, BDF or PRG font");
    }
}

void place_imported_glyphs(CharsetStore& store, const FontImport& font) {
    for (int g = 0; g < kGlyphCount; ++g)
        if (font.present[static_cast<size_t>(g)])
            std::copy_n(font.glyphs.glyph(g).begin(), kGlyphRows, store.glyph(g).begin());
}

} // namespace fontarel
