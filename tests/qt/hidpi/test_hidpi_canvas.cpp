// Canvases on a high-density screen, run with QT_SCALE_FACTOR=2: every picture pixel must reach
// the device as a sharp 2 x 2 block of its own colour. A smoothed or misaligned enlargement shows
// as mixed colours along the edges of single pixels, which a checkerboard has everywhere.

#include <QScreen>

#include "../qt_fixture.h"

namespace fontarel::test {
namespace {

constexpr int kRed = 0x0000FF; // colour values are 0xBBGGRR
constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0x000000;

// Every picture pixel (x, y) against the 2 x 2 device pixels at 2 * (x + offset, y + offset) of
// `shown`; counts the mismatches and reports the first.
int blocks_differing(const QImage& shown, const Raster& picture, int offset) {
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int c = picture.pixel(x, y);
            const QColor want(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const QPoint at(2 * (x + offset) + dx, 2 * (y + offset) + dy);
                    const QColor got = shown.pixelColor(at);
                    if (got != want && wrong++ == 0)
                        ADD_FAILURE() << "picture pixel (" << x << ", " << y << ") shows "
                                      << got.name().toStdString() << " at device pixel (" << at.x()
                                      << ", " << at.y() << "), not " << want.name().toStdString();
                }
        }
    return wrong;
}

class HiDpiCanvas : public QtToolkitTest {
  protected:
    void SetUp() override {
        QtToolkitTest::SetUp();
        // Without the doubled ratio this test would prove nothing.
        ASSERT_EQ(tk.window_widget(0)->devicePixelRatio(), 2.0)
            << "run with QT_SCALE_FACTOR=2 on the offscreen platform";
    }
    // A 1-pixel checkerboard over the whole surface, with a red pixel in a white square's place
    // every 5 pixels so that the colours are not just black and white.
    void draw_checkerboard(int control) {
        Raster* picture = tk.canvas_picture(control);
        ASSERT_NE(tk.begin_drawing(tk.canvas_target(control)), 0);
        for (int y = 0; y < picture->height(); ++y)
            for (int x = 0; x < picture->width(); ++x)
                tk.drawing_raster()->set_pixel(x, y,
                                               (x + y) % 2 ? kBlack : (x % 5 == 0 ? kRed : kWhite));
        tk.end_drawing();
    }
};

TEST_F(HiDpiCanvas, EveryPicturePixelIsASharpTwoByTwoBlockWithAndWithoutBorder) {
    ASSERT_NE(tk.create_canvas(0, 10, 10, 36, 30, kCanvasBorder), 0);
    ASSERT_NE(tk.create_canvas(1, 60, 10, 33, 27, 0), 0); // odd sizes: no even-pixel luck
    for (int control : {0, 1}) {
        SCOPED_TRACE(control);
        draw_checkerboard(control);
        QWidget* widget = tk.control_widget(control);
        const QImage shown = widget->grab().toImage();
        ASSERT_EQ(shown.size(), 2 * widget->size());
        const int border = control == 0 ? kCanvasBorderWidth : 0;
        EXPECT_EQ(blocks_differing(shown, *tk.canvas_picture(control), border), 0);
    }
}

// The path to the screen: the window's backing store at device resolution, after a first full
// paint and then a repaint of only the changed part, which starts at an odd picture pixel.
TEST_F(HiDpiCanvas, PartialRepaintsReachTheScreenSharpAndInPlace) {
    ASSERT_NE(tk.create_canvas(0, 10, 10, 36, 30, kCanvasBorder), 0);
    draw_checkerboard(0);
    QWidget* widget = tk.control_widget(0);
    QScreen* screen = widget->screen();
    const auto on_screen = [&] {
        QCoreApplication::processEvents();
        const QPoint origin = widget->mapTo(widget->window(), QPoint(0, 0));
        const QPixmap window = screen->grabWindow(widget->window()->winId());
        // The grab is in device pixels; keep the canvas's own part.
        return window.toImage().copy(QRect(2 * origin, 2 * widget->size()));
    };
    QImage shown = on_screen();
    ASSERT_EQ(shown.size(), 2 * widget->size()) << "no device-resolution grab of the window";
    EXPECT_EQ(blocks_differing(shown, *tk.canvas_picture(0), kCanvasBorderWidth), 0);

    ASSERT_NE(tk.begin_drawing(tk.canvas_target(0)), 0);
    tk.draw_box(7, 5, 3, 4, kRed);
    tk.end_drawing();
    shown = on_screen();
    EXPECT_EQ(shown.pixelColor(2 * (kCanvasBorderWidth + 7), 2 * (kCanvasBorderWidth + 5)),
              QColor(255, 0, 0));
    EXPECT_EQ(blocks_differing(shown, *tk.canvas_picture(0), kCanvasBorderWidth), 0);
}

} // namespace
} // namespace fontarel::test
