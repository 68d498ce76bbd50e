// The smallest Qt Widgets program with a window and a button that counts its clicks: the baseline
// for the program's resident memory and its cost per click.

#include <QApplication>
#include <QPushButton>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QPushButton button("Hello, world");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked,
                     [&] { button.setText(QString("Hello, world %1").arg(++clicks)); });
    button.setWindowTitle("hello");
    button.resize(200, 60);
    button.show();
    return application.exec();
}
