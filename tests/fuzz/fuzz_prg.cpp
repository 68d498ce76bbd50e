// Recognising a font file and reading it by its kind: a PRG is what detect_font_kind calls one,
// and whatever import_font_file accepts is one of the kinds it reads.

#include "fuzz_font_check.h"

using namespace fontarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const FontFileKind kind = detect_font_kind(bytes);
    const FontImport prg = import_prg(bytes);
    fuzz::check_import(prg, false);
    fuzz::expect(kind != FontFileKind::Prg || prg.ok(), "what is called a PRG reads as one");
    fuzz::expect(kind != FontFileKind::Raw || !prg.ok(), "raw bytes are never of a PRG's length");
    const FontImport font = import_font_file(bytes);
    fuzz::check_import(font, kind != FontFileKind::Prg);
    fuzz::expect(!font.ok() || (kind != FontFileKind::Raw && kind != FontFileKind::Picture),
                 "neither raw bytes nor pictures are read here");
    return 0;
}
