#include "ui/output/save_file_chooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

#include "ui/common/utf8_text.h"

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

std::optional<SheetFileChoice> QtSaveFileChooser::chooseSheetFile(QWidget* parent,
                                                                  const QString& proposedPath) {
    const QString workbook = QStringLiteral("Excel工作簿 (*.xlsx)");
    const QString csv = QStringLiteral("CSV文件，UTF-8 (*.csv)");
    QString filter = workbook;
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("导出Excel"), proposedPath,
                                                workbook + QStringLiteral(";;") + csv, &filter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    if (const auto named = inkquot::sheetFormatOf(toPath(file))) {
        return SheetFileChoice{file, *named};
    }
    const bool asCsv = filter == csv;
    file += asCsv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    return SheetFileChoice{file, asCsv ? inkquot::SheetFormat::Csv : inkquot::SheetFormat::Xlsx};
}

namespace {

QString proposedPath(const QString& name, const QString& suffix) {
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
    return QDir(folder).filePath(safe + suffix);
}

}  // namespace

QString proposedPdfPath(const QString& name) {
    return proposedPath(name, QStringLiteral(".pdf"));
}

QString proposedSheetPath(const QString& name) {
    return proposedPath(name, QString());
}
