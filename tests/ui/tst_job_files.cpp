// Saved jobs: a job saved from the screen opens again into the same job and
// prices as inkquot-cli prices the file; a bad file leaves the screen as it
// was; a saved quotation reopens from the history into its own job.

#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <random>

#include "core/costing/control_catalogue.h"
#include "core/job/job_description.h"
#include "core/records/history_file.h"
#include "core/records/history_jobs.h"
#include "tests/ui/support/main_window_screen.h"
#include "tests/ui/support/pricing_screen.h"
#include "ui/history/history_page.h"
#include "ui/history/history_reopen.h"
#include "ui/main/frmnew.h"
#include "ui/pricing/job_files.h"

using inkquot::CheckState;
using inkquot::ControlKind;
using inkquot::Ctl;

namespace {

class ScriptedChooser final : public JobFileChooser {
public:
    explicit ScriptedChooser(QString* next) : next_(next) {}
    std::optional<QString> chooseJobToOpen(QWidget*, const QString&) override { return take(); }
    std::optional<QString> chooseJobToSave(QWidget*, const QString&) override { return take(); }

private:
    std::optional<QString> take() {
        if (next_->isEmpty()) {
            return std::nullopt;
        }
        return std::exchange(*next_, QString());
    }
    QString* next_;
};

// The pricing page with its run and job files, and the history page with
// "调出印件" feeding it, as the main window joins them.
struct Fixture : PricingScreen {
    JobFiles files{page, run, dir.folder(), dialogs};
    HistoryPage history{dir.folder(), dialogs, clock};
    HistoryReopen reopen{history, dir.folder(), dialogs};
    QString nextFile;

    Fixture() {
        files.setChooser(std::make_unique<ScriptedChooser>(&nextFile));
        QObject::connect(&reopen, &HistoryReopen::jobReopened, &files,
                         [this](const std::string& text, const QString& where) {
                             files.showJobText(text, where);
                         });
    }
    QString path(const char* name) const { return QString::fromStdString(dir.file(name).string()); }
    // As text: QtTest cannot print a JSON value on every system.
    QString shown() const {
        return QString::fromStdString(inkquot::describeJob(page.captureJob()).dump());
    }
    bool save(const QString& file) {
        nextFile = file;
        return files.saveJob();
    }
    bool open(const QString& file) {
        nextFile = file;
        return files.openJob();
    }
};

// A job of kind `kind` set on the page at random, through the page's own
// setters (the event rules run as for the clerk).
void randomJob(PricingPage& page, int kind, std::mt19937& rng) {
    auto pick = [&](int n) { return int(rng() % unsigned(std::max(n, 1))); };
    page.setListIndex(Ctl::comleibie, 0, kind);
    page.setText(Ctl::txtshuliang, kind, std::to_string(500 + pick(20) * 1000));
    for (int g = 0; g < inkquot::kSizeGroupCount; ++g) {
        page.chooseKai(g, pick(page.comboBox(Ctl::Ncomkai, g)->count()));
        page.setListIndex(Ctl::Ncomdu, g, pick(2));
    }
    for (int j = 0; j < inkquot::kPartCount; ++j) {
        page.setListIndex(
            Ctl::Comyinji, j,
            pick(int(inkquot::controlDef(Ctl::Comyinji).entries[std::size_t(j)].items.size())));
    }
    const inkquot::FormState lists = page.captureJob();
    for (const inkquot::ControlDef& d : inkquot::controlCatalogue()) {
        for (int i = 0; i < d.count(); ++i) {
            if (d.control == Ctl::Comyinji || d.control == Ctl::Ncomkai ||
                d.control == Ctl::Cmbkaizhi || d.control == Ctl::comleibie ||
                d.control == Ctl::Ncomdu || pick(3) != 0) {
                continue;
            }
            switch (d.kind) {
                case ControlKind::PositionList:
                case ControlKind::TextList:
                    page.setListIndex(d.control, i, pick(int(lists.items(d.control, i).size())));
                    break;
                case ControlKind::CheckBox:
                    if (d.control != Ctl::Chkzifan && d.control != Ctl::Chkzhikai) {
                        page.setCheckState(d.control, i,
                                           pick(2) ? CheckState::Checked : CheckState::Unchecked);
                    }
                    break;
                case ControlKind::PartList:
                    for (int item = 0; item < int(d.entries[0].items.size()); ++item) {
                        page.setTicked(d.control, item, pick(3) != 0);
                    }
                    break;
                case ControlKind::OptionGroup:
                    page.setOption(d.control, pick(3));
                    break;
                case ControlKind::TextBox:
                    if (d.control == Ctl::txtye) {
                        page.setText(d.control, i, std::to_string(4 * pick(30)));
                    }
                    break;
            }
        }
    }
}

// inkquot-cli price on a file: its result text, or the refusal.
QString toolResult(const TempProgramFolder& dir, const QString& file) {
    QProcess cli;
    cli.setStandardInputFile(file);
    cli.start(QStringLiteral(INKQUOT_CLI),
              {QStringLiteral("--dir"), QString::fromStdString(dir.root().string()),
               QStringLiteral("price")});
    cli.waitForFinished(60000);
    const QByteArray out = cli.readAllStandardOutput();
    if (cli.exitCode() != 0) {
        return QString::fromUtf8(cli.readAllStandardError()).trimmed();
    }
    return QJsonDocument::fromJson(out).object().value(QStringLiteral("resultText")).toString();
}

}  // namespace

class TestJobFiles : public QObject {
    Q_OBJECT

private slots:
    void savedJobsOpenIntoTheSameJobAndPriceAsTheTool();
    void badFilesLeaveTheScreenAsItWas();
    void failedSaveLeavesNothingUnderTheName();
    void savedQuotationsReopenFromTheHistory();
    void leavingAsksBeforeWorkIsLost();
    void screenshot();
};

void TestJobFiles::savedJobsOpenIntoTheSameJobAndPriceAsTheTool() {
    std::mt19937 rng(20261208);
    int compared = 0;
    for (int n = 0; n < 15; ++n) {
        const int kind = n % 5;
        Fixture saving;
        randomJob(saving.page, kind, rng);
        const QString file = saving.path("job.inkjob");
        if (!saving.save(file)) {
            continue;  // a job the screen would refuse is not saved
        }
        saving.dialogs.clear();
        saving.page.cmdjijia[0]->click();
        const QString onScreen = saving.dialogs.shown.isEmpty() ? saving.page.labresult->text()
                                                                : saving.dialogs.last().text;

        // A fresh screen, left on the result panel of another job.
        Fixture opening;
        opening.page.cmdjijia[0]->click();
        const std::string copy = opening.dir.file("copy.inkjob").string();
        std::filesystem::copy_file(file.toStdString(), copy);
        QVERIFY(opening.open(QString::fromStdString(copy)));
        QCOMPARE(opening.shown(), saving.shown());
        QCOMPARE(opening.page.shownPanel(), kind);
        opening.dialogs.clear();
        opening.page.cmdjijia[0]->click();
        const QString reopened = opening.dialogs.shown.isEmpty() ? opening.page.labresult->text()
                                                                 : opening.dialogs.last().text;
        QCOMPARE(reopened, onScreen);
        if (opening.dialogs.shown.isEmpty()) {
            QCOMPARE(toolResult(opening.dir, file), onScreen);
            ++compared;
        }
        QCOMPARE(opening.files.recentJobs().front(),
                 QDir::fromNativeSeparators(QString::fromStdString(copy)));
    }
    QVERIFY2(compared >= 8, qPrintable(QString::number(compared)));
}

void TestJobFiles::badFilesLeaveTheScreenAsItWas() {
    const std::pair<const char*, const char*> cases[] = {
        {"这不是印件", "不是有效的JSON"},
        {R"({"version": 3, "kind": 1})", "较新版本"},
        {R"({"version":1,"kind":0,"controls":{"txtye":{"0":1e999}}})", "超出范围的数字"},
        {R"({"version": 1, "kind": 1, "kind": 1})", "“kind”出现了两次"},
        {R"({"version": 1, "kind": 1, "controls": {"Ncomkai2": {"4": "2"}}})",
         "计价页面上没有名为“Ncomkai2”的控件"},
        {R"({"version":1,"kind":0,"controls":{"nosuchcontrol":{"0":1}}})",
         "计价页面上没有名为“nosuchcontrol”的控件"},
        {R"({"version":1,"kind":0,"controls":{"Lsthua":{"0":2}}})",
         "书刊\\画册的部件“封面”必须是0或1"},
        {R"({"version": 1, "kind": 1, "controls": {"txtye": {"2": "10"}}})",
         "页一的版数“10”必须是4的倍数"},
        {R"({"version": 1, "kind": 1, "controls": {"Comyinji": {"5": 1}}})",
         "页一的印机种类不能选择位置1"},
        {R"({"version": 1, "kind": 1, "controls": {"txtkehuming": {"1": "a\nb\u0000c"}}})",
         "报纸的客户名称含有换行等控制字符"},
    };
    Fixture f;
    f.page.setListIndex(Ctl::comleibie, 0, 2);
    f.page.setText(Ctl::txtkehuming, 2, "客户甲");
    const auto before = f.shown();
    for (const auto& [text, named] : cases) {
        TempProgramFolder::writeBytes(f.dir.file("bad.inkjob"), text);
        f.dialogs.clear();
        QVERIFY(!f.open(f.path("bad.inkjob")));
        QCOMPARE(f.dialogs.shown.size(), 1);
        const QString message = f.dialogs.last().text;
        QVERIFY2(message.startsWith(QStringLiteral("打开印件失败：印件文件“bad.inkjob”")),
                 qPrintable(message));
        QVERIFY2(message.contains(QString::fromUtf8(named)), qPrintable(message));
        QCOMPARE(f.shown(), before);
    }
    // A file that has gone leaves the recent list.
    QVERIFY(f.save(f.path("gone.inkjob")));
    std::filesystem::remove(f.dir.file("gone.inkjob"));
    QVERIFY(!f.files.openJobFile(f.path("gone.inkjob")));
    QVERIFY(f.files.recentJobs().isEmpty());
}

void TestJobFiles::failedSaveLeavesNothingUnderTheName() {
    Fixture f;
    const QString inMissingFolder = f.path("nosuch") + QStringLiteral("/a.inkjob");
    QVERIFY(!f.save(inMissingFolder));
    QCOMPARE(f.dialogs.last().text.left(5), QStringLiteral("保存失败："));
    QVERIFY2(f.dialogs.last().text.contains(QStringLiteral("文件夹不存在")),
             qPrintable(f.dialogs.last().text));

    // A quantity typed but not yet checked (Ctrl+S leaves no box) is not saved.
    f.page.setText(Ctl::txtshuliang, 0, "12a");
    f.dialogs.clear();
    QVERIFY(!f.save(f.path("a.inkjob")));
    QVERIFY(f.dialogs.last().text.contains(QStringLiteral("书刊\\画册的计价数量“12a”")));
    QVERIFY(!std::filesystem::exists(f.dir.file("a.inkjob")));
    QVERIFY(f.files.recentJobs().isEmpty());
}

void TestJobFiles::savedQuotationsReopenFromTheHistory() {
    Fixture f;
    // A quotation of an older program, without a description.
    inkquot::JiluRec old;
    old.Riqi = inkquot::serialFromDate(f.clock.today()) - 3;
    old.Kehuming = "旧客户";
    QVERIFY(inkquot::appendHistory(f.dir.file(inkquot::kHistoryFileName), old).ok());

    std::vector<QString> jobs;
    for (int kind : {2, 3}) {
        f.page.setListIndex(Ctl::comleibie, 0, kind);
        f.page.setText(Ctl::txtkehuming, kind, "客户" + std::to_string(kind));
        f.page.setText(Ctl::txtshuliang, kind, std::to_string(3000 * kind));
        jobs.push_back(f.shown());
        f.page.cmdjijia[0]->click();
        f.page.cmdjijia[1]->click();
        f.page.cmdjijia[0]->click();
    }
    QVERIFY(f.dialogs.shown.isEmpty());

    auto reopenRecord = [&](int k) {
        f.history.query();
        f.history.lstrec->setCurrentRow((k - 1) * 10 + 3);
        f.dialogs.clear();
        return f.reopen.reopenSelected();
    };
    f.page.setListIndex(Ctl::comleibie, 0, 0);
    QVERIFY(reopenRecord(2));
    QCOMPARE(f.shown(), jobs[0]);
    QVERIFY(reopenRecord(3));
    QCOMPARE(f.shown(), jobs[1]);
    QVERIFY(!reopenRecord(1));
    QVERIFY(f.dialogs.last().text.contains(QStringLiteral("没有保存印件描述")));

    // After deleting up to the old record's day, the kept ones still reopen
    // into their own jobs.
    f.history.Optcxtj[2]->setChecked(true);
    f.history.Txtcxtj[2]->setText(QStringLiteral("2026/12/5"));
    f.dialogs.setNextAnswer(true);
    f.history.deleteUpToDate();
    QCOMPARE(f.history.lstrec->count(), 20);
    QVERIFY(reopenRecord(1));
    QCOMPARE(f.shown(), jobs[0]);

    // A damaged descriptions file: every record is still listed, reopening
    // is refused with a message.
    TempProgramFolder::writeBytes(f.dir.file(inkquot::kHistoryJobsFileName), "\x01\x02garbage");
    QVERIFY(!reopenRecord(2));
    QCOMPARE(f.history.lstrec->count(), 20);
    QVERIFY(f.dialogs.last().text.contains(QStringLiteral("已损坏")));
    // A list the query no longer gives is not trusted.
    f.history.Txtcxtj[2]->setText(QStringLiteral("2026/12/9"));
    f.history.lstrec->setCurrentRow(3);
    f.dialogs.clear();
    QVERIFY(!f.reopen.reopenSelected());
    QVERIFY(f.dialogs.last().text.contains(QStringLiteral("重新查询")));
}

void TestJobFiles::screenshot() {
    const QString dir = qEnvironmentVariable("INKQUOT_SCREENSHOT_DIR");
    if (dir.isEmpty()) {
        QSKIP("INKQUOT_SCREENSHOT_DIR not set");
    }
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.load();
    w.resize(800, 600);
    w.pricingPage()->setListIndex(Ctl::comleibie, 0, 2);
    w.pricingRun()->press(0);
    w.pricingRun()->press(1);
    w.pricingRun()->press(0);
    QVERIFY(w.grab().save(dir + QStringLiteral("/pricing_job_files.png")));
    w.showPage(FrmNew::HistoryPageIndex);
    w.historyPage()->query();
    w.historyPage()->lstrec->setCurrentRow(3);
    QVERIFY(w.grab().save(dir + QStringLiteral("/history_reopen.png")));
    QVERIFY(w.historyReopen()->reopenSelected());
    QCOMPARE(w.currentPage(), int(FrmNew::PricingPageIndex));
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestJobFiles::leavingAsksBeforeWorkIsLost() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    s.showActive();
    w.pricingPage()->setListIndex(Ctl::comleibie, 0, 2);
    w.pricingRun()->press(0);

    // A priced result not saved: the clerk declines, the window stays.
    s.dialogs.setNextAnswer(false);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(s.dialogs.shown.size(), 1);
    QVERIFY(s.dialogs.shown.at(0).text.contains(QStringLiteral("历史记录")));

    // Saved to the history, then to a job file: nothing to lose.
    w.pricingRun()->press(1);
    w.pricingRun()->press(0);
    QString next = QString::fromStdString(s.dir.file("a.inkjob").string());
    w.jobFiles()->setChooser(std::make_unique<ScriptedChooser>(&next));
    QVERIFY(w.jobFiles()->saveJob());
    QVERIFY(!w.jobFiles()->jobChangedSinceFile());

    // An entry changed after the save: asked again, and leaving is allowed.
    w.pricingPage()->setText(Ctl::txtshuliang, 2, "5000");
    s.dialogs.clear();
    s.dialogs.setNextAnswer(true);
    QVERIFY(w.close());
    QCOMPARE(s.dialogs.shown.size(), 1);
    QVERIFY(s.dialogs.shown.at(0).text.contains(QStringLiteral("印件文件")));
    QVERIFY(!s.dialogs.shown.at(0).text.contains(QStringLiteral("历史记录")));
}

QTEST_MAIN(TestJobFiles)
#include "tst_job_files.moc"
