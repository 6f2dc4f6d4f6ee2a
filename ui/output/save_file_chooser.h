#pragma once

#include <QString>
#include <optional>

#include "core/spreadsheet/sheet_writer.h"

class QWidget;

// A spreadsheet file the user named, and its kind.
struct SheetFileChoice {
    QString path;
    inkquot::SheetFormat format = inkquot::SheetFormat::Xlsx;
};

// The save-file dialogs of the PDF and spreadsheet exports, behind a seam so
// that tests name the file without a modal dialog.
class SaveFileChooser {
public:
    virtual ~SaveFileChooser() = default;

    // The file the user chose, starting from `proposedPath`; nothing when
    // cancelled.
    virtual std::optional<QString> choosePdfFile(QWidget* parent, const QString& proposedPath) = 0;
    // The same for an Excel workbook (.xlsx) or a CSV file (.csv); nothing
    // when cancelled or not offered.
    virtual std::optional<SheetFileChoice> chooseSheetFile(QWidget* parent,
                                                           const QString& proposedPath) {
        (void)parent;
        (void)proposedPath;
        return std::nullopt;
    }
};

// The system's save-file dialog; the chosen name gets ".pdf" when it has no
// suffix of that kind.
// The spreadsheet dialog offers both kinds by its type filter; a name typed
// with ".xlsx" or ".csv" decides by itself.
class QtSaveFileChooser final : public SaveFileChooser {
public:
    std::optional<QString> choosePdfFile(QWidget* parent, const QString& proposedPath) override;
    std::optional<SheetFileChoice> chooseSheetFile(QWidget* parent,
                                                   const QString& proposedPath) override;
};

// Where a PDF is proposed first: the user's documents folder (or the home
// folder), under `name` with characters that a file name cannot hold
// replaced by "_", and ".pdf" added.
QString proposedPdfPath(const QString& name);
// The same without a suffix: the type the user picks adds it.
QString proposedSheetPath(const QString& name);
