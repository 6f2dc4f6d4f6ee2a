#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/common/file_io.h"
#include "core/records/history_file.h"
#include "tests/core/records/sample_quotation.h"
#include "tests/ui/output_fakes.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/history/history_page.h"
#include "ui/history/history_summary_dialog.h"

using Kind = ScriptedDialogs::Kind;
using Icon = Dialogs::Icon;

namespace {

const inkquot::CivilDate kToday{2026, 12, 8};

// A quotation saved `daysAgo` days before the test's today.
inkquot::JiluRec saved(int daysAgo, const std::string& customer, const std::string& job) {
    inkquot::JiluRec r =
        inkquot::testing::quotation(inkquot::serialFromDate(kToday) - daysAgo, customer);
    r.Yinjianming = job;
    return r;
}

struct Fixture {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    inkquot::FixedClock clock{kToday};
    HistoryPage page{dir.folder(), dialogs, clock};

    std::filesystem::path history() const { return dir.file(inkquot::kHistoryFileName); }
    void save(const inkquot::JiluRec& r) { QVERIFY(inkquot::appendHistory(history(), r).ok()); }
    QStringList listed() const {
        QStringList lines;
        for (int i = 0; i < page.lstrec->count(); ++i) {
            lines << page.lstrec->item(i)->text();
        }
        return lines;
    }
    // The customers of the listed records, trailing blanks removed.
    QStringList customers() const {
        QStringList names;
        const QStringList lines = listed();
        for (int i = 2; i < lines.size(); i += 10) {
            names << lines[i].mid(5).trimmed();
        }
        return names;
    }
    void chooseMode(int m) { QTest::mouseClick(page.Optcxtj[m], Qt::LeftButton); }
    void click(int button) { QTest::mouseClick(page.cmdli[button], Qt::LeftButton); }
};

}  // namespace

class TestHistoryPage : public QObject {
    Q_OBJECT

private slots:
    void startsInCustomerModeWithAMonthAgo();
    void modesSetTheHint();
    void emptySearchListsEveryRecordNumbered();
    void searchIsCaseSensitiveSubstring();
    void emptyHistoryBeeps();
    void dateQueryAndBadDates();
    void deleteUpToTodayKeepsLaterOrder();
    void deleteUpToDateOnlyInDateMode();
    void cancelledDeletionChangesNothing();
    void deleteAll();
    void failedDeletionSaysSoAndKeepsTheHistory();
    void tornHistoryIsListed();
    void longQueryShowsTheFirstAndCanBeStopped();
    void exportWritesTheFoundRecords();
    void summaryAddsUpTheQueryByMonthAndCustomer();
};

void TestHistoryPage::startsInCustomerModeWithAMonthAgo() {
    Fixture f;
    f.page.initCutoffDate();
    QVERIFY(f.page.Optcxtj[0]->isChecked());
    QCOMPARE(f.page.Txtcxtj[2]->text(), QStringLiteral("2026/11/8"));
    QCOMPARE(f.page.Txtcxtj[0]->maxLength(), 20);
    QCOMPARE(f.page.Txtcxtj[1]->maxLength(), 10);
    QCOMPARE(f.page.Txtcxtj[2]->maxLength(), 20);
    QCOMPARE(f.page.cmdli[0]->text(), QStringLiteral("开始查询"));
    QCOMPARE(f.page.cmdli[1]->text(), QStringLiteral("删除指定日期前记录"));
    QCOMPARE(f.page.cmdli[2]->text(), QStringLiteral("删除全部记录"));
}

void TestHistoryPage::modesSetTheHint() {
    Fixture f;
    f.page.show();
    QSignalSpy hints(&f.page, &HistoryPage::hintChanged);
    f.chooseMode(2);
    f.chooseMode(1);
    f.chooseMode(0);
    QCOMPARE(hints.count(), 3);
    QCOMPARE(hints[0][0].toString(),
             QStringLiteral("查询指定日期之后或者删除指定日期之前的记录。"));
    QCOMPARE(hints[1][0].toString(),
             QStringLiteral("支持模糊查询，当客户名或印件名为空时查询全部记录。"));
    QCOMPARE(hints[2][0].toString(), hints[1][0].toString());
}

void TestHistoryPage::emptySearchListsEveryRecordNumbered() {
    Fixture f;
    f.save(saved(3, "甲", "印件1"));
    f.save(saved(1, "乙", "印件2"));
    f.page.Txtcxtj[0]->setText(QStringLiteral("   "));
    f.click(0);
    const QStringList lines = f.listed();
    QCOMPARE(lines.size(), 20);
    QCOMPARE(lines[0], QStringLiteral("1记录"));
    QCOMPARE(lines[1], QStringLiteral("日期：    2026/12/5"));
    QCOMPARE(lines[5], QStringLiteral("数量：    1,000"));
    QCOMPARE(lines[6], QStringLiteral("单价：    0.5000"));
    QCOMPARE(lines[7], QStringLiteral("总价：    500.00"));
    QCOMPARE(lines[9], QString());
    QCOMPARE(lines[10], QStringLiteral("2记录"));
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestHistoryPage::searchIsCaseSensitiveSubstring() {
    Fixture f;
    f.save(saved(1, "ABC印务", "印件1"));
    f.save(saved(1, "abc", "画册"));
    f.page.Txtcxtj[0]->setText(QStringLiteral("abc"));
    f.click(0);
    QCOMPARE(f.customers(), QStringList{QStringLiteral("abc")});

    f.page.Optcxtj[1]->setChecked(true);
    f.page.Txtcxtj[1]->setText(QStringLiteral("印件"));
    f.click(0);
    QCOMPARE(f.customers(), QStringList{QStringLiteral("ABC印务")});
}

void TestHistoryPage::emptyHistoryBeeps() {
    Fixture f;
    f.page.lstrec->addItem(QStringLiteral("stale"));
    f.click(0);
    QCOMPARE(f.page.lstrec->count(), 0);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.last().kind, Kind::Beep);
}

void TestHistoryPage::dateQueryAndBadDates() {
    Fixture f;
    f.save(saved(0, "今天", "a"));
    f.save(saved(1, "昨天", "b"));
    f.page.Optcxtj[2]->setChecked(true);
    // A record saved today does not match a query for today.
    f.page.Txtcxtj[2]->setText(QStringLiteral("2026/12/8"));
    f.click(0);
    QVERIFY(f.listed().isEmpty());
    f.page.Txtcxtj[2]->setText(QStringLiteral("2026/12/7"));
    f.click(0);
    QCOMPARE(f.customers(), QStringList{QStringLiteral("今天")});

    for (const char* bad : {"2026/13/1", "", "昨天", "2026/2/29"}) {
        f.dialogs.clear();
        f.page.Txtcxtj[2]->setText(QString::fromUtf8(bad));
        f.click(0);
        QVERIFY2(f.listed().isEmpty(), bad);
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("请输入正确的日期格式！")});
        QCOMPARE(f.dialogs.last().icon, Icon::Exclamation);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
}

void TestHistoryPage::deleteUpToTodayKeepsLaterOrder() {
    Fixture f;
    f.save(saved(5, "a", "x"));
    f.save(saved(-2, "b", "x"));
    f.save(saved(0, "c", "x"));
    f.save(saved(-1, "d", "x"));
    f.page.Optcxtj[2]->setChecked(true);
    f.page.Txtcxtj[2]->setText(QStringLiteral("2026/12/8"));
    f.dialogs.setNextAnswer(true);
    f.click(1);
    QCOMPARE(f.dialogs.shown.first().text, QStringLiteral("确实要删除吗？"));
    QCOMPARE(f.dialogs.shown.first().icon, Icon::Exclamation);
    QVERIFY(!f.dialogs.shown.first().okIsDefault);
    std::vector<inkquot::JiluRec> left;
    QVERIFY(inkquot::readHistory(f.history(), left).ok());
    QCOMPARE(left.size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(left[0].Kehuming).trimmed(), QStringLiteral("b"));
    QCOMPARE(QString::fromStdString(left[1].Kehuming).trimmed(), QStringLiteral("d"));
    // The query runs again in date mode and lists what is left.
    QCOMPARE(f.customers(), (QStringList{QStringLiteral("b"), QStringLiteral("d")}));
}

void TestHistoryPage::deleteUpToDateOnlyInDateMode() {
    Fixture f;
    f.save(saved(5, "a", "x"));
    const std::string before = TempProgramFolder::readBytes(f.history());
    f.page.Txtcxtj[2]->setText(QStringLiteral("2026/12/8"));
    f.click(1);
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(TempProgramFolder::readBytes(f.history()), before);

    f.page.Optcxtj[2]->setChecked(true);
    f.page.Txtcxtj[2]->setText(QStringLiteral("8 December"));
    f.click(1);
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("请输入正确的日期格式！")});
    QCOMPARE(TempProgramFolder::readBytes(f.history()), before);
}

void TestHistoryPage::cancelledDeletionChangesNothing() {
    Fixture f;
    f.save(saved(5, "a", "x"));
    const std::string before = TempProgramFolder::readBytes(f.history());
    f.page.Optcxtj[2]->setChecked(true);
    f.page.Txtcxtj[2]->setText(QStringLiteral("2026/12/8"));
    f.dialogs.setNextAnswer(false);
    f.click(1);
    f.click(0);
    QCOMPARE(f.listed().size(), 0);
    QCOMPARE(TempProgramFolder::readBytes(f.history()), before);

    f.page.Optcxtj[0]->setChecked(true);
    f.click(0);
    f.dialogs.setNextAnswer(false);
    f.click(2);
    QCOMPARE(f.listed().size(), 10);
    QCOMPARE(TempProgramFolder::readBytes(f.history()), before);
}

void TestHistoryPage::deleteAll() {
    Fixture f;
    f.save(saved(5, "a", "x"));
    // Nothing listed yet: a beep, no question.
    f.click(2);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.last().kind, Kind::Beep);
    QVERIFY(std::filesystem::exists(f.history()));

    f.click(0);
    f.dialogs.clear();
    f.dialogs.setNextAnswer(true);
    f.click(2);
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("确实要删除全部历史数据吗？")});
    QVERIFY(!f.dialogs.last().okIsDefault);
    QCOMPARE(f.page.lstrec->count(), 0);
    QVERIFY(!std::filesystem::exists(f.history()));
}

void TestHistoryPage::failedDeletionSaysSoAndKeepsTheHistory() {
    Fixture f;
    f.save(saved(5, "a", "x"));
    f.save(saved(-5, "b", "x"));
    const std::string before = TempProgramFolder::readBytes(f.history());
    f.page.Optcxtj[2]->setChecked(true);
    f.page.Txtcxtj[2]->setText(QStringLiteral("2026/12/8"));
    f.dialogs.setNextAnswer(true);
    inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::Rename);
    f.click(1);
    inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);
    QCOMPARE(f.dialogs.shown.size(), 2);
    QVERIFY(f.dialogs.last().text.startsWith(QStringLiteral("删除失败")));
    QCOMPARE(TempProgramFolder::readBytes(f.history()), before);
}

void TestHistoryPage::tornHistoryIsListed() {
    Fixture f;
    f.save(saved(1, "a", "x"));
    f.save(saved(1, "b", "x"));
    std::string bytes = TempProgramFolder::readBytes(f.history());
    TempProgramFolder::writeBytes(f.history(), bytes.substr(0, 860 + 300));
    f.click(0);
    QCOMPARE(f.customers(), QStringList{QStringLiteral("a")});
}

// A history of several thousand quotations, each with a processing
// description far wider than the page.
void TestHistoryPage::longQueryShowsTheFirstAndCanBeStopped() {
    Fixture f;
    inkquot::JiluRec r = saved(1, "甲", "x");
    r.Yaoqiu = std::string(140, 'w') + "精装装订；";
    std::string slot;
    QVERIFY(inkquot::encodeJiluSlot(r, slot).ok());
    const int records = 5000;
    std::string bytes;
    for (int i = 0; i < records; ++i) {
        bytes += slot;
    }
    TempProgramFolder::writeBytes(f.history(), bytes);

    f.click(0);
    QCOMPARE(f.page.lstrec->count(), HistoryPage::kShownRecords * 10);
    QCOMPARE(f.page.labcount->text(), QStringLiteral("共找到 5000 条记录，只显示前 1000 条。"));
    QVERIFY(f.page.cmdli[0]->isEnabled());
    QVERIFY(!f.page.cmdstop->isEnabled());
    // The whole description is drawn, not cut with "…": the lines are as wide
    // as the scroll extent and the list scrolls sideways over it.
    f.page.resize(800, 600);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    const QRect line = f.page.lstrec->visualItemRect(f.page.lstrec->item(8));
    QVERIFY(line.width() >= 9855);
    QCOMPARE(f.page.lstrec->textElideMode(), Qt::ElideNone);
    QVERIFY(f.page.lstrec->horizontalScrollBar()->maximum() > 9855 - 800);

    // "停止查询" pressed while the query runs: what was found stays listed,
    // the count says the query stopped, and the file is untouched.
    QTimer::singleShot(0, f.page.cmdstop, [&f] {
        QVERIFY(f.page.cmdstop->isEnabled());
        QVERIFY(!f.page.cmdli[1]->isEnabled());
        QTest::mouseClick(f.page.cmdstop, Qt::LeftButton);
    });
    f.click(0);
    QVERIFY(f.page.labcount->text().startsWith(QStringLiteral("查询已停止，已找到 1024 条记录")));
    QCOMPARE(f.page.lstrec->count(), HistoryPage::kShownRecords * 10);
    QVERIFY(f.page.cmdli[0]->isEnabled());
    QCOMPARE(TempProgramFolder::readBytes(f.history()), bytes);
}

// "导出Excel" writes every record the conditions find, whether listed or
// not; a file that cannot be written says why and leaves nothing.
void TestHistoryPage::exportWritesTheFoundRecords() {
    Fixture f;
    f.save(saved(3, "甲印务", "画册"));
    f.save(saved(2, "乙公司", "海报"));
    f.save(saved(1, "甲印务", "名片"));
    auto owned = std::make_unique<ScriptedFileChooser>();
    ScriptedFileChooser& files = *owned;
    f.page.setFileChooser(std::move(owned));
    QTemporaryDir out;
    const QString csv = out.filePath(QStringLiteral("记录.csv"));
    files.sheetAnswers.push_back(SheetFileChoice{csv, inkquot::SheetFormat::Csv});
    files.sheetAnswers.push_back(
        SheetFileChoice{out.filePath(QStringLiteral("无/记录.xlsx")), inkquot::SheetFormat::Xlsx});
    f.page.Txtcxtj[0]->setText(QStringLiteral(" 甲 "));
    const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (!keep.isEmpty()) {
        f.click(0);
        f.page.resize(800, 500);
        f.page.grab().save(QDir(keep).filePath(QStringLiteral("history-page.png")));
    }
    QTest::mouseClick(f.page.cmdexcel, Qt::LeftButton);
    QCOMPARE(QFileInfo(files.proposed.value(0)).fileName(),
             QStringLiteral("历史报价记录-2026年12月8日"));
    QCOMPARE(f.dialogs.texts(), QStringList({QStringLiteral("已导出2条记录。")}));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 6);  // heading, condition, column headings, two records, end
    QCOMPARE(lines[0], QStringLiteral("历史报价记录,,,,,,,"));
    QVERIFY(lines[1].startsWith(QStringLiteral("客户名称包含“甲”的记录")));
    QCOMPARE(lines[3], QStringLiteral("2026/12/5,甲印务,画册,大度16开,1000,0.5000,500.00,"
                                      "157克铜版纸4+4色印刷；"));
    QVERIFY(lines[4].startsWith(QStringLiteral("2026/12/7,甲印务,名片,")));

    QTest::mouseClick(f.page.cmdexcel, Qt::LeftButton);
    QVERIFY(f.dialogs.last().text.startsWith(QStringLiteral("保存失败：")));
    QVERIFY(f.dialogs.last().text.contains(QStringLiteral("不存在")));
    QCOMPARE(QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList({QStringLiteral("记录.csv")}));
}

void TestHistoryPage::summaryAddsUpTheQueryByMonthAndCustomer() {
    Fixture f;
    f.save(saved(10, "甲印务", "画册"));  // 2026/11/28
    f.save(saved(1, "乙公司", "海报"));
    f.save(saved(0, "甲印务", "单页"));
    f.save(saved(0, "丙", "书"));
    f.page.Txtcxtj[0]->setText(QStringLiteral("印务"));
    QStringList months;
    QString total;
    int bars = -1;
    f.page.showSummaryDialog = [&](QDialog& d) {
        auto& dialog = static_cast<HistorySummaryDialog&>(d);
        total = dialog.findChild<QLabel*>(QStringLiteral("labtotal"))->text();
        for (int r = 0; r < dialog.months->rowCount(); ++r) {
            months << QStringList{dialog.months->item(r, 0)->text(),
                                  dialog.months->item(r, 1)->text(),
                                  dialog.months->item(r, 2)->text()}
                          .join(QLatin1Char(' '));
        }
        bars = dialog.bars->sizeHint().height();
    };
    QTest::mouseClick(f.page.cmdsummary, Qt::LeftButton);
    QCOMPARE(total, QStringLiteral("共2份报价，金额合计1,000.00元"));
    QCOMPARE(months, (QStringList{QStringLiteral("2026年11月 1 500.00"),
                                  QStringLiteral("2026年12月 1 500.00")}));
    QVERIFY(bars > 0);
    QVERIFY(f.dialogs.shown.isEmpty());
}

QTEST_MAIN(TestHistoryPage)
#include "tst_history_page.moc"
