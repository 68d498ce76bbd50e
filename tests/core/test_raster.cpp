// Rasters: memory layout, dirty rectangles, boxes and outlines with clipping, copies, BMP bytes,
// and drawing through the toolkit onto images.

#include <climits>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "toolkit/headless/headless_toolkit.h"
#include "toolkit/raster.h"

namespace fontarel {
namespace {

constexpr int kWhite = 0xFFFFFF;

int count_colour(const Raster& r, int colour) {
    int n = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            n += r.pixel(x, y) == colour;
    return n;
}

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= uint32_t{b[at + i]} << (8 * i);
    return v;
}

TEST(Raster, PixelsAreScreenWordsTopRowFirst) {
    Raster r(3, 2);
    ASSERT_EQ(r.stride(), 12);
    ASSERT_EQ(r.byte_size(), 24u);
    EXPECT_EQ(count_colour(r, 0), 6) << "a new raster is black";

    r.set_pixel(0, 0, 255); // pure red, top-left: the first word in memory
    const uint8_t* top = r.bytes();
    EXPECT_EQ(top[0], 0x00); // blue
    EXPECT_EQ(top[1], 0x00); // green
    EXPECT_EQ(top[2], 0xFF); // red
    EXPECT_EQ(top[3], 0xFF); // opaque
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(r.row(1)), r.bytes() + r.stride());

    r.set_pixel(2, 1, rgb(1, 2, 3));
    EXPECT_EQ(r.row(1)[2], 0xFF010203u);
    EXPECT_EQ(r.pixel(2, 1), rgb(1, 2, 3));
    for (int colour : {0, 0xFFFFFF, rgb(46, 44, 155), rgb(255, 0, 1)})
        EXPECT_EQ(to_colour(to_pixel(colour)), colour);
}

TEST(Raster, DirtyRectangleCoversWhatChangedAndCopiesOfEqualRowsAddNothing) {
    Raster r(40, 30);
    EXPECT_TRUE(r.take_dirty().empty());
    r.set_pixel(5, 6, kWhite);
    r.fill_rect(20, 10, 4, -3, kWhite); // rows 7-9
    r.set_pixel(-1, 100, kWhite);       // outside: nothing
    EXPECT_EQ(r.take_dirty(), (PixelRect{5, 6, 19, 4}));
    EXPECT_TRUE(r.take_dirty().empty()) << "taking forgets";

    Raster same = r;
    r.blit(same, 0, 0);
    EXPECT_TRUE(r.take_dirty().empty()) << "an identical picture changes nothing";
    same.set_pixel(39, 29, 255);
    same.set_pixel(0, 12, 255);
    r.blit(same, 0, 0);
    EXPECT_EQ(r.take_dirty(), (PixelRect{0, 12, 40, 18})) << "whole rows that differ";
    EXPECT_EQ(r, same);
    EXPECT_EQ(r.resized(50, 30, 0).take_dirty(), (PixelRect{0, 0, 50, 30}));
}

TEST(Raster, OutlineOf16x16SetsOnlyItsBorder) {
    Raster r(20, 20);
    r.outline_rect(2, 2, 16, 16, kWhite);
    EXPECT_EQ(count_colour(r, kWhite), 60);
    for (int y = 3; y < 17; ++y)
        for (int x = 3; x < 17; ++x)
            ASSERT_EQ(r.pixel(x, y), 0) << x << "," << y;
    EXPECT_EQ(r.pixel(2, 2), kWhite);
    EXPECT_EQ(r.pixel(17, 17), kWhite);
    EXPECT_EQ(r.pixel(17, 2), kWhite);
    EXPECT_EQ(r.pixel(18, 18), 0);

    Raster thin(4, 4);
    thin.outline_rect(1, 0, 1, 4, kWhite); // one column wide: just that column
    EXPECT_EQ(count_colour(thin, kWhite), 4);
}

TEST(Raster, NegativeSizesExtendLeftAndUp) {
    Raster r(16, 16);
    r.fill_rect(10, 10, -3, -2, kWhite);
    EXPECT_EQ(count_colour(r, kWhite), 6);
    EXPECT_EQ(r.pixel(7, 8), kWhite);
    EXPECT_EQ(r.pixel(9, 9), kWhite);
    EXPECT_EQ(r.pixel(10, 10), 0);

    Raster a(16, 16), b(16, 16);
    a.outline_rect(10, 10, -6, -5, kWhite);
    b.outline_rect(4, 5, 6, 5, kWhite);
    EXPECT_EQ(a, b);
}

TEST(Raster, BoxesClipAtEveryEdgeWithoutWrapping) {
    // Unclipped writes past a row's end would land in the neighbouring row, so count everything.
    struct Case {
        int x, y, w, h, expected;
    };
    const Case cases[] = {
        {-2, 3, 4, 1, 2},
        {6, 3, 5, 1, 2},
        {0, -5, 8, 6, 8},
        {0, 6, 8, 100, 16},
        {1000, 1000, 5, 5, 0},
        {-1000, -1000, 5, 5, 0},
        {0, 0, INT_MAX, INT_MAX, 64},
        {INT_MAX, 0, INT_MAX, 1, 0},
        {INT_MIN, 0, INT_MIN, 8, 0},
    };
    for (const Case& c : cases) {
        Raster r(8, 8);
        r.fill_rect(c.x, c.y, c.w, c.h, kWhite);
        EXPECT_EQ(count_colour(r, kWhite), c.expected)
            << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }

    // An outline larger than the picture on every side leaves it untouched: its border is outside.
    Raster around(8, 8);
    around.outline_rect(-1, -1, 10, 10, kWhite);
    EXPECT_EQ(count_colour(around, kWhite), 0);

    // Only the bottom row (x 0..3 at y 3) and the right column (x 3 at y 0..2) are inside.
    Raster corner(8, 8);
    corner.outline_rect(-1, -1, 5, 5, kWhite);
    EXPECT_EQ(count_colour(corner, kWhite), 7);
    EXPECT_EQ(corner.pixel(0, 3), kWhite);
    EXPECT_EQ(corner.pixel(3, 0), kWhite);
    EXPECT_EQ(corner.pixel(0, 0), 0);
}

TEST(Raster, BlitCropAndResizeClipAndKeepTopLeft) {
    Raster src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            src.set_pixel(x, y, rgb(10 + x, 20 + y, 1));

    Raster dst(8, 8);
    dst.blit(src, -2, -2);
    EXPECT_EQ(dst.pixel(0, 0), src.pixel(2, 2));
    EXPECT_EQ(dst.pixel(1, 1), src.pixel(3, 3));
    EXPECT_EQ(count_colour(dst, 0), 60);
    dst.blit(src, 6, 7);
    EXPECT_EQ(dst.pixel(7, 7), src.pixel(1, 0));
    const Raster before = dst;
    dst.blit(src, 100, -100);
    dst.blit(src, INT_MIN, INT_MAX);
    EXPECT_EQ(dst, before);

    const Raster part = src.crop(2, 1, 4, 2); // two columns hang over the right edge
    ASSERT_EQ(part.width(), 4);
    EXPECT_EQ(part.pixel(0, 0), src.pixel(2, 1));
    EXPECT_EQ(part.pixel(1, 1), src.pixel(3, 2));
    EXPECT_EQ(part.pixel(2, 0), 0);

    const Raster grown = src.resized(6, 5, kWhite);
    EXPECT_EQ(grown.pixel(3, 3), src.pixel(3, 3));
    EXPECT_EQ(grown.pixel(4, 0), kWhite);
    EXPECT_EQ(grown.pixel(0, 4), kWhite);
    EXPECT_EQ(count_colour(grown, kWhite), 30 - 16);
    const Raster shrunk = src.resized(2, 3, kWhite);
    EXPECT_EQ(shrunk.pixel(1, 2), src.pixel(1, 2));
}

TEST(Bmp, OddWidthRowsArePaddedAndBottomRowComesFirst) {
    Raster r(3, 2);
    r.set_pixel(0, 1, rgb(0x11, 0x22, 0x33)); // bottom-left
    r.set_pixel(2, 0, rgb(0x44, 0x55, 0x66)); // top-right
    const std::vector<uint8_t> b = encode_bmp(r);
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le(b, 2, 4), 78u);
    EXPECT_EQ(le(b, 34, 4), 24u);
    const std::vector<uint8_t> rows(b.begin() + 54, b.end());
    const std::vector<uint8_t> expected = {
        0x33, 0x22, 0x11, 0, 0, 0, 0,    0,    0,    0, 0, 0, // picture row 1
        0,    0,    0,    0, 0, 0, 0x66, 0x55, 0x44, 0, 0, 0, // picture row 0
    };
    EXPECT_EQ(rows, expected);
}

TEST(Bmp, HeaderFieldsOfTheCharsetPicture) {
    const std::vector<uint8_t> b = encode_bmp(Raster(256, 256));
    ASSERT_EQ(b.size(), 54u + 256 * 768);
    EXPECT_EQ(le(b, 2, 4), 54u + 256 * 768);
    EXPECT_EQ(le(b, 6, 4), 0u);
    EXPECT_EQ(le(b, 10, 4), 54u);
    EXPECT_EQ(le(b, 14, 4), 40u);
    EXPECT_EQ(le(b, 18, 4), 256u);
    EXPECT_EQ(le(b, 22, 4), 256u);
    EXPECT_EQ(le(b, 26, 2), 1u);
    EXPECT_EQ(le(b, 28, 2), 24u);
    EXPECT_EQ(le(b, 30, 4), 0u);
    EXPECT_EQ(le(b, 34, 4), 256u * 768);
    for (size_t at = 38; at < 54; at += 4)
        EXPECT_EQ(le(b, at, 4), 0u) << at;
}

TEST(Drawing, ImagesStartBlackAndBoxesFollowTheMode) {
    HeadlessToolkit tk;
    ASSERT_NE(tk.create_image(0, 20, 20), 0);
    EXPECT_EQ(count_colour(*tk.image(0), 0), 400);
    EXPECT_EQ(tk.create_image(1, 0, 5), 0);

    ASSERT_NE(tk.begin_drawing(tk.image_target(0)), 0);
    tk.set_draw_mode(kDrawOutline);
    tk.draw_box(2, 2, 16, 16, kWhite);
    tk.end_drawing();
    EXPECT_EQ(count_colour(*tk.image(0), kWhite), 60);

    // Every begin_drawing starts filled again.
    ASSERT_NE(tk.begin_drawing(tk.image_target(0)), 0);
    tk.draw_box(0, 0, 20, 20, 255);
    tk.end_drawing();
    EXPECT_EQ(count_colour(*tk.image(0), 255), 400);
    EXPECT_EQ(tk.drawing_raster(), nullptr);
    tk.draw_box(0, 0, 20, 20, 0); // after end_drawing: no target, nothing happens
    EXPECT_EQ(count_colour(*tk.image(0), 255), 400);
}

TEST(Drawing, GrabAndDrawImageCopyClippedRectangles) {
    HeadlessToolkit tk;
    ASSERT_NE(tk.create_image(0, 8, 8), 0);
    ASSERT_NE(tk.begin_drawing(tk.image_target(0)), 0);
    tk.draw_box(2, 3, 2, 2, 255);
    tk.end_drawing();

    ASSERT_NE(tk.grab_image(0, 1, 2, 3, 3, 3), 0);
    const Raster* grabbed = tk.image(1);
    ASSERT_NE(grabbed, nullptr);
    EXPECT_EQ(grabbed->width(), 3);
    EXPECT_EQ(count_colour(*grabbed, 255), 4);
    EXPECT_EQ(grabbed->pixel(2, 2), 0);
    EXPECT_EQ(tk.grab_image(7, 2, 0, 0, 1, 1), 0) << "no source image";

    ASSERT_NE(tk.create_image(2, 4, 4), 0);
    ASSERT_NE(tk.begin_drawing(tk.image_target(2)), 0);
    tk.draw_image(1, 3, -1);
    tk.draw_image(1, -5000, 5000);
    tk.draw_image(9, 0, 0); // no such image
    tk.end_drawing();
    EXPECT_EQ(count_colour(*tk.image(2), 255), 1);
    EXPECT_EQ(tk.image(2)->pixel(3, 0), 255);

    tk.free_image(1);
    EXPECT_EQ(tk.image(1), nullptr);
    EXPECT_EQ(tk.begin_drawing(tk.image_target(1)), 0);
    tk.failing_images.insert(2);
    EXPECT_EQ(tk.begin_drawing(tk.image_target(2)), 0);
    EXPECT_EQ(tk.drawing_raster(), nullptr);
}

} // namespace
} // namespace fontarel
