#pragma once
// What every export shares: which glyphs it takes, the label its data gets, and the comment that
// names a glyph. Exports are pure: bytes of the store or the map in, text or bytes out.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/char_map.h"
#include "model/charset_store.h"

namespace fontarel {

// `count` consecutive glyphs from glyph `first` on. Valid when first is 0-255 and count is at
// least 1 and ends at glyph 255 at the latest; exporters given anything else clamp it into that.
struct GlyphSelection {
    int first = 0;
    int count = kGlyphCount;

    bool valid() const {
        return first >= 0 && first < kGlyphCount && count >= 1 && count <= kGlyphCount - first;
    }
    // The same selection forced inside 0-255 with at least one glyph.
    GlyphSelection clamped() const;
    // The selection of glyphs first..last, both inclusive, in either order.
    static GlyphSelection between(int a, int b);
};

// The codes of the map in the size in use, row 0 first, as a map file holds them.
struct MapCodes {
    int cols = 0;
    int rows = 0;
    std::vector<uint8_t> codes; // cols * rows bytes; row r starts at cols * r

    std::span<const uint8_t> row(int r) const {
        return std::span<const uint8_t>(codes).subspan(static_cast<size_t>(cols) * r,
                                                       static_cast<size_t>(cols));
    }
};
MapCodes map_codes(const CharMap& map);
// The attribute bytes of the same cells, in the same layout, as a map colour file holds them.
MapCodes map_colours(const CharMap& map);

// Whether map exports add the attribute array after the codes: for every machine but Mono and the
// Atari, whose cells have no colours of their own.
bool exports_colours(const CharMap& map);
// What the attribute bytes mean on the map's machine, in the words the exports' comments use:
// "ZX Spectrum attributes (bits 0-2 ink, 3-5 paper, 6 BRIGHT, 7 FLASH)"; "attributes" on Mono.
std::string attribute_meaning(const CharMap& map);
// The opening comment of the attribute array, saying what its bytes mean on the map's machine:
// "map of 32 x 24 ZX Spectrum attributes (bits 0-2 ink, 3-5 paper, 6 BRIGHT, 7 FLASH), ...".
std::string colours_comment(const MapCodes& colours, const CharMap& map);
// The label of the attribute array: `label` with "_colours" after it.
std::string colours_label(std::string_view label);
// The machine's colour registers beside the cells', as constants to export with the attributes:
// "background" on the C64 ($d021), with "multicolour_1" ($d022) and "multicolour_2" ($d023)
// while multicolour is on, or "background_1" to "background_3" ($d022-$d024) while the extended
// background colour mode is; "border" on the Spectrum; "COLBK" and "COLPF0" to "COLPF3" on the
// Atari, whose cells have no attributes, so that they come with the codes (registers_alone);
// none on Mono and PC text.
struct RegisterConstant {
    std::string word;
    int value;
};
std::vector<RegisterConstant> register_constants(const CharMap& map);
// Whether the map's register constants go with its codes, there being no attributes to go with.
inline bool registers_alone(const CharMap& map) {
    return map.look.machine == MapMachine::Atari;
}

// A name for the exported data, made from the file name at the end of `path`: its last extension
// dropped, every character other than an ASCII letter, digit or underscore turned into an
// underscore. A name of underscores alone, or none, is `fallback`; one that starts with a digit
// or an underscore gets `fallback` and an underscore in front. A name that the target assemblers or
// C take for an instruction, register, directive or keyword (compared without case), and every
// one-letter name, gets "_data" appended, so "font.s" gives "font", "8x8.c" "font_8x8", "int.c"
// "int_data".
std::string export_label(std::string_view path, std::string_view fallback);

// The code in decimal and, for the printable ASCII codes 32-126, its character in single quotes:
// "65 'A'", "7", "128". Above 127 a character would be one code page's guess, which means nothing
// to the machine the source is written for.
std::string glyph_comment(int code);

// "1 glyph", "96 glyphs": the count as the exports' opening comments give it.
std::string glyph_count_text(int count);

} // namespace fontarel
