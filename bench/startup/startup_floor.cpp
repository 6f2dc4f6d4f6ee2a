// The floor of start-up: a bare Qt program that shows one dialog ("password"
// once it is up), then one plain window ("usable"), and ends.
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.show();
    QTimer::singleShot(0, &dialog, [] {
        std::puts("password");
        std::fflush(stdout);
        auto* window = new QWidget;
        window->resize(1024, 700);
        window->show();
        QTimer::singleShot(0, window, [] {
            std::puts("usable");
            std::fflush(stdout);
            ::_exit(0);
        });
    });
    return QApplication::exec();
}
