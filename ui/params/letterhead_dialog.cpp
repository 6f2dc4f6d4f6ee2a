#include "ui/params/letterhead_dialog.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/identity/letterhead.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/letterhead_page.h"
#include "ui/params/logo_image.h"

namespace {

constexpr int kPreviewWidth = 240;
constexpr int kPreviewHeight = 90;

std::optional<QString> chooseImageFile(QWidget* parent) {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    }
    const QString file = QFileDialog::getOpenFileName(
        parent, QStringLiteral("选择信头图片"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        QStringLiteral("图片 (%1);;所有文件 (*)").arg(patterns.join(QLatin1Char(' '))));
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file;
}

}  // namespace

LetterheadDialog::LetterheadDialog(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                                   QWidget* parent)
    : QDialog(parent), folder_(folder), dialogs_(dialogs), chooseImage_(chooseImageFile) {
    setObjectName(QStringLiteral("frmletterhead"));
    setWindowTitle(QStringLiteral("信头设置"));
    setModal(true);

    auto* intro = new QLabel(
        QStringLiteral(
            "信头印在报价单和价格表（含导出的PDF）的最上方。全部留空并去掉图片即不用信头。"),
        this);
    intro->setWordWrap(true);

    txtname = new QLineEdit(this);
    txtname->setObjectName(QStringLiteral("txtname"));
    txtname->setPlaceholderText(QStringLiteral("最多%1个字").arg(inkquot::kShopNameLimit));
    txtaddress = new QLineEdit(this);
    txtaddress->setObjectName(QStringLiteral("txtaddress"));
    txtaddress->setPlaceholderText(QStringLiteral("最多%1个字").arg(inkquot::kShopAddressLimit));
    txttelephone = new QLineEdit(this);
    txttelephone->setObjectName(QStringLiteral("txttelephone"));
    txttelephone->setPlaceholderText(
        QStringLiteral("最多%1个字").arg(inkquot::kShopTelephoneLimit));

    logoPreview = new QLabel(this);
    logoPreview->setObjectName(QStringLiteral("logoPreview"));
    logoPreview->setFixedSize(kPreviewWidth, kPreviewHeight);
    logoPreview->setAlignment(Qt::AlignCenter);
    logoPreview->setFrameShape(QFrame::StyledPanel);
    cmdlogo = new QPushButton(QStringLiteral("选择图片…"), this);
    cmdlogo->setObjectName(QStringLiteral("cmdlogo"));
    cmdnologo = new QPushButton(QStringLiteral("去掉图片"), this);
    cmdnologo->setObjectName(QStringLiteral("cmdnologo"));
    connect(cmdlogo, &QPushButton::clicked, this, &LetterheadDialog::pickLogo);
    connect(cmdnologo, &QPushButton::clicked, this, &LetterheadDialog::removeLogo);

    auto* logoButtons = new QVBoxLayout;
    logoButtons->addWidget(cmdlogo);
    logoButtons->addWidget(cmdnologo);
    logoButtons->addStretch(1);
    auto* logoRow = new QHBoxLayout;
    logoRow->addWidget(logoPreview);
    logoRow->addLayout(logoButtons);
    logoRow->addStretch(1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("店    名："), txtname);
    form->addRow(QStringLiteral("地    址："), txtaddress);
    form->addRow(QStringLiteral("电    话："), txttelephone);
    form->addRow(QStringLiteral("标志图片："), logoRow);

    cmdsave = new QPushButton(QStringLiteral("保存"), this);
    cmdsave->setObjectName(QStringLiteral("cmdsave"));
    cmdsave->setDefault(true);
    cmdcancel = new QPushButton(QStringLiteral("取消"), this);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    connect(cmdsave, &QPushButton::clicked, this, [this] {
        if (save()) {
            accept();
        }
    });
    connect(cmdcancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdsave);
    buttons->addWidget(cmdcancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    if (const auto kept = inkquot::readLetterhead(folder_)) {
        txtname->setText(fromUtf8(kept->name));
        txtaddress->setText(fromUtf8(kept->address));
        txttelephone->setText(fromUtf8(kept->telephone));
        keptLogoFile_ = kept->logoFile;
        showLogo(letterheadLogo(folder_, *kept));
    } else {
        showLogo(QImage());
    }
}

void LetterheadDialog::showLogo(const QImage& image) {
    if (image.isNull()) {
        logoPreview->setPixmap(QPixmap());
        logoPreview->setText(QStringLiteral("（无）"));
        cmdnologo->setEnabled(false);
        return;
    }
    logoPreview->setPixmap(QPixmap::fromImage(image.scaled(
        kPreviewWidth - 8, kPreviewHeight - 8, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    cmdnologo->setEnabled(true);
}

void LetterheadDialog::pickLogo() {
    const auto file = chooseImage_ ? chooseImage_(this) : std::nullopt;
    if (!file) {
        return;
    }
    const PreparedLogo logo = prepareLogo(*file);
    if (!logo.ok()) {
        dialogs_.warning(this, logo.refusal);
        return;
    }
    newLogoPng_ = logo.png.toStdString();
    showLogo(logo.image);
}

void LetterheadDialog::removeLogo() {
    newLogoPng_ = std::string();
    showLogo(QImage());
}

bool LetterheadDialog::save() {
    const inkquot::Letterhead letterhead{toUtf8(txtname->text()), toUtf8(txtaddress->text()),
                                         toUtf8(txttelephone->text()), keptLogoFile_};
    if (const std::string refusal = inkquot::letterheadRefusal(letterhead); !refusal.empty()) {
        dialogs_.warning(this, fromUtf8(refusal));
        return false;
    }
    const inkquot::IoStatus status = inkquot::saveLetterhead(folder_, letterhead, newLogoPng_);
    if (status.error == inkquot::IoError::NotDurable) {
        // Kept, but the disk may not have it yet: said, not refused.
        dialogs_.warning(this, fromUtf8(status.message));
    } else if (!status) {
        dialogs_.warning(this, QStringLiteral("保存失败：") + fromUtf8(status.message));
        return false;
    }
    const auto kept = inkquot::readLetterhead(folder_);
    keptLogoFile_ = kept ? kept->logoFile : std::string();
    newLogoPng_.reset();
    return true;
}
