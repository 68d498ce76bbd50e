// Screen pictures into a charset and a map (see picture_import.h).

#include <algorithm>

#include "formats/cell_glyphs.h"
#include "formats/picture_import.h"
#include "formats/pixel_rule.h"
#include "formats/screen_colours.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

constexpr int kMostCols = 80; // cells of the largest machine size
constexpr int kMostRows = 50;

// The picture's cells: each distinct pattern once, in order of first appearance (row by row); cell
// (x, y) at y * cols + x.
struct ScreenCells : CellPatterns {
    int cols = 0, rows = 0;
    std::vector<uint8_t> attr; // colour: cell (x, y)'s attribute at y * cols + x; Mono: none
    bool reduced = false;      // Mono: more than two colours
};

// Each cell's pattern in the program's two colours, row by row.
std::vector<GlyphPattern> two_colour_cells(const Picture& picture, int32_t clear_colour,
                                           int32_t set_colour, ScreenCells& cells) {
    const PixelRule rule(picture, clear_colour, set_colour);
    cells.reduced = rule.reduced();
    // Each picture row adds its 8-pixel run to row y % 8 of every cell along it.
    std::vector<GlyphPattern> cell(static_cast<size_t>(cells.cols) * cells.rows, 0);
    rule.visit([&](auto set) {
        for (int y = 0; y < picture.height; ++y) {
            const int32_t* line = picture.pixels.data() + static_cast<size_t>(y) * picture.width;
            GlyphPattern* row = cell.data() + static_cast<size_t>(y / 8) * cells.cols;
            const int shift = 8 * (y % 8);
            for (int x = 0; x < cells.cols; ++x, line += 8) {
                unsigned byte = 0;
                for (int bit = 0; bit < 8; ++bit)
                    byte = byte << 1 | static_cast<unsigned>(set(line[bit]));
                row[x] |= GlyphPattern{byte} << shift;
            }
        }
    });
    return cell;
}

// The cells of a screen picture, or false with `out.error` when the picture is no screen picture.
// Sets `out.cells`, `out.distinct`, the map's size and machine, and for colour the counts of
// cells not drawn as they are and the C64 background.
bool read_cells(const Picture& picture, int32_t clear_colour, int32_t set_colour,
                MapMachine machine, ScreenImport& out, ScreenCells& cells) {
    if (!whole_picture(picture) || picture.width % 8 != 0 || picture.height % 8 != 0 ||
        picture.width > 8 * kMostCols || picture.height > 8 * kMostRows) {
        out.error = "is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                    ": a screen picture is a multiple of 8 pixels each way, at most 640 x 400";
        return false;
    }
    cells.cols = picture.width / 8;
    cells.rows = picture.height / 8;
    out.map.look.machine = machine;
    std::vector<GlyphPattern> cell;
    if (machine == MapMachine::Mono) {
        cell = two_colour_cells(picture, clear_colour, set_colour, cells);
    } else {
        ColourCells colour = read_colour_cells(picture, machine);
        cell = std::move(colour.patterns);
        cells.attr = std::move(colour.attrs);
        out.map.look.background =
            machine == MapMachine::C64 ? colour.background : start_background(machine);
        out.many_colours = colour.many_colours;
        out.clashing = colour.clashing;
    }

    static_cast<CellPatterns&>(cells) = distinct_patterns(cell);
    out.cells = static_cast<int>(cell.size());
    out.distinct = static_cast<int>(cells.patterns.size());
    fit_map_size(out.map, cells.cols, cells.rows);
    return true;
}

// "1 cell had", "12 cells had".
std::string cells_had(int n) {
    return std::to_string(n) + (n == 1 ? " cell had " : " cells had ");
}

// The codes the cells' patterns get: `code_of[p]` for pattern p, and where the machine can
// exchange a cell's ink and paper, `inverse_code_of[p]` for its inverse (none: never).
struct Codes {
    std::vector<int> code_of, inverse_code_of;
};

// Gives the picture's cells their codes (and in colour their attributes, taking the inverse
// pattern with ink and paper exchanged when its glyph differs in fewer pixels) and the other cells
// in use `outside`; counts the codes used and notes the cells whose glyph differs from their
// pattern ("... by up to N pixels").
void fill_map(ScreenImport& out, const ScreenCells& cells, const Codes& codes, int outside,
              const std::string& cells_differ) {
    const MapMachine machine = out.map.look.machine;
    const bool colour = machine != MapMachine::Mono;
    std::array<bool, kGlyphCount> used{};
    int differ = 0, most = 0;
    for (int y = 0; y < out.map.rows; ++y) {
        for (int x = 0; x < out.map.cols; ++x) {
            if (x >= cells.cols || y >= cells.rows) {
                out.map.at(x, y) = outside;
                if (colour)
                    out.map.attr(x, y) = blank_attribute(machine);
                continue;
            }
            const size_t i = static_cast<size_t>(y * cells.cols + x);
            const size_t p = static_cast<size_t>(cells.pattern[i]);
            int code = codes.code_of[p];
            int d = differing_pixels(cells.patterns[p], glyph_pattern(out.charset, code));
            if (colour) {
                uint8_t attr = cells.attr[i], swapped = 0;
                if (d > 0 && !codes.inverse_code_of.empty() &&
                    swapped_attribute(machine, attr, swapped)) {
                    const int inverse = codes.inverse_code_of[p];
                    const int e =
                        differing_pixels(~cells.patterns[p], glyph_pattern(out.charset, inverse));
                    if (e < d)
                        code = inverse, d = e, attr = swapped;
                }
                out.map.attr(x, y) = attr;
            }
            out.map.at(x, y) = code;
            used[static_cast<size_t>(code)] = true;
            differ += d > 0;
            most = std::max(most, d);
        }
    }
    out.glyphs = static_cast<int>(std::count(used.begin(), used.end(), true));
    std::vector<std::string> sentences;
    if (cells.reduced)
        sentences.push_back(kColoursReducedNote);
    if (out.many_colours > 0)
        sentences.push_back(cells_had(out.many_colours) + "more than two colours");
    if (out.clashing > 0)
        sentences.push_back(cells_had(out.clashing) + "colours that cannot share a " +
                            machine_name(machine) + " cell");
    if (differ > 0)
        sentences.push_back(cells_differ + std::to_string(differ) +
                            (differ == 1 ? " cell differs" : " cells differ") + " by up to " +
                            std::to_string(most) + (most == 1 ? " pixel" : " pixels"));
    for (const std::string& s : sentences)
        out.note += (out.note.empty() ? "" : ". ") + s;
}

} // namespace

ScreenImport import_screen_new_charset(const Picture& picture, int32_t clear_colour,
                                       int32_t set_colour, MapMachine machine) {
    ScreenImport out;
    ScreenCells cells;
    if (!read_cells(picture, clear_colour, set_colour, machine, out, cells))
        return out;
    const NewCharset made = make_new_charset(cells, out.charset);
    fill_map(out, cells, {made.code_of, {}}, made.blank,
             made.codes < out.distinct ? "Reduced to " + std::to_string(made.codes) + " glyphs: "
                                       : "");
    return out;
}

ScreenImport import_screen_current_charset(const Picture& picture, const CharsetStore& current,
                                           int32_t clear_colour, int32_t set_colour,
                                           MapMachine machine) {
    ScreenImport out;
    out.charset = current;
    ScreenCells cells;
    if (!read_cells(picture, clear_colour, set_colour, machine, out, cells))
        return out;
    Codes code_of{nearest_glyphs(cells.patterns, current, kGlyphCount), {}};
    // A cell drawn in one polarity may be the charset's glyph in the other.
    if (machine == MapMachine::ZxSpectrum || machine == MapMachine::PcText)
        code_of.inverse_code_of = nearest_glyphs(cells.patterns, current, kGlyphCount, true);
    // Blank cells, and the cells outside the picture, take the charset's blank code, as Cut and
    // Clear on the map leave them.
    const int blank = blank_code(current);
    if (glyph_pattern(current, blank) == 0) {
        for (size_t p = 0; p < cells.patterns.size(); ++p)
            if (cells.patterns[p] == 0)
                code_of.code_of[p] = blank;
        fill_map(out, cells, code_of, blank, "");
    } else {
        fill_map(out, cells, code_of, nearest_to_blank(current, kGlyphCount), "");
    }
    return out;
}

} // namespace fontarel
