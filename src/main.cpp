// The program: the Qt toolkit and the run of the charset editor.

#include <QApplication>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "toolkit/qt/qt_toolkit.h"

int main(int argc, char* argv[]) {
    // Taken before Qt reads its own options out of argv: every parameter after the program's
    // name counts.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    QApplication application(argc, argv);
    fontarel::QtToolkit toolkit(std::move(arguments));
    return fontarel::run_program(toolkit);
}
