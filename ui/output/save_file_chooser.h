#pragma once

#include <QString>
#include <optional>

class QWidget;

// The save-file dialog of the PDF export, behind a seam so that tests name
// the file without a modal dialog.
class SaveFileChooser {
public:
    virtual ~SaveFileChooser() = default;

    // The file the user chose, starting from `proposedPath`; nothing when
    // cancelled.
    virtual std::optional<QString> choosePdfFile(QWidget* parent, const QString& proposedPath) = 0;
};

// The system's save-file dialog; the chosen name gets ".pdf" when it has no
// suffix of that kind.
class QtSaveFileChooser final : public SaveFileChooser {
public:
    std::optional<QString> choosePdfFile(QWidget* parent, const QString& proposedPath) override;
};

// Where a PDF is proposed first: the user's documents folder (or the home
// folder), under `name` with characters that a file name cannot hold
// replaced by "_", and ".pdf" added.
QString proposedPdfPath(const QString& name);
