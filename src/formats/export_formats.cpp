#include "formats/export_formats.h"

#include "formats/export_asm.h"
#include "formats/export_basic.h"
#include "formats/export_bdf.h"
#include "formats/export_c.h"
#include "formats/export_psf.h"
#include "formats/export_screen.h"

namespace fontarel {

namespace {

constexpr ExportFormatInfo kFormats[] = {
    {ExportFormat::Byte, "byte", ".s", "Assembler source (*.s)|*.s", true},
    {ExportFormat::Acme, "acme", ".a", "Assembler source (*.a)|*.a", true},
    {ExportFormat::Defb, "defb", ".asm", "Assembler source (*.asm)|*.asm", true},
    {ExportFormat::C, "c", ".c", "C source (*.c)|*.c", true},
    {ExportFormat::Basic, "basic", ".bas", "BASIC DATA lines (*.bas)|*.bas", true},
    {ExportFormat::Png, "png", ".png", "PNG picture (*.png)|*.png", true},
    {ExportFormat::Psf, "psf", ".psf", "Linux console font (*.psf)|*.psf", false},
    {ExportFormat::Bdf, "bdf", ".bdf", "X11 bitmap font (*.bdf)|*.bdf", false},
    {ExportFormat::Prg, "prg", ".prg", "C64 program file (*.prg)|*.prg", false},
    {ExportFormat::Scr, "scr", ".scr", "ZX Spectrum screen (*.scr)|*.scr", true, false},
    {ExportFormat::B800, "b800", ".bin", "PC text screen (*.bin)|*.bin", true, false},
    {ExportFormat::Bin, "bin", ".bin", "Raw binary (*.bin)|*.bin", false, false},
    {ExportFormat::Tmx, "tmx", ".tmx", "Tiled map (*.tmx)|*.tmx", false, false},
};

std::vector<uint8_t> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}


} // namespace

std::optional<AsmDialect> asm_dialect(ExportFormat format) {
    switch (format) {
    case ExportFormat::Byte:
        return AsmDialect::Byte;
    case ExportFormat::Acme:
        return AsmDialect::Acme;
    case ExportFormat::Defb:
        return AsmDialect::Defb;
    default:
        return std::nullopt;
    }
}

const ExportFormatInfo& export_format_info(ExportFormat format) {
    for (const ExportFormatInfo& info : kFormats)
        if (info.format == format)
            return info;
    return kFormats[0];
}

std::optional<ExportFormat> export_format_named(std::string_view name) {
    for (const ExportFormatInfo& info : kFormats)
        if (name == info.name)
            return info.format;
    return std::nullopt;
}

std::string export_format_names(bool maps) {
    std::string out;
    for (const ExportFormatInfo& info : kFormats) {
        if (!(maps ? info.maps : info.glyphs))
            continue;
        out += (out.empty() ? "" : ", ") + std::string(info.name);
    }
    return out;
}

std::vector<uint8_t> export_glyphs(ExportFormat format, const CharsetStore& store,
                                   GlyphSelection glyphs, std::string_view label,
                                   int load_address) {
    if (const auto d = asm_dialect(format))
        return bytes_of(glyphs_as_assembler(store, glyphs, *d, label));
    switch (format) {
    case ExportFormat::C:
        return bytes_of(glyphs_as_c(store, glyphs, label));
    case ExportFormat::Basic:
        return bytes_of(glyphs_as_basic(store, glyphs));
    case ExportFormat::Psf:
        return glyphs_as_psf2(store, glyphs);
    case ExportFormat::Bdf:
        return bytes_of(glyphs_as_bdf(store, glyphs, label));
    case ExportFormat::Prg:
        return glyphs_as_prg(store, glyphs, load_address);
    default:
        return {};
    }
}

std::string map_export_refusal(ExportFormat format, int cols, int rows) {
    return format == ExportFormat::Scr ? spectrum_screen_refusal(cols, rows) : std::string();
}

std::vector<uint8_t> export_map(ExportFormat format, const CharMap& map, std::string_view label,
                                const CharsetStore* store) {
    if (const auto d = asm_dialect(format))
        return bytes_of(map_as_assembler(map, *d, label));
    switch (format) {
    case ExportFormat::C:
        return bytes_of(map_as_c(map, label));
    case ExportFormat::Basic:
        return bytes_of(map_as_basic(map));
    case ExportFormat::Scr:
        return store != nullptr ? spectrum_screen_bytes(map, *store) : std::vector<uint8_t>();
    case ExportFormat::B800:
        return pc_text_screen_bytes(map);
    default:
        return {};
    }
}

} // namespace fontarel
