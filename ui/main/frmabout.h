#pragma once

#include <QDialog>

class QPushButton;

// The about box: program name, version and icon. Not modal.
class FrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(QWidget* parent = nullptr);

    QPushButton* okButton() const { return okButton_; }

private:
    QPushButton* okButton_;
};
