#pragma once
// The export formats by name: what the command line calls them, the extension and pattern list of
// the save requester, and one entry point that turns glyphs or the map into a file's bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "formats/export_asm.h"
#include "formats/export_common.h"
#include "formats/export_prg.h"

namespace fontarel {

// Scr and B800 are screens of the map (the Spectrum's SCREEN$, PC text memory), not glyph files.
// Bin is the bytes alone, for the tiles and the level (export_level.h): neither the glyph nor the
// map exports take it, so it is in neither list of export_format_names; nor is Tmx, the level as a
// Tiled map (export_tmx.h).
enum class ExportFormat { Byte, Acme, Defb, C, Basic, Png, Psf, Bdf, Prg, Scr, B800, Bin, Tmx };

struct ExportFormatInfo {
    ExportFormat format;
    const char* name;      // on the command line: "byte"
    const char* extension; // given to a path chosen in the save requester: ".s"
    const char* patterns;  // the save requester's pattern list: label|pattern
    bool maps;             // writes maps
    bool glyphs = true;    // writes glyphs
};

const ExportFormatInfo& export_format_info(ExportFormat format);
// The assembler dialect a format writes: Byte, Acme and Defb have one, the others none.
std::optional<AsmDialect> asm_dialect(ExportFormat format);
// The format of a command-line name (exact, lower case), if there is one.
std::optional<ExportFormat> export_format_named(std::string_view name);
// The names joined by ", ": the formats that write maps, or those that write glyphs.
std::string export_format_names(bool maps);

// Label fallbacks of export_label.
inline constexpr const char* kGlyphLabelFallback = "font";
inline constexpr const char* kMapLabelFallback = "map";

// The whole file of a glyph export. `label` names the data in source formats and the family of a
// BDF font; `load_address` is the first two bytes of a Prg file, and no other format uses it.
// Empty for Png: its pixels come from glyph_sheet_pixels and the caller encodes them.
std::vector<uint8_t> export_glyphs(ExportFormat format, const CharsetStore& store,
                                   GlyphSelection glyphs, std::string_view label,
                                   int load_address = kDefaultLoadAddress);
// Empty when `format` can write a map of cols x rows; otherwise why not, in a sentence for the
// user: a Spectrum screen takes 32 x 24 cells and no other size.
std::string map_export_refusal(ExportFormat format, int cols, int rows);
// The whole file of a map export in the size in use; empty for a format that writes no maps, for
// a size map_export_refusal refuses, and for Scr without `store`, the charset its glyphs come from.
// Empty for Png too: the caller draws the screen (render_map_screen) and encodes it.
std::vector<uint8_t> export_map(ExportFormat format, const CharMap& map, std::string_view label,
                                const CharsetStore* store = nullptr);

} // namespace fontarel
