#include "ui/output/frmshow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "ui/common/dialogs.h"
#include "ui/output/frmlist.h"
#include "ui/output/letterhead_page.h"
#include "ui/output/page_printer.h"
#include "ui/output/save_file_chooser.h"

namespace {

// The viewport shows the table but for the scroll range.
constexpr int kViewportTwips = PriceSheet::kHeightTwips - FrmShow::kScrollTwips;

}  // namespace

FrmShow::FrmShow(OutputServices services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmshow"));
    setWindowTitle(applicationTitle() + QStringLiteral("-价格表"));
    setModal(true);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(tw(PriceSheet::kWidthTwips), tw(kViewportTwips));
    Picture2 = new PriceSheet(Picture1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->move(0, 0);
    Picture1->installEventFilter(this);
    Picture2->installEventFilter(this);

    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setRange(0, kScrollTwips);
    VScroll1->setSingleStep(100);
    VScroll1->setPageStep(1000);
    connect(VScroll1, &QScrollBar::valueChanged, this, &FrmShow::scrolled);

    Cmdbjd[0] = new QPushButton(QStringLiteral("打印价格表"), this);
    Cmdbjd[0]->setObjectName(QStringLiteral("Cmdbjd_0"));
    Cmdbjd[1] = new QPushButton(QStringLiteral("退出"), this);
    Cmdbjd[1]->setObjectName(QStringLiteral("Cmdbjd_1"));
    cmdpdf = new QPushButton(QStringLiteral("导出PDF"), this);
    cmdpdf->setObjectName(QStringLiteral("cmdpdf"));
    connect(Cmdbjd[0], &QPushButton::clicked, this, &FrmShow::printTable);
    connect(Cmdbjd[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdpdf, &QPushButton::clicked, this, &FrmShow::exportPdf);
    for (QPushButton* b : {Cmdbjd[0], cmdpdf, Cmdbjd[1]}) {
        b->setAutoDefault(false);
    }

    auto* table = new QHBoxLayout;
    table->setSpacing(0);
    table->addWidget(Picture1);
    table->addWidget(VScroll1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmdbjd[0]);
    buttons->addWidget(cmdpdf);
    buttons->addWidget(Cmdbjd[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(table);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmShow::scrolled(int value) {
    VScroll1->setRange(0, kScrollTwips);
    VScroll1->setSingleStep(100);
    VScroll1->setPageStep(1000);
    Picture2->move(0, -tw(value));
}

bool FrmShow::eventFilter(QObject* watched, QEvent* event) {
    // The wheel over the table scrolls it as the scroll bar would.
    if (event->type() == QEvent::Wheel && (watched == Picture1 || watched == Picture2)) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int notches = wheel->angleDelta().y() / 120;
        VScroll1->setValue(VScroll1->value() - notches * 3 * VScroll1->singleStep());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmShow::printTable() {
    FrmList frmlist;
    frmlist.copyLabels(*Picture2);
    if (!printWithLetterhead(services_.printer, frmlist, Picture2->labiaoti->text(),
                             services_.shopFolder)) {
        services_.dialogs.warning(this, QString::fromUtf8(kPrinterErrorText));
    }
    reject();
}

void FrmShow::exportPdf() {
    const QString name =
        Picture2->labiaoti->text() + QStringLiteral("-") + Picture2->labdate->text();
    const auto file = services_.files.choosePdfFile(this, proposedPdfPath(name));
    if (!file) {
        return;
    }
    FrmList frmlist;
    frmlist.copyLabels(*Picture2);
    PdfPagePrinter pdf(*file);
    if (!printWithLetterhead(pdf, frmlist, Picture2->labiaoti->text(), services_.shopFolder)) {
        services_.dialogs.warning(this, QString::fromUtf8(kPdfErrorText) + *file);
    }
}
