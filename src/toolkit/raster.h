#pragma once
// A picture held the way the screen wants it: rows top-down, one 32-bit word a pixel in the order
// the platform's RGB32 images use (0xFFRRGGBB), so a canvas is shown by wrapping its memory, never
// by converting it. Images and canvas pictures both use it, so drawing code is shared.
// Coordinates are pixels with (0, 0) at the top-left corner; every operation clips to the picture.
// Colour values elsewhere in the program are red + 256 * green + 65536 * blue; to_pixel and
// to_colour convert.
//
// Every drawing operation widens the picture's dirty rectangle by what it wrote, so that only the
// changed part is shown again; code that writes rows directly marks what it wrote itself.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/picture.h"

namespace fontarel {

// A rectangle of pixels; empty when w or h is 0.
struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// The pixel word of a colour value, and back.
constexpr uint32_t to_pixel(int colour) {
    const auto c = static_cast<uint32_t>(colour);
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}
constexpr int to_colour(uint32_t pixel) {
    return static_cast<int>((pixel >> 16 & 0xFFu) | (pixel & 0xFF00u) | (pixel & 0xFFu) << 16);
}

class Raster {
  public:
    Raster() = default;
    // A picture of the given size filled with the colour value `fill` (black by default).
    Raster(int width, int height, int fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    // Bytes per row in memory: 4 * width.
    int stride() const { return 4 * width_; }

    // Row y counted from the top of the picture (0 <= y < height): width pixel words.
    uint32_t* row(int y) { return data_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* row(int y) const { return data_.data() + static_cast<size_t>(y) * width_; }
    // All rows, top row first.
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(data_.data()); }
    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(data_.data()); }
    size_t byte_size() const { return data_.size() * sizeof(uint32_t); }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Colour value of a pixel; 0 outside the picture.
    int pixel(int x, int y) const;
    // Sets one pixel; does nothing outside the picture.
    void set_pixel(int x, int y, int colour);

    // Filled rectangle; a negative width or height extends to the left or upwards. Clipped.
    void fill_rect(int x, int y, int w, int h, int colour);
    // The 1-pixel border of the rectangle (top and bottom rows, left and right columns), inside it.
    // A 16 x 16 outline sets 60 pixels. Negative sizes as in fill_rect. Clipped.
    void outline_rect(int x, int y, int w, int h, int colour);
    // Copies the whole of `src` with its top-left corner at (x, y). Clipped. Only rows that differ
    // are written and marked dirty, so copying an unchanged picture over itself costs no repaint.
    void blit(const Raster& src, int x, int y);
    // A copy of the rectangle (x, y, w, h); parts outside this picture come out black.
    Raster crop(int x, int y, int w, int h) const;
    // A picture of the new size holding this one at its top-left corner; new area is `fill`.
    Raster resized(int width, int height, int fill) const;

    // Widens the dirty rectangle by (x, y, w, h), clipped to the picture.
    void mark_dirty(int x, int y, int w, int h);
    void mark_all_dirty() { mark_dirty(0, 0, width_, height_); }
    // The part changed since the last call, and forgets it.
    PixelRect take_dirty();
    // A number that differs between any two pictures made or resized during the run, so that a
    // renderer caching what it drew can tell a fresh picture from the one it drew on.
    uint64_t identity() const { return identity_; }

    // Same size and pixels; the dirty rectangle and identity do not count.
    bool operator==(const Raster& other) const {
        return width_ == other.width_ && height_ == other.height_ && data_ == other.data_;
    }

  private:
    static uint64_t next_identity();

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> data_;
    int dirty_x0_ = 0, dirty_y0_ = 0, dirty_x1_ = 0, dirty_y1_ = 0; // half-open; empty if x0 >= x1
    uint64_t identity_ = next_identity();
};

// The 54-byte headers and the pixel rows of a 24-bit uncompressed bottom-up BMP file of the
// raster: rows bottom row first, 3 bytes a pixel (blue, green, red), each row padded with zero
// bytes to a multiple of 4.
std::vector<uint8_t> encode_bmp(const Raster& raster);

// The picture in a BMP file of 24 bits a pixel, uncompressed, as encode_bmp writes (rows bottom-up,
// or top-down when the height is negative; any information header of at least 40 bytes). False,
// leaving `out` as it was, for anything else: another signature, depth or compression, a size of
// no pixels or of more than kPictureMostPixels, or pixel rows that lie beyond the bytes.
bool decode_bmp(std::span<const uint8_t> bytes, Picture& out);

// The raster's pixels as a picture of colour values.
Picture picture_of(const Raster& raster);

} // namespace fontarel
