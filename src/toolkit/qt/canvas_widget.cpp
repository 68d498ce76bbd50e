#include "toolkit/qt/canvas_widget.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "model/colour.h"
#include "toolkit/qt/key_codes.h"

namespace fontarel {
namespace {

constexpr Colour kWhite = rgb(255, 255, 255); // a new canvas is white
constexpr int kWheelStep = 120;               // angle delta of one notch, in eighths of a degree

int button_bits(Qt::MouseButtons buttons) {
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= kButtonLeft;
    if (buttons & Qt::RightButton)
        bits |= kButtonRight;
    if (buttons & Qt::MiddleButton)
        bits |= kButtonMiddle;
    return bits;
}

int surface_size(int outer, int flags) {
    return std::max(0, outer - ((flags & kCanvasBorder) ? 2 * kCanvasBorderWidth : 0));
}

} // namespace

CanvasWidget::CanvasWidget(Toolkit& toolkit, int control, int window, int flags, int width,
                           int height, QWidget* parent)
    : QWidget(parent), toolkit_(toolkit), control_(control), window_(window), flags_(flags),
      picture_() {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy((flags & kCanvasFocusable) ? Qt::StrongFocus : Qt::NoFocus);
    resize(width, height);
}

int CanvasWidget::border() const {
    return (flags_ & kCanvasBorder) ? kCanvasBorderWidth : 0;
}

Raster& CanvasWidget::picture() {
    if (!picture_made_) {
        picture_ = Raster(surface_size(width(), flags_), surface_size(height(), flags_), kWhite);
        picture_made_ = true;
    }
    return picture_;
}

void CanvasWidget::picture_changed(PixelRect changed) {
    const int b = border();
    update(changed.x + b, changed.y + b, changed.w, changed.h);
}

void CanvasWidget::set_outer_size(int width, int height) {
    resize(width, height);
    if (picture_made_)
        picture_ =
            picture_.resized(surface_size(width, flags_), surface_size(height, flags_), kWhite);
    update();
}

void CanvasWidget::wrap_picture() {
    Raster& p = picture();
    if (wrapped_ == p.identity() && !image_.isNull())
        return;
    image_ = QImage(p.bytes(), p.width(), p.height(), p.stride(), QImage::Format_RGB32);
    wrapped_ = p.identity();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    wrap_picture();
    QPainter painter(this);
    const int b = border();
    if (b > 0) {
        // A sunken frame: shadow on the top and left edges, light on the bottom and right.
        const int w = width();
        const int h = height();
        const QColor outer_dark(160, 160, 160), inner_dark(105, 105, 105);
        const QColor outer_light(255, 255, 255), inner_light(227, 227, 227);
        painter.fillRect(0, 0, w, 1, outer_dark);
        painter.fillRect(0, 0, 1, h, outer_dark);
        painter.fillRect(1, 1, w - 2, 1, inner_dark);
        painter.fillRect(1, 1, 1, h - 2, inner_dark);
        painter.fillRect(0, h - 1, w, 1, outer_light);
        painter.fillRect(w - 1, 0, 1, h, outer_light);
        painter.fillRect(1, h - 2, w - 2, 1, inner_light);
        painter.fillRect(w - 2, 1, 1, h - 2, inner_light);
    }
    // Only the part asked for, unscaled in device-independent pixels; on a high-density screen the
    // painter enlarges it without smoothing, so every picture pixel stays a sharp block.
    const QRect area = event->rect().translated(-b, -b) & image_.rect();
    if (!area.isEmpty())
        painter.drawImage(area.topLeft() + QPoint(b, b), image_, area);
}

Event CanvasWidget::make_event(int kind, QPointF widget_pos, Qt::MouseButtons buttons,
                               Qt::KeyboardModifiers modifiers) const {
    Event event;
    event.code = kEventControl;
    event.source = control_;
    event.window = window_;
    event.kind = kind;
    event.x = static_cast<int>(std::floor(widget_pos.x())) - border();
    event.y = static_cast<int>(std::floor(widget_pos.y())) - border();
    event.buttons = button_bits(buttons);
    event.modifiers = modifier_bits(modifiers);
    return event;
}

void CanvasWidget::post(int kind, QPointF widget_pos, Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers modifiers) {
    toolkit_.post_event(make_event(kind, widget_pos, buttons, modifiers));
}

int CanvasWidget::press_kind(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return kKindLeftDown;
    case Qt::RightButton:
        return kKindRightDown;
    case Qt::MiddleButton:
        return kKindMiddleDown;
    default:
        return 0;
    }
}

int CanvasWidget::release_kind(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return kKindLeftUp;
    case Qt::RightButton:
        return kKindRightUp;
    case Qt::MiddleButton:
        return kKindMiddleUp;
    default:
        return 0;
    }
}

bool CanvasWidget::on_surface(QPointF widget_pos) const {
    const int b = border();
    const QPoint p(static_cast<int>(std::floor(widget_pos.x())),
                   static_cast<int>(std::floor(widget_pos.y())));
    return rect().adjusted(b, b, -b, -b).contains(p);
}

void CanvasWidget::press(QMouseEvent* event) {
    const int kind = press_kind(event->button());
    // A press on the border lies outside the drawing surface: it names no pixel of the picture.
    if (kind == 0 || !on_surface(event->position()))
        return;
    pressed_ |= event->button();
    post(kind, event->position(), event->buttons(), event->modifiers());
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    press(event);
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press may arrive as a double click alone; it is still a press first.
    if (!(pressed_ & event->button()))
        press(event);
    if (event->button() == Qt::LeftButton)
        post(kKindLeftDoubleClick, event->position(), event->buttons(), event->modifiers());
    else if (event->button() == Qt::RightButton)
        post(kKindRightDoubleClick, event->position(), event->buttons(), event->modifiers());
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    const int kind = release_kind(button);
    if (kind == 0)
        return;
    // Releases reach the widget that took the press, wherever the pointer is; a click needs the
    // press to have been ours and the pointer to be over the drawing surface now.
    const bool held = (pressed_ & button) != 0;
    pressed_ &= ~button;
    post(kind, event->position(), event->buttons(), event->modifiers());
    if (!held || !on_surface(event->position()))
        return;
    if (button == Qt::LeftButton)
        post(kKindLeftClick, event->position(), event->buttons(), event->modifiers());
    else if (button == Qt::RightButton)
        post(kKindRightClick, event->position(), event->buttons(), event->modifiers());
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    QPointF pos = event->position();
    const bool inside = rect().contains(pos.toPoint());
    if ((flags_ & kCanvasConfine) && !inside && event->buttons() != Qt::NoButton) {
        const QPoint kept(std::clamp(pos.toPoint().x(), 0, width() - 1),
                          std::clamp(pos.toPoint().y(), 0, height() - 1));
        QCursor::setPos(mapToGlobal(kept));
        pos = kept;
    } else if (!inside) {
        // Only moves of a held mouse reach the canvas from outside.
        if (hovering_) {
            hovering_ = false;
            post(kKindMouseLeave, pos, event->buttons(), event->modifiers());
        }
        post(kKindMouseMove, pos, event->buttons(), event->modifiers());
        return;
    }
    // The first move over the canvas is also a move: whoever follows the pointer (a hover outline,
    // a title) sees it at once rather than at the second move.
    if (!hovering_) {
        hovering_ = true;
        post(kKindMouseEnter, pos, event->buttons(), event->modifiers());
    }
    post(kKindMouseMove, pos, event->buttons(), event->modifiers());
}

void CanvasWidget::leaveEvent(QEvent*) {
    if (!hovering_)
        return;
    hovering_ = false;
    post(kKindMouseLeave, mapFromGlobal(QCursor::pos()), QApplication::mouseButtons(),
         QApplication::keyboardModifiers());
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
    // Reported, and passed on as well: a window too large for the screen scrolls with the wheel.
    event->ignore();
    const int delta = event->angleDelta().y();
    int steps = delta / kWheelStep;
    if (steps == 0 && delta != 0)
        steps = delta > 0 ? 1 : -1; // a fine-grained device still turns one step
    if (steps == 0)
        return;
    Event e = make_event(kKindWheel, event->position(), event->buttons(), event->modifiers());
    e.wheel = steps;
    toolkit_.post_event(std::move(e));
}

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
    const QPointF pos = mapFromGlobal(QCursor::pos());
    Event down = make_event(kKindKeyDown, pos, QApplication::mouseButtons(), event->modifiers());
    down.key = virtual_key(event->key(), event->modifiers() & Qt::KeypadModifier);
    toolkit_.post_event(std::move(down));
    for (const QChar ch : event->text()) {
        if (ch.unicode() < 32 || ch.unicode() == 127)
            continue;
        Event typed = make_event(kKindChar, pos, QApplication::mouseButtons(), event->modifiers());
        typed.character = ch.unicode();
        toolkit_.post_event(std::move(typed));
    }
    // The page keys go on to the window as well, which scrolls with them when it is cut to the
    // screen; the arrows stay the canvas's own.
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        event->ignore();
        break;
    default:
        break;
    }
}

void CanvasWidget::keyReleaseEvent(QKeyEvent* event) {
    // Held keys repeat as release-press pairs marked auto-repeat; only the real release counts.
    if (event->isAutoRepeat())
        return;
    Event up = make_event(kKindKeyUp, mapFromGlobal(QCursor::pos()), QApplication::mouseButtons(),
                          event->modifiers());
    up.key = virtual_key(event->key(), event->modifiers() & Qt::KeypadModifier);
    toolkit_.post_event(std::move(up));
}

void CanvasWidget::focusInEvent(QFocusEvent*) {
    post(kKindFocusIn, mapFromGlobal(QCursor::pos()), QApplication::mouseButtons(),
         QApplication::keyboardModifiers());
}

void CanvasWidget::focusOutEvent(QFocusEvent*) {
    post(kKindFocusOut, mapFromGlobal(QCursor::pos()), QApplication::mouseButtons(),
         QApplication::keyboardModifiers());
}

} // namespace fontarel
