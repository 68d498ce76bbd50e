#pragma once
// A top-level window of the toolkit: fixed inner size, an optional menu bar on top and, below it,
// the area that holds the window's controls at the coordinates the program gives. A window too
// large for the screen shows that area through scroll bars, at 1:1.

#include <QPointer>
#include <QSize>
#include <QWidget>

#include "toolkit/toolkit.h"

#include <QMenuBar>
#include <QScrollArea>

namespace fontarel {

class ToolkitWindow : public QWidget {
    Q_OBJECT
  public:
    // `width` x `height` is the inner size: everything inside the frame, the menu bar included.
    // `flags` are window flags of the toolkit (title bar, close box, minimise button).
    ToolkitWindow(Toolkit& toolkit, int number, int width, int height, int flags);

    int number() const { return number_; }
    // The parent of the window's controls; its top-left corner is control coordinate (0, 0).
    QWidget* control_area() const { return control_area_; }
    // Attaches a menu bar above the control area. The window keeps its size; the control area
    // loses the height of the bar. A previous bar is deleted.
    void set_menu_bar(QMenuBar* bar);
    QMenuBar* menu_bar() const { return menu_bar_; }
    // Asks for a fixed inner size of `width` x `height`. `room` is the most inner size the screen
    // can give (its free area less the frame); an empty `room` means no limit. When the size fits,
    // the window takes it as it is; otherwise it takes the largest size that fits and scrolls the
    // control area, whose coordinates stay those of the full size.
    void set_inner_size(int width, int height, QSize room = QSize());
    // The inner size last asked for, which the window shows whole unless it scrolls.
    QSize requested_size() const { return requested_; }
    bool scrolls() const { return scrolls_; }

  protected:
    // The close box only reports; the window stays until the program hides it.
    void closeEvent(QCloseEvent* event) override;
    // Arrows, Page Up, Page Down, Home and End scroll a window that scrolls; keys reach the window
    // itself only when no control took them.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Lays out the window for requested_ within room_.
    void fit();

    Toolkit& toolkit_;
    int number_;
    QScrollArea* scroll_area_;
    QWidget* control_area_;
    QPointer<QMenuBar> menu_bar_;
    QSize requested_;
    QSize room_;
    bool scrolls_ = false;
};

// Reports files dropped on a control as a kEventDrop event: the local paths of the drop, joined by
// line feeds. Installed as an event filter on the control (and its viewport, if it has one).
class DropFilter : public QObject {
    Q_OBJECT
  public:
    DropFilter(Toolkit& toolkit, int control, int window, QObject* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Toolkit& toolkit_;
    int control_;
    int window_;
};

} // namespace fontarel
