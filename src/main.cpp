// The program: the Qt toolkit and the run of the charset editor, or one of the command-line forms
// (usage, version, exports, the screen import, a refused option) that open no window and need no
// display.

#include <QApplication>
#include <QIcon>
#include <iostream>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "cli/command_line.h"
#include "cli/command_line_run.h"
#include "toolkit/qt/picture_decoder.h"
#include "toolkit/qt/png_encoder.h"
#include "toolkit/qt/qt_toolkit.h"

int main(int argc, char* argv[]) {
    // Taken before Qt reads its own options out of argv: every parameter after the program's
    // name counts.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const fontarel::CommandLine line = fontarel::parse_command_line(arguments);
    if (line.action != fontarel::CommandAction::Edit)
        return fontarel::run_command_line(line, fontarel::encode_png_with_qt, std::cout, std::cerr,
                                          fontarel::decode_picture_with_qt);
    QApplication application(argc, argv);
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName("fontarel");
    // Every window of the program carries its icon; the window system picks the size it needs.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/fontarel-48.png"));
    icon.addFile(QStringLiteral(":/icons/fontarel-256.png"));
    QApplication::setWindowIcon(icon);
    fontarel::QtToolkit toolkit(std::move(arguments));
    return fontarel::run_program(toolkit);
}
