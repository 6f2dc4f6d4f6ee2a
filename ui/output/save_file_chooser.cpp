#include "ui/output/save_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

std::optional<QString> QtSaveFileChooser::choosePdfFile(QWidget* parent,
                                                        const QString& proposedPath) {
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("导出PDF"), proposedPath,
                                                QStringLiteral("PDF文件 (*.pdf)"));
    if (file.isEmpty()) {
        return std::nullopt;
    }
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".pdf");
    }
    return file;
}

QString proposedPdfPath(const QString& name) {
    QString safe;
    for (const QChar c : name) {
        const bool bad =
            c.unicode() < 0x20 || c == QChar(0x7f) || QStringLiteral("/\\:*?\"<>|").contains(c);
        safe += bad ? QChar(u'_') : c;
    }
    safe = safe.trimmed();
    // A name of dots alone would name a folder.
    if (safe.isEmpty() || safe.count(QChar(u'.')) == safe.size()) {
        safe = QStringLiteral("报价");
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    return QDir(folder).filePath(safe + QStringLiteral(".pdf"));
}
