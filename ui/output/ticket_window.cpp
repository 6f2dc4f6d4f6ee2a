#include "ui/output/ticket_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/common/date_text.h"
#include "core/identity/letterhead.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/letterhead_page.h"
#include "ui/output/page_preview.h"
#include "ui/output/page_printer.h"
#include "ui/output/save_file_chooser.h"
#include "ui/output/ticket_page.h"

namespace {

// The room a window manager's title bar and frame take above and around
// the window, and its frame alone on the sides.
constexpr int kWindowFramePixels = 40;
constexpr int kSideFramePixels = 8;

}  // namespace

TicketWindow::TicketWindow(const inkquot::ProductionTicket& ticket, OutputServices services,
                           QWidget* parent)
    : QDialog(parent), ticket_(ticket), services_(services) {
    setObjectName(QStringLiteral("ticketWindow"));
    setWindowTitle(applicationTitle() + QStringLiteral("-施工单"));
    setModal(true);

    page_ = std::make_unique<TicketPage>();
    page_->fill(ticket_);
    const PrintPage* shown = page_.get();
    if (services_.shopFolder) {
        if (const auto letterhead = inkquot::readLetterhead(*services_.shopFolder)) {
            headed_ = std::make_unique<LetterheadPage>(
                *letterhead, letterheadLogo(*services_.shopFolder, *letterhead), *page_);
            shown = headed_.get();
        }
    }
    preview = new PagePreview(*shown);
    view = new QScrollArea(this);
    view->setObjectName(QStringLiteral("ticketView"));
    view->setWidget(preview);
    view->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    view->setBackgroundRole(QPalette::Dark);

    cmdprint = new QPushButton(QStringLiteral("打印施工单"), this);
    cmdprint->setObjectName(QStringLiteral("cmdprint"));
    cmdpdf = new QPushButton(QStringLiteral("导出PDF"), this);
    cmdpdf->setObjectName(QStringLiteral("cmdpdf"));
    cmdexit = new QPushButton(QStringLiteral("退出"), this);
    cmdexit->setObjectName(QStringLiteral("cmdexit"));
    for (QPushButton* b : {cmdprint, cmdpdf, cmdexit}) {
        b->setAutoDefault(false);
    }
    connect(cmdprint, &QPushButton::clicked, this, &TicketWindow::printTicket);
    connect(cmdpdf, &QPushButton::clicked, this, &TicketWindow::exportPdf);
    connect(cmdexit, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdprint);
    buttons->addWidget(cmdpdf);
    buttons->addWidget(cmdexit);
    auto* layout = new QVBoxLayout(this);
    // Narrow margins: at 800 × 600 the page's full width still fits.
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(view, 1);
    layout->addLayout(buttons);

    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    fitToScreen(screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600));
}

// The letterhead page hands the ticket page back as it goes, so it must go
// first.
TicketWindow::~TicketWindow() {
    delete view->takeWidget();
    headed_.reset();
}

void TicketWindow::fitToScreen(const QRect& available) {
    layout()->activate();
    const QMargins m = layout()->contentsMargins();
    const int frame = 2 * view->frameWidth();
    const int scrollBar = view->verticalScrollBar()->sizeHint().width();
    const int wanted = preview->width() + frame + scrollBar + m.left() + m.right();
    const int buttons = cmdprint->sizeHint().height() + layout()->spacing();
    const int tall = preview->height() + frame + buttons + m.top() + m.bottom();
    const int widest = available.width() - kSideFramePixels;
    resize(std::min(wanted, widest), std::min(tall, available.height() - kWindowFramePixels));
    // What the style puts beside the view's scroll bar shows only once it is
    // laid out: the window widens by what still scrolls across, room
    // permitting.
    layout()->activate();
    const int across = view->horizontalScrollBar()->maximum();
    if (across > 0) {
        resize(std::min(width() + across, widest), height());
    }
}

QString TicketWindow::documentTitle() const {
    return QStringLiteral("施工单-") + fromUtf8(ticket_.header.jobName);
}

void TicketWindow::printTicket() {
    TicketPage page;
    page.fill(ticket_);
    if (!printWithLetterhead(services_.printer, page, documentTitle(), services_.shopFolder)) {
        services_.dialogs.warning(this, QString::fromUtf8(kPrinterErrorText));
    }
    reject();
}

void TicketWindow::exportPdf() {
    const QString date = fromUtf8(inkquot::longDateText(ticket_.header.date));
    const auto file = services_.files.choosePdfFile(
        this, proposedPdfPath(documentTitle() + QStringLiteral("-") + date));
    if (!file) {
        return;
    }
    TicketPage page;
    page.fill(ticket_);
    PdfPagePrinter pdf(*file);
    if (!printWithLetterhead(pdf, page, documentTitle(), services_.shopFolder)) {
        services_.dialogs.warning(this, QString::fromUtf8(kPdfErrorText) + *file);
    }
}
