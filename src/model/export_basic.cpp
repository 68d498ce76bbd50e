#include "model/export_basic.h"

#include <span>

namespace fontarel {

namespace {

// "1000 DATA 0,24,60\n"
std::string data_line(int index, std::span<const uint8_t> values) {
    std::string line = std::to_string(kBasicFirstLine + kBasicLineStep * index) + " DATA ";
    for (size_t i = 0; i < values.size(); ++i)
        line += (i ? "," : "") + std::to_string(values[i]);
    return line + "\n";
}

} // namespace

std::string glyphs_as_basic(const CharsetStore& store, GlyphSelection glyphs) {
    const GlyphSelection g = glyphs.clamped();
    std::string out;
    for (int i = 0; i < g.count; ++i)
        out += data_line(i, store.glyph(g.first + i));
    return out;
}

std::string map_as_basic(const CharMap& map) {
    const MapCodes m = map_codes(map);
    std::string out;
    for (int row = 0; row < m.rows; ++row)
        out += data_line(row, m.row(row));
    return out;
}

} // namespace fontarel
