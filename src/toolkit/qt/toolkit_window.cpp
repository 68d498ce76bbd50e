#include "toolkit/qt/toolkit_window.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace fontarel {

namespace {

// A fixed frame: no sizing border and no maximise button, whatever the flags say.
Qt::WindowFlags frame_flags(int flags) {
    Qt::WindowFlags f = Qt::Window | Qt::CustomizeWindowHint;
    if (flags & kWindowTitleBar)
        f |= Qt::WindowTitleHint;
    if (flags & kWindowSystemMenu)
        f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (flags & kWindowMinimiseButton)
        f |= Qt::WindowMinimizeButtonHint;
    return f;
}

} // namespace

ToolkitWindow::ToolkitWindow(Toolkit& toolkit, int number, int width, int height, int flags)
    : QWidget(nullptr, frame_flags(flags)), toolkit_(toolkit), number_(number),
      scroll_area_(new QScrollArea(this)), control_area_(new QWidget) {
    // Without a frame and with both bars off the scroll area is invisible: a window that fits
    // looks and behaves as a plain one. It takes no focus, so the first focusable control gets it.
    scroll_area_->setFrameShape(QFrame::NoFrame);
    scroll_area_->setFocusPolicy(Qt::NoFocus);
    scroll_area_->setWidgetResizable(true);
    scroll_area_->setWidget(control_area_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll_area_, 1);
    set_inner_size(width, height);
}

void ToolkitWindow::set_menu_bar(QMenuBar* bar) {
    delete menu_bar_;
    menu_bar_ = bar;
    // The layout puts the bar on top at its own height and gives the rest to the control area.
    layout()->setMenuBar(bar);
    if (scrolls_)
        fit(); // the bar's height comes off the scrolled area's full height
}

void ToolkitWindow::set_inner_size(int width, int height, QSize room) {
    requested_ = QSize(width, height);
    room_ = room;
    fit();
}

void ToolkitWindow::fit() {
    bool across = false; // a horizontal scroll bar
    bool down = false;   // a vertical one
    if (!room_.isEmpty()) {
        const int bar_width = scroll_area_->verticalScrollBar()->sizeHint().width();
        const int bar_height = scroll_area_->horizontalScrollBar()->sizeHint().height();
        // Each bar takes room from the other direction; the second pass settles that.
        for (int pass = 0; pass < 2; ++pass) {
            across = requested_.width() + (down ? bar_width : 0) > room_.width();
            down = requested_.height() + (across ? bar_height : 0) > room_.height();
        }
        scrolls_ = across || down;
        if (scrolls_) {
            setFixedSize(std::min(requested_.width() + (down ? bar_width : 0), room_.width()),
                         std::min(requested_.height() + (across ? bar_height : 0), room_.height()));
        }
    } else {
        scrolls_ = false;
    }
    if (!scrolls_)
        setFixedSize(requested_);
    scroll_area_->setHorizontalScrollBarPolicy(across ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
    scroll_area_->setVerticalScrollBarPolicy(down ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // The scrolled area keeps the full size under the menu bar; one that fits just fills the
    // window, as the layout gives it.
    int menu_height = 0;
    if (scrolls_ && menu_bar_ != nullptr) {
        menu_height = menu_bar_->heightForWidth(width());
        if (menu_height < 0)
            menu_height = menu_bar_->sizeHint().height();
    }
    control_area_->setMinimumSize(
        scrolls_ ? QSize(requested_.width(), std::max(0, requested_.height() - menu_height))
                 : QSize(0, 0));
}

void ToolkitWindow::keyPressEvent(QKeyEvent* event) {
    if (!scrolls_) {
        QWidget::keyPressEvent(event);
        return;
    }
    QScrollBar* across = scroll_area_->horizontalScrollBar();
    QScrollBar* down = scroll_area_->verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Left:
        across->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        across->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Up:
        down->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        down->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        down->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        down->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        across->triggerAction(QAbstractSlider::SliderToMinimum);
        down->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        across->triggerAction(QAbstractSlider::SliderToMaximum);
        down->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ToolkitWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    Event e;
    e.code = kEventClose;
    e.window = number_;
    toolkit_.post_event(std::move(e));
}

DropFilter::DropFilter(Toolkit& toolkit, int control, int window, QObject* parent)
    : QObject(parent), toolkit_(toolkit), control_(control), window_(window) {}

namespace {

// The local file paths of a drag, joined by line feeds; empty when it carries none.
QString local_paths(const QMimeData* data) {
    QStringList paths;
    if (data != nullptr && data->hasUrls()) {
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    }
    return paths.join(QLatin1Char('\n'));
}

} // namespace

bool DropFilter::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (local_paths(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString paths = local_paths(drop->mimeData());
        if (paths.isEmpty())
            return false;
        drop->acceptProposedAction();
        Event e;
        e.code = kEventDrop;
        e.source = control_;
        e.window = window_;
        e.dropped = paths.toStdString();
        toolkit_.post_event(std::move(e));
        return true;
    }
    default:
        return false;
    }
}

} // namespace fontarel
