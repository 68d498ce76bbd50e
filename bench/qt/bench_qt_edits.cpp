// End-to-end pixel edits through the Qt toolkit on the offscreen platform, in wall time: a mouse
// press and release injected through the main window's platform window become queued events, are
// dispatched, set or clear a bit, and every view is painted before the next iteration, as one turn
// of the program's loop does. The map window is shown at 80 x 50 and filled with the edited glyph,
// so every edit changes every map cell: the worst case. Beside it, a Qt hello-world widget's cost
// per click, injected and painted the same way, is the floor that Qt itself sets.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "toolkit/qt/qt_toolkit.h"

namespace fontarel {
namespace {

// The paint and the rest of one turn of the event loop, without waiting.
void finish_turn() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::processEvents();
}

void settle() {
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// `machine`: the Colour menu row; with C64 the cells get mixed colours, (column + row) % 16.
void qt_pixel_edit(benchmark::State& state, MenuId machine) {
    QtToolkit tk;
    App app(tk);
    open_program(app);
    dispatch_menu(app, id(MenuId::MapPc));
    dispatch_menu(app, id(machine));
    dispatch_menu(app, id(MenuId::FillMap));
    if (machine != MenuId::MachineMono) {
        CharMap& map = *app.s.map;
        for (int r = 0; r < map.rows; ++r)
            for (int c = 0; c < map.cols; ++c)
                map.attr(c, r) = static_cast<uint8_t>((c + r) % 16);
    }
    QWidget* main = tk.window_widget(kMainWindow);
    QWidget* canvas = tk.control_widget(kGlyphCanvas);
    main->activateWindow();
    settle();
    QWindow* window = main->windowHandle();
    int n = 0;
    for (auto _ : state) {
        const int cell = n & 63;
        const QPoint p = canvas->mapTo(main, QPoint(16 * (cell & 7) + 8, 16 * (cell >> 3) + 8));
        const Qt::MouseButton button = (n & 64) ? Qt::RightButton : Qt::LeftButton;
        ++n;
        QTest::mousePress(window, button, {}, p);
        QTest::mouseRelease(window, button, {}, p);
        while (tk.pending_events() > 0)
            dispatch_event(app, tk.wait_event());
        finish_turn();
    }
    state.SetItemsProcessed(state.iterations());
    shut_down(app);
}
void qt_pixel_edit_with_full_map(benchmark::State& state) {
    qt_pixel_edit(state, MenuId::MachineMono);
}
BENCHMARK(qt_pixel_edit_with_full_map)->UseRealTime();
void qt_pixel_edit_with_full_colour_map(benchmark::State& state) {
    qt_pixel_edit(state, MenuId::MachineC64);
}
BENCHMARK(qt_pixel_edit_with_full_colour_map)->UseRealTime();

void qt_hello_world_click(benchmark::State& state) {
    QPushButton button("Hello, world");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked,
                     [&] { button.setText(QString("Hello, world %1").arg(++clicks)); });
    button.resize(200, 60);
    button.show();
    button.activateWindow();
    settle();
    QWindow* window = button.windowHandle();
    for (auto _ : state) {
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(100, 30));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(100, 30));
        finish_turn();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(qt_hello_world_click)->UseRealTime();

} // namespace
} // namespace fontarel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
