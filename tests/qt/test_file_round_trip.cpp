// The charset picture written through the Qt requester and read back by Qt's own BMP reader, and
// an Escape that cancels the file requester.

#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "app/views/charset_canvas.h"
#include "app/views/present.h"
#include "qt_fixture.h"

namespace fontarel::test {
namespace {

class FilesOnQt : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(open_program(app)); }
    void TearDown() override { shut_down(app); }

    // Chooses "Characters image" and handles it; the requester runs inside.
    void export_image() {
        tk.post_menu_event(static_cast<int>(MenuId::SaveImage), kMainWindow);
        ASSERT_TRUE(dispatch_event(app, tk.wait_event()));
    }

    QtToolkit tk;
    App app{tk};
};

TEST_F(FilesOnQt, ExportedPictureReadsBackPixelForPixel) {
    for (int i = 0; i < kCharsetBytes; ++i)
        app.store().bytes[i] = static_cast<uint8_t>(i * 37 ^ i >> 3);
    const int c0 = rgb(10, 20, 30), c1 = rgb(200, 100, 50);
    app.s.color_bit0 = c0;
    app.s.color_bit1 = c1;
    present(app);

    // The requester opens in the folder, so the typed name needs no change of folder.
    QTemporaryDir dir;
    app.s.file_directory = dir.path().toStdString() + "/";
    ModalAnswerer confirm([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (dialog != nullptr) {
            // Typed into the name field at the moment of confirming: selectFile can be undone
            // by the folder listing that the dialog loads in the background.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name != nullptr)
                name->setText(QStringLiteral("picture"));
            static_cast<QDialog*>(dialog)->accept();
        }
        // Whatever is still open now would wait for ever: close it, and let the checks fail.
        if (w->isVisible())
            static_cast<QDialog*>(w)->reject();
    });
    export_image();
    EXPECT_EQ(confirm.count(), 1);

    QImage image;
    ASSERT_TRUE(image.load(dir.filePath("picture.bmp"), "BMP"));
    ASSERT_EQ(image.size(), QSize(256, 256));
    // Each glyph pixel is a 2 x 2 block; glyph g stands at column g % 16, row g / 16 of the grid.
    int wrong = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const int g = 16 * (y / 16) + x / 16;
            const int bit = 7 - (x % 16) / 2;
            const bool set = (app.store().bytes[8 * g + (y % 16) / 2] >> bit & 1) != 0;
            const QColor want = set ? QColor(200, 100, 50) : QColor(10, 20, 30);
            wrong += image.pixelColor(x, y) != want;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(FilesOnQt, EscapeCancelsTheRequesterAndNotTheProgram) {
    QTemporaryDir dir;
    app.s.file_directory = dir.path().toStdString() + "/";
    bool down_in_requester = true, closed_by_escape = false;
    ModalAnswerer escape([&](QWidget* w) {
        QTest::keyClick(w, Qt::Key_Escape);
        down_in_requester = tk.escape_down();
        closed_by_escape = !w->isVisible();
        if (!closed_by_escape)
            static_cast<QDialog*>(w)->reject(); // never wait for ever
    });
    export_image();
    EXPECT_EQ(escape.count(), 1);
    EXPECT_TRUE(closed_by_escape);
    EXPECT_FALSE(down_in_requester);
    EXPECT_FALSE(tk.escape_down());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(app.s.file_directory, dir.path().toStdString() + "/") << "a cancel changes nothing";
}

} // namespace
} // namespace fontarel::test
