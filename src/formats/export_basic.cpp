#include "formats/export_basic.h"

#include <algorithm>
#include <span>

namespace fontarel {

namespace {

// "1000 DATA 0,24,60\n": the values from `line` on, kBasicValuesPerLine to a line.
void add_data_lines(std::string& out, int& line, std::span<const uint8_t> values) {
    for (size_t from = 0; from < values.size(); from += kBasicValuesPerLine) {
        out += std::to_string(kBasicFirstLine + kBasicLineStep * line++) + " DATA ";
        const size_t to = std::min(values.size(), from + kBasicValuesPerLine);
        for (size_t i = from; i < to; ++i)
            out += (i > from ? "," : "") + std::to_string(values[i]);
        out += "\n";
    }
}

} // namespace

std::string glyphs_as_basic(const CharsetStore& store, GlyphSelection glyphs) {
    const GlyphSelection g = glyphs.clamped();
    std::string out;
    int line = 0;
    for (int i = 0; i < g.count; ++i)
        add_data_lines(out, line, store.glyph(g.first + i));
    return out;
}

std::string map_as_basic(const CharMap& map) {
    const MapCodes m = map_codes(map);
    std::string out;
    int line = 0;
    for (int row = 0; row < m.rows; ++row)
        add_data_lines(out, line, m.row(row));
    if (!exports_colours(map))
        return out;
    const MapCodes colours = map_colours(map);
    for (int row = 0; row < colours.rows; ++row)
        add_data_lines(out, line, colours.row(row));
    return out;
}

} // namespace fontarel
