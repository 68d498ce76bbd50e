// Canvas events from simulated mouse and keyboard input: kinds, order, event data, the mouse
// capture rules and the keyboard focus.

#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include "qt_fixture.h"

namespace fontarel::test {
namespace {

constexpr int kBordered = 0; // 100 x 100 at (10, 10), sunken border, takes the focus
constexpr int kPlain = 1;    // 80 x 80 at (150, 10), no flags

class CanvasEvents : public QtToolkitTest {
  protected:
    void SetUp() override {
        QtToolkitTest::SetUp();
        ASSERT_NE(tk.create_canvas(kBordered, 10, 10, 100, 100, kCanvasBorder | kCanvasFocusable),
                  0);
        ASSERT_NE(tk.create_canvas(kPlain, 150, 10, 80, 80, 0), 0);
        // Start with the pointer away from both canvases.
        QTest::mouseMove(window_handle(), QPoint(300, 250));
        take_events(tk);
    }
    void activate() {
        tk.window_widget(0)->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tk.window_widget(0)));
    }
};

TEST_F(CanvasEvents, ClickGivesEnterMoveFocusPressReleaseClickWithSurfaceData) {
    activate();
    QWindow* w = window_handle();
    QTest::mouseMove(w, at(kBordered, {50, 40}));
    QTest::mouseMove(w, at(kBordered, {60, 41}));
    QTest::mousePress(w, Qt::LeftButton, Qt::ShiftModifier, at(kBordered, {60, 41}));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::ShiftModifier, at(kBordered, {60, 41}));
    const auto events = take_events(tk);
    EXPECT_EQ(kinds_of(events, kBordered),
              (std::vector{kKindMouseEnter, kKindMouseMove, kKindMouseMove, kKindFocusIn,
                           kKindLeftDown, kKindLeftUp, kKindLeftClick}));
    EXPECT_TRUE(kinds_of(events, kPlain).empty());
    ASSERT_EQ(events.size(), 7u);
    // Surface coordinates start inside the 2-pixel border; the enter and the first move share
    // their point.
    for (int i : {0, 1}) {
        EXPECT_EQ(events[i].x, 48) << i;
        EXPECT_EQ(events[i].y, 38) << i;
    }
    EXPECT_EQ(events[4].x, 58);
    EXPECT_EQ(events[4].y, 39);
    EXPECT_EQ(events[4].buttons, kButtonLeft); // held while pressed
    EXPECT_EQ(events[4].modifiers, kModShift);
    EXPECT_EQ(events[5].buttons, 0); // no longer held once released
    for (const Event& e : events)
        EXPECT_EQ(e.window, 0);
}

TEST_F(CanvasEvents, HeldMouseKeepsEventsOutsideAndGivesNoClickAwayFromTheCanvas) {
    QWindow* w = window_handle();
    QTest::mouseMove(w, at(kBordered, {50, 50}));
    QTest::mousePress(w, Qt::LeftButton, {}, at(kBordered, {50, 50}));
    QTest::mouseMove(w, at(kBordered, {-5, 50}));  // left of the canvas
    QTest::mouseMove(w, at(kBordered, {150, 50})); // over the other canvas
    QTest::mouseRelease(w, Qt::LeftButton, {}, at(kBordered, {150, 50}));
    const auto events = take_events(tk);
    const auto kinds = kinds_of(events, kBordered);
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.back(), kKindLeftUp);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kKindLeftClick), 0);
    std::vector<std::pair<int, int>> moves;
    for (const Event& e : events)
        if (e.source == kBordered && e.kind == kKindMouseMove)
            moves.emplace_back(e.x, e.y);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{48, 48}, {-7, 48}, {148, 48}}));
    EXPECT_EQ(events.back().x, 148);
    // The canvas under the pointer sees nothing of a mouse another canvas holds.
    EXPECT_TRUE(kinds_of(events, kPlain).empty());

    // Once released, the other canvas gets the pointer with its own enter.
    QTest::mouseMove(w, at(kBordered, {151, 50}));
    EXPECT_EQ(kinds_of(take_events(tk), kPlain), (std::vector{kKindMouseEnter, kKindMouseMove}));
}

TEST_F(CanvasEvents, ReleaseBackOverTheCanvasStillClicks) {
    QWindow* w = window_handle();
    QTest::mouseMove(w, at(kPlain, {10, 10}));
    QTest::mousePress(w, Qt::RightButton, {}, at(kPlain, {10, 10}));
    QTest::mouseMove(w, at(kPlain, {100, 10}));
    QTest::mouseMove(w, at(kPlain, {20, 10}));
    QTest::mouseRelease(w, Qt::RightButton, {}, at(kPlain, {20, 10}));
    EXPECT_EQ(kinds_of(take_events(tk), kPlain),
              (std::vector{kKindMouseEnter, kKindMouseMove, kKindRightDown, kKindMouseLeave,
                           kKindMouseMove, kKindMouseEnter, kKindMouseMove, kKindRightUp,
                           kKindRightClick}));
}

TEST_F(CanvasEvents, DoubleClickAndMiddleButton) {
    QWindow* w = window_handle();
    QTest::mouseMove(w, at(kPlain, {5, 5}));
    take_events(tk);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at(kPlain, {5, 5}));
    EXPECT_EQ(kinds_of(take_events(tk), kPlain),
              (std::vector{kKindLeftDown, kKindLeftUp, kKindLeftClick, kKindLeftDown,
                           kKindLeftDoubleClick, kKindLeftUp, kKindLeftClick}));
    QTest::mouseClick(w, Qt::MiddleButton, {}, at(kPlain, {5, 5}));
    const auto events = take_events(tk);
    EXPECT_EQ(kinds_of(events, kPlain), (std::vector{kKindMiddleDown, kKindMiddleUp}));
    EXPECT_EQ(events.at(0).buttons, kButtonMiddle);
}

TEST_F(CanvasEvents, WheelStepsAndAttributesOfOtherCanvasesReadZero) {
    QWidget* canvas = tk.control_widget(kPlain);
    QWheelEvent wheel(QPointF(30, 20), canvas->mapToGlobal(QPointF(30, 20)), QPoint(),
                      QPoint(0, -240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    Event marker;
    marker.code = -1;
    tk.post_event(marker);
    ASSERT_EQ(tk.wait_event(), kEventControl);
    EXPECT_EQ(tk.event_source(), kPlain);
    EXPECT_EQ(tk.event_kind(), kKindWheel);
    EXPECT_EQ(tk.control_attribute(kPlain, kAttrWheel), -2);
    EXPECT_EQ(tk.control_attribute(kPlain, kAttrMouseX), 30);
    EXPECT_EQ(tk.control_attribute(kPlain, kAttrMouseY), 20);
    EXPECT_EQ(tk.control_attribute(kPlain, kAttrModifiers), kModCtrl);
    EXPECT_EQ(tk.control_attribute(kBordered, kAttrMouseX), 0);
    EXPECT_EQ(tk.control_attribute(kBordered, kAttrMouseY), 0);
    EXPECT_EQ(tk.control_attribute(kBordered, kAttrWheel), 0);
    EXPECT_EQ(tk.wait_event(), -1);

    // A fine-grained wheel reports less than a notch; any turn is still one step its own way.
    for (const int delta : {-30, 30}) {
        QWheelEvent fine(QPointF(30, 20), canvas->mapToGlobal(QPointF(30, 20)), QPoint(),
                         QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &fine);
        ASSERT_EQ(tk.wait_event(), kEventControl);
        EXPECT_EQ(tk.control_attribute(kPlain, kAttrWheel), delta > 0 ? 1 : -1) << delta;
    }

    // Activity that makes no event leaves nothing current: the wheel's data is gone.
    QTimer::singleShot(0, [] {});
    EXPECT_EQ(tk.wait_event(), kEventOther);
    EXPECT_EQ(tk.event_source(), 0);
    EXPECT_EQ(tk.event_kind(), 0);
    EXPECT_EQ(tk.control_attribute(kPlain, kAttrWheel), 0);
    EXPECT_EQ(tk.control_attribute(kPlain, kAttrMouseX), 0);
}

TEST_F(CanvasEvents, HeldKeyRepeatsPressesAndReleasesOnce) {
    activate();
    QWindow* w = window_handle();
    QTest::mouseClick(w, Qt::LeftButton, {}, at(kBordered, {20, 20}));
    const auto clicked = kinds_of(take_events(tk), kBordered);
    EXPECT_EQ(std::count(clicked.begin(), clicked.end(), kKindFocusIn), 1);

    QWidget* canvas = tk.control_widget(kBordered);
    QTest::keyPress(canvas, Qt::Key_Left);
    for (int i = 0; i < 3; ++i) {
        // Qt reports a held key as auto-repeated release and press pairs.
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(canvas, &up);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(canvas, &down);
    }
    QTest::keyRelease(canvas, Qt::Key_Left);
    const auto events = take_events(tk);
    EXPECT_EQ(kinds_of(events, kBordered),
              (std::vector{kKindKeyDown, kKindKeyDown, kKindKeyDown, kKindKeyDown, kKindKeyUp}));
    for (const Event& e : events)
        EXPECT_EQ(e.key, kKeyLeft);
}

TEST_F(CanvasEvents, KeyCodesAndTypedCharacters) {
    activate();
    tk.focus_control(kBordered);
    take_events(tk);
    QWidget* canvas = tk.control_widget(kBordered);
    QTest::keyClick(canvas, Qt::Key_A);
    QTest::keyClick(canvas, Qt::Key_Insert);
    QTest::keyClick(canvas, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(canvas, Qt::Key_Down);
    QTest::keyClick(canvas, Qt::Key_7);
    QTest::keyClick(canvas, Qt::Key_Home);
    QTest::keyClick(canvas, Qt::Key_End);
    std::vector<std::pair<int, int>> got; // (kind, key or character)
    int delete_modifiers = -1;
    for (const Event& e : take_events(tk)) {
        got.emplace_back(e.kind, e.kind == kKindChar ? e.character : e.key);
        if (e.key == kKeyDelete)
            delete_modifiers = e.modifiers;
    }
    const std::vector<std::pair<int, int>> expected{
        {kKindKeyDown, 'A'},        {kKindChar, 'a'},         {kKindKeyUp, 'A'},
        {kKindKeyDown, kKeyInsert}, {kKindKeyUp, kKeyInsert}, {kKindKeyDown, 16}, // Shift
        {kKindKeyDown, kKeyDelete}, {kKindKeyUp, kKeyDelete}, {kKindKeyUp, 16},
        {kKindKeyDown, kKeyDown},   {kKindKeyUp, kKeyDown},   {kKindKeyDown, '7'},
        {kKindChar, '7'},           {kKindKeyUp, '7'},        {kKindKeyDown, 36}, // Home
        {kKindKeyUp, 36},           {kKindKeyDown, 35},       {kKindKeyUp, 35}};  // End
    EXPECT_EQ(got, expected);
    EXPECT_EQ(delete_modifiers, kModShift);
}

TEST_F(CanvasEvents, OnlyAFocusableCanvasTakesTheFocus) {
    activate();
    tk.focus_control(kBordered);
    take_events(tk);
    QTest::mouseClick(window_handle(), Qt::LeftButton, {}, at(kPlain, {5, 5}));
    tk.focus_control(kPlain);
    QTest::keyClick(window_handle(), Qt::Key_B);
    const auto events = take_events(tk);
    EXPECT_TRUE(tk.control_widget(kBordered)->hasFocus());
    // The plain canvas had clicks only; the focused one kept the focus and got the key.
    for (const Event& e : events) {
        if (e.source == kPlain) {
            EXPECT_TRUE(e.kind != kKindFocusIn && e.kind != kKindKeyDown) << e.kind;
        }
    }
    EXPECT_EQ(kinds_of(events, kBordered), (std::vector{kKindKeyDown, kKindChar, kKindKeyUp}));
}

} // namespace
} // namespace fontarel::test

namespace fontarel::test {
namespace {

// A window larger than the screen shows its picture with scroll bars, which the keys the window
// takes move as a user expects. (The wheel, which only a real device's events pass from a canvas
// to its window, is tested on a real display.)
TEST(ScrolledWindow, KeysMoveTheBars) {
    QtToolkit tk;
    ASSERT_NE(tk.open_window(0, 0, 0, 4000, 3000, "big", kWindowTitleBar), 0);
    ASSERT_NE(tk.create_canvas(kPlain, 0, 0, 4000, 3000, 0), 0);
    QWidget* window = tk.window_widget(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* area = window->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    QScrollBar* across = area->horizontalScrollBar();
    QScrollBar* down = area->verticalScrollBar();
    ASSERT_TRUE(across->isVisible() && down->isVisible()) << "the window was not cut to the screen";
    const int step = down->singleStep(), page = down->pageStep(), side = across->singleStep();
    ASSERT_GT(down->maximum(), 2 * page + step);
    const struct {
        Qt::Key key;
        int x, y; // the bars' values after it
    } keys[] = {
        {Qt::Key_PageDown, 0, page},
        {Qt::Key_Down, 0, page + step},
        {Qt::Key_Right, side, page + step},
        {Qt::Key_PageDown, side, 2 * page + step},
        {Qt::Key_PageUp, side, page + step},
        {Qt::Key_Up, side, page},
        {Qt::Key_Left, 0, page},
        {Qt::Key_End, across->maximum(), down->maximum()},
        {Qt::Key_Home, 0, 0},
    };
    for (const auto& k : keys) {
        QTest::keyClick(window, k.key);
        EXPECT_EQ(across->value(), k.x) << QKeySequence(k.key).toString().toStdString();
        EXPECT_EQ(down->value(), k.y) << QKeySequence(k.key).toString().toStdString();
    }
    tk.close();
}

} // namespace
} // namespace fontarel::test
