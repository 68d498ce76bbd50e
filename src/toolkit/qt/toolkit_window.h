#pragma once
// A top-level window of the toolkit: fixed inner size, an optional menu bar on top and, below it,
// the area that holds the window's controls at the coordinates the program gives.

#include <QPointer>
#include <QWidget>

#include "toolkit/toolkit.h"

#include <QMenuBar>

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
    // The fixed inner size.
    void set_inner_size(int width, int height);

  protected:
    // The close box only reports; the window stays until the program hides it.
    void closeEvent(QCloseEvent* event) override;

  private:
    Toolkit& toolkit_;
    int number_;
    QWidget* control_area_;
    QPointer<QMenuBar> menu_bar_;
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
