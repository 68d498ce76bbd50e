// Controls: which changes make events, state and text, resizing, drops and what a canvas shows.

#include "toolkit/qt/text_field.h"
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QUrl>

#include "qt_fixture.h"
#include "toolkit/file_io.h"

namespace fontarel::test {
namespace {

using Controls = QtToolkitTest;

TEST_F(Controls, UserChangesMakeEventsAndProgramChangesDoNot) {
    ASSERT_NE(tk.create_track_bar(5, 20, 200, 255, 30, 0, 255, kTrackBarTicks), 0);
    ASSERT_NE(tk.create_check_box(4, 0, 200, 20, 20, ""), 0);
    ASSERT_NE(tk.create_button(9, 300, 200, 32, 20, "<"), 0);
    ASSERT_NE(tk.create_text_field(3, 300, 100, 90, 40, "", 7), 0);
    ASSERT_NE(tk.create_label(7, 20, 180, 255, 20, "Begin range:0", kLabelCentred), 0);
    take_events(tk);

    tk.set_control_state(5, 200);
    tk.set_control_state(4, 1);
    tk.set_control_text(3, "0x00");
    tk.set_control_text(7, "Begin range:200");
    EXPECT_TRUE(take_events(tk).empty());
    EXPECT_EQ(tk.control_state(5), 200);
    EXPECT_EQ(tk.control_state(4), 1);
    EXPECT_EQ(static_cast<QLabel*>(tk.control_widget(7))->text(), "Begin range:200");
    EXPECT_EQ(static_cast<MultiLineField*>(tk.control_widget(3))->text(), "0x00");

    // The user: a key on the slider, a click on the box (which toggles first), a button click,
    // typing into the field.
    QTest::keyClick(tk.control_widget(5), Qt::Key_Right);
    QTest::mouseClick(tk.control_widget(4), Qt::LeftButton);
    QTest::mouseClick(tk.control_widget(9), Qt::LeftButton);
    QTest::keyClick(tk.control_widget(3), Qt::Key_X);
    std::vector<int> sources;
    for (const Event& e : take_events(tk)) {
        EXPECT_EQ(e.code, kEventControl);
        sources.push_back(e.source);
        if (e.source == 4) {
            EXPECT_EQ(tk.control_state(4), 0);
        }
    }
    EXPECT_EQ(sources, (std::vector{5, 4, 9, 3}));
    EXPECT_EQ(tk.control_state(5), 201);
}

TEST_F(Controls, GeometryTooltipAndUnknownNumbers) {
    ASSERT_NE(tk.create_canvas(0, 5, 6, 260, 260, kCanvasBorder), 0);
    tk.set_tooltip(0, "Enable range");
    EXPECT_EQ(tk.control_widget(0)->toolTip(), "Enable range");
    EXPECT_EQ(tk.control_width(0), 260);
    EXPECT_EQ(tk.control_height(0), 260);
    EXPECT_EQ(tk.canvas_picture(0)->width(), 256);
    EXPECT_EQ(tk.control_widget(0)->pos(), QPoint(5, 6));
    EXPECT_EQ(tk.control_width(42), 0);
    EXPECT_EQ(tk.control_state(0), 0);
    EXPECT_EQ(tk.canvas_picture(42), nullptr);
    tk.set_control_state(42, 1); // nothing to do, and no crash
    tk.resize_control(42, 0, 0, 1, 1);
}

TEST_F(Controls, ResizedCanvasKeepsItsPictureAtTheTopLeftAndAddsWhite) {
    ASSERT_NE(tk.create_canvas(2, 0, 0, 20, 10, 0), 0);
    ASSERT_NE(tk.begin_drawing(tk.canvas_target(2)), 0);
    tk.draw_box(0, 0, 20, 10, rgb(0, 0, 255));
    tk.end_drawing();
    tk.resize_control(2, 0, 0, 30, 15);
    const Raster* picture = tk.canvas_picture(2);
    ASSERT_EQ(picture->width(), 30);
    ASSERT_EQ(picture->height(), 15);
    EXPECT_EQ(picture->pixel(19, 9), rgb(0, 0, 255));
    EXPECT_EQ(picture->pixel(20, 9), 0xFFFFFF);
    EXPECT_EQ(picture->pixel(19, 10), 0xFFFFFF);
    EXPECT_EQ(tk.control_width(2), 30);
}

TEST_F(Controls, CanvasShowsItsPictureUprightInsideTheBorder) {
    ASSERT_NE(tk.create_canvas(0, 0, 0, 36, 36, kCanvasBorder), 0);
    const Raster* picture = tk.canvas_picture(0);
    EXPECT_EQ(picture->pixel(0, 0), 0xFFFFFF); // white when created
    // and shown so, once the loop has turned
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return on_screen(tk.control_widget(0)).pixelColor(2 + 8, 2 + 4) == QColor(255, 255, 255);
    }));
    ASSERT_NE(tk.begin_drawing(tk.canvas_target(0)), 0);
    tk.draw_box(0, 0, 32, 32, 0); // black
    tk.set_draw_mode(kDrawOutline);
    tk.draw_box(8, 4, 16, 16, 255);
    tk.end_drawing();

    int red = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            red += picture->pixel(x, y) == 255;
    EXPECT_EQ(red, 60);
    EXPECT_EQ(picture->pixel(9, 5), 0);         // inside the outline stays as it was
    EXPECT_EQ(picture->row(4)[8], 0xFFFF0000u); // the screen's word for red

    // On screen, after the turn of the loop that paints it: surface pixel (x, y) at widget pixel
    // (x + 2, y + 2), top row on top.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    const QImage shown = on_screen(tk.control_widget(0));
    EXPECT_EQ(shown.pixelColor(2 + 8, 2 + 4), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(2 + 8, 2 + 19), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(2 + 8, 2 + 20), QColor(0, 0, 0));
    EXPECT_EQ(shown.pixelColor(2 + 8, 2 + 3), QColor(0, 0, 0));
    EXPECT_EQ(shown.pixelColor(2 + 10, 2 + 6), QColor(0, 0, 0));
    EXPECT_NE(shown.pixelColor(0, 0), QColor(0, 0, 0)); // the border, not the picture
}

TEST_F(Controls, TwoDroppedFilesArriveAsTwoLinesOnTheEnabledControlOnly) {
    ASSERT_NE(tk.create_canvas(0, 0, 0, 100, 100, 0), 0);
    ASSERT_NE(tk.create_canvas(1, 100, 0, 100, 100, 0), 0);
    tk.enable_file_drop(0);
    tk.enable_file_drop(0); // a second call changes nothing
    take_events(tk);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a b.fnt"), QUrl::fromLocalFile("/tmp/c.map")});
    for (int control : {1, 0}) {
        QWidget* target = tk.control_widget(control);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
    const auto events = take_events(tk);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, kEventDrop);
    EXPECT_EQ(events[0].source, 0);
    EXPECT_EQ(events[0].window, 0);
    EXPECT_EQ(events[0].dropped, "/tmp/a b.fnt\n/tmp/c.map");
    tk.post_event(events[0]);
    ASSERT_EQ(tk.wait_event(), kEventDrop);
    EXPECT_EQ(tk.dropped_file_list(), "/tmp/a b.fnt\n/tmp/c.map");
}

// A scroll bar stands as it is shaped; its range and page are what the program last set, the page
// at least 1, and a range upside down changes nothing. A slider stays a horizontal slider.
TEST_F(Controls, ScrollBarsStandAsShapedAndTakeTheirRangeAndPage) {
    const struct {
        int width, height, flags;
        bool scroll;
        Qt::Orientation orientation;
    } bars[] = {
        {16, 200, kTrackBarScroll, true, Qt::Vertical},
        {200, 16, kTrackBarScroll, true, Qt::Horizontal},
        {16, 16, kTrackBarScroll, true, Qt::Horizontal},
        {16, 200, kTrackBarTicks, false, Qt::Horizontal},
    };
    int control = 20;
    for (const auto& b : bars) {
        SCOPED_TRACE(control);
        ASSERT_NE(tk.create_track_bar(control, 0, 0, b.width, b.height, 0, 10, b.flags), 0);
        auto* bar = qobject_cast<QAbstractSlider*>(tk.control_widget(control));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(qobject_cast<QScrollBar*>(bar) != nullptr, b.scroll);
        EXPECT_EQ(bar->orientation(), b.orientation);
        tk.set_control_state(control, 9);
        tk.set_track_bar_range(control, 2, 60, 7);
        EXPECT_EQ(std::tuple(bar->minimum(), bar->maximum(), bar->pageStep(), bar->value()),
                  std::tuple(2, 60, 7, 9));
        tk.set_track_bar_range(control, 0, 4, 0);
        EXPECT_EQ(std::tuple(bar->minimum(), bar->maximum(), bar->pageStep(), bar->value()),
                  std::tuple(0, 4, 1, 4))
            << "the position clamped into the new range";
        tk.set_track_bar_range(control, 5, 3, 2);
        EXPECT_EQ(std::tuple(bar->minimum(), bar->maximum(), bar->pageStep()), std::tuple(0, 4, 1));
        ++control;
    }
    EXPECT_TRUE(take_events(tk).empty()) << "the program's changes make no events";
}

// The regular files of a folder by name, in byte order (capitals first), without its folders;
// none for a folder that is not there.
TEST(QtFiles, FolderListingIsTheRegularFilesSorted) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    for (const char* name : {"b.fnt", "a.fnt", "C.fnt", "a.fnt~"})
        ASSERT_TRUE(write_whole_file(root + "/" + name, std::vector<uint8_t>{1}));
    ASSERT_TRUE(make_folders(root + "/0-folder"));
    EXPECT_EQ(regular_files_in(root),
              (std::vector<std::string>{"C.fnt", "a.fnt", "a.fnt~", "b.fnt"}));
    EXPECT_TRUE(regular_files_in(root + "/none").empty());
}

TEST(QtFiles, SizeOfMissingPathAndFolder) {
    QtToolkit tk;
    EXPECT_EQ(tk.file_size("/nonexistent/fontarel/x.fnt"), -1);
    EXPECT_EQ(tk.file_size(""), -1);
    EXPECT_EQ(tk.file_size("/tmp"), -2);
}

} // namespace
} // namespace fontarel::test
