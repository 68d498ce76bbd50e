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

uint32_t get_le(std::span<const uint8_t> in, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint32_t{in[at + i]} << (8 * i);
    return value;
}

} // namespace

uint64_t Raster::next_identity() {
    static uint64_t counter = 0;
    return ++counter;
}

Raster::Raster(int width, int height, int fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      data_(static_cast<size_t>(width_) * height_, to_pixel(fill)) {}

int Raster::pixel(int x, int y) const {
    if (!contains(x, y))
        return 0;
    return to_colour(row(y)[x]);
}

void Raster::set_pixel(int x, int y, int colour) {
    if (!contains(x, y))
        return;
    row(y)[x] = to_pixel(colour);
    mark_dirty(x, y, 1, 1);
}

void Raster::fill_rect(int x, int y, int w, int h, int colour) {
    const Span s = clip(normalise(x, y, w, h), width_, height_);
    if (s.x0 >= s.x1 || s.y0 >= s.y1)
        return;
    const uint32_t p = to_pixel(colour);
    for (int64_t yy = s.y0; yy < s.y1; ++yy)
        std::fill(row(static_cast<int>(yy)) + s.x0, row(static_cast<int>(yy)) + s.x1, p);
    mark_dirty(static_cast<int>(s.x0), static_cast<int>(s.y0), static_cast<int>(s.x1 - s.x0),
               static_cast<int>(s.y1 - s.y0));
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
    const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(s.x1 - s.x0);
    for (int64_t yy = s.y0; yy < s.y1; ++yy) {
        uint32_t* to = row(static_cast<int>(yy)) + s.x0;
        const uint32_t* from = src.row(static_cast<int>(yy - y)) + (s.x0 - x);
        if (std::memcmp(to, from, bytes) != 0) {
            std::memcpy(to, from, bytes);
            mark_dirty(static_cast<int>(s.x0), static_cast<int>(yy), static_cast<int>(s.x1 - s.x0),
                       1);
        }
    }
}

Raster Raster::crop(int x, int y, int w, int h) const {
    Raster out(w, h);
    const Span s = clip({x, y, int64_t{x} + out.width_, int64_t{y} + out.height_}, width_, height_);
    if (s.x0 >= s.x1 || s.y0 >= s.y1)
        return out; // no overlap: all black
    const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(s.x1 - s.x0);
    for (int64_t yy = s.y0; yy < s.y1; ++yy)
        std::memcpy(out.row(static_cast<int>(yy - y)) + (s.x0 - x),
                    row(static_cast<int>(yy)) + s.x0, bytes);
    return out;
}

Raster Raster::resized(int width, int height, int fill) const {
    Raster out(width, height, fill);
    out.blit(*this, 0, 0);
    out.mark_all_dirty();
    return out;
}

void Raster::mark_dirty(int x, int y, int w, int h) {
    const Span s = clip(normalise(x, y, w, h), width_, height_);
    if (s.x0 >= s.x1 || s.y0 >= s.y1)
        return;
    if (dirty_x0_ >= dirty_x1_) {
        dirty_x0_ = static_cast<int>(s.x0);
        dirty_y0_ = static_cast<int>(s.y0);
        dirty_x1_ = static_cast<int>(s.x1);
        dirty_y1_ = static_cast<int>(s.y1);
        return;
    }
    dirty_x0_ = std::min(dirty_x0_, static_cast<int>(s.x0));
    dirty_y0_ = std::min(dirty_y0_, static_cast<int>(s.y0));
    dirty_x1_ = std::max(dirty_x1_, static_cast<int>(s.x1));
    dirty_y1_ = std::max(dirty_y1_, static_cast<int>(s.y1));
}

PixelRect Raster::take_dirty() {
    const PixelRect r{dirty_x0_, dirty_y0_, dirty_x1_ - dirty_x0_, dirty_y1_ - dirty_y0_};
    dirty_x0_ = dirty_y0_ = dirty_x1_ = dirty_y1_ = 0;
    return r.empty() ? PixelRect{} : r;
}

std::vector<uint8_t> encode_bmp(const Raster& raster) {
    constexpr size_t kHeaderBytes = 54; // 14-byte file header + 40-byte information header
    const int w = raster.width();
    const int h = raster.height();
    const size_t stride = static_cast<size_t>(3 * w + 3) & ~size_t{3};
    const size_t pixel_bytes = stride * static_cast<size_t>(h);
    std::vector<uint8_t> out(kHeaderBytes + pixel_bytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    put_le(out, 2, static_cast<uint32_t>(kHeaderBytes + pixel_bytes), 4);
    put_le(out, 10, kHeaderBytes, 4);
    put_le(out, 14, 40, 4);
    put_le(out, 18, static_cast<uint32_t>(w), 4);
    put_le(out, 22, static_cast<uint32_t>(h), 4); // positive: rows run bottom-up
    put_le(out, 26, 1, 2);                        // colour planes
    put_le(out, 28, 24, 2);                       // bits per pixel
    put_le(out, 34, static_cast<uint32_t>(pixel_bytes), 4);
    // Compression, resolutions and colour counts stay 0; so do the padding bytes of each row.
    for (int k = 0; k < h; ++k) {
        const uint32_t* from = raster.row(h - 1 - k);
        uint8_t* to = out.data() + kHeaderBytes + stride * static_cast<size_t>(k);
        for (int x = 0; x < w; ++x, to += 3) {
            to[0] = static_cast<uint8_t>(from[x]);       // blue
            to[1] = static_cast<uint8_t>(from[x] >> 8);  // green
            to[2] = static_cast<uint8_t>(from[x] >> 16); // red
        }
    }
    return out;
}

bool decode_bmp(std::span<const uint8_t> bytes, Picture& out) {
    constexpr size_t kFileHeader = 14;
    constexpr size_t kInfoHeader = 40; // the smallest information header with these fields
    if (bytes.size() < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const uint32_t offset = get_le(bytes, 10, 4);
    const uint32_t info = get_le(bytes, 14, 4);
    const auto width = static_cast<int32_t>(get_le(bytes, 18, 4));
    const auto height = static_cast<int32_t>(get_le(bytes, 22, 4));
    if (info < kInfoHeader || offset < kFileHeader + info || get_le(bytes, 26, 2) != 1 ||
        get_le(bytes, 28, 2) != 24 || get_le(bytes, 30, 4) != 0)
        return false;
    const int64_t w = width;
    const int64_t h = height < 0 ? -int64_t{height} : int64_t{height};
    if (w <= 0 || h <= 0 || w * h > kPictureMostPixels)
        return false;
    // Every row but the last is padded to a multiple of 4 bytes; the last needs only its pixels.
    const auto stride = static_cast<uint64_t>(3 * w + 3) & ~uint64_t{3};
    if (uint64_t{offset} + stride * static_cast<uint64_t>(h - 1) + static_cast<uint64_t>(3 * w) >
        bytes.size())
        return false;

    Picture picture;
    picture.width = static_cast<int>(w);
    picture.height = static_cast<int>(h);
    picture.pixels.resize(static_cast<size_t>(w * h));
    int32_t* to = picture.pixels.data();
    for (int64_t y = 0; y < h; ++y) {
        const int64_t stored = height > 0 ? h - 1 - y : y; // the file's row of picture row y
        const uint8_t* from = bytes.data() + offset + stride * static_cast<uint64_t>(stored);
        for (int64_t x = 0; x < w; ++x, from += 3) // blue, green, red
            *to++ = static_cast<int32_t>(from[2] | from[1] << 8 | from[0] << 16);
    }
    out = std::move(picture);
    return true;
}

Picture picture_of(const Raster& raster) {
    Picture picture;
    picture.width = raster.width();
    picture.height = raster.height();
    picture.pixels.reserve(static_cast<size_t>(raster.width()) * raster.height());
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x)
            picture.pixels.push_back(to_colour(raster.row(y)[x]));
    return picture;
}

} // namespace fontarel
