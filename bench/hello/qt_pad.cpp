// The floor of a well-written Qt Widgets program doing the visible work of the program's glyph
// editor and full map: a pad of 128 x 128 pixels, an 8 x 8 glyph drawn in boxes of 16 pixels, where
// a left click sets the glyph pixel under it and a right click clears it, as the glyph editor does;
// and a picture of 1280 x 800 pixels, the glyph tiled in cells of 16 x 16 pixels like the map at
// 80 x 50, whose every pixel changes with each click: its two colours follow the click count.
//
// A click only changes the glyph, counts and asks both windows for a repaint. Each window rewrites
// its picture inside its own paint event, and only when the picture is behind the count, so that
// clicks queued while the program could not run cost one repaint of each window between them.
//
// The windows are titled "pad" and "pad picture"; scripts/bench places them on the screen.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kGlyphPixels = 8; // glyph pixels per row and column
constexpr int kPadBox = 16;     // pad pixels per glyph pixel
constexpr int kPadPixels = 128; // the pad's width and height
constexpr int kCellPixels = 16; // picture pixels per map cell; a glyph pixel is 2 x 2
constexpr int kPictureWidth = 1280;
constexpr int kPictureHeight = 800;

struct Glyph {
    std::array<uint8_t, kGlyphPixels> rows{};
    uint64_t clicks = 0; // clicks on the pad so far; a picture drawn at a smaller count is behind
};

// Colours of clear and set pixels of the picture after `clicks` clicks: both differ from those of
// the click before, and of the 500th before, so that every pixel changes with every click.
QRgb clear_colour(uint64_t clicks) {
    return qRgb(static_cast<int>(clicks * 7 % 128), static_cast<int>(clicks * 13 % 128), 0);
}
QRgb set_colour(uint64_t clicks) {
    return qRgb(255, static_cast<int>(128 + clicks * 7 % 128), static_cast<int>(clicks * 13 % 256));
}

class Picture : public QWidget {
  public:
    explicit Picture(const Glyph& glyph)
        : glyph_(glyph), image_(kPictureWidth, kPictureHeight, QImage::Format_RGB32) {
        setFixedSize(kPictureWidth, kPictureHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle("pad picture");
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (drawn_ != glyph_.clicks || !valid_) {
            redraw();
        }
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }

  private:
    // One line of doubled glyph pixels for each glyph row, copied down the 2 picture rows of
    // that glyph row in every cell row.
    void redraw() {
        const QRgb off = clear_colour(glyph_.clicks);
        const QRgb on = set_colour(glyph_.clicks);
        std::array<QRgb, kPictureWidth> line{};
        for (int gy = 0; gy < kGlyphPixels; ++gy) {
            const uint8_t bits = glyph_.rows[gy];
            for (int x = 0; x < kPictureWidth; ++x) {
                const int gx = (x % kCellPixels) / 2;
                line[x] = (bits & (0x80 >> gx)) ? on : off;
            }
            for (int top = 0; top < kPictureHeight; top += kCellPixels) {
                std::memcpy(image_.scanLine(top + 2 * gy), line.data(), sizeof(line));
                std::memcpy(image_.scanLine(top + 2 * gy + 1), line.data(), sizeof(line));
            }
        }
        drawn_ = glyph_.clicks;
        valid_ = true;
    }

    const Glyph& glyph_;
    QImage image_;
    uint64_t drawn_ = 0;
    bool valid_ = false;
};

class Pad : public QWidget {
  public:
    Pad(Glyph& glyph, Picture& picture)
        : glyph_(glyph), picture_(picture), image_(kPadPixels, kPadPixels, QImage::Format_RGB32) {
        setFixedSize(kPadPixels, kPadPixels);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle("pad");
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        const int gx = static_cast<int>(event->position().x()) / kPadBox;
        const int gy = static_cast<int>(event->position().y()) / kPadBox;
        if (gx < 0 || gy < 0 || gx >= kGlyphPixels || gy >= kGlyphPixels) {
            return;
        }
        const auto mask = static_cast<uint8_t>(0x80 >> gx);
        if (event->button() == Qt::LeftButton) {
            glyph_.rows[gy] |= mask;
        } else if (event->button() == Qt::RightButton) {
            glyph_.rows[gy] &= static_cast<uint8_t>(~mask);
        } else {
            return;
        }
        ++glyph_.clicks;
        update();
        picture_.update();
    }

    void paintEvent(QPaintEvent*) override {
        if (drawn_ != glyph_.clicks || !valid_) {
            redraw();
        }
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }

  private:
    void redraw() {
        for (int y = 0; y < kPadPixels; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            const uint8_t bits = glyph_.rows[y / kPadBox];
            for (int x = 0; x < kPadPixels; ++x) {
                line[x] = (bits & (0x80 >> (x / kPadBox))) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            }
        }
        drawn_ = glyph_.clicks;
        valid_ = true;
    }

    Glyph& glyph_;
    Picture& picture_;
    QImage image_;
    uint64_t drawn_ = 0;
    bool valid_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Glyph glyph;
    Picture picture(glyph);
    Pad pad(glyph, picture);
    pad.show();
    picture.show();
    return application.exec();
}
