// Runs the Qt backend tests inside one QApplication, on the offscreen platform unless the
// environment chooses another.

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The offscreen platform warns about every window feature it lacks (raising, keyboard grabs);
// those lines say nothing about the toolkit and bury real failures.
void quiet_platform_warnings(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    qInstallMessageHandler(quiet_platform_warnings);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
