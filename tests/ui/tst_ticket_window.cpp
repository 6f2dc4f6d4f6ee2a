#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "core/identity/letterhead.h"
#include "core/job/paper_lists.h"
#include "core/job/production_ticket.h"
#include "tests/ui/output_fakes.h"
#include "tests/ui/support/pricing_screen.h"
#include "ui/output/page_preview.h"
#include "ui/output/ticket_page.h"
#include "ui/output/ticket_window.h"

using inkquot::CheckState;
using inkquot::Ctl;

namespace {

struct Fixture : PricingScreen {
    Fixture() {
        run.setPrinter(std::unique_ptr<PagePrinter>(printer));
        run.setFileChooser(std::unique_ptr<SaveFileChooser>(files));
        page.resize(1000, 700);
        page.show();
    }

    // 1000 copies of a 16开 book: a cover with gloss lamination and 36
    // inner pages (two whole sheets and a remainder), sewn and glued.
    void priceBook() {
        page.setListIndex(Ctl::comleibie, 0, 0);
        page.setText(Ctl::txtshuliang, 0, "1000");
        page.setText(Ctl::txtyinjianming, 0, "年报");
        page.setTicked(Ctl::Lsthua, 0, true);
        page.setTicked(Ctl::Lsthua, 1, true);
        page.setText(Ctl::txtye, 0, "36");
        page.setCheckState(Ctl::Chkhua, 2, CheckState::Checked);
        page.setCheckState(Ctl::Chkhua, 5, CheckState::Checked);
        page.setListIndex(Ctl::Cmbdin, 0, 1);
        QTest::mouseClick(page.cmdjijia[0], Qt::LeftButton);
    }

    // Clicks "施工单", hands the window that opens to `use` and closes it;
    // false when no window opened.
    bool openTicket(const std::function<void(TicketWindow&)>& use) {
        bool opened = false;
        // The timer goes with this call, so that it never fires into a later
        // one when no window opened.
        QTimer timer;
        timer.setSingleShot(true);
        timer.callOnTimeout(&timer, [&] {
            if (auto* w = qobject_cast<TicketWindow*>(QApplication::activeModalWidget())) {
                opened = true;
                use(*w);
                w->close();
            }
        });
        timer.start(0);
        QTest::mouseClick(run.cmdticket, Qt::LeftButton);
        return opened;
    }

    inkquot::ProductionTicket ticket() const {
        return inkquot::ticketOf(run.pricedJob(), inkquot::readPaperNames(dir.folder()),
                                 clock.today())
            .ticket;
    }

    RecordingPrinter* printer = new RecordingPrinter;
    ScriptedFileChooser* files = new ScriptedFileChooser;
};

QString withoutSpaces(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

}  // namespace

class TestTicketWindow : public QObject {
    Q_OBJECT

private slots:
    void buttonOpensTheTicketAndItsPdfReadsAsPrinted();
    void printerFailureIsTold();
    void refusedTicketIsAWarning();
    void screenshots();
};

void TestTicketWindow::buttonOpensTheTicketAndItsPdfReadsAsPrinted() {
    Fixture f;
    QVERIFY(inkquot::saveLetterhead(f.dir.folder(), {"华光印务有限公司", "", "", ""}).ok());
    f.priceBook();
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.run.cmdticket->text(), QStringLiteral("施工单"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("施工单.pdf"));
    f.files->answers.push_back(pdf);
    bool previewShown = false;
    QVERIFY(f.openTicket([&](TicketWindow& w) {
        previewShown = w.view->widget() == w.preview;
        QTest::mouseClick(w.cmdpdf, Qt::LeftButton);
    }));
    QVERIFY(previewShown);
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.files->proposed.size(), 1);
    QVERIFY(f.files->proposed[0].endsWith(QStringLiteral("施工单-年报-2026年12月8日.pdf")));
    QVERIFY(isPdfWithItsFonts(pdf));

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) {
        QSKIP("pdftotext (poppler-utils) is not installed");
    }
    QProcess extract;
    extract.start(pdftotext,
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    QVERIFY(extract.waitForFinished(60000));
    const QString text = withoutSpaces(QString::fromUtf8(extract.readAllStandardOutput()));
    QVERIFY2(text.contains(QStringLiteral("华光印务有限公司")), qPrintable(text));
    TicketPage page;
    page.fill(f.ticket());
    int labels = 0;
    for (const QLabel* l : page.findChildren<QLabel*>()) {
        ++labels;
        QVERIFY2(text.contains(withoutSpaces(l->text())), qPrintable(l->text()));
    }
    QVERIFY(labels > 30);
    for (const char* expected : {"内页一整印张2手", "内页一零头印张", "锁线胶订", "纸张用量"}) {
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }
    QVERIFY(!text.contains(QStringLiteral("元")));
}

void TestTicketWindow::printerFailureIsTold() {
    Fixture f;
    f.run.setPrinter(std::make_unique<RecordingPrinter>(false));
    f.priceBook();
    QVERIFY(f.openTicket([](TicketWindow& w) { QTest::mouseClick(w.cmdprint, Qt::LeftButton); }));
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("打印机错误!")});
}

void TestTicketWindow::refusedTicketIsAWarning() {
    Fixture f;
    // A 2开 poster on 4开 press sheets: priced at nothing, never printed.
    f.page.setListIndex(Ctl::comleibie, 0, 2);
    f.page.setCheckState(Ctl::Chkdan, 0, CheckState::Checked);
    f.page.setText(Ctl::Ncomkai, 5, "2");
    f.page.setText(Ctl::Ntxtkaizhi, 5, "4");
    QTest::mouseClick(f.page.cmdjijia[0], Qt::LeftButton);
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(!f.openTicket([](TicketWindow&) {}));
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral(
                 "单张无法上机印刷（2开的印件排不进对开平印机的4开上机纸），不能生成施工单。")});
}

// The window at the two screen sizes the program is used on; written only
// when INKQUOT_SCREENSHOT_DIR names a folder.
void TestTicketWindow::screenshots() {
    const QString dir = qEnvironmentVariable("INKQUOT_SCREENSHOT_DIR");
    if (dir.isEmpty()) {
        QSKIP("INKQUOT_SCREENSHOT_DIR not set");
    }
    Fixture f;
    QVERIFY(inkquot::saveLetterhead(f.dir.folder(),
                                    {"华光印务有限公司", "广州市天河路1号", "020-12345678", ""})
                .ok());
    f.priceBook();
    for (const QSize screen : {QSize(1280, 800), QSize(800, 600)}) {
        QSize size;
        bool saved = false;
        QVERIFY(f.openTicket([&](TicketWindow& w) {
            w.fitToScreen(QRect(QPoint(0, 0), screen));
            size = w.size();
            QApplication::processEvents();
            saved = w.grab().save(dir + QStringLiteral("/ticket-%1.png").arg(screen.width())) &&
                    w.preview->grab().save(dir + QStringLiteral("/ticket-page.png"));
        }));
        QVERIFY2(size.width() <= screen.width() && size.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        QVERIFY(saved);
    }
}

QTEST_MAIN(TestTicketWindow)
#include "tst_ticket_window.moc"
