#pragma once
// A canvas control: a widget that keeps its own picture, paints it 1:1 and turns the mouse and the
// keyboard into canvas events on the toolkit's queue.

#include <QImage>
#include <QWidget>

#include "toolkit/raster.h"
#include "toolkit/toolkit.h"

namespace fontarel {

class CanvasWidget : public QWidget {
    Q_OBJECT
  public:
    // `width` x `height` is the outer size; with kCanvasBorder the surface is 4 pixels smaller.
    CanvasWidget(Toolkit& toolkit, int control, int window, int flags, int width, int height,
                 QWidget* parent);

    // The drawing surface, white when first asked for. It is made on first use, not with the
    // widget, so a large canvas that is never shown costs no memory.
    Raster& picture();
    int flags() const { return flags_; }
    // The part `changed` of the picture changed: paint it at the next turn of the event loop.
    void picture_changed(PixelRect changed);
    // New outer size; the picture keeps its content at the top-left corner, new area white.
    void set_outer_size(int width, int height);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int border() const;
    // Whether a widget position lies on the drawing surface, inside the border.
    bool on_surface(QPointF widget_pos) const;
    // An event of this canvas with the pointer position in surface pixels and the modifiers.
    Event make_event(int kind, QPointF widget_pos, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers modifiers) const;
    void post(int kind, QPointF widget_pos, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers);
    // Kind of a press / release of a button; 0 for buttons without one.
    static int press_kind(Qt::MouseButton button);
    static int release_kind(Qt::MouseButton button);
    void press(QMouseEvent* event);
    // Points image_ at the picture's memory again when the picture was made anew.
    void wrap_picture();

    Toolkit& toolkit_;
    int control_;
    int window_;
    int flags_;
    Raster picture_;
    bool picture_made_ = false;
    QImage image_;             // wraps picture_'s memory without copying it
    uint64_t wrapped_ = 0;     // identity of the picture image_ wraps
    bool hovering_ = false;    // an enter was reported and no leave since
    Qt::MouseButtons pressed_; // buttons whose press this canvas reported
};

} // namespace fontarel
