// PSF version 1 and 2, plain or gzip-compressed: glyph i to code i, 8 x 8 glyphs only. Unicode
// tables after the glyphs are ignored: the glyphs keep their places, as the console shows them.

#include <algorithm>
#include <string>

#include "formats/font_import.h"
#include "formats/gzip.h"

namespace fontarel {

namespace {

constexpr uint8_t kPsf1Magic[] = {0x36, 0x04};
constexpr uint8_t kPsf2Magic[] = {0x72, 0xB5, 0x4A, 0x86};
constexpr size_t kPsf1HeaderBytes = 4;
constexpr size_t kPsf2HeaderBytes = 32;
constexpr uint8_t kPsf1Mode512 = 0x01;

bool starts_with(std::span<const uint8_t> bytes, std::span<const uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

uint32_t word(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

// The layout a header declares: where the glyphs begin, how many, and their size.
struct PsfLayout {
    uint64_t header = 0;
    uint64_t count = 0;
    uint64_t glyph_bytes = 0;
    uint64_t width = 8;
    uint64_t height = 0;
};

FontImport failure(std::string why) {
    FontImport out;
    out.error = std::move(why);
    return out;
}

FontImport read_glyphs(std::span<const uint8_t> bytes, const PsfLayout& psf) {
    if (psf.width != 8 || psf.height != 8)
        return failure("glyphs are " + std::to_string(psf.width) + " × " +
                       std::to_string(psf.height) + "; only 8 × 8 fonts can be imported");
    if (psf.glyph_bytes != kGlyphRows)
        return failure("the header gives " + std::to_string(psf.glyph_bytes) +
                       " bytes a glyph; 8 × 8 glyphs take 8");
    if (psf.count == 0)
        return failure("the font has no glyphs");
    // Both at most 2^32: the product cannot overflow 64 bits.
    if (psf.header > bytes.size() || psf.count * kGlyphRows > bytes.size() - psf.header)
        return failure("the glyph table of " + std::to_string(psf.count) +
                       " glyphs runs past the end of the file");
    FontImport out;
    const auto count = static_cast<int>(std::min<uint64_t>(psf.count, kGlyphCount));
    std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(psf.header), kGlyphRows * count,
                out.glyphs.bytes.begin());
    std::fill_n(out.present.begin(), count, true);
    if (psf.count > kGlyphCount)
        out.note = std::to_string(psf.count) + " glyphs: the first 256 imported";
    return out;
}

FontImport read_psf(std::span<const uint8_t> bytes) {
    PsfLayout psf;
    if (starts_with(bytes, kPsf2Magic)) {
        if (bytes.size() < kPsf2HeaderBytes)
            return failure("the PSF header is truncated");
        psf.header = word(bytes, 8);
        psf.count = word(bytes, 16);
        psf.glyph_bytes = word(bytes, 20);
        psf.height = word(bytes, 24);
        psf.width = word(bytes, 28);
        if (psf.header < kPsf2HeaderBytes)
            return failure("the PSF header says it is " + std::to_string(psf.header) +
                           " bytes, less than its own 32");
        return read_glyphs(bytes, psf);
    }
    if (starts_with(bytes, kPsf1Magic)) {
        if (bytes.size() < kPsf1HeaderBytes)
            return failure("the PSF header is truncated");
        psf.header = kPsf1HeaderBytes;
        psf.count = bytes[2] & kPsf1Mode512 ? 512 : 256;
        psf.glyph_bytes = psf.height = bytes[3]; // always 8 pixels wide, a byte a row
        return read_glyphs(bytes, psf);
    }
    return failure("is no PSF font");
}

} // namespace

FontImport import_psf(std::span<const uint8_t> bytes) {
    if (!is_gzip(bytes))
        return read_psf(bytes);
    std::vector<uint8_t> plain;
    std::string why;
    if (!gunzip(bytes, plain, why))
        return failure(why);
    if (!starts_with(plain, kPsf1Magic) && !starts_with(plain, kPsf2Magic))
        return failure("the gzip file holds no PSF font");
    return read_psf(plain);
}

} // namespace fontarel
