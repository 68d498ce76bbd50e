#pragma once
// The text fields' widgets. A multi-line field breaks its lines only at spaces and after commas, so
// a list of numbers never shows a number cut in two; the break hints it adds for that are
// invisible, and the field's text, as read or copied, is exactly the text it was given. In any text
// field the window's shortcuts come before the field's own editing keys (its undo, for one).

#include <QLineEdit>
#include <QPlainTextEdit>

namespace fontarel {

// The field's text as it was given: without the break hints.
QString without_break_hints(QString shown);

class MultiLineField : public QPlainTextEdit {
  public:
    explicit MultiLineField(QWidget* parent);
    // Shows `text` with a break hint after each comma; nothing happens when it is shown already.
    void show_text(const QString& text);
    QString text() const { return without_break_hints(toPlainText()); }

  protected:
    QMimeData* createMimeDataFromSelection() const override;
};

// Lets every shortcut of the window the field is in reach the window, rather than the field taking
// the combination for its own editing.
void give_window_shortcuts_first(QWidget* field);

} // namespace fontarel
