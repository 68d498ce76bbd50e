#pragma once
// The character map's picture: every cell in use as its glyph in 2 x 2 pixel blocks, 16 x 16 pixels
// a cell, with an optional dotted grid in the two glyph colours.

#include <array>
#include <cstdint>
#include <memory>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/colour.h"
#include "model/map_block.h"
#include "model/map_colours.h"
#include "render/glyph_pixels.h"
#include "toolkit/raster.h"

namespace fontarel {

constexpr Colour kMapHoverColour = rgb(255, 0, 0);       // the outline of the hovered cell
constexpr Colour kMapSelectionColour = rgb(0, 160, 255); // the outline of the selected cells
constexpr Colour kMapCursorColour = rgb(0, 200, 0);      // the text cursor's cell while typing

// Renders cells (0..cols-1, 0..rows-1) into the top-left 16 * cols x 16 * rows pixels; only whole
// cells that fit the picture are drawn and pixels beyond are not touched. On a Mono map set pixels
// are colour1 and clear pixels colour0; on a machine's map each cell's attribute gives them
// (cell_colours), a C64 multicolour cell shows its bit pairs as 4 x 2 pixel blocks in
// multicolour_colours, and a FLASH or blink bit shows as the cell's top-right corner drawn with ink
// and paper swapped, a triangle of 4 + 3 + 2 + 1 pixels. With `grid`, each cell
// gets a dotted top edge (colour1 at even offsets, colour0 at odd) and then a dotted left edge
// (colour0 at even offsets, colour1 at odd), so its top-left pixel is colour0. Codes are taken
// modulo 256.
//
// The selected cells (`selection`, clipped to the cells in use) get a 1-pixel outline around them
// in kMapSelectionColour, and the hovered cell (`hover`; none when outside the cells in use) a
// 1-pixel outline in `hover_colour` over that (kMapCursorColour marks the text cursor's cell).
//
// It remembers what each cell shows: the next render onto the same picture writes only the cells
// whose code, attribute or glyph bytes changed, the cells the outline leaves or enters, or all of
// them when the colours, the machine, its background or multicolour state, the grid, the size in
// use or the picture changed.
struct MapCell {
    int column = -1, row = -1;
    bool operator==(const MapCell&) const = default;
};

class MapRenderer {
  public:
    void render(Raster& target, const CharMap& map, const CharsetStore& store, int colour0,
                int colour1, bool grid, MapCell hover = {}, CellRect selection = {},
                Colour hover_colour = kMapHoverColour);
    // True when a render would write nothing.
    bool up_to_date(const Raster& target, const CharMap& map, const CharsetStore& store,
                    int colour0, int colour1, bool grid, MapCell hover = {},
                    CellRect selection = {}, Colour hover_colour = kMapHoverColour) const;
    void invalidate() { target_ = 0; }

  private:
    void invalidate_cell(MapCell cell);
    // The map's look as far as it shows: the mode on the C64 alone, the registers of the mode
    // in use alone.
    static ScreenLook shown_look(const CharMap& map);
    // `changed` by glyph made `changed` by code: in extended background colour mode code c shows
    // glyph c & 63.
    static void changed_by_code(const ScreenLook& look, std::array<bool, kGlyphCount>& changed);
    // What a cell's pixel runs and colours are looked up by: its attribute, and in extended
    // background colour mode the colour nybble plus 16 x the background register, code >> 6; on
    // an Atari, whose cells have no attribute, the code's bit 7 alone.
    uint8_t key(int32_t code, uint8_t attr) const {
        if (look_.machine == MapMachine::Atari)
            return static_cast<uint8_t>((code >> 7) & 1);
        return look_.c64_extended() ? static_cast<uint8_t>((attr & 15) | (code & 0xC0) >> 2) : attr;
    }
    CellColours key_colours(uint8_t key) const;
    // The cells in use that fit the picture.
    static int columns_shown(const Raster& target, const CharMap& map);
    static int rows_shown(const Raster& target, const CharMap& map);
    // The hover cell, or none when it lies outside cols x rows.
    static MapCell within(MapCell hover, int cols, int rows);
    static CellRect within(CellRect selection, int cols, int rows);
    // The cells under a selection's outline drawn again without it.
    void invalidate_outline(const CellRect& selection);
    void render_cell(Raster& target, int column, int row, const CharsetStore& store, uint8_t code,
                     uint8_t attr);
    // Every cell of a row in use, a pixel row at a time.
    void render_row(Raster& target, int row, int cols, const int32_t* codes, const uint8_t* attrs,
                    const CharsetStore& store);
    // The pixel runs of a cell with that attribute, made when first needed for the machine and
    // background in use: a table like the Mono one, so a coloured cell costs the same copies.
    const DoubledRowPixels& attribute_runs(uint8_t attr) {
        return runs_ready_[attr] ? *attribute_runs_[attr] : make_attribute_runs(attr);
    }
    const DoubledRowPixels& make_attribute_runs(uint8_t attr);
    // What a cell shows, as drawn_ keeps it: the code, and on a machine's map with attributes
    // the attribute.
    int32_t shown(int32_t code, uint8_t attr) const {
        const bool attributes =
            look_.machine != MapMachine::Mono && look_.machine != MapMachine::Atari;
        return (code & 0xFF) | (attributes ? attr << 8 : 0);
    }
    // The pixel words of each attribute's ink and paper, and its marker, for the machine in use.
    void build_attribute_pixels();

    static constexpr int kCells = kMapCapacityCols * kMapCapacityRows;
    static constexpr int32_t kStale = -1;
    DoubledRowPixels pixels_;
    // Allocated only for the attributes a map shows (16 kB each).
    std::array<std::unique_ptr<DoubledRowPixels>, 256> attribute_runs_;
    std::array<bool, 256> runs_ready_{};
    struct AttributePixels {
        uint32_t ink = 0, paper = 0;
        bool marker = false;
    };
    std::array<AttributePixels, 256> attribute_pixels_{};
    std::array<int32_t, kCells> drawn_{}; // what each cell shows (see shown), or kStale
    ScreenLook look_;                     // shown_look of the map drawn
    std::array<uint8_t, kCharsetBytes> glyphs_{};
    std::array<uint32_t, 16 * kMapCapacityCols> top_edge_{};
    int colour0_ = 0, colour1_ = 0;
    bool grid_ = false;
    int cols_ = 0, rows_ = 0;
    MapCell outlined_; // the cell whose outline the picture shows
    Colour outline_colour_ = kMapHoverColour;
    CellRect selected_;   // the cells whose outline the picture shows
    uint64_t target_ = 0; // identity of the picture drawn on; 0 = nothing drawn
};

} // namespace fontarel
