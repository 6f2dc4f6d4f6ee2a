#include "ui/pricing/pricing_page.h"

PricingPage::PricingPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pricingPage"));
}

void PricingPage::fillPaperLists(const QStringList&) {}

void PricingPage::fillStickerPaperList(const QStringList&) {}
