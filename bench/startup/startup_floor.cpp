// The floor of start-up: a bare Qt program that shows one dialog ("password"
// once it is up), then one plain window ("usable"), and ends. With --label
// the dialog shows one line of Chinese text, which is what the first text of
// any Chinese screen costs: the font database and a CJK font.
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QDialog dialog;
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        new QLabel(QStringLiteral("请输入密码"), &dialog);
    }
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
