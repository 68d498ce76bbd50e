#include "toolkit/qt/escape_tracker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace fontarel {

EscapeTracker::EscapeTracker(std::function<bool(const QWidget*)> own_window)
    : own_window_(std::move(own_window)) {
    qApp->installEventFilter(this);
}

EscapeTracker::~EscapeTracker() {
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

bool EscapeTracker::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || key->isAutoRepeat())
        return false;
    if (type == QEvent::KeyRelease) {
        down_ = false;
        return false;
    }
    // A press counts only when it reaches one of the program's windows while nothing modal is up:
    // an Escape that closes a requester, a message box or a popup menu is theirs.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr)
        return false;
    if (own_window_(widget->window()))
        down_ = true;
    return false;
}

} // namespace fontarel
