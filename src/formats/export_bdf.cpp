#include "formats/export_bdf.h"

#include <cstdio>

namespace fontarel {

namespace {

// 8 pixels at 75 dots an inch: an 8-point font. The scalable width in thousandths of the point
// size: 8 pixels = 8 * 72 / 75 points, / 8 points * 1000 = 960.
constexpr const char* kSize = "8 75 75";
constexpr int kScalableWidth = 960;

std::string properties(std::string_view family) {
    const std::string f(family);
    const char* lines[] = {"FOUNDRY \"fontarel\"",
                           "WEIGHT_NAME \"Medium\"",
                           "SLANT \"R\"",
                           "SETWIDTH_NAME \"Normal\"",
                           "ADD_STYLE_NAME \"\"",
                           "PIXEL_SIZE 8",
                           "POINT_SIZE 80",
                           "RESOLUTION_X 75",
                           "RESOLUTION_Y 75",
                           "SPACING \"C\"",
                           "AVERAGE_WIDTH 80",
                           "CHARSET_REGISTRY \"FontSpecific\"",
                           "CHARSET_ENCODING \"0\"",
                           "FONT_ASCENT 7",
                           "FONT_DESCENT 1"};
    std::string out = "FAMILY_NAME \"" + f + "\"\n";
    int count = 1;
    for (const char* line : lines) {
        out += std::string(line) + "\n";
        ++count;
    }
    return "STARTPROPERTIES " + std::to_string(count) + "\n" + out + "ENDPROPERTIES\n";
}

std::string character(const CharsetStore& store, int code) {
    char name[16];
    std::snprintf(name, sizeof name, "C%04X", code);
    std::string out = "STARTCHAR " + std::string(name) + "\nENCODING " + std::to_string(code) +
                      "\nSWIDTH " + std::to_string(kScalableWidth) +
                      " 0\nDWIDTH 8 0\nBBX 8 8 0 -1\nBITMAP\n";
    for (uint8_t row : store.glyph(code)) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", row);
        out += std::string(hex) + "\n";
    }
    return out + "ENDCHAR\n";
}

} // namespace

std::string glyphs_as_bdf(const CharsetStore& store, GlyphSelection glyphs,
                          std::string_view family) {
    const GlyphSelection g = glyphs.clamped();
    std::string out = "STARTFONT 2.1\n";
    out += "COMMENT " + glyph_count_text(g.count) + " from code " + std::to_string(g.first) + "\n";
    out += "FONT -fontarel-" + std::string(family) +
           "-Medium-R-Normal--8-80-75-75-C-80-FontSpecific-0\n";
    out += "SIZE " + std::string(kSize) + "\nFONTBOUNDINGBOX 8 8 0 -1\n";
    out += properties(family);
    out += "CHARS " + std::to_string(g.count) + "\n";
    for (int code = g.first; code < g.first + g.count; ++code)
        out += character(store, code);
    return out + "ENDFONT\n";
}

} // namespace fontarel
