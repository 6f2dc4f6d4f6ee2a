#include "ui/output/page_preview.h"

#include <QPainter>

#include "ui/output/print_page.h"

PagePreview::PagePreview(const PrintPage& page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName(QStringLiteral("pagePreview"));
    setFixedSize(page.size());
}

void PagePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paintPage(painter, page_, QRectF(rect()));
}
