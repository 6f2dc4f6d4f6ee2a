#include "ui/output/frmshow.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "core/costing/price_table_check.h"
#include "core/spreadsheet/price_table_sheet.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/frmlist.h"
#include "ui/output/letterhead_page.h"
#include "ui/output/page_printer.h"
#include "ui/output/price_chart.h"
#include "ui/output/price_chart_page.h"
#include "ui/output/save_file_chooser.h"

namespace {

// The least the viewport shows on any screen, and the room a window
// manager's title bar and frame take above and around the window.
constexpr int kMinimumViewportTwips = 5295;
constexpr int kWindowFramePixels = 40;

// A cell in doubt: the shade of a spreadsheet's warning cells.
const QString kDoubtStyle = QStringLiteral("background-color: #FFC7CE;");

// The chart's picture in a workbook, in pixels of 1/96 inch: as wide as the
// table's columns there.
constexpr QSize kWorkbookChartSize(650, 430);

}  // namespace

FrmShow::FrmShow(OutputServices services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmshow"));
    setWindowTitle(applicationTitle() + QStringLiteral("-价格表"));
    setModal(true);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->setDocumentMode(true);
    auto* tablePage = new QWidget;
    Picture1 = new QWidget(tablePage);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(tw(PriceSheet::kWidthTwips), tw(kMinimumViewportTwips));
    Picture2 = new PriceSheet(Picture1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->move(0, 0);
    Picture1->installEventFilter(this);
    Picture2->installEventFilter(this);

    VScroll1 = new QScrollBar(Qt::Vertical, tablePage);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setSingleStep(100);
    VScroll1->setPageStep(1000);
    connect(VScroll1, &QScrollBar::valueChanged, this, &FrmShow::scrolled);

    Cmdbjd[0] = new QPushButton(QStringLiteral("打印价格表"), this);
    Cmdbjd[0]->setObjectName(QStringLiteral("Cmdbjd_0"));
    Cmdbjd[1] = new QPushButton(QStringLiteral("退出"), this);
    Cmdbjd[1]->setObjectName(QStringLiteral("Cmdbjd_1"));
    cmdpdf = new QPushButton(QStringLiteral("导出PDF"), this);
    cmdpdf->setObjectName(QStringLiteral("cmdpdf"));
    cmdexcel = new QPushButton(QStringLiteral("导出Excel"), this);
    cmdexcel->setObjectName(QStringLiteral("cmdexcel"));
    connect(Cmdbjd[0], &QPushButton::clicked, this, &FrmShow::printTable);
    connect(Cmdbjd[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdpdf, &QPushButton::clicked, this, &FrmShow::exportPdf);
    connect(cmdexcel, &QPushButton::clicked, this, &FrmShow::exportSheet);
    for (QPushButton* b : {Cmdbjd[0], cmdpdf, cmdexcel, Cmdbjd[1]}) {
        b->setAutoDefault(false);
    }
    labcheck = new QLabel(this);
    labcheck->setObjectName(QStringLiteral("labcheck"));
    labcheck->setWordWrap(true);
    labcheck->setStyleSheet(QStringLiteral("color: #9C0006;"));

    auto* table = new QHBoxLayout(tablePage);
    table->setContentsMargins(0, 0, 0, 0);
    table->setSpacing(0);
    table->addWidget(Picture1);
    table->addWidget(VScroll1);
    // The chart takes the room the table has, whatever the screen.
    chart = new PriceChart;
    chart->setObjectName(QStringLiteral("chart"));
    tabs->addTab(tablePage, QStringLiteral("表格"));
    tabs->addTab(chart, QStringLiteral("图表"));
    // The warning line shares the row of the buttons, so the table keeps
    // all the height there is.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(labcheck, 1);
    buttons->addWidget(Cmdbjd[0]);
    buttons->addWidget(cmdpdf);
    buttons->addWidget(cmdexcel);
    buttons->addWidget(Cmdbjd[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    fitToScreen(screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600));
}

void FrmShow::fitToScreen(const QRect& available) {
    const int sheet = tw(PriceSheet::kHeightTwips);
    layout()->activate();
    const int around = sizeHint().height() - Picture1->height();
    const int room = available.height() - kWindowFramePixels - around;
    const int viewport = std::clamp(room, tw(kMinimumViewportTwips), sheet);
    Picture1->setFixedHeight(viewport);
    // The viewport sits on a tab, which passes its new height on to the
    // window's layout only when told to.
    tabs->updateGeometry();
    scrollTwips_ = (sheet - viewport) * kTwipsPerPixel;
    VScroll1->setRange(0, scrollTwips_);
    VScroll1->setEnabled(scrollTwips_ > 0);
    scrolled(VScroll1->value());
    layout()->activate();
}

void FrmShow::setTable(const inkquot::PriceTableGrid& grid) {
    grid_ = grid;
    PriceSheet& sheet = *Picture2;
    sheet.labshuoming->setText(fromUtf8(grid.labshuoming));
    for (int j = 0; j < PriceSheet::kQuantities; ++j) {
        sheet.labshu[j]->setText(fromUtf8(grid.labshu[j]));
    }
    for (int i = 0; i < PriceSheet::kRows; ++i) {
        sheet.labddu[i]->setText(fromUtf8(grid.labddu[i]));
        sheet.labzdu[i]->setText(fromUtf8(grid.labddu[i]));
    }
    const inkquot::PriceTableCheck check = inkquot::checkPriceTable(grid);
    for (int n = 0; n < PriceSheet::kCells; ++n) {
        sheet.labdanjia[n]->setText(fromUtf8(grid.labdanjia[n]));
        sheet.labdanjia[n]->setStyleSheet(check.cells[n] == inkquot::CellDoubt::None ? QString()
                                                                                     : kDoubtStyle);
    }
    sheet.lablei->setText(fromUtf8(grid.lablei));
    labcheck->setText(fromUtf8(check.warning()));
    chart->setData(priceChartData(grid));
}

void FrmShow::scrolled(int value) {
    VScroll1->setRange(0, scrollTwips_);
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

QString FrmShow::proposedName() const {
    return Picture2->labiaoti->text() + QStringLiteral("-") + Picture2->labdate->text();
}

void FrmShow::exportPdf() {
    const auto file = services_.files.choosePdfFile(this, proposedPdfPath(proposedName()));
    if (!file) {
        return;
    }
    FrmList frmlist;
    frmlist.copyLabels(*Picture2);
    PriceChartPage chartPage;
    chartPage.setChart(*Picture2, chart->data());
    PdfPagePrinter pdf(*file);
    if (!printWithLetterhead(pdf, frmlist, Picture2->labiaoti->text(), services_.shopFolder,
                             &chartPage)) {
        services_.dialogs.warning(this, QString::fromUtf8(kPdfErrorText) + *file);
    }
}

void FrmShow::exportSheet() {
    if (!grid_) {
        return;
    }
    const auto choice = services_.files.chooseSheetFile(this, proposedSheetPath(proposedName()));
    if (!choice) {
        return;
    }
    const inkquot::PriceTableHeading heading{letterhead_, toUtf8(Picture2->labiaoti->text()),
                                             toUtf8(Picture2->labdate->text())};
    std::string picture;
    if (choice->format == inkquot::SheetFormat::Xlsx) {
        const QByteArray png = priceChartPng(chart->data(), kWorkbookChartSize);
        picture.assign(png.constData(), static_cast<std::size_t>(png.size()));
    }
    const inkquot::IoStatus written = inkquot::writePriceTableSheet(
        toPath(choice->path), choice->format, *grid_, heading, std::move(picture));
    if (written.error == inkquot::IoError::NotDurable) {
        services_.dialogs.warning(this, fromUtf8(written.message));
    } else if (!written) {
        services_.dialogs.warning(
            this, fromUtf8(std::string(inkquot::kSaveFailedText) + written.message));
    }
}
