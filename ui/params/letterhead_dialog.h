#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <optional>
#include <string>

#include "core/common/program_folder.h"

class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;

// "信头设置": the shop's name, address, telephone and logo that print above
// the quotation and the price table. Opened from the parameter page; it
// shows the letterhead kept now and keeps what is saved. Leaving every box
// empty and taking the logo off removes the letterhead.
class LetterheadDialog : public QDialog {
    Q_OBJECT

public:
    // Asks for a picture file; nothing when cancelled. Tests name the file.
    using ImageChooser = std::function<std::optional<QString>(QWidget*)>;

    LetterheadDialog(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                     QWidget* parent = nullptr);

    void setImageChooser(ImageChooser chooser) { chooseImage_ = std::move(chooser); }

    QLineEdit* txtname = nullptr;       // "店    名："
    QLineEdit* txtaddress = nullptr;    // "地    址："
    QLineEdit* txttelephone = nullptr;  // "电    话："
    QLabel* logoPreview = nullptr;
    QPushButton* cmdlogo = nullptr;    // "选择图片…"
    QPushButton* cmdnologo = nullptr;  // "去掉图片"
    QPushButton* cmdsave = nullptr;    // "保存"
    QPushButton* cmdcancel = nullptr;  // "取消"

    // "选择图片…": a readable picture replaces the logo shown (kept on
    // "保存"); any other file is refused with a message.
    void pickLogo();
    void removeLogo();
    // "保存": refuses texts that are too long; a letterhead that cannot be
    // written gives "保存失败：" and the reason, and the dialog stays open.
    // True when kept.
    bool save();

private:
    void showLogo(const QImage& image);

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    ImageChooser chooseImage_;
    std::string keptLogoFile_;               // the logo of the kept letterhead
    std::optional<std::string> newLogoPng_;  // a picked logo, or "" to take it off
};
