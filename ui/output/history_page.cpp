#include "ui/output/history_page.h"

HistoryPage::HistoryPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                         const inkquot::Clock& clock, QWidget* parent)
    : QWidget(parent), folder_(folder), dialogs_(dialogs), clock_(clock) {
    setObjectName(QStringLiteral("historyPage"));
}

void HistoryPage::initCutoffDate() {}
void HistoryPage::query() {}
void HistoryPage::deleteUpToDate() {}
void HistoryPage::deleteAll() {}
int HistoryPage::mode() const { return 0; }
void HistoryPage::chooseMode(int) {}
