#include "ui/history/history_reopen.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "core/records/history_jobs.h"
#include "core/records/history_query.h"
#include "core/records/history_scan.h"
#include "ui/common/dialogs.h"
#include "ui/common/layout_search.h"
#include "ui/common/utf8_text.h"
#include "ui/history/history_page.h"

namespace {

// Every listed record takes this many lines of the list.
constexpr int kLinesPerRecord = 10;

}  // namespace

HistoryReopen::HistoryReopen(HistoryPage& page, const inkquot::ProgramFolder& folder,
                             Dialogs& dialogs, QObject* parent)
    : QObject(parent), page_(page), folder_(folder), dialogs_(dialogs) {
    cmdreopen = new QPushButton(QStringLiteral("调出印件"));
    cmdreopen->setObjectName(QStringLiteral("cmdreopen"));
    cmdreopen->setToolTip(QStringLiteral("把选中的记录调回计价页面，按今天的价格重新计价"));
    // Below the query and deletion buttons.
    QWidget* last = page_.cmdli[2];
    if (QBoxLayout* column = boxLayoutHolding(page_.layout(), last)) {
        column->insertWidget(column->indexOf(last) + 1, cmdreopen);
    } else {
        cmdreopen->setParent(&page_);
    }
    connect(cmdreopen, &QPushButton::clicked, this, [this] { reopenSelected(); });
    connect(page_.lstrec, &QAbstractItemView::doubleClicked, this, [this] { reopenSelected(); });
}

bool HistoryReopen::reopenSelected() {
    // Read through the view's model, whatever kind of list shows the lines.
    const QAbstractItemModel* model = page_.lstrec->model();
    auto lineAt = [model](int row) {
        return model->index(row, 0).data(Qt::DisplayRole).toString();
    };
    const int row = page_.lstrec->currentIndex().row();
    if (row < 0 || row >= model->rowCount()) {
        dialogs_.warning(&page_, QStringLiteral("请先在查询结果中选中一条记录。"));
        return false;
    }
    const int k = row / kLinesPerRecord + 1;

    // The list holds text only: the record is found again by the query that
    // listed it, and must show exactly the lines the list shows.
    const inkquot::HistoryQuery query = page_.conditions();
    const auto matcher = inkquot::HistoryMatcher::from(query);
    std::optional<inkquot::ListedRecord> record;
    if (matcher) {
        const inkquot::IoStatus read = inkquot::findListedRecord(
            folder_.file(inkquot::kHistoryFileName), *matcher, std::uint64_t(k), record);
        if (!read) {
            dialogs_.warning(&page_, fromUtf8(read.message));
            return false;
        }
    }
    bool same = record.has_value();
    if (same) {
        const auto lines = inkquot::historyLines(inkquot::decodeJilu(record->data), k);
        const int first = (k - 1) * kLinesPerRecord;
        for (int i = 0; i < int(lines.size()) && same; ++i) {
            same = first + i < model->rowCount() &&
                   lineAt(first + i) == fromUtf8(lines[std::size_t(i)]);
        }
    }
    if (!same) {
        dialogs_.warning(&page_,
                         QStringLiteral("查询条件或历史记录已改变，请重新查询后再调出印件。"));
        return false;
    }

    const inkquot::SavedJob saved =
        inkquot::findSavedJob(folder_, record->data, record->occurrence);
    if (saved.state != inkquot::SavedJobState::Found) {
        dialogs_.warning(&page_, fromUtf8(saved.message));
        return false;
    }
    emit jobReopened(saved.jobText, QStringLiteral("第%1条记录的印件描述").arg(k));
    return true;
}
