#include "formats/export_screen.h"

#include <algorithm>

namespace fontarel {

std::string spectrum_screen_refusal(int cols, int rows) {
    if (cols == kSpectrumCols && rows == kSpectrumRows)
        return {};
    return "Spectrum screen needs a " + std::to_string(kSpectrumCols) + "x" +
           std::to_string(kSpectrumRows) + " map, not " + std::to_string(cols) + "x" +
           std::to_string(rows);
}

uint8_t attribute_on(const CharMap& map, int column, int row, MapMachine target) {
    return map.look.machine == target ? map.attr(column, row) : blank_attribute(target);
}

std::vector<uint8_t> spectrum_screen_bytes(const CharMap& map, const CharsetStore& store) {
    if (!spectrum_screen_refusal(map.cols, map.rows).empty())
        return {};
    std::vector<uint8_t> out(kSpectrumScreenBytes, 0);
    for (int row = 0; row < kSpectrumRows; ++row) {
        for (int column = 0; column < kSpectrumCols; ++column) {
            const auto glyph = store.glyph(map.at(column, row));
            for (int r = 0; r < kGlyphRows; ++r)
                out[spectrum_row_offset(kGlyphRows * row + r) + column] = glyph[r];
            out[kSpectrumBitmapBytes + kSpectrumCols * row + column] =
                attribute_on(map, column, row, MapMachine::ZxSpectrum);
        }
    }
    return out;
}

std::vector<uint8_t> pc_text_screen_bytes(const CharMap& map) {
    // The size in use, kept inside the cell array whatever the fields hold.
    const int cols = std::clamp<int>(map.cols, 0, kMapCapacityCols);
    const int rows = std::clamp<int>(map.rows, 0, kMapCapacityRows);
    std::vector<uint8_t> out;
    out.reserve(2 * static_cast<size_t>(cols) * rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < cols; ++column) {
            out.push_back(static_cast<uint8_t>(map.at(column, row)));
            out.push_back(attribute_on(map, column, row, MapMachine::PcText));
        }
    }
    return out;
}

} // namespace fontarel
