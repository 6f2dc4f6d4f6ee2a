#include "ui/history/history_page.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/common/date_text.h"
#include "core/identity/letterhead.h"
#include "core/records/history_file.h"
#include "core/records/history_jobs.h"
#include "core/records/history_query.h"
#include "core/records/history_scan.h"
#include "core/records/history_summary.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/history/history_export.h"
#include "ui/history/history_summary_dialog.h"
#include "ui/output/save_file_chooser.h"

namespace {

const char* const kNameHint = "支持模糊查询，当客户名或印件名为空时查询全部记录。";
const char* const kDateHint = "查询指定日期之后或者删除指定日期之前的记录。";
const char* const kBadDate = "请输入正确的日期格式！";

// The history list's horizontal scroll extent, in pixels.
constexpr int kScrollExtent = 9855;

// How often a running query lets the screen redraw and take clicks.
constexpr int kEventsEveryMs = 50;

// The busy pointer while the history is read and listed; the page still
// takes a click on "停止查询".
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace

HistoryPage::HistoryPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                         const inkquot::Clock& clock, QWidget* parent)
    : QWidget(parent),
      files_(std::make_unique<QtSaveFileChooser>()),
      folder_(folder),
      dialogs_(dialogs),
      clock_(clock) {
    setObjectName(QStringLiteral("historyPage"));

    const char* const modeCaptions[3] = {"按客户名查询", "按印件名查询", "按日期查询/删除"};
    const int maxLengths[3] = {20, 10, 20};
    const char* const buttonCaptions[3] = {"开始查询", "删除指定日期前记录", "删除全部记录"};

    auto* conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    auto* grid = new QGridLayout(conditions);
    for (int i = 0; i < 3; ++i) {
        Optcxtj[i] = new QRadioButton(QString::fromUtf8(modeCaptions[i]), conditions);
        Optcxtj[i]->setObjectName(QStringLiteral("Optcxtj%1").arg(i));
        Txtcxtj[i] = new QLineEdit(conditions);
        Txtcxtj[i]->setObjectName(QStringLiteral("Txtcxtj%1").arg(i));
        Txtcxtj[i]->setMaxLength(maxLengths[i]);
        grid->addWidget(Optcxtj[i], i, 0);
        grid->addWidget(Txtcxtj[i], i, 1);
        connect(Optcxtj[i], &QRadioButton::clicked, this, [this, i] { chooseMode(i); });
    }
    Txtcxtj[2]->setPlaceholderText(QStringLiteral("例如 2026/11/8"));
    Optcxtj[0]->setChecked(true);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        cmdli[i] = new QPushButton(QString::fromUtf8(buttonCaptions[i]), this);
        cmdli[i]->setObjectName(QStringLiteral("cmdli%1").arg(i));
        buttons->addWidget(cmdli[i]);
    }
    cmdstop = new QPushButton(QStringLiteral("停止查询"), this);
    cmdstop->setObjectName(QStringLiteral("cmdstop"));
    cmdstop->setEnabled(false);
    buttons->addWidget(cmdstop);
    cmdexcel = new QPushButton(QStringLiteral("导出Excel"), this);
    cmdexcel->setObjectName(QStringLiteral("cmdexcel"));
    buttons->addWidget(cmdexcel);
    connect(cmdexcel, &QPushButton::clicked, this, &HistoryPage::exportRecords);
    cmdsummary = new QPushButton(QStringLiteral("统计"), this);
    cmdsummary->setObjectName(QStringLiteral("cmdsummary"));
    cmdsummary->setToolTip(QStringLiteral("查询到的报价按月份和客户合计"));
    buttons->addWidget(cmdsummary);
    connect(cmdsummary, &QPushButton::clicked, this, &HistoryPage::showSummary);
    buttons->addStretch(1);
    connect(cmdstop, &QPushButton::clicked, this, &HistoryPage::stopQuery);
    connect(cmdli[0], &QPushButton::clicked, this, &HistoryPage::query);
    connect(cmdli[1], &QPushButton::clicked, this, &HistoryPage::deleteUpToDate);
    connect(cmdli[2], &QPushButton::clicked, this, &HistoryPage::deleteAll);

    auto* top = new QHBoxLayout;
    top->addWidget(conditions, 1);
    top->addLayout(buttons);

    lstrec = new QListWidget(this);
    lstrec->setObjectName(QStringLiteral("lstrec"));
    lstrec->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstrec->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every line is drawn in full and the first is as wide as the scroll
    // extent, so a long processing description is read by scrolling
    // sideways.
    lstrec->setTextElideMode(Qt::ElideNone);

    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setRange(0, 1000);
    progress->setTextVisible(false);
    progress->setVisible(false);
    labcount = new QLabel(this);
    labcount->setObjectName(QStringLiteral("labcount"));

    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(new QLabel(QStringLiteral("查询结果："), this));
    resultRow->addWidget(labcount, 1);
    resultRow->addWidget(progress, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(resultRow);
    layout->addWidget(lstrec, 1);
}

void HistoryPage::initCutoffDate() {
    initCutoffDate(clock_.today());
}

void HistoryPage::initCutoffDate(inkquot::CivilDate today) {
    const int monthAgo = inkquot::serialFromDate(today) - 30;
    Txtcxtj[2]->setText(fromUtf8(inkquot::shortDateText(inkquot::dateFromSerial(monthAgo))));
}

inkquot::HistoryQuery HistoryPage::conditions() const {
    inkquot::HistoryQuery q;
    q.mode = static_cast<inkquot::HistoryMode>(mode());
    q.customer = Txtcxtj[0]->text().toStdString();
    q.jobName = Txtcxtj[1]->text().toStdString();
    q.cutoff = Txtcxtj[2]->text().toStdString();
    return q;
}

std::optional<inkquot::HistoryMatcher> HistoryPage::matcherOrWarning(
    const inkquot::HistoryQuery& q) {
    auto matcher = inkquot::HistoryMatcher::from(q);
    if (!matcher) {
        dialogs_.warning(this, QString::fromUtf8(kBadDate));
    }
    return matcher;
}

int HistoryPage::mode() const {
    for (int i = 0; i < 3; ++i) {
        if (Optcxtj[i]->isChecked()) {
            return i;
        }
    }
    return 0;
}

void HistoryPage::chooseMode(int mode) {
    emit hintChanged(QString::fromUtf8(mode == 2 ? kDateHint : kNameHint));
}

void HistoryPage::setQuerying(bool querying) {
    querying_ = querying;
    stopAsked_ = false;
    for (QPushButton* b : cmdli) {
        b->setEnabled(!querying);
    }
    cmdstop->setEnabled(querying);
    progress->setValue(0);
    progress->setVisible(querying);
}

void HistoryPage::widenList() {
    QListWidgetItem* first = lstrec->item(0);
    if (first == nullptr || first->sizeHint().isValid()) {
        return;
    }
    const QSize natural = lstrec->sizeHintForIndex(lstrec->model()->index(0, 0));
    first->setSizeHint(QSize(std::max(kScrollExtent, natural.width()), natural.height()));
}

void HistoryPage::stopQuery() {
    stopAsked_ = true;
}

void HistoryPage::query() {
    if (querying_) {
        return;
    }
    lstrec->clear();
    labcount->clear();
    const auto file = folder_.file(inkquot::kHistoryFileName);
    std::uint64_t records = 0;
    if (const inkquot::IoStatus counted = inkquot::countHistoryRecords(file, records); !counted) {
        dialogs_.warning(this, fromUtf8(counted.message));
        return;
    }
    if (records == 0) {
        dialogs_.beep();
        return;
    }
    const inkquot::HistoryQuery q = conditions();
    const auto matcher = matcherOrWarning(q);
    if (!matcher) {
        return;
    }

    BusyPointer busy;
    setQuerying(true);
    QStringList pending;
    auto flush = [&] {
        if (!pending.isEmpty()) {
            lstrec->addItems(pending);
            pending.clear();
            widenList();
        }
    };
    QElapsedTimer sinceEvents;
    bool firstPiece = true;
    inkquot::HistoryScanResult result;
    const inkquot::IoStatus read = inkquot::scanHistory(
        file, *matcher,
        [&](std::string_view data, std::uint64_t k) {
            for (const auto& line :
                 inkquot::historyLines(inkquot::decodeJilu(data), static_cast<int>(k))) {
                pending.push_back(fromUtf8(line));
            }
        },
        [&](std::uint64_t done, std::uint64_t total) {
            if (firstPiece || sinceEvents.elapsed() >= kEventsEveryMs) {
                firstPiece = false;
                flush();
                progress->setValue(
                    static_cast<int>(done * 1000 / std::max<std::uint64_t>(total, 1)));
                QCoreApplication::processEvents();
                sinceEvents.start();
            }
            return !stopAsked_;
        },
        result, kShownRecords);
    flush();
    setQuerying(false);
    if (!read) {
        dialogs_.warning(this, fromUtf8(read.message));
        return;
    }
    QString count = result.stopped
                        ? QStringLiteral("查询已停止，已找到 %1 条记录").arg(result.matched)
                        : QStringLiteral("共找到 %1 条记录").arg(result.matched);
    if (result.matched > static_cast<std::uint64_t>(kShownRecords)) {
        count += QStringLiteral("，只显示前 %1 条").arg(kShownRecords);
    }
    labcount->setText(count + QStringLiteral("。"));
}

void HistoryPage::deleteUpToDate() {
    if (mode() != 2 || querying_) {
        return;
    }
    const auto cutoff = inkquot::parseDateText(Txtcxtj[2]->text().toStdString());
    if (!cutoff) {
        dialogs_.warning(this, QString::fromUtf8(kBadDate));
        return;
    }
    if (!dialogs_.confirm(this, QStringLiteral("确实要删除吗？"), Dialogs::Icon::Exclamation,
                          false)) {
        return;
    }
    // The job descriptions saved with the records go with them.
    const double cutoffDay = inkquot::serialFromDate(*cutoff);
    if (const inkquot::IoStatus done = inkquot::deleteHistoryWithJobsUpTo(folder_, cutoffDay);
        !done) {
        dialogs_.warning(this,
                         QStringLiteral("删除失败，历史记录未改动：") + fromUtf8(done.message));
        return;
    }
    query();
}

void HistoryPage::deleteAll() {
    if (querying_) {
        return;
    }
    if (lstrec->count() == 0) {
        dialogs_.beep();
        return;
    }
    if (!dialogs_.confirm(this, QStringLiteral("确实要删除全部历史数据吗？"),
                          Dialogs::Icon::Exclamation, false)) {
        return;
    }
    if (const inkquot::IoStatus done = inkquot::deleteHistoryWithJobs(folder_); !done) {
        dialogs_.warning(this, QStringLiteral("删除失败：") + fromUtf8(done.message));
        return;
    }
    lstrec->clear();
    labcount->clear();
}

HistoryPage::~HistoryPage() = default;

void HistoryPage::setFileChooser(std::unique_ptr<SaveFileChooser> chooser) {
    files_ = std::move(chooser);
}

void HistoryPage::exportRecords() {
    if (querying_) {
        return;
    }
    const inkquot::HistoryQuery q = conditions();
    const auto matcher = matcherOrWarning(q);
    if (!matcher) {
        return;
    }
    exportHistorySheet(this, folder_, q, *matcher, dialogs_, *files_, clock_,
                       inkquot::letterheadLines(folder_));
}

void HistoryPage::showSummary() {
    if (querying_) {
        return;
    }
    const auto matcher = matcherOrWarning(conditions());
    if (!matcher) {
        return;
    }
    inkquot::HistorySummary summary;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const inkquot::IoStatus read =
        inkquot::summarizeHistory(folder_.file(inkquot::kHistoryFileName), *matcher, summary);
    QApplication::restoreOverrideCursor();
    if (!read) {
        dialogs_.warning(this, fromUtf8(read.message));
        return;
    }
    HistorySummaryDialog dialog(summary, this);
    if (showSummaryDialog) {
        showSummaryDialog(dialog);
    } else {
        dialog.exec();
    }
}
