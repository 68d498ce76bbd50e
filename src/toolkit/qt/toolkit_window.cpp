#include "toolkit/qt/toolkit_window.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>

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
      control_area_(new QWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(control_area_, 1);
    set_inner_size(width, height);
}

void ToolkitWindow::set_menu_bar(QMenuBar* bar) {
    delete menu_bar_;
    menu_bar_ = bar;
    // The layout puts the bar on top at its own height and gives the rest to the control area.
    layout()->setMenuBar(bar);
}

void ToolkitWindow::set_inner_size(int width, int height) {
    setFixedSize(width, height);
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
