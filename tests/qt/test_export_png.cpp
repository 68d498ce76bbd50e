// The picture export through the Qt toolkit: chosen from File > Export with a name typed into
// Qt's save requester, written by Qt's PNG writer, and read back by Qt's PNG reader pixel for
// pixel, for all glyphs and for a ticked range.

#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "qt_fixture.h"

namespace fontarel::test {
namespace {

class ExportOnQt : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(open_program(app)); }
    void TearDown() override { shut_down(app); }

    // "PNG picture..." with `name` typed into the requester; true when the requester was answered.
    bool export_picture(const QString& name) {
        app.s.file_directory = dir.path().toStdString() + "/";
        ModalAnswerer confirm([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    field->setText(name);
                static_cast<QDialog*>(dialog)->accept();
            }
            if (w->isVisible())
                static_cast<QDialog*>(w)->reject(); // never wait for ever
        });
        // Behind whatever the last requester left in the queue.
        tk.post_menu_event(id(MenuId::ExportPng), kMainWindow);
        while (tk.pending_events() > 0)
            EXPECT_TRUE(dispatch_event(app, tk.wait_event()));
        return confirm.count() == 1;
    }
    // Pixels of the picture that are not their glyph's bit in the program's colours; glyphs
    // outside first..last must be blank.
    int wrong_pixels(const QImage& image, int first, int last) {
        int wrong = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const int g = 16 * (y / 8) + x / 8;
                const bool set = g >= first && g <= last &&
                                 (app.store().bytes[8 * g + y % 8] >> (7 - x % 8) & 1) != 0;
                wrong += image.pixelColor(x, y) != (set ? kSet : kClear);
            }
        return wrong;
    }

    const QColor kClear{10, 20, 30};
    const QColor kSet{200, 100, 50};
    QTemporaryDir dir;
    QtToolkit tk;
    App app{tk};
};

TEST_F(ExportOnQt, PictureReadsBackPixelForPixel) {
    for (int i = 0; i < kCharsetBytes; ++i)
        app.store().bytes[i] = static_cast<uint8_t>(i * 37 ^ i >> 3);
    app.s.color_bit0 = rgb(10, 20, 30);
    app.s.color_bit1 = rgb(200, 100, 50);

    ASSERT_TRUE(export_picture(QStringLiteral("all")));
    QImage image;
    ASSERT_TRUE(image.load(dir.filePath("all.png"), "PNG")) << "the extension is given";
    ASSERT_EQ(image.size(), QSize(128, 128));
    EXPECT_EQ(wrong_pixels(image, 0, 255), 0);

    tk.set_control_state(kBeginRangeBar, 200);
    tk.set_control_state(kEndRangeBar, 65);
    tk.set_control_state(kRangeCheckBox, 1);
    ASSERT_TRUE(export_picture(QStringLiteral("range.PNG")));
    ASSERT_TRUE(image.load(dir.filePath("range.PNG"), "PNG"));
    EXPECT_EQ(wrong_pixels(image, 65, 200), 0);
    EXPECT_TRUE(tk.image(kExportImage) == nullptr);
}

} // namespace
} // namespace fontarel::test
