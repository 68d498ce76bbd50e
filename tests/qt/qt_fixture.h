#pragma once
// Helpers for driving the Qt toolkit the way a user would: real widgets, input through the
// window system layer (so Qt's own grab, enter and leave rules apply), and the queue read back.

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "toolkit/qt/qt_toolkit.h"

namespace fontarel::test {

// Every event queued so far, oldest first. Never blocks: a marker event ends the drain.
inline std::vector<Event> take_events(QtToolkit& tk) {
    QCoreApplication::processEvents();
    constexpr int kMarker = -4242;
    Event marker;
    marker.code = kMarker;
    tk.post_event(marker);
    std::vector<Event> events;
    while (tk.wait_event() != kMarker)
        events.push_back(tk.current_event());
    return events;
}

// What the window shows of a widget: its part of the window's back buffer, which holds only what
// paint events have put there. QWidget::grab would paint the widget afresh and so show a canvas's
// picture even when the canvas was never told to repaint.
inline QImage on_screen(QWidget* widget) {
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage();
}

inline std::vector<int> kinds_of(const std::vector<Event>& events, int source) {
    std::vector<int> kinds;
    for (const Event& e : events)
        if (e.code == kEventControl && e.source == source)
            kinds.push_back(e.kind);
    return kinds;
}

// Answers each modal dialog or popup menu that opens, in order, by calling `answer` with it.
// Lives as long as the test scope. A widget that is shown again after it was hidden (a popup menu
// opened a second time) is answered again, so a popup that should not have opened fails the count
// instead of blocking the test.
class ModalAnswerer : public QObject {
  public:
    explicit ModalAnswerer(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* w = QApplication::activePopupWidget();
            if (w == nullptr)
                w = QApplication::activeModalWidget();
            if (w == nullptr || w == last_.data())
                return;
            last_ = w;
            w->installEventFilter(this);
            ++count_;
            answer_(w);
        });
        timer_.start(20);
    }
    int count() const { return count_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched == last_.data()) {
            watched->removeEventFilter(this);
            last_ = nullptr;
        }
        return false;
    }

  private:
    std::function<void(QWidget*)> answer_;
    QTimer timer_;
    QPointer<QWidget> last_;
    int count_ = 0;
};

// A toolkit with window 0 open and shown at a known place.
class QtToolkitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(tk.open_window(0, 50, 60, 400, 300, "test", kWindowTitleBar | kWindowSystemMenu),
                  0);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tk.window_widget(0)));
    }
    void TearDown() override { tk.close(); }

    QWindow* window_handle(int window = 0) { return tk.window_widget(window)->windowHandle(); }
    // A point of a control in the coordinates of its window, for input through the window.
    QPoint at(int control, QPoint local) {
        QWidget* w = tk.control_widget(control);
        return w->mapTo(w->window(), local);
    }

    QtToolkit tk;
};

} // namespace fontarel::test
