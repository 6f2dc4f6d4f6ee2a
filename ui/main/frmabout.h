#pragma once

#include <QDialog>
#include <filesystem>

class QLabel;
class QPushButton;

// The about box: program name, version, icon and the program folder in use
// (where the price tables, schemes, history and password live). Not modal.
class FrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(const std::filesystem::path& programFolder, QWidget* parent = nullptr);

    QPushButton* okButton() const { return okButton_; }
    QLabel* folderLabel() const { return folderLabel_; }

private:
    QLabel* folderLabel_;
    QPushButton* okButton_;
};
