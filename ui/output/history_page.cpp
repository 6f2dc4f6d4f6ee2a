#include "ui/output/history_page.h"

HistoryPage::HistoryPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("historyPage"));
}
