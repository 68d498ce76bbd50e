#include "toolkit/qt/text_field.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QShortcut>
#include <QTextDocumentFragment>

namespace fontarel {

namespace {

// A zero-width space: a line may break after it, and it shows nothing.
constexpr char16_t kBreakHint = u'\u200B';

class WindowShortcutsFirst : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr)
            return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QShortcut* shortcut : widget->window()->findChildren<QShortcut*>()) {
            // Consumed without being accepted: the field does not override the combination, so
            // the window's shortcut runs.
            if (shortcut->isEnabled() && shortcut->keys().contains(pressed))
                return true;
        }
        return false;
    }
};

} // namespace

QString without_break_hints(QString shown) {
    return shown.remove(QChar(kBreakHint));
}

MultiLineField::MultiLineField(QWidget* parent) : QPlainTextEdit(parent) {}

void MultiLineField::show_text(const QString& text) {
    QString shown = text;
    shown.replace(u',', QString(u',') + QChar(kBreakHint));
    // Setting the same text again would still lay it out and repaint it.
    if (toPlainText() != shown)
        setPlainText(shown);
}

QMimeData* MultiLineField::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(without_break_hints(textCursor().selection().toPlainText()));
    return data;
}

void give_window_shortcuts_first(QWidget* field) {
    field->installEventFilter(new WindowShortcutsFirst(field));
}

} // namespace fontarel
