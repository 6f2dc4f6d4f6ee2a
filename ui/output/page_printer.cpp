#include "ui/output/page_printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include "ui/output/print_page.h"

namespace {

// Paints the page onto a device that has already been set up; false when
// the painter could not start or finish.
bool paintOn(QPaintDevice& device, const QRectF& paintArea, const PrintPage& page) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    paintPage(painter, page, paintArea);
    return painter.end();
}

// Margins of the paper that every office printer can reach.
const QMarginsF kMargins(12, 12, 12, 12);

}  // namespace

bool DefaultPagePrinter::print(const PrintPage& page, const QString& title) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) {
        return false;
    }
    printer.setDocName(title);
    printer.setFullPage(false);
    printer.setPageMargins(kMargins, QPageLayout::Millimeter);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target(0, 0, area.width(), area.height());
    if (!paintOn(printer, target, page)) {
        return false;
    }
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

bool PdfPagePrinter::print(const PrintPage& page, const QString& title) {
    QSaveFile file(file_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("墨衡印件计价系统"));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kMargins,
                                         QPageLayout::Millimeter));
        const QRect area = writer.pageLayout().paintRectPixels(writer.resolution());
        painted = paintOn(writer, QRectF(0, 0, area.width(), area.height()), page);
    }
    if (!painted) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
