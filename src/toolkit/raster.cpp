#include "toolkit/raster.h"

#include <algorithm>
#include <cstring>

namespace fontarel {

namespace {

// A rectangle as half-open pixel intervals [x0, x1) x [y0, y1). 64-bit so that sums of huge
// coordinates and sizes cannot overflow before clipping.
struct Span {
    int64_t x0, y0, x1, y1;
};

// A negative width or height extends to the left or upwards from (x, y): width -3 at x = 10 covers
// columns 7, 8 and 9.
Span normalise(int x, int y, int w, int h) {
    int64_t x0 = x, y0 = y, x1 = int64_t{x} + w, y1 = int64_t{y} + h;
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    return {x0, y0, x1, y1};
}

Span clip(Span s, int width, int height) {
    return {std::max<int64_t>(s.x0, 0), std::max<int64_t>(s.y0, 0), std::min<int64_t>(s.x1, width),
            std::min<int64_t>(s.y1, height)};
}

void put_le(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

Raster::Raster(int width, int height, int fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), stride_(stride_for(width_)),
      data_(static_cast<size_t>(stride_) * height_, 0) {
    if (fill != 0)
        fill_rect(0, 0, width_, height_, fill);
}

int Raster::pixel(int x, int y) const {
    if (!contains(x, y))
        return 0;
    const uint8_t* p = row(y) + 3 * x;
    return p[0] << 16 | p[1] << 8 | p[2];
}

void Raster::set_pixel(int x, int y, int colour) {
    if (contains(x, y))
        store_colour(row(y) + 3 * x, colour);
}

void Raster::fill_rect(int x, int y, int w, int h, int colour) {
    const Span s = clip(normalise(x, y, w, h), width_, height_);
    if (s.x0 >= s.x1 || s.y0 >= s.y1)
        return;
    // Fill the first row pixel by pixel, then copy it to the others.
    uint8_t* first = row(static_cast<int>(s.y0)) + 3 * s.x0;
    const size_t bytes = 3 * static_cast<size_t>(s.x1 - s.x0);
    for (size_t i = 0; i < bytes; i += 3)
        store_colour(first + i, colour);
    for (int64_t yy = s.y0 + 1; yy < s.y1; ++yy)
        std::memcpy(row(static_cast<int>(yy)) + 3 * s.x0, first, bytes);
}

void Raster::outline_rect(int x, int y, int w, int h, int colour) {
    const Span s = normalise(x, y, w, h);
    if (s.x0 >= s.x1 || s.y0 >= s.y1)
        return;
    // Top and bottom rows, then the two columns between them; each part clips on its own.
    auto part = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        const Span c = clip({x0, y0, x1, y1}, width_, height_);
        if (c.x0 < c.x1 && c.y0 < c.y1)
            fill_rect(static_cast<int>(c.x0), static_cast<int>(c.y0), static_cast<int>(c.x1 - c.x0),
                      static_cast<int>(c.y1 - c.y0), colour);
    };
    part(s.x0, s.y0, s.x1, s.y0 + 1);
    part(s.x0, s.y1 - 1, s.x1, s.y1);
    part(s.x0, s.y0 + 1, s.x0 + 1, s.y1 - 1);
    part(s.x1 - 1, s.y0 + 1, s.x1, s.y1 - 1);
}

void Raster::blit(const Raster& src, int x, int y) {
    if (&src == this) { // drawing an image onto itself: rows would overlap while copying
        const Raster copy = src;
        blit(copy, x, y);
        return;
    }
    const Span s = clip({x, y, int64_t{x} + src.width_, int64_t{y} + src.height_}, width_, height_);
    if (s.x0 >= s.x1 || s.y0 >= s.y1)
        return;
    const size_t bytes = 3 * static_cast<size_t>(s.x1 - s.x0);
    for (int64_t yy = s.y0; yy < s.y1; ++yy)
        std::memmove(row(static_cast<int>(yy)) + 3 * s.x0,
                     src.row(static_cast<int>(yy - y)) + 3 * (s.x0 - x), bytes);
}

Raster Raster::crop(int x, int y, int w, int h) const {
    Raster out(w, h);
    const Span s = clip({x, y, int64_t{x} + out.width_, int64_t{y} + out.height_}, width_, height_);
    if (s.x0 >= s.x1 || s.y0 >= s.y1)
        return out; // no overlap: all black
    const size_t bytes = 3 * static_cast<size_t>(s.x1 - s.x0);
    for (int64_t yy = s.y0; yy < s.y1; ++yy)
        std::memcpy(out.row(static_cast<int>(yy - y)) + 3 * (s.x0 - x),
                    row(static_cast<int>(yy)) + 3 * s.x0, bytes);
    return out;
}

Raster Raster::resized(int width, int height, int fill) const {
    Raster out(width, height, fill);
    out.blit(*this, 0, 0);
    return out;
}

std::vector<uint8_t> encode_bmp(const Raster& raster) {
    constexpr size_t kHeaderBytes = 54; // 14-byte file header + 40-byte information header
    const size_t pixel_bytes = raster.byte_size();
    std::vector<uint8_t> out(kHeaderBytes + pixel_bytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    put_le(out, 2, static_cast<uint32_t>(kHeaderBytes + pixel_bytes), 4);
    put_le(out, 10, kHeaderBytes, 4);
    put_le(out, 14, 40, 4);
    put_le(out, 18, static_cast<uint32_t>(raster.width()), 4);
    put_le(out, 22, static_cast<uint32_t>(raster.height()), 4); // positive: rows run bottom-up
    put_le(out, 26, 1, 2);                                      // colour planes
    put_le(out, 28, 24, 2);                                     // bits per pixel
    put_le(out, 34, static_cast<uint32_t>(pixel_bytes), 4);
    // Compression, resolutions and colour counts stay 0. The rows are held bottom-up with the
    // file's padding already, so they go out as they are.
    if (pixel_bytes != 0)
        std::memcpy(out.data() + kHeaderBytes, raster.data(), pixel_bytes);
    return out;
}

} // namespace fontarel
