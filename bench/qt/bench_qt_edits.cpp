// End-to-end pixel edits through the Qt toolkit on the offscreen platform: a mouse press on the
// real glyph canvas widget becomes a queued event, is dispatched, sets the bit and repaints every
// view. Measured beside the same edit on the in-memory toolkit, so the ratio shows what Qt adds.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "toolkit/headless/headless_toolkit.h"
#include "toolkit/qt/qt_toolkit.h"

namespace fontarel {
namespace {

// Alternates set and clear over the 64 glyph pixels so every edit changes the picture.
struct Stroke {
    int n = 0;
    QPoint next() {
        const int cell = n++ & 63;
        return {16 * (cell & 7) + 8, 16 * (cell >> 3) + 8};
    }
    bool right() const { return (n & 64) != 0; }
};

void dispatch_all(App& app) {
    while (app.tk.pending_events() > 0) {
        dispatch_event(app, app.tk.wait_event());
    }
}

void qt_pixel_edit(benchmark::State& state) {
    QtToolkit tk;
    App app(tk);
    open_program(app);
    QWidget* canvas = tk.control_widget(kGlyphCanvas);
    // Let the windows be shown and exposed first, so every edit repaints on the platform.
    for (int i = 0; i < 20 && !canvas->isVisible(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
    Stroke stroke;
    for (auto _ : state) {
        const QPoint p = stroke.next();
        const Qt::MouseButton button = stroke.right() ? Qt::RightButton : Qt::LeftButton;
        QMouseEvent press(QEvent::MouseButtonPress, p, canvas->mapToGlobal(p), button, button, {});
        QApplication::sendEvent(canvas, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, canvas->mapToGlobal(p), button, {}, {});
        QApplication::sendEvent(canvas, &release);
        dispatch_all(app);
    }
    state.SetItemsProcessed(state.iterations());
    shut_down(app);
}
BENCHMARK(qt_pixel_edit);

void headless_pixel_edit(benchmark::State& state) {
    HeadlessToolkit tk;
    App app(tk);
    open_program(app);
    Stroke stroke;
    for (auto _ : state) {
        const QPoint p = stroke.next();
        tk.inject_click(kGlyphCanvas, p.x(), p.y(), stroke.right());
        dispatch_all(app);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(headless_pixel_edit);

} // namespace
} // namespace fontarel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
