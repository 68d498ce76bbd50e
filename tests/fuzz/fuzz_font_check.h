#pragma once
// What every font import must give, whatever its input: either glyphs and no error, or an error
// of one line and no glyphs; and imported glyphs that the program's own PSF and BDF exports write
// read back to the same bytes. A broken promise aborts, so the fuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

#include "formats/export_formats.h"
#include "formats/font_import.h"

namespace fontarel::fuzz {

inline void expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// `round_trip` off spares the exports where the glyphs are the file's bytes as they stand (a PRG),
// which would take most of the fuzzer's time.
inline void check_import(const FontImport& font, bool round_trip = true) {
    expect(font.error.find('\n') == std::string::npos, "an error of one line");
    expect(font.ok() ? font.count() >= 1 : font.count() == 0, "glyphs exactly when no error");
    if (!font.ok() || !round_trip)
        return;
    for (int g = 0; g < kGlyphCount; ++g)
        if (!font.present[static_cast<size_t>(g)])
            for (uint8_t row : font.glyphs.glyph(g))
                expect(row == 0, "glyphs not present are blank");
    for (ExportFormat format : {ExportFormat::Psf, ExportFormat::Bdf}) {
        const FontImport again = import_font_file(export_glyphs(format, font.glyphs, {}, "f"));
        expect(again.ok() && again.glyphs.bytes == font.glyphs.bytes,
               "the glyphs exported and imported again");
    }
}

} // namespace fontarel::fuzz
