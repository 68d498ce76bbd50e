#pragma once
// A 24-bit picture held the way the BMP format holds it: rows bottom-up (the first row in memory is the
// bottom row of the picture), 3 bytes per pixel in the order blue, green, red, each row padded with zero
// bytes to a multiple of 4 bytes. Images and canvas pictures both use it, so drawing code is shared.
// Coordinates are pixels with (0, 0) at the top-left corner; every operation clips to the picture.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fontarel {

class Raster {
  public:
    Raster() = default;
    // A picture of the given size filled with the colour value `fill` (black by default).
    Raster(int width, int height, int fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    // Bytes per row in memory: 3 * width rounded up to a multiple of 4.
    int stride() const { return stride_; }
    static int stride_for(int width) { return (3 * width + 3) & ~3; }

    // Row y counted from the top of the picture (0 <= y < height).
    uint8_t* row(int y) { return data_.data() + static_cast<size_t>(height_ - 1 - y) * stride_; }
    const uint8_t* row(int y) const {
        return data_.data() + static_cast<size_t>(height_ - 1 - y) * stride_;
    }
    // All rows, bottom row first, stride bytes each.
    uint8_t* data() { return data_.data(); }
    const uint8_t* data() const { return data_.data(); }
    size_t byte_size() const { return data_.size(); }

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
    // Copies the whole of `src` with its top-left corner at (x, y). Clipped.
    void blit(const Raster& src, int x, int y);
    // A copy of the rectangle (x, y, w, h); parts outside this picture come out black.
    Raster crop(int x, int y, int w, int h) const;
    // A picture of the new size holding this one at its top-left corner; new area is `fill`.
    Raster resized(int width, int height, int fill) const;

    bool operator==(const Raster& other) const = default;

  private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<uint8_t> data_;
};

// The 3 bytes of a colour value in memory order (blue, green, red).
inline void store_colour(uint8_t* p, int colour) {
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
}

// The 54-byte headers and the pixel rows of a 24-bit uncompressed bottom-up BMP file of the raster.
std::vector<uint8_t> encode_bmp(const Raster& raster);

} // namespace fontarel
