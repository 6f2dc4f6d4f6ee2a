#include "ui/history/history_page.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/common/date_text.h"
#include "core/records/history_file.h"
#include "core/records/history_query.h"
#include "ui/common/dialogs.h"

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

const char* const kNameHint = "支持模糊查询，当客户名或印件名为空时查询全部记录。";
const char* const kDateHint = "查询指定日期之后或者删除指定日期之前的记录。";
const char* const kBadDate = "请输入正确的日期格式！";

// The busy pointer while the history is read and listed.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace

HistoryPage::HistoryPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                         const inkquot::Clock& clock, QWidget* parent)
    : QWidget(parent), folder_(folder), dialogs_(dialogs), clock_(clock) {
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
    buttons->addStretch(1);
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
    lstrec->setUniformItemSizes(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("查询结果："), this));
    layout->addWidget(lstrec, 1);
}

void HistoryPage::initCutoffDate() {
    const int monthAgo = inkquot::serialFromDate(clock_.today()) - 30;
    Txtcxtj[2]->setText(qs(inkquot::shortDateText(inkquot::dateFromSerial(monthAgo))));
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

void HistoryPage::query() {
    lstrec->clear();
    std::vector<inkquot::JiluRec> records;
    const auto file = folder_.file(inkquot::kHistoryFileName);
    if (const inkquot::IoStatus read = inkquot::readHistory(file, records); !read) {
        dialogs_.warning(this, qs(read.message));
        return;
    }
    if (records.empty()) {
        dialogs_.beep();
        return;
    }
    std::optional<std::vector<std::string>> lines;
    {
        BusyPointer busy;
        inkquot::HistoryQuery q;
        q.mode = static_cast<inkquot::HistoryMode>(mode());
        q.customer = Txtcxtj[0]->text().toStdString();
        q.jobName = Txtcxtj[1]->text().toStdString();
        q.cutoff = Txtcxtj[2]->text().toStdString();
        lines = inkquot::queryLines(records, q);
        if (lines) {
            QStringList items;
            items.reserve(static_cast<qsizetype>(lines->size()));
            for (const auto& line : *lines) {
                items.push_back(qs(line));
            }
            lstrec->addItems(items);
        }
    }
    if (!lines) {
        dialogs_.warning(this, QString::fromUtf8(kBadDate));
    }
}

void HistoryPage::deleteUpToDate() {
    if (mode() != 2) {
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
    const auto file = folder_.file(inkquot::kHistoryFileName);
    const double cutoffDay = inkquot::serialFromDate(*cutoff);
    if (const inkquot::IoStatus done = inkquot::deleteHistoryUpTo(file, cutoffDay); !done) {
        dialogs_.warning(this, QStringLiteral("删除失败，历史记录未改动：") + qs(done.message));
        return;
    }
    query();
}

void HistoryPage::deleteAll() {
    if (lstrec->count() == 0) {
        dialogs_.beep();
        return;
    }
    if (!dialogs_.confirm(this, QStringLiteral("确实要删除全部历史数据吗？"),
                          Dialogs::Icon::Exclamation, false)) {
        return;
    }
    const auto file = folder_.file(inkquot::kHistoryFileName);
    if (const inkquot::IoStatus done = inkquot::deleteAllHistory(file); !done) {
        dialogs_.warning(this, QStringLiteral("删除失败：") + qs(done.message));
        return;
    }
    lstrec->clear();
}
