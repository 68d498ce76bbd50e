#pragma once
// Sizes shared by the three canvases, in pixels, and the mouse-position-to-cell rule.

namespace fontarel {

constexpr int kCellPixels = 16;         // a cell of the charset grid, the map and the glyph editor
constexpr int kGridCells = 16;          // cells per row and per column of the charset grid
constexpr int kGridPixels = 256;        // the charset image and the charset canvas's surface
constexpr int kGlyphCanvasPixels = 128; // the glyph editor: 8 x 8 cells of 16 pixels

// A pixel coordinate to a cell number: divided by 16, truncated toward zero (-15..-1 give 0).
constexpr int cell_of(int pixel) {
    return pixel / kCellPixels;
}

} // namespace fontarel
