// The whole program on the Qt toolkit, driven through the window system layer: a mouse stroke on
// the glyph canvas and a drag on the charset canvas reach the store exactly as a user's would.

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <iterator>
#include <utility>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "app/views/charset_canvas.h"
#include "app/views/present.h"
#include "qt_fixture.h"
#include "toolkit/qt/text_field.h"

namespace fontarel::test {
namespace {

class ProgramOnQt : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(open_program(app));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tk.window_widget(kMainWindow)));
        tk.window_widget(kMainWindow)->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tk.window_widget(kMainWindow)));
    }
    void TearDown() override { shut_down(app); }

    // Handles every event queued so far, as the loop would, without waiting for more, then paints
    // what the handlers drew, as the loop's next wait does first.
    void drain() {
        QCoreApplication::processEvents();
        while (tk.pending_events() > 0) {
            ASSERT_TRUE(dispatch_event(app, tk.wait_event()));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
    QWindow* main_window() { return tk.window_widget(kMainWindow)->windowHandle(); }
    // A point of the charset canvas's drawing surface, which starts inside the 2-pixel border.
    QPoint grid_point(int x, int y) {
        QWidget* w = tk.control_widget(kCharsetCanvas);
        return w->mapTo(w->window(), QPoint(x + kCanvasBorderWidth, y + kCanvasBorderWidth));
    }
    QPoint glyph_point(int x, int y) {
        QWidget* w = tk.control_widget(kGlyphCanvas);
        return w->mapTo(w->window(), QPoint(x, y));
    }

    QtToolkit tk;
    App app{tk};
};

TEST_F(ProgramOnQt, MouseStrokeOnTheGlyphCanvasSetsAndClearsTheBitsUnderIt) {
    QWindow* w = main_window();
    QTest::mouseMove(w, glyph_point(8, 8));
    QTest::mousePress(w, Qt::LeftButton, {}, glyph_point(8, 8));
    QTest::mouseMove(w, glyph_point(24, 8));
    QTest::mouseMove(w, glyph_point(40, 24));
    QTest::mouseMove(w, glyph_point(-30, 24)); // outside: ignored
    QTest::mouseRelease(w, Qt::LeftButton, {}, glyph_point(-30, 24));
    drain();
    auto glyph = app.store().glyph(0);
    EXPECT_EQ(glyph[0], 0xC0);
    EXPECT_EQ(glyph[1], 0x20);
    EXPECT_EQ(glyph[2], 0x00);
    // What the window shows follows the stroke: the grid (its surface inside the 2-pixel border)
    // and the editor.
    const QColor white(255, 255, 255), black(0, 0, 0);
    QWidget* grid = tk.control_widget(kCharsetCanvas);
    QWidget* editor = tk.control_widget(kGlyphCanvas);
    EXPECT_EQ(on_screen(grid).pixelColor(kCanvasBorderWidth + 2, kCanvasBorderWidth), white);
    EXPECT_EQ(on_screen(editor).pixelColor(20, 5), white);

    QTest::mouseMove(w, glyph_point(20, 5));
    QTest::mousePress(w, Qt::RightButton, {}, glyph_point(20, 5));
    QTest::mouseRelease(w, Qt::RightButton, {}, glyph_point(20, 5));
    drain();
    EXPECT_EQ(glyph[0], 0x80);
    EXPECT_EQ(on_screen(editor).pixelColor(20, 5), black);
    EXPECT_TRUE(grid->hasFocus()) << "the editor took the keyboard from the grid";
    EXPECT_EQ(on_screen(grid).pixelColor(kCanvasBorderWidth + 2, kCanvasBorderWidth), black);
}

TEST_F(ProgramOnQt, DragBetweenTwoCellsOfTheCharsetCanvasSwapsThem) {
    for (auto& b : app.store().glyph(65))
        b = 0x11;
    for (auto& b : app.store().glyph(66))
        b = 0x22;
    QWindow* w = main_window();
    const QPoint from = grid_point(16 * 1 + 8, 16 * 4 + 8); // glyph 65
    const QPoint to = grid_point(16 * 2 + 8, 16 * 4 + 8);   // glyph 66
    QTest::mouseMove(w, from);
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QTest::mouseMove(w, from + QPoint(5, 0));
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
    drain();
    EXPECT_EQ(app.store().glyph(65)[0], 0x22);
    EXPECT_EQ(app.store().glyph(66)[0], 0x11);
    EXPECT_EQ(app.s.current_char, 66);
    EXPECT_EQ(tk.window_widget(kMainWindow)->windowTitle().toStdString(),
              "fontarel v2 0.9e 66($42)'B'");
}

TEST_F(ProgramOnQt, ClicksOnTheCharsetCanvasBorderSelectNothingAndSetNoRange) {
    QWindow* w = main_window();
    QWidget* canvas = tk.control_widget(kCharsetCanvas);
    const QPoint right_border = canvas->mapTo(canvas->window(), QPoint(258, 16 * 3 + 8));
    const QPoint bottom_border = canvas->mapTo(canvas->window(), QPoint(40, 259));
    ModalAnswerer popups([](QWidget* popup) { popup->close(); });
    for (QPoint p : {right_border, bottom_border}) {
        QTest::mouseMove(w, p);
        QTest::mouseClick(w, Qt::LeftButton, {}, p);
        QTest::mouseClick(w, Qt::RightButton, {}, p);
        drain();
    }
    EXPECT_EQ(app.s.current_char, 0);
    EXPECT_EQ(popups.count(), 0);
    // The surface's last pixel still selects: (255, 40) is column 15 of row 2.
    QTest::mouseClick(w, Qt::LeftButton, {}, grid_point(255, 40));
    drain();
    EXPECT_EQ(app.s.current_char, 47);
}

TEST_F(ProgramOnQt, MapWindowFollowsEachSizeAndItsCanvasTakesNoBorderClicks) {
    struct Size {
        MenuId item;
        int width, height;
    };
    for (Size size : {Size{MenuId::MapZx, 512, 384}, Size{MenuId::MapPc, 1280, 800},
                      Size{MenuId::MapUssr, 1024, 480}, Size{MenuId::MapC64, 640, 400}}) {
        ASSERT_TRUE(dispatch_menu(app, id(size.item)));
        QWidget* window = tk.window_widget(kMapWindow);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(tk.control_widget(kMapCanvas)->size(), QSize(size.width, size.height));
        // The offscreen screen (800 x 800) is narrower than the larger maps: a map that fits
        // shows whole, a larger one is cut to a window that lies on the screen.
        const QRect area = window->screen()->availableGeometry();
        const QSize outer =
            QSize(size.width, size.height) + window->frameGeometry().size() - window->size();
        if (outer.boundedTo(area.size()) == outer) {
            EXPECT_EQ(window->size(), QSize(size.width, size.height));
        } else {
            EXPECT_TRUE(area.contains(window->frameGeometry())) << size.width;
        }
    }
    // A click on the map paints its cell with the current character.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tk.window_widget(kMapWindow)));
    app.s.current_char = 200;
    QWindow* map = tk.window_widget(kMapWindow)->windowHandle();
    // The move that enters the canvas hovers cell (3, 2) at once.
    QTest::mouseMove(map, QPoint(16 * 3 + 4, 16 * 2 + 4));
    drain();
    EXPECT_EQ(tk.window_widget(kMapWindow)->windowTitle().toStdString(),
              "Character map (3,2):35[23]");
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(16 * 3 + 4, 16 * 2 + 4));
    drain();
    EXPECT_EQ(app.s.map->at(3, 2), 200);
    EXPECT_EQ(tk.window_widget(kMapWindow)->windowTitle().toStdString(),
              "Character map (3,2):200[C8]");
}

TEST_F(ProgramOnQt, ArrowKeyReleaseOnTheFocusedCharsetCanvasMovesTheCursorOnce) {
    QWidget* canvas = tk.control_widget(kCharsetCanvas);
    ASSERT_TRUE(canvas->hasFocus());
    QTest::keyPress(canvas, Qt::Key_Right);
    QTest::keyPress(canvas, Qt::Key_Right, {}, -1);
    QTest::keyRelease(canvas, Qt::Key_Right);
    drain();
    EXPECT_EQ(app.s.current_char, 1);
}

// The main window as the user finds it, read from the widgets: every control inside the area
// under the menu bar, none covering another, each beside or under its partner, with its text and
// tooltip.
TEST_F(ProgramOnQt, ControlsSitInTheirPlacesUnderTheMenuBarWithTheirTextsAndTooltips) {
    // A fixed 640 x 480 window in the middle of the screen, with a close box and a minimise
    // button but no maximise button.
    QWidget* window = tk.window_widget(kMainWindow);
    EXPECT_EQ(window->size(), QSize(640, 480));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowTitle(), "fontarel v2 0.9e");
    const Qt::WindowFlags frame = window->windowFlags();
    EXPECT_TRUE(frame & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(frame & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(frame & Qt::WindowMaximizeButtonHint);
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((window->geometry().center() - middle).manhattanLength(), 8);
    auto on_window = [&](int control) {
        QWidget* w = tk.control_widget(control);
        return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    };
    const int bar = tk.menu_bar_widget(kMenuBar)->height();
    const QRect area = window->rect().adjusted(0, bar, 0, 0);
    const int controls[] = {kCharsetCanvas,    kGlyphCanvas,   kGlyphDataText,
                            kRangeCheckBox,    kBeginRangeBar, kEndRangeBar,
                            kBeginRangeLabel,  kEndRangeLabel, kShiftLeftButton,
                            kShiftRightButton, kShiftUpButton, kShiftDownButton};
    for (int a : controls) {
        EXPECT_TRUE(tk.control_widget(a)->isVisible()) << a;
        EXPECT_TRUE(area.contains(on_window(a)))
            << a << " lies outside the window or under the bar";
        for (int b : controls)
            EXPECT_TRUE(a == b || !on_window(a).intersects(on_window(b))) << a << " covers " << b;
    }

    // The charset grid at the top left, its drawing surface the 256 x 256 of the charset image;
    // the glyph editor 2 pixels to its right, 16 screen pixels for each glyph pixel.
    const QRect grid = on_window(kCharsetCanvas);
    EXPECT_EQ(grid, QRect(0, bar, 260, 260));
    EXPECT_EQ(tk.canvas_picture(kCharsetCanvas)->width(), 256);
    EXPECT_EQ(tk.canvas_picture(kCharsetCanvas)->height(), 256);
    const QRect editor = on_window(kGlyphCanvas);
    EXPECT_EQ(editor, QRect(grid.right() + 3, bar, 128, 128));

    // Under the editor the four shift buttons fill its width, left to right "<", "^", "v", ">";
    // under them the glyph data text, as wide as the editor.
    int x = editor.left();
    for (int button : {kShiftLeftButton, kShiftUpButton, kShiftDownButton, kShiftRightButton}) {
        const QRect r = on_window(button);
        EXPECT_EQ(r.left(), x) << button;
        EXPECT_EQ(r.top(), editor.bottom() + 1) << button;
        x = r.right() + 1;
    }
    EXPECT_EQ(x, editor.right() + 1);
    const QRect data = on_window(kGlyphDataText);
    EXPECT_EQ(data.left(), editor.left());
    EXPECT_EQ(data.width(), editor.width());
    EXPECT_EQ(data.top(), on_window(kShiftLeftButton).bottom() + 1);
    EXPECT_EQ(static_cast<MultiLineField*>(tk.control_widget(kGlyphDataText))->text(),
              "0,0,0,0,0,0,0,0");

    // Under the grid, one column: begin label, begin bar, end label, end bar; the range check box
    // on the end label's row, to its left.
    int y = grid.bottom() + 1;
    for (int control : {kBeginRangeLabel, kBeginRangeBar, kEndRangeLabel, kEndRangeBar}) {
        const QRect r = on_window(control);
        EXPECT_EQ(r.top(), y) << control;
        EXPECT_EQ(r.left(), on_window(kBeginRangeLabel).left()) << control;
        EXPECT_EQ(r.width(), on_window(kBeginRangeLabel).width()) << control;
        y = r.bottom() + 1;
    }
    EXPECT_EQ(on_window(kRangeCheckBox).top(), on_window(kEndRangeLabel).top());
    EXPECT_EQ(on_window(kRangeCheckBox).right() + 1, on_window(kEndRangeLabel).left());
    for (int label : {kBeginRangeLabel, kEndRangeLabel}) {
        auto* l = static_cast<QLabel*>(tk.control_widget(label));
        EXPECT_TRUE(l->alignment() & Qt::AlignHCenter) << label;
    }
    EXPECT_EQ(static_cast<QLabel*>(tk.control_widget(kBeginRangeLabel))->text(), "Begin range:0");
    EXPECT_EQ(static_cast<QLabel*>(tk.control_widget(kEndRangeLabel))->text(), "End range:0");
    EXPECT_EQ(static_cast<QSlider*>(tk.control_widget(kBeginRangeBar))->value(), 0);
    EXPECT_EQ(static_cast<QSlider*>(tk.control_widget(kEndRangeBar))->value(), 0);
    EXPECT_FALSE(static_cast<QCheckBox*>(tk.control_widget(kRangeCheckBox))->isChecked());

    const std::pair<int, const char*> tips[] = {
        {kRangeCheckBox, "Enable range"},   {kShiftLeftButton, "shift left"},
        {kShiftUpButton, "shift up"},       {kShiftDownButton, "shift down"},
        {kShiftRightButton, "shift right"}, {kGlyphDataText, "Data for char"}};
    for (const auto& [control, tip] : tips)
        EXPECT_EQ(tk.control_widget(control)->toolTip(), tip) << control;

    // The map window waits hidden, 40 pixels right of and below the main window.
    QWidget* map = tk.window_widget(kMapWindow);
    EXPECT_FALSE(map->isVisible());
    EXPECT_EQ(map->windowTitle(), "Character map");
    EXPECT_EQ(map->size(), QSize(522, 394));
    EXPECT_EQ(map->frameGeometry().topLeft(), window->frameGeometry().topLeft() + QPoint(40, 40));
}

// The glyph data text breaks its lines only after commas, never inside a number, and copies as
// the exact text.
TEST_F(ProgramOnQt, GlyphDataTextBreaksOnlyAfterCommas) {
    const uint8_t bytes[] = {48, 120, 204, 204, 252, 204, 204, 0};
    std::copy(std::begin(bytes), std::end(bytes), app.store().glyph(0).begin());
    present(app);
    drain();
    auto* field = static_cast<MultiLineField*>(tk.control_widget(kGlyphDataText));
    const QString exact = "48,120,204,204,252,204,204,0";
    ASSERT_EQ(field->text(), exact);
    const QTextBlock block = field->document()->firstBlock();
    const QTextLayout* layout = block.layout();
    ASSERT_GE(layout->lineCount(), 2) << "the text fits one line: nothing to check";
    QString joined;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const QString shown =
            without_break_hints(block.text().mid(line.textStart(), line.textLength()));
        const bool last = i + 1 == layout->lineCount();
        EXPECT_TRUE(last || shown.endsWith(',')) << "line " << i << ": " << shown.toStdString();
        joined += shown;
    }
    EXPECT_EQ(joined, exact);
    field->selectAll();
    field->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), exact);
}

// The shortcuts reach the program through the window system: Ctrl+I inverts the current glyph,
// Ctrl+O opens the load requester.
TEST_F(ProgramOnQt, CtrlIInvertsAndCtrlOOpensTheLoadRequester) {
    QTest::keyClick(main_window(), Qt::Key_I, Qt::ControlModifier);
    drain();
    EXPECT_EQ(app.store().glyph(0)[0], 0xFF);

    QString title;
    ModalAnswerer cancel([&](QWidget* w) {
        ASSERT_NE(qobject_cast<QFileDialog*>(w), nullptr);
        title = w->windowTitle();
        static_cast<QDialog*>(w)->reject();
    });
    QTest::keyClick(main_window(), Qt::Key_O, Qt::ControlModifier);
    drain();
    EXPECT_EQ(cancel.count(), 1);
    EXPECT_EQ(title, "Please choose file to load");
    EXPECT_EQ(app.store().glyph(0)[0], 0xFF) << "a cancelled load changes nothing";
}

} // namespace
} // namespace fontarel::test
