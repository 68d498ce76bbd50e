// Windows, the event pump, the Escape state and the lifetime of every Qt object of the toolkit.
// Menus, controls and requesters live in their own files.

#include "toolkit/qt/qt_toolkit.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "toolkit/qt/canvas_widget.h"
#include "toolkit/qt/escape_tracker.h"
#include "toolkit/qt/toolkit_window.h"

namespace fontarel {

QtToolkit::QtToolkit(std::vector<std::string> arguments)
    : Toolkit(std::move(arguments)),
      escape_(std::make_unique<EscapeTracker>([this](const QWidget* top) {
          for (const auto& [number, window] : windows_)
              if (window.get() == top)
                  return true;
          return false;
      })) {
    // The tracker, which lives as long as the toolkit, is the connection's context.
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, escape_.get(), [this] {
        Event e;
        e.code = kEventClipboard;
        post_event(std::move(e));
    });
}

void QtToolkit::wake_after(int ms) {
    // A precise timer never fires early: the wake-up comes when the time has passed.
    QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, escape_.get(), [this] {
        Event e;
        e.code = kEventOther;
        post_event(std::move(e));
    });
}

QtToolkit::~QtToolkit() {
    close();
}

void QtToolkit::close() {
    // Popups first: they are owned here, while menu bars, shortcuts and controls die with their
    // windows.
    menus_.clear();
    shortcuts_.clear();
    controls_.clear();
    windows_.clear();
    current_window_ = -1;
    building_menu_ = -1;
    menu_stack_.clear();
    Toolkit::close();
}

// ---- Windows

ToolkitWindow* QtToolkit::find_window(int number) const {
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : it->second.get();
}

QWidget* QtToolkit::window_widget(int window) const {
    return find_window(window);
}

void QtToolkit::remove_window(int number) {
    const auto it = windows_.find(number);
    if (it == windows_.end())
        return;
    std::erase_if(controls_, [number](const auto& entry) { return entry.second.window == number; });
    std::erase_if(menus_, [number](const auto& entry) {
        return entry.second.bar != nullptr && entry.second.window == number;
    });
    std::erase_if(shortcuts_, [number](const auto& entry) { return entry.first.first == number; });
    if (current_window_ == number)
        current_window_ = -1;
    windows_.erase(it);
}

QMargins QtToolkit::frame_margins(const ToolkitWindow& window) const {
    auto margins = [](const QWidget& w) {
        const QRect frame = w.frameGeometry();
        const QRect inner = w.geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                        frame.right() - inner.right(), frame.bottom() - inner.bottom());
    };
    const QMargins own = margins(window);
    if (!own.isNull())
        return own;
    // A window not shown yet has no frame; the program's windows are framed alike.
    for (const auto& [number, other] : windows_) {
        const QMargins theirs = margins(*other);
        if (!theirs.isNull())
            return theirs;
    }
    return {};
}

void QtToolkit::fit_window(ToolkitWindow& window, int width, int height) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        window.set_inner_size(width, height);
        return;
    }
    const QRect room = screen->availableGeometry().marginsRemoved(frame_margins(window));
    window.set_inner_size(width, height, room.size());
}

void QtToolkit::keep_on_screen(ToolkitWindow& window) {
    const QScreen* screen = window.screen();
    if (!window.scrolls() || screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = window.size().grownBy(frame_margins(window));
    // For a top-level widget pos() is the top-left corner of the frame.
    const QPoint at = window.pos();
    const int x = std::max(area.left(), std::min(at.x(), area.x() + area.width() - outer.width()));
    const int y = std::max(area.top(), std::min(at.y(), area.y() + area.height() - outer.height()));
    if (QPoint(x, y) != at)
        window.move(x, y);
}

int QtToolkit::open_window(int number, int x, int y, int width, int height,
                           const std::string& title, int flags) {
    if (width <= 0 || height <= 0)
        return 0;
    remove_window(number);
    auto window = std::make_unique<ToolkitWindow>(*this, number, width, height, flags);
    window->setWindowTitle(QString::fromStdString(title));
    // For a top-level widget the position is that of the outer frame. It is set before the size,
    // since it decides the screen the window must fit.
    if (!(flags & kWindowCentred))
        window->move(x, y);
    fit_window(*window, width, height);
    if (flags & kWindowCentred) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
        window->move(area.x() + (area.width() - window->width()) / 2,
                     area.y() + (area.height() - window->height()) / 2);
    }
    keep_on_screen(*window);
    if (!(flags & kWindowHidden)) {
        window->show();
        window->raise();
        window->activateWindow();
    }
    windows_[number] = std::move(window);
    current_window_ = number;
    return 1;
}

int QtToolkit::window_left(int number) {
    const ToolkitWindow* window = find_window(number);
    return window != nullptr ? window->frameGeometry().x() : 0;
}

int QtToolkit::window_top(int number) {
    const ToolkitWindow* window = find_window(number);
    return window != nullptr ? window->frameGeometry().y() : 0;
}

void QtToolkit::set_window_hidden(int number, int state) {
    ToolkitWindow* window = find_window(number);
    if (window == nullptr)
        return;
    if (state == 0) {
        // show() keeps the window's state (normal or minimised).
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    const bool was_active = window->isActiveWindow();
    window->hide();
    if (!was_active)
        return;
    // Another window of the program takes over, as an owner would.
    for (const auto& [other_number, other] : windows_) {
        if (other_number != number && other->isVisible()) {
            other->activateWindow();
            break;
        }
    }
}

void QtToolkit::resize_window(int number, int x, int y, int width, int height) {
    ToolkitWindow* window = find_window(number);
    if (window == nullptr)
        return;
    const QRect frame = window->frameGeometry();
    const int new_width = width == kKeep ? window->requested_size().width() : width;
    const int new_height = height == kKeep ? window->requested_size().height() : height;
    if (new_width > 0 && new_height > 0)
        fit_window(*window, new_width, new_height);
    if (x != kKeep || y != kKeep)
        window->move(x == kKeep ? frame.x() : x, y == kKeep ? frame.y() : y);
    keep_on_screen(*window);
}

void QtToolkit::set_window_title(int number, const std::string& title) {
    if (ToolkitWindow* window = find_window(number))
        window->setWindowTitle(QString::fromStdString(title));
}

QWidget* QtToolkit::requester_parent() const {
    QWidget* active = QApplication::activeWindow();
    for (const auto& [number, window] : windows_)
        if (window.get() == active)
            return active;
    ToolkitWindow* main = find_window(0);
    return main != nullptr && main->isVisible() ? main : nullptr;
}

int QtToolkit::run_modal(QDialog& dialog) {
    const int result = dialog.exec();
    escape_->reset();
    return result;
}

void QtToolkit::message_box(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, requester_parent());
    run_modal(box);
}

// ---- Events

bool QtToolkit::escape_down() {
    return escape_->down();
}

void QtToolkit::pump() {
    // Canvases drawn on since the last wait are painted now, once each, before waiting: the screen
    // shows every change before the program waits for input.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // Objects Qt retired with deleteLater go now: the loop is at its top, inside no handler.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtToolkit::canvas_updated(int control, PixelRect changed) {
    if (CanvasWidget* canvas = find_canvas(control))
        canvas->picture_changed(changed);
}

} // namespace fontarel
