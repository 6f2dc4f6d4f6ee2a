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

// Paints the pages onto a device that has already been set up, each on a
// sheet of its own; false when the painter could not start or finish, or
// a sheet could not be started.
bool paintOn(QPagedPaintDevice& device, const QRectF& paintArea,
             const std::vector<const PrintPage*>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    bool started = true;
    for (std::size_t n = 0; n < pages.size() && started; ++n) {
        started = n == 0 || device.newPage();
        if (started) {
            paintPage(painter, *pages[n], paintArea);
        }
    }
    return painter.end() && started;
}

// Margins of the paper that every office printer can reach.
const QMarginsF kMargins(12, 12, 12, 12);

}  // namespace

bool DefaultPagePrinter::printPages(const std::vector<const PrintPage*>& pages,
                                    const QString& title) {
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
    if (!paintOn(printer, target, pages)) {
        return false;
    }
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

bool PdfPagePrinter::printPages(const std::vector<const PrintPage*>& pages, const QString& title) {
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
        painted = paintOn(writer, QRectF(0, 0, area.width(), area.height()), pages);
    }
    if (!painted) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
