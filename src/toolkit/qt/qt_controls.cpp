// Controls: canvases, labels, sliders, check boxes, push buttons and text fields, placed at the
// program's coordinates in their window's control area. User actions queue kEventControl events;
// changes the program makes itself do not.

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextOption>

#include "toolkit/qt/canvas_widget.h"
#include "toolkit/qt/qt_toolkit.h"
#include "toolkit/qt/text_field.h"
#include "toolkit/qt/toolkit_window.h"

namespace fontarel {
namespace {

constexpr int kTicksPerBar = 16; // tick marks along a track bar, whatever its range

Qt::Alignment text_alignment(int flags) {
    if (flags & kTextCentred)
        return Qt::AlignHCenter | Qt::AlignTop;
    if (flags & kTextRight)
        return Qt::AlignRight | Qt::AlignTop;
    return Qt::AlignLeft | Qt::AlignTop;
}

} // namespace

ToolkitWindow* QtToolkit::control_parent() const {
    return find_window(current_window_);
}

const QtToolkit::ControlRecord* QtToolkit::find_control(int control) const {
    const auto it = controls_.find(control);
    if (it == controls_.end() || it->second.widget == nullptr)
        return nullptr;
    return &it->second;
}

QWidget* QtToolkit::control_widget(int control) const {
    const ControlRecord* record = find_control(control);
    return record != nullptr ? record->widget.data() : nullptr;
}

CanvasWidget* QtToolkit::find_canvas(int control) const {
    const ControlRecord* record = find_control(control);
    if (record == nullptr || record->kind != ControlKind::Canvas)
        return nullptr;
    return static_cast<CanvasWidget*>(record->widget.data());
}

void QtToolkit::add_control(int control, ControlKind kind, QWidget* widget, int x, int y, int width,
                            int height) {
    if (const auto it = controls_.find(control); it != controls_.end()) {
        delete it->second.widget.data();
        controls_.erase(it);
    }
    widget->setGeometry(x, y, width, height);
    widget->show();
    controls_[control] = ControlRecord{kind, widget, current_window_};
}

namespace {

// The event a non-canvas control queues for a user action.
Event control_event(int control, int window) {
    Event event;
    event.code = kEventControl;
    event.source = control;
    event.window = window;
    return event;
}

} // namespace

int QtToolkit::create_canvas(int control, int x, int y, int width, int height, int flags) {
    ToolkitWindow* parent = control_parent();
    if (parent == nullptr || width <= 0 || height <= 0)
        return 0;
    auto* canvas = new CanvasWidget(*this, control, current_window_, flags, width, height,
                                    parent->control_area());
    add_control(control, ControlKind::Canvas, canvas, x, y, width, height);
    return 1;
}

int QtToolkit::create_label(int control, int x, int y, int width, int height,
                            const std::string& text, int flags) {
    ToolkitWindow* parent = control_parent();
    if (parent == nullptr)
        return 0;
    auto* label = new QLabel(QString::fromStdString(text), parent->control_area());
    label->setAlignment((flags & kLabelCentred) ? (Qt::AlignHCenter | Qt::AlignTop)
                                                : (Qt::AlignLeft | Qt::AlignTop));
    add_control(control, ControlKind::Label, label, x, y, width, height);
    return 1;
}

int QtToolkit::create_track_bar(int control, int x, int y, int width, int height, int minimum,
                                int maximum, int flags) {
    ToolkitWindow* parent = control_parent();
    if (parent == nullptr || maximum < minimum)
        return 0;
    QAbstractSlider* slider = nullptr;
    if (flags & kTrackBarScroll) {
        slider = new QScrollBar(height > width ? Qt::Vertical : Qt::Horizontal,
                                parent->control_area());
    } else {
        auto* bar = new QSlider(Qt::Horizontal, parent->control_area());
        if (flags & kTrackBarTicks) {
            bar->setTickPosition(QSlider::TicksBelow);
            bar->setTickInterval(std::max(1, (maximum - minimum) / kTicksPerBar));
        }
        slider = bar;
    }
    slider->setRange(minimum, maximum);
    slider->setValue(0);
    const int window = current_window_;
    // set_control_state blocks the slider's signals, so only the user's changes arrive here.
    QObject::connect(slider, &QAbstractSlider::valueChanged, slider,
                     [this, control, window] { post_event(control_event(control, window)); });
    add_control(control, ControlKind::TrackBar, slider, x, y, width, height);
    return 1;
}

int QtToolkit::create_check_box(int control, int x, int y, int width, int height,
                                const std::string& text) {
    ToolkitWindow* parent = control_parent();
    if (parent == nullptr)
        return 0;
    auto* box = new QCheckBox(QString::fromStdString(text), parent->control_area());
    const int window = current_window_;
    // clicked comes from the user only, after the box has toggled.
    QObject::connect(box, &QCheckBox::clicked, box,
                     [this, control, window] { post_event(control_event(control, window)); });
    add_control(control, ControlKind::CheckBox, box, x, y, width, height);
    return 1;
}

int QtToolkit::create_button(int control, int x, int y, int width, int height,
                             const std::string& text) {
    ToolkitWindow* parent = control_parent();
    if (parent == nullptr)
        return 0;
    auto* button = new QPushButton(QString::fromStdString(text), parent->control_area());
    const int window = current_window_;
    QObject::connect(button, &QPushButton::clicked, button,
                     [this, control, window] { post_event(control_event(control, window)); });
    add_control(control, ControlKind::Button, button, x, y, width, height);
    return 1;
}

int QtToolkit::create_text_field(int control, int x, int y, int width, int height,
                                 const std::string& text, int flags) {
    ToolkitWindow* parent = control_parent();
    if (parent == nullptr)
        return 0;
    const int window = current_window_;
    const auto report = [this, control, window] { post_event(control_event(control, window)); };
    QWidget* widget = nullptr;
    if (flags & kTextMultiLine) {
        auto* edit = new MultiLineField(parent->control_area());
        QTextOption option = edit->document()->defaultTextOption();
        option.setAlignment(text_alignment(flags));
        edit->document()->setDefaultTextOption(option);
        edit->show_text(QString::fromStdString(text));
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, report);
        widget = edit;
    } else {
        auto* edit = new QLineEdit(QString::fromStdString(text), parent->control_area());
        edit->setAlignment(text_alignment(flags));
        QObject::connect(edit, &QLineEdit::textEdited, edit, report);
        widget = edit;
    }
    give_window_shortcuts_first(widget);
    add_control(control, ControlKind::TextField, widget, x, y, width, height);
    return 1;
}

void QtToolkit::set_tooltip(int control, const std::string& text) {
    if (QWidget* widget = control_widget(control))
        widget->setToolTip(QString::fromStdString(text));
}

void QtToolkit::show_control(int control, bool shown) {
    if (QWidget* widget = control_widget(control))
        widget->setVisible(shown);
}

void QtToolkit::focus_control(int control) {
    const ControlRecord* record = find_control(control);
    if (record == nullptr)
        return;
    if (record->kind == ControlKind::Canvas &&
        !(static_cast<CanvasWidget*>(record->widget.data())->flags() & kCanvasFocusable))
        return;
    record->widget->setFocus(Qt::OtherFocusReason);
}

int QtToolkit::control_state(int control) {
    const ControlRecord* record = find_control(control);
    if (record == nullptr)
        return 0;
    if (record->kind == ControlKind::TrackBar)
        return static_cast<QAbstractSlider*>(record->widget.data())->value();
    if (record->kind == ControlKind::CheckBox)
        return static_cast<QCheckBox*>(record->widget.data())->isChecked() ? 1 : 0;
    return 0;
}

void QtToolkit::set_track_bar_range(int control, int minimum, int maximum, int page) {
    const ControlRecord* record = find_control(control);
    if (record == nullptr || record->kind != ControlKind::TrackBar || maximum < minimum)
        return;
    const QSignalBlocker blocker(record->widget.data());
    auto* bar = static_cast<QAbstractSlider*>(record->widget.data());
    bar->setRange(minimum, maximum);
    bar->setPageStep(std::max(page, 1));
}

void QtToolkit::set_control_state(int control, int value) {
    const ControlRecord* record = find_control(control);
    if (record == nullptr)
        return;
    const QSignalBlocker blocker(record->widget.data());
    if (record->kind == ControlKind::TrackBar)
        static_cast<QAbstractSlider*>(record->widget.data())->setValue(value);
    else if (record->kind == ControlKind::CheckBox)
        static_cast<QCheckBox*>(record->widget.data())->setChecked(value != 0);
}

void QtToolkit::set_control_text(int control, const std::string& text) {
    const ControlRecord* record = find_control(control);
    if (record == nullptr)
        return;
    const QString value = QString::fromStdString(text);
    QWidget* widget = record->widget.data();
    const QSignalBlocker blocker(widget);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* edit = dynamic_cast<MultiLineField*>(widget))
        edit->show_text(value);
    else if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
}

void QtToolkit::resize_control(int control, int x, int y, int width, int height) {
    const ControlRecord* record = find_control(control);
    if (record == nullptr || width < 0 || height < 0)
        return;
    record->widget->move(x, y);
    if (record->kind == ControlKind::Canvas)
        static_cast<CanvasWidget*>(record->widget.data())->set_outer_size(width, height);
    else
        record->widget->resize(width, height);
}

int QtToolkit::control_width(int control) {
    const QWidget* widget = control_widget(control);
    return widget != nullptr ? widget->width() : 0;
}

int QtToolkit::control_height(int control) {
    const QWidget* widget = control_widget(control);
    return widget != nullptr ? widget->height() : 0;
}

void QtToolkit::enable_file_drop(int control) {
    const ControlRecord* record = find_control(control);
    if (record == nullptr)
        return;
    QWidget* widget = record->widget.data();
    if (widget->acceptDrops())
        return; // enabled already; a second filter would report each drop twice
    auto* filter = new DropFilter(*this, control, record->window, widget);
    widget->setAcceptDrops(true);
    widget->installEventFilter(filter);
    // Scrolling controls receive drops on their viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        area->viewport()->setAcceptDrops(true);
        area->viewport()->installEventFilter(filter);
    }
}

Raster* QtToolkit::canvas_picture(int control) {
    CanvasWidget* canvas = find_canvas(control);
    return canvas != nullptr ? &canvas->picture() : nullptr;
}

} // namespace fontarel
