#include "ui/main/app_icon.h"

QIcon applicationIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            i.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/inkquot.png").arg(size),
                      QSize(size, size));
        }
        return i;
    }();
    return icon;
}
